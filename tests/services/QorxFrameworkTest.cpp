// The framework packages of the program, installed over FTP on a site whose scripts PHP runs,
// then used through the web-service client.
#include "support/FtpServer.h"
#include "support/NoProxy.h"
#include "support/PhpServer.h"

#include "services/QorxInstaller.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
const QString PackageFolder = QStringLiteral(KV_SOURCE_DIR "/data/qorx/");

QString Manifest(const QString& name)
{
    return PackageFolder + name + QStringLiteral("_lamp_en.xml");
}

class QorxFrameworkTest : public testing::Test
{
protected:
    QorxFrameworkTest()
    {
        ClearProxyEnvironment();
        m_settings.databaseServerUrl =
            QStringLiteral("sqlite:") + m_data.filePath(QStringLiteral("quorvane.sqlite"));
        m_settings.databaseName = QStringLiteral("quorvane");
        m_settings.adminUserName = QString::fromUtf16(u"R\u00E9dacteur");
        m_settings.adminPassword =
            QString::fromUtf16(u"p'a\"s$s\\[w]{o}r<?php ?>d \u00F6\u20AC %20 ]]>&amp;");
        m_settings.adminEmail = QStringLiteral("admin@example.com");
        m_settings.ftpServer = QStringLiteral("127.0.0.1");
        m_settings.ftpPort = m_ftp.Port();
        m_settings.ftpUserName = QString::fromLatin1(FtpServer::User);
        m_settings.ftpPassword = QString::fromLatin1(FtpServer::Password);
        m_settings.ftpRemoteDirectory = QStringLiteral("/public_html");
    }

    QString AdminFolder() const { return m_site.filePath(QStringLiteral("public_html/admin")); }
    QString AdminUrl() const { return m_web.Url(QStringLiteral("admin/qorx_2_services_lamp.php")); }

    int Install(const QString& package, const QString& script)
    {
        QorxInstallSettings settings = m_settings;
        settings.serviceUrl = m_web.Url(QStringLiteral("admin/") + script);
        return CQorxInstaller().InstallPackage(Manifest(package), settings);
    }

    QTemporaryDir m_site;
    QTemporaryDir m_data; // outside what the web server serves
    const bool m_webRootMade{QDir(m_site.path()).mkpath(QStringLiteral("public_html"))};
    FtpServer m_ftp{m_site.path()};
    PhpServer m_web{m_site.filePath(QStringLiteral("public_html"))};
    QorxInstallSettings m_settings;
};
} // namespace

TEST_F(QorxFrameworkTest, InstalledPackagesAnswerWithTheChosenCredentials)
{
    ASSERT_EQ(Install("qorx_system_2_localhost", "qorx_2_services_lamp.php"), 0);
    ASSERT_EQ(Install("ws_stats_newsletter", "ws_stats_newsletter_services_lamp.php"), 0);
    ASSERT_EQ(Install("ws_mailinglist", "ws_mailinglist_services_lamp.php"), 0);
    EXPECT_EQ(QDir(AdminFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{"qorx_2_services_lamp.php", "qorx_lib_lamp.php", "qorx_settings_lamp.php",
                           "ws_mailinglist_services_lamp.php", "ws_stats_newsletter_services_lamp.php"}));

    // The password reached the site exactly as typed.
    QFile settingsFile(AdminFolder() + QStringLiteral("/qorx_settings_lamp.php"));
    ASSERT_TRUE(settingsFile.open(QIODevice::ReadOnly));
    const QByteArray settings = settingsFile.readAll();
    EXPECT_TRUE(settings.contains("\nadminpassword=" + m_settings.adminPassword.toUtf8() + "\n"));

    CQorxInstaller client;
    const QString user = m_settings.adminUserName;
    const QString password = m_settings.adminPassword;
    QString id;
    int version = 0;
    EXPECT_EQ(client.GetStatus(QString(), AdminUrl(), user, password, id, version), 0);
    EXPECT_EQ(version, 2);
    EXPECT_EQ(client.GetStatus(QString(), AdminUrl(), user, password + "x", id, version), 18);

    QString serviceUrl;
    EXPECT_EQ(client.GetServiceUrl(AdminUrl(), "ws_stats_newsletter", user, password, serviceUrl), 0);
    EXPECT_EQ(serviceUrl, m_web.Url("admin/ws_stats_newsletter_services_lamp.php"));

    const QString group = QStringLiteral("{59D59837-C877-4968-A6AB-83ADB4D5A1E5}");
    const QString link = QStringLiteral("http://example.com/a?b=1&c='2'#x");
    EXPECT_EQ(client.AddChannelGroup(AdminUrl(), user, password, group, "Kelvora"), 0);
    EXPECT_EQ(client.AddChannelGroup(AdminUrl(), user, password, group, "Kelvora"), 0);
    EXPECT_EQ(
        client.AddChannel(AdminUrl(), user, password, group, "{N-1}", QString::fromUtf16(u"Fr\u00FChling")),
        0);
    EXPECT_EQ(client.AddTracker(AdminUrl(), user, password, "{N-1}", "{T-1}", link, link), 0);
    CQorxInstaller::IdNameMap trackers;
    EXPECT_EQ(client.GetAllTrackers(AdminUrl(), user, password, "{N-1}", trackers), 0);
    EXPECT_EQ(trackers, (CQorxInstaller::IdNameMap{{"{T-1}", link}}));

    const QString listName = QString::fromUtf16(u"Kunden <&> \"Fr\u00FCnde\" \u20AC");
    EXPECT_EQ(client.AddMailingList(AdminUrl(), user, password, "{L-1}", listName), 0);
    CQorxInstaller::IdNameMap lists;
    EXPECT_EQ(client.GetAllMailingLists(AdminUrl(), user, password, lists), 0);
    EXPECT_EQ(lists, (CQorxInstaller::IdNameMap{{"{L-1}", listName}}));

    // Installing again over a site of the same version works and keeps the data.
    ASSERT_EQ(Install("ws_mailinglist", "ws_mailinglist_services_lamp.php"), 0);
    lists.clear();
    EXPECT_EQ(client.GetAllMailingLists(AdminUrl(), user, password, lists), 0);
    EXPECT_EQ(lists.size(), 1u);
}

TEST_F(QorxFrameworkTest, ServicesWithoutTheFrameworkOrItsDatabaseAreNotReady)
{
    // No framework on the site: the service's script cannot run (its page fails) after the upload.
    EXPECT_EQ(Install("ws_mailinglist", "ws_mailinglist_services_lamp.php"), 4);

    m_settings.databaseServerUrl = QStringLiteral("sqlite:") + m_data.filePath("missing/folder/db.sqlite");
    EXPECT_EQ(Install("qorx_system_2_localhost", "qorx_2_services_lamp.php"), 5);
    QString id;
    int version = 0;
    EXPECT_EQ(CQorxInstaller().GetStatus(QString(), AdminUrl(), m_settings.adminUserName,
                                         m_settings.adminPassword, id, version),
              9);
}

TEST_F(QorxFrameworkTest, ARefusedUploadStopsTheInstallation)
{
    QFile blocker(m_site.filePath("public_html/admin"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(Install("qorx_system_2_localhost", "qorx_2_services_lamp.php"), 12);
}

TEST_F(QorxFrameworkTest, ASettingWithALineBreakIsRefusedBeforeAnyUpload)
{
    m_settings.adminPassword = QStringLiteral("first\nadminuser=intruder");
    EXPECT_EQ(Install("qorx_system_2_localhost", "qorx_2_services_lamp.php"), 14);
    m_settings.adminPassword = QStringLiteral("ok");
    m_settings.databaseName = QString::fromUtf16(u"x\0y", 3);
    EXPECT_EQ(Install("qorx_system_2_localhost", "qorx_2_services_lamp.php"), 14);
    EXPECT_TRUE(m_ftp.Commands().filter(QRegularExpression("^STOR")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(AdminFolder()));
}

TEST_F(QorxFrameworkTest, TheAspPackagesUploadWhole)
{
    for (const QString& package : {QStringLiteral("qorx_system_2_localhost"),
                                   QStringLiteral("ws_stats_newsletter"), QStringLiteral("ws_mailinglist")})
    {
        QorxInstallSettings settings = m_settings;
        settings.serviceUrl = m_web.Url(QStringLiteral("admin/none.asp"));
        // No ASP runs here: the upload is all there is to see, so the final status fails.
        EXPECT_EQ(CQorxInstaller().InstallPackage(PackageFolder + package + "_wisa_en.xml", settings), 4);
    }
    EXPECT_EQ(QDir(AdminFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{"qorx_2_services_wisa.asp", "qorx_lib_wisa.asp", "qorx_settings_wisa.config",
                           "ws_mailinglist_services_wisa.asp", "ws_stats_newsletter_services_wisa.asp"}));
    QFile settingsFile(AdminFolder() + QStringLiteral("/qorx_settings_wisa.config"));
    ASSERT_TRUE(settingsFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        settingsFile.readAll().contains("\nadminpassword=" + m_settings.adminPassword.toUtf8() + "\n"));
}
