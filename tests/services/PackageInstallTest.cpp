// The installation steps of a package: its manifest, the version check, the filled files and the
// final status, against an FTP server and a scripted framework.
#include "QorxReplies.h"
#include "support/FtpServer.h"
#include "support/NoProxy.h"
#include "support/ScriptedHttpServer.h"

#include "services/QorxInstaller.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace QorxReplies;

namespace
{
const QString ServicePath = QStringLiteral("/admin/service.php");

class PackageInstallTest : public testing::Test
{
protected:
    PackageInstallTest()
    {
        ClearProxyEnvironment();
        m_settings.databaseServerUrl = QStringLiteral("db.example.com");
        m_settings.adminUserName = QStringLiteral("admin");
        m_settings.adminPassword = QStringLiteral("secret");
        m_settings.adminEmail = QStringLiteral("admin@example.com");
        m_settings.ftpServer = QStringLiteral("127.0.0.1");
        m_settings.ftpPort = m_ftp.Port();
        m_settings.ftpUserName = QString::fromLatin1(FtpServer::User);
        m_settings.ftpPassword = QString::fromLatin1(FtpServer::Password);
        m_settings.ftpRemoteDirectory = QStringLiteral("/www");
        m_settings.serviceUrl = m_framework.Url(ServicePath);
        QDir(m_site.path()).mkpath(QStringLiteral("www"));
        m_framework.SetReply(ServicePath + "?cmd=getstatus", Status("fam", "ok", 2));
    }

    void WritePackageFile(const QString& name, const QByteArray& bytes)
    {
        QDir(m_package.path()).mkpath(QFileInfo(m_package.filePath(name)).path());
        QFile file(m_package.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // A manifest around the given elements, with the package element given or "qorx_package".
    QString WriteManifest(const QString& inner, const QString& package = {})
    {
        const QString element = package.isEmpty()
                                    ? Element("qorx_package", "family=\"fam\" version=\" 2 \"", inner)
                                    : package + inner;
        WritePackageFile("manifest.xml",
                         ("<?xml version=\"1.0\"?><qorx_manifest>" + element + "</qorx_manifest>").toUtf8());
        return m_package.filePath("manifest.xml");
    }

    static QString RemoteFile(const QString& src, const QString& dest, const QString& replace = "no")
    {
        return QStringLiteral("<remotefile src=\"%1\" dest=\"%2\" usereplace=\"%3\"/>")
            .arg(src, dest, replace);
    }

    int Install(const QString& manifest) { return CQorxInstaller().InstallPackage(manifest, m_settings); }

    QByteArray Uploaded(const QString& path) const
    {
        QFile file(m_site.filePath("www/admin/" + path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QStringList Stores() const { return m_ftp.Commands().filter(QRegularExpression("^STOR")); }
    QStringList StatusCommands() const
    {
        QStringList commands;
        for (const QString& request : m_framework.Requests())
            commands.append(request.section("&cmd=", 1));
        return commands;
    }

    QTemporaryDir m_package;
    QTemporaryDir m_site;
    FtpServer m_ftp{m_site.path()};
    ScriptedHttpServer m_framework;
    QorxInstallSettings m_settings;
};
} // namespace

TEST_F(PackageInstallTest, FilesAreUploadedBelowAdminAndPlaceholdersFilled)
{
    WritePackageFile("php/config.php",
                     "<?php [qorxsystem_ui_dbserver]|[custom]|[CUSTOM2]|[unknown [QORXSYSTEM_UI_ADMINEMAIL] |"
                     "[QORXSYSTEM_UI_MAILUSERNAME]|\xE9 z");
    WritePackageFile("php/bom.php", "\xEF\xBB\xBF[QORXSYSTEM_UI_ADMINUSERNAME]");
    WritePackageFile("php/kept.php", "[QORXSYSTEM_UI_ADMINUSERNAME]");
    WritePackageFile("img/logo.gif", QByteArray("GIF89a\x00\x01", 8));
    const QString manifest = WriteManifest(
        "<replace key=\"custom\">C</replace><replace key=\"QORXSYSTEM_UI_DBSERVER\">from manifest</replace>"
        "<replace>no key</replace><replace key=\"\">empty key</replace>"
        "<replace key=\"Custom2\"><b>not text</b></replace>" +
        RemoteFile("php\\config.php", "deep/er/config.php", "yes") +
        RemoteFile("php/bom.php", "bom.php", "yes") + RemoteFile("php/kept.php", "kept.php", "Yes") +
        RemoteFile("img/logo.gif", "img/logo.gif") + RemoteFile("", "skipped.txt") +
        RemoteFile("php/kept.php", ""));
    m_settings.smtpUserName = QString::fromUtf16(u"m\u00E4il");
    m_settings.ftpRemoteDirectory = QStringLiteral("/www/");

    ASSERT_EQ(Install(manifest), 0);
    EXPECT_EQ(Uploaded("deep/er/config.php"),
              QString::fromUtf16(u"<?php db.example.com|C||[unknown admin@example.com "
                                 u"|m\u00E4il|\u00E9 z")
                  .toUtf8());
    EXPECT_EQ(Uploaded("bom.php"), "\xEF\xBB\xBF"
                                   "admin");
    EXPECT_EQ(Uploaded("kept.php"), "[QORXSYSTEM_UI_ADMINUSERNAME]");
    EXPECT_EQ(Uploaded("img/logo.gif"), QByteArray("GIF89a\x00\x01", 8));
    EXPECT_EQ(
        QDir(m_site.filePath("www/admin")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        (QStringList{"bom.php", "deep", "img", "kept.php"}));
    for (const QString& store : Stores())
        EXPECT_FALSE(store.contains("//")) << store.toStdString();
    // The package answered after the upload: no initialisation.
    EXPECT_EQ(StatusCommands(), (QStringList{"getstatus", "getstatus"}));
}

TEST_F(PackageInstallTest, ANewerVersionOnTheSiteUploadsNothing)
{
    WritePackageFile("a.php", "a");
    const QString manifest = WriteManifest(RemoteFile("a.php", "a.php"));
    m_framework.SetReply(ServicePath + "?cmd=getstatus", Status("fam", "ok", 3));
    EXPECT_EQ(Install(manifest), 13);
    EXPECT_TRUE(Stores().isEmpty());

    // The same version is installed again; an unreachable framework does not stop the upload.
    m_framework.SetReply(ServicePath + "?cmd=getstatus", Status("fam", "ok", 2));
    EXPECT_EQ(Install(manifest), 0);
    m_settings.serviceUrl = QStringLiteral("http://127.0.0.1:1/none.php");
    EXPECT_EQ(Install(manifest), 4);
    EXPECT_EQ(Stores().size(), 2);
}

TEST_F(PackageInstallTest, APackageThatDoesNotAnswerIsInitialised)
{
    WritePackageFile("a.php", "a");
    const QString manifest = WriteManifest(RemoteFile("a.php", "a.php"));
    const QString missingTables = Document(Element(
        "fam_admin_getstatus", "status=\"ok\" packageversion=\"1\"", Element("connection", "status=\"ok\"")));
    m_framework.SetReply(ServicePath + "?cmd=getstatus", missingTables);
    m_framework.SetReply(ServicePath + "?cmd=init",
                         Document(Element("fam_admin_init", "status=\"ok\"",
                                          Element("system_package_register", "status=\"ok\""))));
    EXPECT_EQ(Install(manifest), 10);
    EXPECT_EQ(StatusCommands(), (QStringList{"getstatus", "getstatus", "init", "getstatus"}));

    m_framework.SetReply(ServicePath + "?cmd=init", Document(Element("fam_admin_init", "status=\"ok\"")));
    EXPECT_EQ(Install(manifest), 15);
}

TEST_F(PackageInstallTest, ThePackageElementNamesTheSystem)
{
    WritePackageFile("a.php", "a");
    const QString both =
        Element("qorx_package", "family=\"other\" version=\"9\"", "") +
        Element("qorx_system", "family=\"fam\" version=\"2abc\"", RemoteFile("a.php", "a.php"));
    EXPECT_EQ(Install(WriteManifest(QString(), both)), 0);
    EXPECT_EQ(Install(WriteManifest(RemoteFile("a.php", "a.php"))), 0);
    EXPECT_EQ(Install(WriteManifest(QString(), Element("qorx_package", "family=\"other\" version=\"2\"",
                                                       RemoteFile("a.php", "a.php")))),
              4); // the status names another system; the initialisation finds no page
}

TEST_F(PackageInstallTest, BrokenManifestsAndFilesStopBeforeOrAtTheirStep)
{
    WritePackageFile("empty.php", "");
    WritePackageFile("blank.php", "[QORXSYSTEM_UI_SMTPSERVER][QORXSYSTEM_UI_WEBSITEURL]");
    WritePackageFile("a.php", "a");
    EXPECT_EQ(Install(m_package.filePath("none.xml")), 6);
    EXPECT_EQ(Install(WriteManifest(QString(), Element("manifest", ""))), 8);
    EXPECT_EQ(Install(WriteManifest(RemoteFile("empty.php", "empty.php", "yes"))), 5);
    EXPECT_EQ(Install(WriteManifest(RemoteFile("missing.php", "missing.php", "yes"))), 2);
    EXPECT_EQ(Install(WriteManifest(RemoteFile("blank.php", "blank.php", "yes"))), 11);
    EXPECT_EQ(Install(WriteManifest(RemoteFile("missing.php", "missing.php"))), 12);

    // Files outside the package or outside the site's folder are refused before any upload.
    for (const QString& file : {RemoteFile("../a.php", "a.php"), RemoteFile("a.php", "../../a.php"),
                                RemoteFile("a.php", "x\\..\\..\\a.php"), RemoteFile("/etc/passwd", "a.php"),
                                RemoteFile("a.php", "/a.php"), RemoteFile("C:\\a.php", "a.php")})
        EXPECT_EQ(Install(WriteManifest(RemoteFile("a.php", "first.php") + file)), 6) << file.toStdString();
    EXPECT_TRUE(Stores().isEmpty());

    // A manifest named without a folder.
    WriteManifest(RemoteFile("a.php", "a.php"));
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
    ASSERT_EQ(chdir(QFile::encodeName(m_package.path()).constData()), 0);
    EXPECT_EQ(Install("manifest.xml"), 7);
    ASSERT_EQ(chdir(previous), 0);
}
