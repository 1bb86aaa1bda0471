// The site-account manager as the user meets it.
#include "dialogs/DialogTestSupport.h"
#include "servicesui/ServicesUiSupport.h"
#include "support/FtpServer.h"
#include "support/PhpServer.h"

#include "base/AppSettings.h"
#include "mailui/DlgSiteAccounts.h"
#include "ndb/NdbSender.h"
#include "platform/ui/PropertySheet.h"
#include "servicesui/SiteAccounts.h"

#include <QLineEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace ndb;
using DialogTest::ClickButton;
using DialogTest::ModalScript;
using DialogTest::SaveArtifact;
using ServicesUi::Click;
using ServicesUi::Item;

namespace
{
constexpr int IdList = 1616;
constexpr int IdAdd = 1612;
constexpr int IdEdit = 1613;
constexpr int IdDelete = 1614;
constexpr int IdAdminUser = 1052;

const QString Title = QStringLiteral("Manage Quorvane");
const QString StepOne = QStringLiteral("Step 1 - Publishing Settings");
const QString LeaveQuestion = QStringLiteral("Are you sure you wish to exit without saving?");

void Store(int slot, const QString& url)
{
    CNdbSender account;
    account.SetField(1, CNdbFieldValue(QStringLiteral("{ID-%1}").arg(slot)));
    account.SetField(SenderSiteAddress, CNdbFieldValue(url));
    account.SetField(SenderFtpPassword, CNdbFieldValue(QStringLiteral("Ftp-Secret")));
    ASSERT_TRUE(SiteAccounts::Write(slot, account));
}

QTreeWidget* ListOf(CDlgSiteAccounts& dialog)
{
    return qobject_cast<QTreeWidget*>(Item(dialog, IdList));
}

QStringList Rows(CDlgSiteAccounts& dialog)
{
    QStringList rows;
    QTreeWidget* tree = ListOf(dialog);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        rows << tree->topLevelItem(i)->text(0);
    return rows;
}

QString SelectedRow(CDlgSiteAccounts& dialog)
{
    const QList<QTreeWidgetItem*> selected = ListOf(dialog)->selectedItems();
    return selected.size() == 1 ? selected.first()->text(0) : QString();
}

void ClickRow(CDlgSiteAccounts& dialog, int row, bool twice = false)
{
    QTreeWidget* tree = ListOf(dialog);
    const QPoint point = tree->visualItemRect(tree->topLevelItem(row)).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    if (twice)
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QCoreApplication::processEvents();
}

// Leaves the wizard with Cancel, confirmed.
void CancelWizard(ModalScript& script, std::function<void(QWidget*)> look = {})
{
    script.ThenTitled(StepOne,
                      [look](QWidget* wizard)
                      {
                          if (look)
                              look(wizard);
                          ClickButton(wizard, QStringLiteral("Cancel"));
                      });
    script.ThenShowing(LeaveQuestion, [](QWidget* box) { ClickButton(box, QStringLiteral("Yes")); });
}

class SiteAccountsManagerTest : public ::testing::Test
{
protected:
    auto IsManager(CDlgSiteAccounts& dialog)
    {
        return [&dialog](QWidget* w) { return w == dialog.GetSafeHwnd(); };
    }

    ServicesUi::ScopedSettings m_settings;
};
} // namespace

TEST_F(SiteAccountsManagerTest, ListsEveryAccountByAddressAndEditsTheAccountOfTheClickedRow)
{
    Store(0, QStringLiteral("http://zebra.example/"));
    Store(2, QStringLiteral("http://alpha.example/"));
    Store(50, QStringLiteral("http://middle.example/"));
    ASSERT_TRUE(WriteAppSettingBinary(HKEY_CURRENT_USER, QStringLiteral("SiteAccount_7"), "unreadable"));
    CDlgSiteAccounts dialog;
    ModalScript script;
    script.ThenTitled(
        Title,
        [&](QWidget*)
        {
            EXPECT_EQ(Rows(dialog), (QStringList{"http://alpha.example/", "http://middle.example/",
                                                 "http://zebra.example/"}));
            EXPECT_EQ(ListOf(dialog)->headerItem()->text(0), "Website (Url)");
            EXPECT_EQ(SelectedRow(dialog), "http://alpha.example/") << "the first row at the start";
            EXPECT_EQ(dialog.GetSelectedValueName(), "SiteAccount_2");
            SaveArtifact(dialog, QStringLiteral("dialog_315.png"));
            ClickRow(dialog, 1, true);
        });
    CancelWizard(script,
                 [](QWidget* wizard)
                 {
                     // The wizard's first page shows the address of the account it edits.
                     QStringList texts;
                     for (const QLineEdit* edit : wizard->findChildren<QLineEdit*>())
                         texts << edit->text();
                     EXPECT_TRUE(texts.contains("http://middle.example/")) << "the account of slot 50";
                 });
    script.ThenAgain(IsManager(dialog),
                     [&](QWidget* window)
                     {
                         EXPECT_EQ(SelectedRow(dialog), "http://middle.example/") << "the row stays selected";
                         EXPECT_EQ(dialog.GetSelectedValueName(), "SiteAccount_50");
                         ClickButton(window, QStringLiteral("Close"));
                     });
    script.Start();
    dialog.DoModal();
    EXPECT_TRUE(script.Finished());
    const auto kept = SiteAccounts::Read(50);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->GetString(SenderSiteAddress), "http://middle.example/");
}

TEST_F(SiteAccountsManagerTest, DeleteAsksAndLeavesAGapThatTheNextAccountFills)
{
    for (int slot = 0; slot < 4; ++slot)
        Store(slot, QStringLiteral("http://site%1.example/").arg(slot));
    CDlgSiteAccounts dialog;
    ModalScript script;
    script.ThenTitled(Title,
                      [&](QWidget*)
                      {
                          ClickRow(dialog, 3);
                          EXPECT_EQ(dialog.GetSelectedValueName(), "SiteAccount_3");
                          Click(dialog, IdDelete);
                      });
    script.ThenShowing(QStringLiteral("Are you sure you wish to delete the selected website from the list?"),
                       [](QWidget* box) { ClickButton(box, QStringLiteral("No")); });
    script.ThenAgain(IsManager(dialog),
                     [&](QWidget*)
                     {
                         EXPECT_EQ(Rows(dialog).size(), 4);
                         Click(dialog, IdDelete);
                     });
    script.ThenShowing(QStringLiteral("Are you sure you wish to delete the selected website from the list?"),
                       [](QWidget* box) { ClickButton(box, QStringLiteral("Yes")); });
    script.ThenAgain(
        IsManager(dialog),
        [&](QWidget*)
        {
            EXPECT_EQ(Rows(dialog), (QStringList{"http://site0.example/", "http://site1.example/",
                                                 "http://site2.example/"}));
            EXPECT_EQ(SelectedRow(dialog), "http://site2.example/") << "the last row takes its place";
            Click(dialog, IdAdd);
        });
    CancelWizard(script);
    script.ThenAgain(IsManager(dialog),
                     [&](QWidget* window)
                     {
                         EXPECT_EQ(Rows(dialog).size(), 3) << "a cancelled wizard stores nothing";
                         ClickButton(window, QStringLiteral("Close"));
                     });
    script.Start();
    dialog.DoModal();
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(SiteAccounts::Read(3));
    EXPECT_EQ(SiteAccounts::FindFreeSlot(), 3);
}

TEST_F(SiteAccountsManagerTest, AnAccountThatVanishedBeforeItsEditIsReported)
{
    Store(4, QStringLiteral("http://gone.example/"));
    CDlgSiteAccounts dialog;
    ModalScript script;
    script.ThenTitled(Title,
                      [&](QWidget*)
                      {
                          ASSERT_TRUE(
                              DeleteRegValueInUser(GetAppRegistryKey(), QStringLiteral("SiteAccount_4")));
                          Click(dialog, IdEdit);
                      });
    script.ThenShowing(QStringLiteral("Could not load website settings"),
                       [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); });
    script.ThenAgain(IsManager(dialog),
                     [&](QWidget* window)
                     {
                         EXPECT_TRUE(Rows(dialog).isEmpty());
                         ClickButton(window, QStringLiteral("Close"));
                     });
    script.Start();
    dialog.DoModal();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(SiteAccounts::FindFreeSlot(), 0) << "nothing was written back";
}

TEST_F(SiteAccountsManagerTest, EditingAnAccountStoresWhatTheWizardFinishedWith)
{
    QTemporaryDir site;
    ASSERT_TRUE(QDir(site.path()).mkpath(QStringLiteral("public_html")));
    const FtpServer ftp(site.path());
    const PhpServer web(site.filePath(QStringLiteral("public_html")));
    CNdbSender account;
    account.SetField(1, CNdbFieldValue(QStringLiteral("{ID-50}")));
    account.SetField(SenderSiteAddress, CNdbFieldValue(web.Url(QString())));
    account.SetField(SenderFtpServer, CNdbFieldValue(QStringLiteral("127.0.0.1")));
    account.SetField(SenderFtpUser, CNdbFieldValue(QString::fromLatin1(FtpServer::User)));
    account.SetField(SenderFtpPassword, CNdbFieldValue(QString::fromLatin1(FtpServer::Password)));
    account.SetField(SenderFtpFolder, CNdbFieldValue(QStringLiteral("/public_html")));
    account.SetField(SenderSiteNumber424, CNdbFieldValue(NdbValueInt, ftp.Port()));
    ASSERT_TRUE(SiteAccounts::Write(50, account));

    CDlgSiteAccounts dialog;
    ModalScript script;
    script.ThenTitled(Title, [&](QWidget*) { Click(dialog, IdEdit); });
    script.ThenTitled(StepOne, [](QWidget* wizard) { ClickButton(wizard, QStringLiteral("Next")); });
    script.ThenAgain([](QWidget* w) { return w->windowTitle() == QStringLiteral("Step 2 - Quorvane"); },
                     [](QWidget* wizard)
                     {
                         // Without an administrator there is no framework to check: Finish ends at once.
                         auto* sheet = dynamic_cast<CPropertySheet*>(CWnd::FromHandle(wizard));
                         ASSERT_NE(sheet, nullptr);
                         ServicesUi::Type(*sheet->GetActivePage(), IdAdminUser, QString());
                         ClickButton(wizard, QStringLiteral("Finish"));
                     });
    script.ThenAgain(IsManager(dialog),
                     [&](QWidget* window)
                     {
                         EXPECT_EQ(Rows(dialog), QStringList{web.Url(QString())});
                         ClickButton(window, QStringLiteral("Close"));
                     });
    script.Start();
    dialog.DoModal();
    EXPECT_TRUE(script.Finished());
    const auto stored = SiteAccounts::Read(50);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->GetString(1), "{ID-50}");
    EXPECT_TRUE(stored->GetBool(SenderSiteWebView, false)) << "the publishing check passed in the wizard";
    EXPECT_EQ(stored->GetString(SenderSiteType), "php");
    EXPECT_EQ(SiteAccounts::FindFreeSlot(), 0) << "the account kept its slot";
}
