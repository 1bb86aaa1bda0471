#include "app/KVContext.h"
#include "app/ViewMailGroup.h"
#include "base/AppSettings.h"
#include "base/ArchiveValues.h"
#include "base/INetFile.h"
#include "base/PSStreamMemory.h"
#include "dialogs/DialogTestSupport.h"
#include "ndb/NdbMailGroup.h"
#include "ndb/NdbSender.h"
#include "platform/core/AppStrings.h"
#include "platform/core/SettingsStore.h"
#include "platform/ui/WinApp.h"
#include "recipients/DlgMailGroupCreate.h"
#include "services/QorxReplies.h"
#include "servicesui/SiteAccounts.h"
#include "support/NoProxy.h"
#include "support/ScriptedHttpServer.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <deque>

#include <gtest/gtest.h>

using namespace DialogTest;
using namespace QorxReplies;

namespace
{
const QString AdminPath = QStringLiteral("/site/admin/qorx_2_services_lamp.php");
const QString ListPath = QStringLiteral("/site/admin/ws_mailinglist_services_lamp.php");

class AnsweringApp : public CWinApp
{
public:
    int DoMessageBox(const QString& prompt, UINT, UINT) override
    {
        messages << prompt;
        if (answers.empty())
            return IDOK;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QStringList messages;
    std::deque<int> answers;
};

void StoreSiteAccount(int n, const QString& name, const QString& address, bool framework)
{
    ndb::CNdbSender site;
    site.SetField(1, ndb::CNdbFieldValue(QStringLiteral("{SITE-%1}").arg(n)));
    site.SetField(410, ndb::CNdbFieldValue(name));
    site.SetField(650, ndb::CNdbFieldValue(address));
    site.SetField(630, ndb::CNdbFieldValue(QStringLiteral("admin")));
    site.SetField(631, ndb::CNdbFieldValue(QStringLiteral("secret")));
    site.SetField(644, ndb::CNdbFieldValue(ndb::NdbValueBool, framework));
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    {
        CPSArchive archive(stream);
        site.Serialize(archive);
        archive.Flush();
    }
    WriteAppSettingBinary(HKEY_CURRENT_USER, QStringLiteral("SiteAccount_%1").arg(n), stream.GetBuffer());
}

// Clicks a radio button or check box on its mark, where it takes clicks.
void ClickMark(QWidget* window, const QString& caption)
{
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
    {
        if (button->isVisible() && QString(button->text()).remove(u'&') == caption)
        {
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
            return;
        }
    }
    ADD_FAILURE() << caption.toStdString();
}

QComboBox* Combo(QWidget* window, int id)
{
    return qobject_cast<QComboBox*>(CWnd::FromHandle(window)->GetDlgItem(id)->GetSafeHwnd());
}

// Picks an entry of a drop-down list with the keyboard, as the user would.
void PickWithKeys(QComboBox* combo, int index)
{
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

// Site accounts of the test's own: test programs run side by side, and the others' accounts
// would come and go under this one's feet.
class PrivateSettings
{
public:
    PrivateSettings()
    {
        CSettingsStore::SetLocations(m_home.filePath(QStringLiteral("user")),
                                     m_home.filePath(QStringLiteral("machine")));
        InitAppPaths();
    }
    ~PrivateSettings()
    {
        CSettingsStore::SetLocations({}, {});
        InitAppPaths();
    }

private:
    QTemporaryDir m_home;
};

class MailGroupSettings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearProxyEnvironment();
        CINetFile::SetTimeout(10000);
        for (int n = 0; n < 100; ++n)
            DeleteRegValueInUser(GetAppRegistryKey(), QStringLiteral("SiteAccount_%1").arg(n));
        StoreSiteAccount(0, QStringLiteral("Plain site"), site.Url(AdminPath), false);
        StoreSiteAccount(1, QStringLiteral("Shop"), site.Url(AdminPath), true);
        site.SetReply(AdminPath + "?cmd=getstatus", Status("qorxsystem"));
        site.SetReply(AdminPath + "?cmd=getinstalledpackages",
                      InstalledPackages(Package("ws_mailinglist", "ws_mailinglist_services_lamp.php")));
        site.SetReply(ListPath + "?cmd=getstatus", Status("ws_mailinglist"));
        site.SetReply(ListPath + "?cmd=mailinglistgetall",
                      Document(Element(
                          "ws_mailinglist_list_mailinglistgetall", "status=\"ok\"",
                          Element("channelgroup", "channelgroupid=\"g2\" channelgroupname=\"Zebra\"") +
                              Element("channelgroup", "channelgroupid=\"g1\" channelgroupname=\"Alpha\""))));
        site.SetReply(
            ListPath + "?cmd=getsubscriptionusers",
            Document(Element("ws_mailinglist_list_getsubscriptionusers", "status=\"ok\"",
                             Element("user", "email=\"sub@x.com\" subscribe=\"true\" html=\"true\""))));
        auto list = std::make_unique<ndb::CNdbMailGroup>();
        auto user = std::make_unique<ndb::CNdbUser>();
        user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("own@x.com")));
        list->Users().AddUser(std::move(user));
        context.SetCurrentDocument(std::move(list));
        ASSERT_TRUE(main.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 800, 400), nullptr, 0));
        ASSERT_TRUE(view.Create(&main, CRect(0, 0, 800, 400)));
        view.OnDocumentChanged();
    }

    // Chooses the dynamic type, the site "Shop" and the list "Zebra", then OK.
    void ChooseShopZebra(ModalScript& script)
    {
        script.ThenTitled(QStringLiteral("Mailing List Settings"),
                          [](QWidget* w)
                          {
                              ClickMark(w, QStringLiteral("Dynamic Mailing List"));
                              QComboBox* sites = Combo(w, 1619);
                              EXPECT_EQ(sites->count(), 2);
                              PickWithKeys(sites, 1);
                              QComboBox* lists = Combo(w, 1102);
                              EXPECT_EQ(lists->count(), 2);
                              EXPECT_EQ(lists->itemText(0), QStringLiteral("Alpha"));
                              PickWithKeys(lists, 1);
                              SaveArtifact(*CWnd::FromHandle(w), QStringLiteral("recipients-300.png"));
                              ClickButton(w, QStringLiteral("OK"));
                          });
    }

    PrivateSettings settings;
    AnsweringApp app;
    ScriptedHttpServer site;
    CKVContext context;
    CWnd main;
    CViewMailGroup view{&context};
};
} // namespace

TEST_F(MailGroupSettings, AnsweringNoToTheTypeChangeKeepsEverything)
{
    app.answers = {IDNO};
    ModalScript script;
    ChooseShopZebra(script);
    script.Start();
    view.SendMessage(WM_COMMAND, 32987, 0);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(app.messages, QStringList({LoadAppString(14602)}));
    const ndb::CNdbMailGroup* list = context.GetOpenMailingList();
    EXPECT_EQ(list->GetInt(ndb::MailGroupKind, 0), 0);
    EXPECT_EQ(list->Users().GetCount(), 1);
    EXPECT_EQ(list->GetFields().find(ndb::MailGroupServerList270), list->GetFields().end());
}

TEST_F(MailGroupSettings, ChoosingASiteAndListMakesTheListDynamic)
{
    app.answers = {IDYES};
    QTimer spy;
    spy.setInterval(500);
    QObject::connect(&spy, &QTimer::timeout,
                     []
                     {
                         QWidget* m = QApplication::activeModalWidget();
                         fprintf(stderr, "modal %p '%s' active=%d\n", (void*)m,
                                 m ? qPrintable(m->windowTitle()) : "", m ? m->isActiveWindow() : -1);
                     });
    spy.start();
    ModalScript script;
    ChooseShopZebra(script);
    script.Start();
    view.SendMessage(WM_COMMAND, 32987, 0);
    EXPECT_TRUE(script.Finished());
    const ndb::CNdbMailGroup* list = context.GetOpenMailingList();
    EXPECT_EQ(list->GetInt(ndb::MailGroupKind, 0), 1);
    EXPECT_TRUE(list->GetBool(ndb::MailGroupDynamicOn, false));
    EXPECT_EQ(list->GetString(ndb::MailGroupServerList270), QStringLiteral("g2"));
    EXPECT_EQ(list->GetString(ndb::MailGroupServerList271), QStringLiteral("Zebra"));
    EXPECT_EQ(list->GetString(ndb::MailGroupSite10), QStringLiteral("{SITE-1}"));
    EXPECT_EQ(list->GetString(ndb::MailGroupSite251), site.Url(ListPath));
    ASSERT_EQ(list->Users().GetCount(), 1);
    EXPECT_EQ(list->Users().GetUserAt(0)->GetString(ndb::UserEmail), QStringLiteral("sub@x.com"));
    EXPECT_TRUE(view.GetUsersWindow().IsReadOnly());
}

TEST_F(MailGroupSettings, UnreachableSiteKeepsTheDialogOpen)
{
    StoreSiteAccount(1, QStringLiteral("Shop"), QStringLiteral("http://127.0.0.1:1/admin/qorx.php"), true);
    ModalScript script;
    script.ThenTitled(QStringLiteral("Mailing List Settings"),
                      [this](QWidget* w)
                      {
                          ClickMark(w, QStringLiteral("Dynamic Mailing List"));
                          PickWithKeys(Combo(w, 1619), 1);
                          EXPECT_EQ(Combo(w, 1102)->count(), 0);
                          ClickButton(w, QStringLiteral("OK"));
                          EXPECT_EQ(app.messages, QStringList({LoadAppString(11408)}));
                          EXPECT_TRUE(w->isVisible());
                          ClickButton(w, QStringLiteral("Cancel"));
                      });
    script.Start();
    view.SendMessage(WM_COMMAND, 32987, 0);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(context.GetOpenMailingList()->GetInt(ndb::MailGroupKind, 0), 0);
}

TEST_F(MailGroupSettings, InstallRunsTheSiteWizardAndACancelledOneStoresNothing)
{
    app.answers = {IDYES};
    ModalScript script;
    script
        .ThenTitled(QStringLiteral("Mailing List Settings"),
                    [](QWidget* w)
                    {
                        ClickMark(w, QStringLiteral("Dynamic Mailing List"));
                        ClickButton(w, QStringLiteral("Install Quorvane..."));
                    })
        // The wizard shows its page's caption as its title.
        .ThenTitled(QStringLiteral("Step 1 - Publishing Settings"),
                    [](QWidget* w) { ClickButton(w, QStringLiteral("Cancel")); })
        .ThenAgain([](QWidget* w) { return w->windowTitle() == QStringLiteral("Mailing List Settings"); },
                   [](QWidget* w)
                   {
                       EXPECT_EQ(Combo(w, 1619)->count(), 2);
                       ClickButton(w, QStringLiteral("Cancel"));
                   });
    script.Start();
    view.SendMessage(WM_COMMAND, 32987, 0);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(app.messages.size(), 1); // whether to quit the wizard
    EXPECT_EQ(SiteAccounts::FindFreeSlot(), 2);
}

TEST(SiteAccountStore, AccountsRoundTripAndTheFirstEmptySlotIsFound)
{
    PrivateSettings settings;
    for (int n = 0; n < SiteAccounts::MaxAccounts; ++n)
        DeleteRegValueInUser(GetAppRegistryKey(), QStringLiteral("SiteAccount_%1").arg(n));
    EXPECT_EQ(SiteAccounts::FindFreeSlot(), 0);
    ndb::CNdbSender account;
    account.SetField(1, ndb::CNdbFieldValue(QStringLiteral("{A}")));
    account.SetField(410, ndb::CNdbFieldValue(QStringLiteral("Shop")));
    ASSERT_TRUE(SiteAccounts::Write(0, account));
    ASSERT_TRUE(SiteAccounts::Write(2, account));
    EXPECT_EQ(SiteAccounts::FindFreeSlot(), 1);
    const std::unique_ptr<ndb::CNdbSender> read = SiteAccounts::Read(2);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetString(410), QStringLiteral("Shop"));
    EXPECT_FALSE(SiteAccounts::Read(1));
    WriteAppSettingBinary(HKEY_CURRENT_USER, QStringLiteral("SiteAccount_1"), QByteArray("not a record"));
    EXPECT_FALSE(SiteAccounts::Read(1));
    EXPECT_EQ(SiteAccounts::FindFreeSlot(), 3);
}

TEST(MailGroupCreate, ProposesTheFirstFreeName)
{
    QTemporaryDir folder;
    const QString path = folder.path() + u'/';
    EXPECT_EQ(CDlgMailGroupCreate::ProposeName(path), QStringLiteral("My Mailing List"));
    for (const char* name : {"My Mailing List.kvmg", "My Mailing List 2.kvmg"})
    {
        QFile file(path + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(CDlgMailGroupCreate::ProposeName(path), QStringLiteral("My Mailing List 3"));

    WriteAppSettingString(HKEY_CURRENT_USER, QStringLiteral("SavePath_Create"), path);
    CDlgMailGroupCreate dialog;
    ASSERT_TRUE(dialog.Create(299, nullptr));
    ASSERT_TRUE(ShowActive(dialog));
    EXPECT_EQ(dialog.GetDlgItem(1333)->GetWindowText(), QStringLiteral("My Mailing List 3"));
    EXPECT_EQ(dialog.GetDlgItem(1031)->GetWindowText(), path);
    SaveArtifact(dialog, QStringLiteral("recipients-299.png"));
}
