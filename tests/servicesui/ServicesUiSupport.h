#pragma once

#include "dialogs/DialogTestSupport.h"
#include "services/ServiceSettings.h"

#include "platform/ui/Wnd.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace ServicesUi
{
// The dialogs' tests keep their settings as the services' own tests do.
using ServicesTest::ScopedSettings;

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
