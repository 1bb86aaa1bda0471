// The site-account wizard as a user runs it: an FTP server whose root holds the web site, PHP
// serving its web root, the framework installed from the program's own packages.
#include "ServicesUiSupport.h"
#include "support/FtpServer.h"
#include "support/PhpServer.h"
#include "support/ServerProcess.h"

#include "controls/KVPropertySheet.h"
#include "ndb/NdbSender.h"
#include "servicesui/PageSiteAccountProperties1.h"
#include "servicesui/PageSiteAccountProperties2.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace DialogTest;
using namespace ServicesUi;
using namespace ndb;

namespace
{
constexpr int IdWebsite = 1177;
constexpr int IdFtpServer = 1166;
constexpr int IdFtpUser = 1169;
constexpr int IdFtpPassword = 1171;
constexpr int IdAdvanced = 1194;
constexpr int IdPort = 1045;
constexpr int IdAdminUser = 1052;
constexpr int IdAdminPassword = 1059;
constexpr int IdCheckFramework = 1628;
constexpr int IdInstall = 1500;
constexpr int IdDatabaseServer = 1039;
constexpr int IdDatabaseName = 1043;
constexpr int IdAdminEmail = 1066;
constexpr int IdStartInstall = 1465;

const QString Password = QString::fromUtf16(u"p'a\"s$s [x] \u00F6");

class SiteAccountWizard : public testing::Test
{
protected:
    SiteAccountWizard()
    {
        m_account.SetField(1, CNdbFieldValue(CNdbBase::CreateGuidString()));
        m_sheet.m_backCaption = QStringLiteral("< Back");
        m_sheet.m_nextCaption = QStringLiteral("Next >");
        m_sheet.AddPage(&m_step1);
        m_sheet.AddPage(&m_step2);
        m_sheet.m_psh.dwFlags |= PSH_WIZARD | PSH_HASHELP;
    }

    // The wizard is the active modal window again, showing that step.
    auto OnStep(int index)
    {
        return [this, index](QWidget* w)
        { return w == m_sheet.GetSafeHwnd() && m_sheet.GetActiveIndex() == index; };
    }
    int TestPagesStored() const
    {
        return int(m_ftp.Commands().filter(QRegularExpression("^STOR .*kv_testfile_tmp_")).size());
    }
    QString Website() const { return QStringLiteral("127.0.0.1:%1/news/2008/").arg(m_web.Port()); }

    ScopedSettings m_settings;
    QTemporaryDir m_site;
    QTemporaryDir m_data; // the framework's database, outside the served folders
    const bool m_foldersMade{QDir(m_site.path()).mkpath("public_html") &&
                             QDir(m_site.path()).mkpath("logs") && QDir(m_site.path()).mkpath("mail") &&
                             QDir(m_site.path()).mkpath("tmp")};
    FtpServer m_ftp{m_site.path()};
    PhpServer m_web{m_site.filePath("public_html")};
    CNdbSender m_account;
    CPageSiteAccountProperties1 m_step1{&m_account};
    CPageSiteAccountProperties2 m_step2{&m_account};
    CKVPropertySheet m_sheet{QStringLiteral("Site Settings")};
};
} // namespace

TEST_F(SiteAccountWizard, FindsTheWebRootInstallsTheFrameworkAndFillsTheAccount)
{
    int storedBeforeAbort = 0;
    ModalScript script;
    script
        .Then(OnStep(0),
              [&](QWidget*)
              {
                  // A site address whose server is not there: nothing can match.
                  Type(m_step1, IdWebsite,
                       QStringLiteral("http://127.0.0.1:%1/news/2008/").arg(ServerProcess::FreePort()));
                  Type(m_step1, IdFtpServer, "127.0.0.1");
                  Type(m_step1, IdFtpUser, FtpServer::User);
                  Type(m_step1, IdFtpPassword, FtpServer::Password);
                  Click(m_step1, IdAdvanced);
              })
        .ThenTitled("FTP and Web Server Advanced Settings",
                    [&](QWidget* dialog)
                    {
                        CWnd* wnd = CWnd::FromHandle(dialog);
                        EXPECT_EQ(Item(*wnd, 1172)->property("text").toString(), QString());
                        Type(*wnd, IdPort, QString::number(m_ftp.Port()));
                        SaveArtifact(*wnd, "dialog_184.png");
                        ClickButton(dialog, "OK");
                    })
        .ThenAgain(OnStep(0), [&](QWidget*) { Click(m_sheet, ID_WIZNEXT); })
        .ThenShowing("There is a mismatch between the website url and the remote directory",
                     [](QWidget* box) { ClickButton(box, "Yes"); })
        .ThenTitled("Find remote directory",
                    [&](QWidget* progress)
                    {
                        SaveArtifact(*CWnd::FromHandle(progress), "search_progress.png");
                        ClickButton(progress, "Abort");
                    })
        .ThenShowing("Failed to match website url with remote directory",
                     [&](QWidget* box)
                     {
                         storedBeforeAbort = TestPagesStored();
                         ClickButton(box, "OK");
                     })
        .ThenAgain(OnStep(0),
                   [&](QWidget*)
                   {
                       EXPECT_TRUE(m_account.GetString(SenderSiteAddress).isEmpty()) << "nothing stored yet";
                       Type(m_step1, IdWebsite, Website());
                       SaveArtifact(m_sheet, "page_316.png");
                       Click(m_sheet, ID_WIZNEXT);
                   })
        .ThenShowing("There is a mismatch between the website url and the remote directory",
                     [](QWidget* box) { ClickButton(box, "Yes"); })
        .ThenAgain(OnStep(1),
                   [&](QWidget*)
                   {
                       SaveArtifact(m_sheet, "page_318.png");
                       Type(m_step2, IdAdminUser, QString::fromUtf16(u"R\u00E9dacteur"));
                       Type(m_step2, IdAdminPassword, Password);
                       Click(m_step2, IdInstall);
                   })
        .ThenTitled("Install Quorvane",
                    [&](QWidget* dialog)
                    {
                        CWnd* wnd = CWnd::FromHandle(dialog);
                        EXPECT_EQ(Item(*wnd, IdAdminUser)->property("text").toString(),
                                  QString::fromUtf16(u"R\u00E9dacteur"));
                        Type(*wnd, IdDatabaseServer, "sqlite:" + m_data.filePath("quorvane.sqlite"));
                        Type(*wnd, IdDatabaseName, "quorvane");
                        Type(*wnd, IdAdminEmail, "editor@example.com");
                        SaveArtifact(*wnd, "dialog_239.png");
                        Click(*wnd, IdStartInstall);
                    })
        .ThenShowing("Quorvane installed successfully!", [](QWidget* box) { ClickButton(box, "OK"); })
        .ThenAgain(OnStep(1),
                   [&](QWidget*)
                   {
                       EXPECT_TRUE(m_account.GetBool(SenderSiteStatistics, false));
                       EXPECT_EQ(m_account.GetString(SenderAdminEmail), "editor@example.com");
                       Type(m_step2, IdAdminPassword, Password + "x");
                       Click(m_step2, IdCheckFramework);
                   })
        .ThenShowing("Quorvane was found, but the username and/or password is incorrect.",
                     [](QWidget* box) { ClickButton(box, "OK"); })
        .ThenAgain(OnStep(1),
                   [&](QWidget*)
                   {
                       EXPECT_FALSE(m_account.GetBool(SenderSiteStatistics, true));
                       Type(m_step2, IdAdminPassword, Password);
                       Click(m_step2, IdCheckFramework);
                   })
        .ThenShowing("Connection to Quorvane was successful!", [](QWidget* box) { ClickButton(box, "OK"); })
        .ThenAgain(OnStep(1), [&](QWidget*) { Click(m_sheet, IDCANCEL); })
        .ThenShowing("Are you sure you wish to exit without saving?",
                     [](QWidget* box) { ClickButton(box, "No"); })
        .ThenAgain(OnStep(1), [&](QWidget*) { Click(m_sheet, ID_WIZFINISH); });
    script.Start();

    EXPECT_EQ(m_sheet.DoModal(), ID_WIZFINISH);
    EXPECT_TRUE(script.Finished());
    EXPECT_GT(storedBeforeAbort, 0);
    EXPECT_LT(storedBeforeAbort, 3 * 5) << "Abort ended the search before all folders were tried";

    const QString site = QStringLiteral("http://") + Website();
    EXPECT_EQ(m_account.GetString(SenderSiteAddress), site);
    EXPECT_EQ(m_account.GetString(SenderFtpServer), "127.0.0.1");
    EXPECT_EQ(m_account.GetString(SenderFtpUser), FtpServer::User);
    EXPECT_EQ(m_account.GetString(SenderFtpPassword), FtpServer::Password);
    EXPECT_EQ(m_account.GetString(SenderFtpFolder), "/public_html/news/2008");
    EXPECT_EQ(m_account.GetInt(SenderSiteNumber424, 0), m_ftp.Port());
    EXPECT_EQ(m_account.GetInt(SenderSiteNumber425, 0), 3);
    EXPECT_TRUE(m_account.GetBool(SenderSiteSwitch426, false));
    EXPECT_EQ(m_account.GetString(SenderSiteType), "php");
    EXPECT_TRUE(m_account.GetBool(SenderSiteWebView, false));
    EXPECT_EQ(m_account.GetString(SenderSiteAccess630), QString::fromUtf16(u"R\u00E9dacteur"));
    EXPECT_EQ(m_account.GetString(SenderSiteAccess631), Password);
    EXPECT_EQ(m_account.GetString(SenderSiteAccess650), site + "admin/qorx_2_services_lamp.php");
    EXPECT_EQ(m_account.GetString(SenderDatabaseServer), "sqlite:" + m_data.filePath("quorvane.sqlite"));
    EXPECT_EQ(m_account.GetString(SenderDatabaseName), "quorvane");
    EXPECT_TRUE(m_account.GetBool(SenderDynamicServices, false));
    EXPECT_TRUE(m_account.GetBool(SenderSiteStatistics, false));

    // The folders of the address were made below the web root; no test page or probe is left.
    EXPECT_TRUE(QFileInfo(m_site.filePath("public_html/news/2008/admin/qorx_2_services_lamp.php")).isFile());
    QStringList leftOver;
    QDirIterator files(m_site.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
    {
        const QString file = files.next();
        if (file.contains("kv_testfile_tmp_") || file.contains("testtestservertype"))
            leftOver.append(file);
    }
    EXPECT_TRUE(leftOver.isEmpty()) << leftOver.join(' ').toStdString();
    // Both scripts were tried in the folder found.
    const QStringList probes = m_ftp.Commands().filter(QRegularExpression("^STOR .*testtestservertype"));
    ASSERT_EQ(probes.size(), 2);
    for (const QString& probe : probes)
        EXPECT_TRUE(probe.startsWith("STOR /public_html/news/2008/")) << probe.toStdString();
}

TEST_F(SiteAccountWizard, AFolderTypedWithBackslashesIsCheckedWithSlashesAndKeptAsTyped)
{
    ASSERT_TRUE(QDir(m_site.path()).mkpath("public_html/news"));
    const QString typed = "\\public_html\\news\\";
    ModalScript script;
    script
        .Then(OnStep(0),
              [&](QWidget*)
              {
                  Type(m_step1, IdWebsite, QStringLiteral("127.0.0.1:%1/news").arg(m_web.Port()));
                  Type(m_step1, IdFtpServer, "127.0.0.1");
                  Type(m_step1, IdFtpUser, FtpServer::User);
                  Type(m_step1, IdFtpPassword, FtpServer::Password);
                  Click(m_step1, IdAdvanced);
              })
        .ThenTitled("FTP and Web Server Advanced Settings",
                    [&](QWidget* dialog)
                    {
                        CWnd* wnd = CWnd::FromHandle(dialog);
                        Type(*wnd, IdPort, QString::number(m_ftp.Port()));
                        Type(*wnd, 1172, typed);
                        ClickButton(dialog, "OK");
                    })
        .ThenAgain(OnStep(0), [&](QWidget*) { Click(m_step1, 1179); })
        .ThenShowing("Successfully checked the FTP and web server settings...",
                     [](QWidget* box) { ClickButton(box, "OK"); })
        .ThenAgain(OnStep(0), [&](QWidget*) { Click(m_sheet, ID_WIZNEXT); })
        .ThenAgain(OnStep(1),
                   [&](QWidget*)
                   {
                       EXPECT_EQ(m_account.GetString(SenderFtpFolder), typed);
                       EXPECT_EQ(m_account.GetString(SenderSiteType), "php");
                       EXPECT_TRUE(m_account.GetBool(SenderSiteWebView, false));
                       Click(m_sheet, IDCANCEL);
                   })
        .ThenShowing("Are you sure you wish to exit without saving?",
                     [](QWidget* box) { ClickButton(box, "Yes"); });
    script.Start();
    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    // Nothing was searched: the folder served the address at once.
    EXPECT_TRUE(m_ftp.Commands().filter(QRegularExpression("^(MLSD|LIST)")).isEmpty());
}

TEST(SiteAccountWizardStep2, CancelledInstallationKeepsTheAccountAndAnEmptyUserFinishesAtOnce)
{
    ScopedSettings settings;
    CNdbSender account;
    account.SetField(SenderSiteAddress, CNdbFieldValue(QStringLiteral("http://example.com\\news")));
    account.SetField(SenderSiteType, CNdbFieldValue(QStringLiteral("php")));
    account.SetField(SenderSiteAccess630, CNdbFieldValue(QStringLiteral("old")));
    account.SetField(SenderSiteStatistics, CNdbFieldValue(NdbValueBool, true));
    account.SetField(SenderDynamicServices, CNdbFieldValue(NdbValueBool, true));
    CPageSiteAccountProperties1 step1(&account);
    CPageSiteAccountProperties2 step2(&account);
    CKVPropertySheet sheet(QStringLiteral("Site Settings"));
    sheet.AddPage(&step1);
    sheet.AddPage(&step2);
    sheet.m_psh.dwFlags |= PSH_WIZARD;
    sheet.m_psh.nStartPage = 1;

    QStringList told;
    ModalScript script;
    script.ThenTitled("Step 2 - Quorvane", [&](QWidget*) { Click(step2, IdInstall); })
        .ThenTitled("Install Quorvane",
                    [&](QWidget* dialog)
                    {
                        EXPECT_EQ(Item(*CWnd::FromHandle(dialog), IdAdminUser)->property("text").toString(),
                                  "old");
                        ClickButton(dialog, "Cancel");
                    })
        .ThenAgain([&](QWidget* w) { return w == sheet.GetSafeHwnd(); },
                   [&](QWidget*)
                   {
                       EXPECT_TRUE(account.GetBool(SenderSiteStatistics, false))
                           << "no installation, no change";
                       Type(step2, IdAdminUser, QString());
                       Click(sheet, ID_WIZFINISH);
                   });
    script.Start();
    EXPECT_EQ(sheet.DoModal(), ID_WIZFINISH);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(account.GetString(SenderSiteAccess630), QString());
    EXPECT_EQ(account.GetString(SenderSiteAccess650),
              "http://example.com/news/admin/qorx_2_services_lamp.php");
    EXPECT_FALSE(account.GetBool(SenderDynamicServices, true));
    EXPECT_FALSE(account.GetBool(SenderSiteStatistics, true));
}

TEST(SiteAddress, TheFrameworkPageFollowsTheSiteAndItsServerType)
{
    using Page = CPageSiteAccountProperties2;
    EXPECT_EQ(Page::FrameworkUrl("http://example.com/news", "php"),
              "http://example.com/news/admin/qorx_2_services_lamp.php");
    EXPECT_EQ(Page::FrameworkUrl("example.com\\news\\", "asp"),
              "http://example.com/news/admin/qorx_2_services_wisa.asp");
    EXPECT_EQ(Page::FrameworkUrl("https://example.com/", "php"),
              "https://example.com/admin/qorx_2_services_lamp.php");
    EXPECT_TRUE(Page::FrameworkUrl("http://example.com/", "").isEmpty());
    EXPECT_TRUE(Page::FrameworkUrl("http://example.com/", "Php").isEmpty());
}
