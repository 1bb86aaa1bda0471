// The services page of the e-mail settings and its More Settings dialog, against a site's
// mailing-list service of our own.
#include "EmailSettingsSupport.h"

#include "base/AppSettings.h"
#include "mailui/DlgServicesMoreSettings.h"
#include "mailui/EmailSettingsSheet.h"
#include "servicesui/SiteAccounts.h"
#include "support/MailingListService.h"

#include <QComboBox>
#include <QPlainTextEdit>

using namespace ndb;
using namespace EmailSettingsTest;
using DialogTest::ClickButton;
using DialogTest::ModalScript;
using DialogTest::SaveArtifact;
using ServicesUi::Click;
using ServicesUi::ClickBox;
using ServicesUi::Item;
using ServicesUi::Type;

namespace
{
constexpr int IdSite = 1619;
constexpr int IdInstall = 1627;
constexpr int IdWebView = 1626;
constexpr int IdStatistics = 1170;
constexpr int IdMailingList = 1168;
constexpr int IdMoreSettings = 1505;

constexpr int IdFolder = 1622;
constexpr int IdForceEmbedding = 1632;
constexpr int IdCustomLink = 1624;
constexpr int IdAddress = 1625;
constexpr int IdLists = 1102;
constexpr int IdCreateList = 1469;
constexpr int IdMessage = 1626;
constexpr int IdListName = 1333;

constexpr int ServicesIndex = 4;
const QString MoreSettingsTitle = QStringLiteral("Email Settings - Services - More Settings");
const QString AdminUser = QStringLiteral("editor");
const QString AdminPassword = QStringLiteral("Adm1n-Secret");
const QString FtpPassword = QStringLiteral("Ftp-Secret");

// Chooses an entry of a drop-down list with the arrow keys, as the user does.
void Choose(QComboBox* combo, const QString& text)
{
    combo->setFocus();
    const int wanted = combo->findText(text);
    ASSERT_GE(wanted, 0) << text.toStdString();
    while (combo->currentIndex() != wanted)
        QTest::keyClick(combo, combo->currentIndex() < wanted ? Qt::Key_Down : Qt::Key_Up);
}

QString Enabled(const CWnd& page)
{
    QString states;
    for (const int id : {IdWebView, IdStatistics, IdMailingList, IdMoreSettings})
        states += Item(page, id)->isEnabled() ? u'1' : u'0';
    return states;
}

int SwitchOf(int service)
{
    return service == SenderWebView ? IdWebView : service == SenderTracking ? IdStatistics : IdMailingList;
}

// The enabled states of Enabled when only the service's switch can be used.
QString SwitchedOnOnly(int service)
{
    QString states = QStringLiteral("0000");
    states[service == SenderWebView ? 0 : service == SenderTracking ? 1 : 2] = u'1';
    return states;
}

CNdbSender Account(const QString& id, const QString& url, bool ftpChecked, bool frameworkChecked)
{
    CNdbSender account;
    account.SetField(1, CNdbFieldValue(id));
    account.SetField(SenderSiteAddress, CNdbFieldValue(url));
    account.SetField(SenderFtpServer, CNdbFieldValue(QStringLiteral("ftp.") + QUrl(url).host()));
    account.SetField(SenderFtpUser, CNdbFieldValue(QStringLiteral("uploader")));
    account.SetField(SenderFtpPassword, CNdbFieldValue(FtpPassword));
    account.SetField(SenderSiteType, CNdbFieldValue(QStringLiteral("php")));
    account.SetField(SenderSiteAccess630, CNdbFieldValue(AdminUser));
    account.SetField(SenderSiteAccess631, CNdbFieldValue(AdminPassword));
    account.SetField(SenderSiteWebView, CNdbFieldValue(NdbValueBool, ftpChecked));
    account.SetField(SenderSiteStatistics, CNdbFieldValue(NdbValueBool, frameworkChecked));
    return account;
}

void Store(int slot, CNdbSender account)
{
    ASSERT_TRUE(SiteAccounts::Write(slot, account));
}

class ServicesPageTest : public EmailSettingsFixture
{
protected:
    // Leaving the page for the General tab must be refused with the message.
    void ExpectRefusedLeave(ModalScript& script, EmailSettingsSheet& sheet, const QString& message)
    {
        script.ThenShowing(message, [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); });
        script.ThenAgain(IsSheet(sheet),
                         [&sheet](QWidget*)
                         {
                             EXPECT_EQ(sheet.Sheet().GetActiveIndex(), ServicesIndex) << "the page stays";
                             Click(sheet.Sheet(), IDCANCEL);
                         });
    }

    void LeaveForGeneral(EmailSettingsSheet& sheet)
    {
        auto* tabs = sheet.Sheet().GetSafeHwnd()->findChild<QTabBar*>();
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(0).center());
    }
};
} // namespace

TEST_F(ServicesPageTest, TheChosenSiteAndEveryMoreSettingGoIntoTheSavedNewsletter)
{
    const MailingListService service(AdminUser, AdminPassword,
                                     {{"{L-2}", "Zebra readers"}, {"{L-1}", "Members"}, {"{L-3}", "Alumni"}});
    Store(0, Account("{A}", "http://alpha.example/", true, true));
    CNdbSender beta = Account("{B}", "http://beta.example/", true, true);
    beta.SetField(SenderSiteAccess650, CNdbFieldValue(service.FrameworkUrl()));
    Store(50, beta);
    const QByteArray unreadable("not an account");
    ASSERT_TRUE(WriteAppSettingBinary(HKEY_CURRENT_USER, QStringLiteral("SiteAccount_1"), unreadable));

    EmailSettingsSheet sheet(m_context, m_newsletter);
    ModalScript script;
    script.Then(IsSheet(sheet),
                [&](QWidget*)
                {
                    CPageSenderServices& page = sheet.Services();
                    QComboBox* sites = Combo(page, IdSite);
                    EXPECT_EQ(ComboTexts(sites), (QStringList{"<Not selected>", "http://alpha.example/",
                                                              "http://beta.example/"}));
                    EXPECT_EQ(sites->currentText(), "<Not selected>");
                    EXPECT_EQ(Enabled(page), "0000");
                    Choose(sites, QStringLiteral("http://beta.example/"));
                    EXPECT_EQ(Enabled(page), "1111");
                    for (const int id : {IdWebView, IdStatistics, IdMailingList})
                        ClickBox(page, id);
                    SaveArtifact(sheet.Sheet(), QStringLiteral("email-settings-services.png"));
                    Click(page, IdMoreSettings);
                });
    script.ThenTitled(MoreSettingsTitle,
                      [&](QWidget* window)
                      {
                          CWnd& dialog = *CWnd::FromHandle(window);
                          QComboBox* lists = Combo(dialog, IdLists);
                          EXPECT_EQ(ComboTexts(lists), (QStringList{"Alumni", "Members", "Zebra readers"}));
                          EXPECT_EQ(lists->currentText(), "Members") << "the first list by id";
                          EXPECT_FALSE(Item(dialog, IdAddress)->isEnabled());
                          EXPECT_EQ(qobject_cast<QPlainTextEdit*>(Item(dialog, IdMessage))->toPlainText(),
                                    "You have now been removed from this Mailing List.");
                          Type(dialog, IdFolder, QStringLiteral("news/2027"));
                          ClickBox(dialog, IdForceEmbedding);
                          ClickBox(dialog, IdCustomLink);
                          EXPECT_TRUE(Item(dialog, IdAddress)->isEnabled());
                          Type(dialog, IdAddress, QStringLiteral("http://beta.example/leave"));
                          Choose(lists, QStringLiteral("Zebra readers"));
                          Type(dialog, IdMessage, QStringLiteral("Goodbye & thanks"));
                          SaveArtifact(dialog, QStringLiteral("dialog_320.png"));
                          ClickButton(window, QStringLiteral("OK"));
                      });
    script.ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(sheet.Sheet(), IDOK); });
    script.Start();
    EXPECT_TRUE(sheet.Run(EmailSettingsSheet::ServicesPage));
    EXPECT_TRUE(script.Finished());

    const QString path = m_dir.filePath(QStringLiteral("letter.kvnl"));
    SaveNewsletter(m_newsletter, path);
    CNdbNewsletter reopened;
    ASSERT_TRUE(reopened.Load(path));
    const CNdbSender& sender = reopened.Sender();
    EXPECT_EQ(sender.GetString(SenderSiteAccount), "{B}");
    EXPECT_EQ(sender.GetString(SenderSiteAddress), "http://beta.example/");
    EXPECT_EQ(sender.GetString(SenderFtpServer), "ftp.beta.example");
    EXPECT_EQ(sender.GetString(SenderFtpPassword), FtpPassword);
    EXPECT_EQ(sender.GetString(SenderSiteAccess650), service.FrameworkUrl());
    EXPECT_EQ(sender.GetInt(SenderSiteNumber424, 0), 21) << "absent in the account";
    EXPECT_EQ(sender.GetInt(SenderSiteNumber425, 0), 1);
    EXPECT_TRUE(sender.GetBool(SenderSiteSwitch426, false));
    EXPECT_TRUE(sender.GetBool(SenderSiteWebView, false));
    EXPECT_TRUE(sender.GetBool(SenderSiteStatistics, false));
    for (const int id : {SenderWebView, SenderTracking, SenderDynamicList})
        EXPECT_TRUE(sender.GetBool(id, false)) << id;
    EXPECT_EQ(sender.GetString(SenderWebViewFolder), "news/2027");
    EXPECT_TRUE(sender.GetBool(SenderOption830, false));
    EXPECT_EQ(sender.GetString(SenderWebViewUpload), "http://beta.example/leave");
    EXPECT_EQ(sender.GetString(SenderServerListId), "{L-2}");
    EXPECT_EQ(sender.GetString(SenderUnsubscribeMessage), "Goodbye & thanks");
    QByteArray after;
    ASSERT_TRUE(ReadAppSettingBinary(HKEY_CURRENT_USER, QStringLiteral("SiteAccount_1"), after));
    EXPECT_EQ(after, unreadable) << "an account that cannot be read is left alone";
    ExpectNoArtifactHolds({AdminPassword, FtpPassword});
    EXPECT_EQ(QFile::permissions(CSettingsStore::FilePath(HKEY_CURRENT_USER)) &
                  ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        << "the accounts' passwords are in the user's settings";
}

TEST_F(ServicesPageTest, ASwitchedOnServiceKeepsThePageUntilItsSiteIsUsable)
{
    Store(0, Account("{NOFTP}", "http://noftp.example/", false, true));
    Store(1, Account("{NOFW}", "http://noframework.example/", true, false));
    const struct
    {
        const char* site;
        int service;
        const char* message;
    } cases[] = {
        {nullptr, SenderWebView,
         "Web View has been selected, but no website with Quorvane installed has been selected."},
        {nullptr, SenderTracking,
         "The Dynamic Statistics & Tracking service has been selected, but no website with Quorvane "
         "installed has "
         "been selected."},
        {nullptr, SenderDynamicList,
         "The Dynamics Mailing List service has been selected, but no website with Quorvane installed has "
         "been "
         "selected."},
        {"http://noftp.example/", SenderWebView,
         "Web View has been selected, but the ftp settings for the website are invalid."},
        {"http://noftp.example/", SenderTracking,
         "The Dynamic Statistics & Tracking service has been selected, but the ftp settings for the website "
         "are "
         "invalid."},
        {"http://noframework.example/", SenderTracking,
         "The Dynamic Statistics & Tracking service has been selected, but the Quorvane settings are "
         "invalid."},
        {"http://noftp.example/", SenderDynamicList,
         "The Dynamic Mailing List service has been selected, but the ftp settings for the website are "
         "invalid."},
        {"http://noframework.example/", SenderDynamicList,
         "The Dynamic Mailing List service has been selected, but the Quorvane settings for the website are "
         "invalid."},
    };
    for (const auto& entry : cases)
    {
        SCOPED_TRACE(entry.message);
        CNdbNewsletter newsletter;
        newsletter.Sender().SetField(entry.service, CNdbFieldValue(NdbValueBool, true));
        FakeContext context(&newsletter);
        EmailSettingsSheet sheet(context, newsletter);
        ModalScript script;
        script.Then(IsSheet(sheet),
                    [&](QWidget*)
                    {
                        CPageSenderServices& page = sheet.Services();
                        if (entry.site)
                            Choose(Combo(page, IdSite), QString::fromLatin1(entry.site));
                        else
                            EXPECT_EQ(Enabled(page), SwitchedOnOnly(entry.service))
                                << "without a site only the switch that is on can be changed";
                        LeaveForGeneral(sheet);
                    });
        ExpectRefusedLeave(script, sheet, QString::fromLatin1(entry.message));
        script.Start();
        EXPECT_FALSE(sheet.Run(EmailSettingsSheet::ServicesPage));
        EXPECT_TRUE(script.Finished());
    }
}

TEST_F(ServicesPageTest, AServiceSwitchedOnWithoutASiteCanBeSwitchedOff)
{
    for (const int service : {SenderWebView, SenderTracking, SenderDynamicList})
    {
        CNdbNewsletter newsletter;
        newsletter.Sender().SetField(service, CNdbFieldValue(NdbValueBool, true));
        FakeContext context(&newsletter);
        EmailSettingsSheet sheet(context, newsletter);
        ModalScript script;
        script.Then(IsSheet(sheet),
                    [&](QWidget*)
                    {
                        CPageSenderServices& page = sheet.Services();
                        ClickBox(page, SwitchOf(service));
                        EXPECT_EQ(Enabled(page), "0000") << "once off, it needs a site to go on again";
                        LeaveForGeneral(sheet);
                        EXPECT_EQ(sheet.Sheet().GetActiveIndex(), 0);
                        Click(sheet.Sheet(), IDOK);
                    });
        script.Start();
        EXPECT_TRUE(sheet.Run(EmailSettingsSheet::ServicesPage)) << service;
        EXPECT_TRUE(script.Finished()) << service;
        EXPECT_FALSE(newsletter.Sender().GetBool(service, true)) << service;
    }
}

TEST_F(ServicesPageTest, AnEmbeddedSiteSurvivesTheSheetUntilTheUserChoosesNoSite)
{
    CNdbSender& sender = m_newsletter.Sender();
    const CNdbSender gone = Account("{GONE}", "http://old.example/", true, true);
    for (const auto& [id, value] : gone.GetFields())
        if (id != 1)
            sender.SetField(id, value);
    sender.SetField(SenderSiteAccount, CNdbFieldValue(QStringLiteral("{GONE}")));
    sender.SetField(SenderSiteNumber424, CNdbFieldValue(NdbValueInt, 2121));
    sender.SetField(SenderWebView, CNdbFieldValue(NdbValueBool, true));
    Store(0, Account("{A}", "http://alpha.example/", true, true));

    for (int opening = 0; opening < 2; ++opening)
    {
        EmailSettingsSheet sheet(m_context, m_newsletter);
        ModalScript script;
        script.Then(IsSheet(sheet),
                    [&](QWidget*)
                    {
                        CPageSenderServices& page = sheet.Services();
                        EXPECT_EQ(Combo(page, IdSite)->currentText(), "http://old.example/ (embedded)");
                        EXPECT_EQ(Enabled(page), "1111");
                        LeaveForGeneral(sheet);
                        EXPECT_EQ(sheet.Sheet().GetActiveIndex(), 0);
                        Click(sheet.Sheet(), IDOK);
                    });
        script.Start();
        EXPECT_TRUE(sheet.Run(EmailSettingsSheet::ServicesPage));
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(sender.GetString(SenderSiteAccount), "{GONE}") << opening;
        EXPECT_EQ(sender.GetString(SenderSiteAddress), "http://old.example/") << opening;
        EXPECT_EQ(sender.GetString(SenderFtpPassword), FtpPassword) << opening;
        EXPECT_EQ(sender.GetInt(SenderSiteNumber424, 0), 2121) << opening;
    }

    EmailSettingsSheet sheet(m_context, m_newsletter);
    ModalScript script;
    script.Then(IsSheet(sheet),
                [&](QWidget*)
                {
                    CPageSenderServices& page = sheet.Services();
                    ClickBox(page, IdWebView);
                    Choose(Combo(page, IdSite), QStringLiteral("<Not selected>"));
                    EXPECT_EQ(Enabled(page), "0000");
                    Click(sheet.Sheet(), IDOK);
                });
    script.Start();
    EXPECT_TRUE(sheet.Run(EmailSettingsSheet::ServicesPage));
    EXPECT_EQ(sender.GetString(SenderSiteAccount), "");
    EXPECT_EQ(sender.GetString(SenderSiteAddress), "");
    EXPECT_EQ(sender.GetString(SenderFtpPassword), "");
    EXPECT_EQ(sender.GetString(SenderSiteAccess631), "");
    EXPECT_EQ(sender.GetInt(SenderSiteNumber424, 0), 21);
    EXPECT_EQ(sender.GetInt(SenderSiteNumber425, 0), 1);
    EXPECT_TRUE(sender.GetBool(SenderSiteSwitch426, false));
    EXPECT_FALSE(sender.GetBool(SenderWebView, true));
}

TEST_F(ServicesPageTest, InstallWithACancelledWizardStoresNoAccount)
{
    Store(0, Account("{A}", "http://alpha.example/", true, true));
    EmailSettingsSheet sheet(m_context, m_newsletter);
    ModalScript script;
    script.Then(IsSheet(sheet), [&](QWidget*) { Click(sheet.Services(), IdInstall); })
        .Then([&](QWidget* w) { return !IsSheet(sheet)(w); },
              [](QWidget* wizard) { ClickButton(wizard, "Cancel"); })
        .ThenShowing(QStringLiteral("Are you sure you wish to exit without saving?"),
                     [](QWidget* box) { ClickButton(box, QStringLiteral("Yes")); })
        .ThenAgain(IsSheet(sheet),
                   [&](QWidget*)
                   {
                       EXPECT_EQ(Combo(sheet.Services(), IdSite)->count(), 2);
                       Click(sheet.Sheet(), IDCANCEL);
                   });
    script.Start();
    EXPECT_FALSE(sheet.Run(EmailSettingsSheet::ServicesPage));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(SiteAccounts::FindFreeSlot(), 1);
}

TEST_F(ServicesPageTest, ANewMailingListIsChosenAtOnceAndFailuresChangeNothing)
{
    const MailingListService service(AdminUser, AdminPassword,
                                     {{"{L-1}", "Members"}, {"{L-2}", "Zebra readers"}});
    const MailingListService refusing(AdminUser, AdminPassword, {{"{L-1}", "Members"}},
                                      MailingListService::Adding::Refused);
    CNdbSender record = Account("{B}", "http://beta.example/", true, true);
    record.SetField(SenderSiteAccess650, CNdbFieldValue(service.FrameworkUrl()));
    record.SetField(SenderServerListId, CNdbFieldValue(QStringLiteral("{L-2}")));
    {
        CDlgServicesMoreSettings dialog(&record);
        ModalScript script;
        script
            .ThenTitled(MoreSettingsTitle,
                        [&](QWidget*)
                        {
                            EXPECT_EQ(Combo(dialog, IdLists)->currentText(), "Zebra readers");
                            Click(dialog, IdCreateList);
                        })
            .ThenTitled(QStringLiteral("Create Mailing List"),
                        [](QWidget* window)
                        {
                            Type(*CWnd::FromHandle(window), IdListName, QStringLiteral("Autumn readers"));
                            ClickButton(window, QStringLiteral("OK"));
                        })
            .ThenAgain(
                [](QWidget* w) { return w->windowTitle() == MoreSettingsTitle; },
                [&](QWidget* window)
                {
                    QComboBox* lists = Combo(dialog, IdLists);
                    EXPECT_EQ(ComboTexts(lists), (QStringList{"Autumn readers", "Members", "Zebra readers"}));
                    EXPECT_EQ(lists->currentText(), "Autumn readers");
                    ClickButton(window, QStringLiteral("Cancel"));
                });
        script.Start();
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_TRUE(script.Finished());
    }
    const QString created = record.GetString(SenderServerListId);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\{[0-9A-F-]{36}\\}$")).match(created).hasMatch())
        << created.toStdString();

    // A refused list and a service that does not answer leave the choice as it was.
    record.SetField(SenderSiteAccess650, CNdbFieldValue(refusing.FrameworkUrl()));
    {
        CDlgServicesMoreSettings dialog(&record);
        ModalScript script;
        script.ThenTitled(MoreSettingsTitle, [&](QWidget*) { Click(dialog, IdCreateList); })
            .ThenTitled(QStringLiteral("Create Mailing List"),
                        [](QWidget* window) { ClickButton(window, QStringLiteral("OK")); })
            .ThenShowing(QStringLiteral("Can't add Dynamic Mailing List"),
                         [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); })
            .ThenAgain([](QWidget* w) { return w->windowTitle() == MoreSettingsTitle; },
                       [&](QWidget* window)
                       {
                           EXPECT_EQ(ComboTexts(Combo(dialog, IdLists)), QStringList{"Members"});
                           ClickButton(window, QStringLiteral("Cancel"));
                       });
        script.Start();
        dialog.DoModal();
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(record.GetString(SenderServerListId), created);
    record.SetField(SenderSiteAccess631, CNdbFieldValue(QStringLiteral("wrong")));
    {
        CDlgServicesMoreSettings dialog(&record);
        ModalScript script;
        script.ThenTitled(MoreSettingsTitle,
                          [&](QWidget* window)
                          {
                              EXPECT_EQ(Combo(dialog, IdLists)->count(), 0);
                              ClickButton(window, QStringLiteral("OK"));
                          });
        script.Start();
        EXPECT_EQ(dialog.DoModal(), IDOK);
    }
    EXPECT_EQ(record.GetString(SenderServerListId), created);
    CNdbFieldValue link;
    ASSERT_TRUE(record.GetField(SenderWebViewUpload, link));
    EXPECT_EQ(link.GetString(), "") << "the default link is stored empty";
    EXPECT_EQ(record.GetString(SenderUnsubscribeMessage),
              "You have now been removed from this Mailing List.");
}
