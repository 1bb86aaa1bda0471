#pragma once

#include "dialogs/DialogTestSupport.h"
#include "servicesui/ServicesUiSupport.h"

#include "mailui/EmailSettingsSheet.h"
#include "mailui/SendContext.h"
#include "ndb/NdbNewsletter.h"
#include "platform/ui/PropertySheet.h"

#include <QComboBox>
#include <QTabBar>
#include <QTemporaryDir>

namespace EmailSettingsTest
{
class FakeContext : public ISendContext
{
public:
    explicit FakeContext(ndb::CNdbNewsletter* newsletter) : m_newsletter(newsletter) {}
    ndb::CNdbNewsletter* GetCurrentNewsletter() const override { return m_newsletter; }
    int GetServerPort() const override { return 0; }
    const QString& GetUnsubscribeText() const override { return m_unsubscribe; }

private:
    ndb::CNdbNewsletter* m_newsletter;
    QString m_unsubscribe;
};

// The settings a test changes stay its own, with a newsletter for the sheet to edit.
class EmailSettingsFixture : public ::testing::Test
{
protected:
    auto IsSheet(EmailSettingsSheet& sheet)
    {
        return [&sheet](QWidget* w) { return w == sheet.Sheet().GetSafeHwnd(); };
    }

    ServicesUi::ScopedSettings m_settings;
    QTemporaryDir m_dir;
    ndb::CNdbNewsletter m_newsletter;
    FakeContext m_context{&m_newsletter};
};

inline QComboBox* Combo(const CWnd& window, int id)
{
    return qobject_cast<QComboBox*>(ServicesUi::Item(window, id));
}

inline QStringList ComboTexts(QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

// Shows the page as the user does, with a click on its tab.
inline void ClickTab(CPropertySheet& sheet, int index)
{
    auto* tabs = sheet.GetSafeHwnd()->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(index).center());
    ASSERT_EQ(sheet.GetActiveIndex(), index);
}

using DialogTest::ChooseFiles;
using DialogTest::IsFileDialog;

inline void SaveNewsletter(ndb::CNdbNewsletter& newsletter, const QString& path)
{
    ASSERT_TRUE(newsletter.Save(path, QStringLiteral("Kelvora"), 2007, 1));
}

inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// No file of the test artefacts holds a password, in UTF-8 or UTF-16.
inline void ExpectNoArtifactHolds(const QStringList& passwords)
{
    const QDir folder(QStringLiteral(KV_ARTIFACT_DIR));
    for (const QString& name : folder.entryList(QDir::Files))
    {
        const QByteArray bytes = FileBytes(folder.filePath(name));
        for (const QString& password : passwords)
        {
            const QByteArray utf16(reinterpret_cast<const char*>(password.utf16()), password.size() * 2);
            EXPECT_FALSE(bytes.contains(password.toUtf8()) || bytes.contains(utf16)) << name.toStdString();
        }
    }
}
} // namespace EmailSettingsTest
