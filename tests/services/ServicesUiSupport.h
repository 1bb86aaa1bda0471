#pragma once

#include "dialogs/DialogTestSupport.h"
#include "support/NoProxy.h"

#include "base/AppSettings.h"
#include "platform/core/SettingsStore.h"
#include "platform/ui/Wnd.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QTemporaryDir>

namespace ServicesUi
{
// Settings of the test's own: the program's data folder (with its framework packages) or a
// temporary one as the system folder, and a temporary program folder.
class ScopedSettings
{
public:
    explicit ScopedSettings(bool ownDataFolder = false)
    {
        ClearProxyEnvironment();
        CSettingsStore::SetLocations(Folder(QStringLiteral("user")), Folder(QStringLiteral("machine")));
        InitAppPaths(); // the application key
        QDir(m_home.path()).mkpath(QStringLiteral("program"));
        QDir(m_home.path()).mkpath(QStringLiteral("data"));
        WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("SystemPath"),
                              ownDataFolder ? Folder(QStringLiteral("data"))
                                            : QStringLiteral(KV_SOURCE_DIR "/data"));
        WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("AppPath"),
                              Folder(QStringLiteral("program")));
        InitAppPaths();
    }
    ~ScopedSettings()
    {
        CSettingsStore::SetLocations({}, {});
        InitAppPaths();
    }
    QString Folder(const QString& name) const { return m_home.filePath(name); }

private:
    QTemporaryDir m_home;
};

inline QWidget* Item(const CWnd& window, int id)
{
    CWnd* item = window.GetDlgItem(id);
    return item ? item->GetSafeHwnd() : nullptr;
}

inline void Click(const CWnd& window, int id)
{
    QTest::mouseClick(qobject_cast<QAbstractButton*>(Item(window, id)), Qt::LeftButton);
}

// A click on the box or round of a check box or radio button, where the user aims: wide
// buttons take clicks only on their box and text.
inline void ClickBox(const CWnd& window, int id)
{
    QWidget* button = Item(window, id);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

// Types over the control's text as the user would; characters beyond ASCII arrive as key
// events carrying their text, as an input method sends them.
inline void Type(const CWnd& window, int id, const QString& text)
{
    QWidget* edit = Item(window, id);
    DialogTest::TypeOver(edit, QString());
    QTest::keyClick(edit, Qt::Key_Backspace);
    for (const QChar c : text)
    {
        if (c.unicode() < 0x80)
        {
            QTest::keyClicks(edit, QString(c));
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
    }
}
} // namespace ServicesUi
