#include "support/FtpServer.h"

#include "base/AnsiCodePage.h"
#include "base/ArchiveValues.h"
#include "base/PSStreamMemory.h"
#include "services/FileSync.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace
{
const QString User = QString::fromLatin1(FtpServer::User);
const QString Password = QString::fromLatin1(FtpServer::Password);

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray RandomBytes(int count)
{
    QByteArray bytes(count, '\0');
    for (char& byte : bytes)
        byte = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

class FileSyncTest : public testing::Test
{
protected:
    QString Root(const QString& path = {}) const { return m_root.filePath(path); }

    bool UploadBuffer(const FtpServer& server, const QString& folder, const QString& name,
                      const QByteArray& bytes)
    {
        return CFileSync::UploadBuffer("127.0.0.1", server.Port(), User, Password, folder, name, bytes);
    }
    bool UploadFile(const FtpServer& server, const QString& local, const QString& folder, const QString& name)
    {
        return CFileSync::UploadFile("127.0.0.1", server.Port(), User, Password, local, folder, name);
    }

    QTemporaryDir m_root;
    QTemporaryDir m_local;
};
} // namespace

TEST_F(FileSyncTest, UploadBufferStoresTheBytesOverOneConnectionInTheFolder)
{
    FtpServer server(Root());
    QDir(Root()).mkpath("site/img");
    const QByteArray bytes = RandomBytes(5000);
    ASSERT_TRUE(UploadBuffer(server, "site/img", "logo.png", bytes));
    EXPECT_EQ(ReadFile(Root("site/img/logo.png")), bytes);
    EXPECT_EQ(Entries(Root("site/img")), QStringList{"logo.png"});

    // One login; into the folder; the bytes to a name beside the target, then renamed onto it.
    const QList<QStringList> sessions = server.Sessions();
    ASSERT_EQ(sessions.size(), 1);
    const QStringList commands = sessions[0].filter(QRegularExpression("^(CWD|STOR|RNFR|RNTO|PORT|EPRT)"));
    ASSERT_EQ(commands.size(), 4) << commands.join(" | ").toStdString();
    EXPECT_EQ(commands[0], "CWD /site/img");
    EXPECT_TRUE(commands[1].startsWith("STOR /site/img/.kvpart-") && commands[1].endsWith("-logo.png"));
    EXPECT_EQ(commands[2], "RNFR " + commands[1].mid(5));
    EXPECT_EQ(commands[3], "RNTO /site/img/logo.png");
    EXPECT_FALSE(sessions[0].filter(QRegularExpression("^(EPSV|PASV)")).isEmpty());

    // An empty buffer gives an empty file; an existing file is replaced.
    ASSERT_TRUE(UploadBuffer(server, QString(), "empty.txt", QByteArray()));
    EXPECT_EQ(ReadFile(Root("empty.txt")), QByteArray());
    ASSERT_TRUE(UploadBuffer(server, "/site/img", "logo.png", "new"));
    EXPECT_EQ(ReadFile(Root("site/img/logo.png")), "new");
}

TEST_F(FileSyncTest, UploadIntoAMissingFolderSendsNothing)
{
    FtpServer server(Root());
    EXPECT_FALSE(UploadBuffer(server, "missing/deeper", "page.htm", "x"));
    EXPECT_TRUE(Entries(Root()).isEmpty());
    EXPECT_TRUE(server.Commands().filter(QRegularExpression("^(STOR|MKD)")).isEmpty());
}

TEST_F(FileSyncTest, UploadTextEncodesInTheCodePageOrSendsNothing)
{
    FtpServer server(Root());
    const QString text = QString::fromUtf16(u"Caf\u00E9 \u20AC \u0416");
    ASSERT_TRUE(
        CFileSync::UploadText("127.0.0.1", server.Port(), User, Password, {}, "utf8.htm", text, 65001));
    EXPECT_EQ(ReadFile(Root("utf8.htm")), text.toUtf8());
    ASSERT_TRUE(CFileSync::UploadText("127.0.0.1", server.Port(), User, Password, {}, "ansi.htm", text, 0));
    EXPECT_EQ(ReadFile(Root("ansi.htm")), QByteArray("Caf\xE9 \x80 ?"));

    server.ClearLog();
    EXPECT_FALSE(
        CFileSync::UploadText("127.0.0.1", server.Port(), User, Password, {}, "odd.htm", text, 4711));
    EXPECT_FALSE(QFile::exists(Root("odd.htm")));
    EXPECT_TRUE(server.Commands().isEmpty());

    QByteArray bytes("kept");
    EXPECT_FALSE(CFileSync::EncodeText(bytes, text, 3, 4711));
    EXPECT_EQ(bytes, "kept");
    EXPECT_TRUE(CFileSync::EncodeText(bytes, text, 3, 65001));
    EXPECT_EQ(bytes, "Caf");
    EXPECT_TRUE(CFileSync::EncodeText(bytes, text, 0, 65001));
    EXPECT_TRUE(bytes.isEmpty());
}

TEST_F(FileSyncTest, UploadFileMakesTheWholeFolderAndCopiesALargeFile)
{
    FtpServer server(Root());
    const QByteArray bytes = RandomBytes(3 * 32768 + 123);
    const QString local = m_local.filePath("big.bin");
    WriteFile(local, bytes);
    QDir(Root()).mkpath("x");
    ASSERT_TRUE(UploadFile(server, local, "/x/y/z", "big.bin"));
    EXPECT_EQ(ReadFile(Root("x/y/z/big.bin")), bytes);
    EXPECT_EQ(server.Logins(), 1) << server.Commands().join(" | ").toStdString();
    const QStringList folders = server.Commands().filter(QRegularExpression("^(CWD|MKD)"));
    EXPECT_EQ(folders, (QStringList{"CWD /x/y/z", "CWD /x/y", "CWD /x", "CWD /x/y", "MKD /x/y", "CWD /x/y",
                                    "CWD /x/y/z", "MKD /x/y/z", "CWD /x/y/z"}));

    // Backslashes separate as well, relative to the login folder; an empty folder is the login
    // folder itself.
    ASSERT_TRUE(UploadFile(server, local, "a\\b\\", "copy.bin"));
    EXPECT_EQ(ReadFile(Root("a/b/copy.bin")), bytes);
    ASSERT_TRUE(UploadFile(server, local, QString(), "top.bin"));
    EXPECT_EQ(ReadFile(Root("top.bin")), bytes);

    server.ClearLog();
    EXPECT_FALSE(UploadFile(server, m_local.filePath("missing.bin"), "x", "missing.bin"));
    EXPECT_EQ(server.Logins(), 0);
}

TEST_F(FileSyncTest, UploadFileWhoseFolderCannotBeMadeSendsNothing)
{
    FtpServer server(Root());
    WriteFile(Root("blocked"), "a file where a folder should go");
    const QString local = m_local.filePath("page.htm");
    WriteFile(local, "<p>page</p>");
    EXPECT_FALSE(UploadFile(server, local, "blocked/news", "page.htm"));
    EXPECT_TRUE(server.Commands().filter(QRegularExpression("^STOR")).isEmpty());
    EXPECT_EQ(Entries(Root()), QStringList{"blocked"});
}

TEST_F(FileSyncTest, FoldersAreCreatedAndFilesDeletedOneLevelAtATime)
{
    FtpServer server(Root());
    const int port = server.Port();
    EXPECT_FALSE(CFileSync::CreateRemoteDirectory("127.0.0.1", port, User, Password, QString()));
    EXPECT_EQ(server.Logins(), 0);
    EXPECT_TRUE(CFileSync::CreateRemoteDirectory("127.0.0.1", port, User, Password, "news"));
    EXPECT_TRUE(CFileSync::CreateRemoteDirectory("127.0.0.1", port, User, Password, "/news/2008"));
    EXPECT_FALSE(CFileSync::CreateRemoteDirectory("127.0.0.1", port, User, Password, "news"));
    EXPECT_FALSE(CFileSync::CreateRemoteDirectory("127.0.0.1", port, User, Password, "a/b"));
    EXPECT_TRUE(QFileInfo(Root("news/2008")).isDir());
    EXPECT_FALSE(QFileInfo::exists(Root("a")));

    EXPECT_TRUE(CFileSync::CreateRemoteFolders("127.0.0.1", port, User, Password, "/deep/er/est/"));
    EXPECT_TRUE(QFileInfo(Root("deep/er/est")).isDir());

    WriteFile(Root("news/2008/old.htm"), "old");
    EXPECT_FALSE(CFileSync::DeleteRemoteFile("127.0.0.1", port, User, Password, "news/2009", "old.htm"));
    EXPECT_TRUE(CFileSync::DeleteRemoteFile("127.0.0.1", port, User, Password, "news/2008", "old.htm"));
    EXPECT_FALSE(QFile::exists(Root("news/2008/old.htm")));
    EXPECT_FALSE(CFileSync::DeleteRemoteFile("127.0.0.1", port, User, Password, "news/2008", "old.htm"));
}

TEST_F(FileSyncTest, ListRemoteTreeWalksFoldersBreadthFirst)
{
    for (const FtpServer::Options listing : {FtpServer::Options{true}, FtpServer::Options{false}})
    {
        SCOPED_TRACE(listing.machineListing ? "MLSD" : "LIST");
        QTemporaryDir root;
        for (const char* folder : {"public_html/news", "logs", "only files", "empty"})
            QDir(root.path()).mkpath(folder);
        WriteFile(root.filePath("index.htm"), "x");
        WriteFile(root.filePath("only files/a.txt"), "x");
        FtpServer server(root.path(), listing);
        const int port = server.Port();

        QStringList folders{"kept"};
        EXPECT_TRUE(CFileSync::ListRemoteTree("127.0.0.1", port, User, Password, QString(), folders, 1));
        std::sort(folders.begin() + 1, folders.end());
        EXPECT_EQ(folders, (QStringList{"kept", "/empty", "/logs", "/only files", "/public_html"}));
        EXPECT_EQ(server.Commands().filter(QRegularExpression("^MLSD")).isEmpty(), !listing.machineListing);
        EXPECT_EQ(server.Commands().filter(QRegularExpression("^LIST")).isEmpty(), listing.machineListing);

        folders.clear();
        EXPECT_TRUE(CFileSync::ListRemoteTree("127.0.0.1", port, User, Password, "/public_html", folders, 2));
        EXPECT_EQ(folders, QStringList{"/public_html/news"});
        folders.clear();
        EXPECT_TRUE(CFileSync::ListRemoteTree("127.0.0.1", port, User, Password, "/only files", folders, 3));
        EXPECT_TRUE(folders.isEmpty());
        EXPECT_FALSE(CFileSync::ListRemoteTree("127.0.0.1", port, User, Password, "/empty", folders, 3));
        EXPECT_FALSE(CFileSync::ListRemoteTree("127.0.0.1", port, User, Password, "/missing", folders, 3));
        EXPECT_TRUE(folders.isEmpty());
    }
}

TEST_F(FileSyncTest, WrongCredentialsOpenNothing)
{
    FtpServer server(Root());
    EXPECT_TRUE(CFileSync::TestConnection("127.0.0.1", server.Port(), User, Password));
    EXPECT_FALSE(CFileSync::TestConnection("127.0.0.1", server.Port(), User, "wrong"));
    EXPECT_FALSE(CFileSync::TestConnection("127.0.0.1", server.Port(), "nobody", Password));
    EXPECT_FALSE(CFileSync::UploadBuffer("127.0.0.1", server.Port(), User, "wrong", {}, "x.htm", "x"));
    EXPECT_FALSE(CFileSync::TestConnection("no host name", server.Port(), User, Password));
    EXPECT_TRUE(Entries(Root()).isEmpty());
}

TEST_F(FileSyncTest, NamesWithLineBreaksOrNulAreNeverSent)
{
    FtpServer server(Root());
    WriteFile(Root("victim.htm"), "keep me");
    const QString hostile[] = {"x.htm\r\nDELE victim.htm", QString("x.htm\nDELE victim.htm"),
                               QString::fromUtf16(u"x\0y.htm", 7)};
    for (const QString& name : hostile)
    {
        EXPECT_FALSE(UploadBuffer(server, {}, name, "x"));
        EXPECT_FALSE(UploadBuffer(server, name, "x.htm", "x"));
        EXPECT_FALSE(CFileSync::DeleteRemoteFile("127.0.0.1", server.Port(), User, Password, {}, name));
        EXPECT_FALSE(CFileSync::CreateRemoteDirectory("127.0.0.1", server.Port(), User, Password, name));
    }
    EXPECT_FALSE(
        CFileSync::TestConnection("127.0.0.1", server.Port(), User, Password + "\r\nDELE victim.htm"));
    EXPECT_EQ(ReadFile(Root("victim.htm")), "keep me");
    EXPECT_TRUE(server.Commands().filter(QRegularExpression("^(STOR|DELE|MKD)")).isEmpty());
}

TEST_F(FileSyncTest, AnUploadThatBreaksOffLeavesNoCutOffFile)
{
    const QByteArray bytes = RandomBytes(400000);
    const QString local = m_local.filePath("big.bin");
    WriteFile(local, bytes);
    {
        // Two uploads break off; the third attempt gets through whole.
        FtpServer server(Root(), {true, 65536, 2});
        ASSERT_TRUE(UploadFile(server, local, "files", "big.bin"));
        EXPECT_EQ(ReadFile(Root("files/big.bin")), bytes);
        EXPECT_EQ(server.Commands().filter(QRegularExpression("^STOR")).size(), 3);
        EXPECT_EQ(Entries(Root("files")), QStringList{"big.bin"});
    }
    {
        // Every attempt breaks off: the old file stays as it was.
        FtpServer server(Root(), {true, 65536, 100});
        EXPECT_FALSE(UploadFile(server, local, "files", "big.bin"));
        EXPECT_EQ(server.Commands().filter(QRegularExpression("^STOR")).size(), CFileSync::UploadAttempts);
        EXPECT_FALSE(UploadBuffer(server, "files", "big.bin", RandomBytes(300000)));
        EXPECT_EQ(ReadFile(Root("files/big.bin")), bytes);
        EXPECT_EQ(Entries(Root("files")), QStringList{"big.bin"});
    }
}

TEST_F(FileSyncTest, AServerThatWillNotRenameOntoAFileNeverLosesTheOldOne)
{
    WriteFile(Root("site/page.htm"), "old page");
    {
        FtpServer server(Root(), {.noRenameOver = true});
        ASSERT_TRUE(UploadBuffer(server, "site", "page.htm", "new page"));
        EXPECT_EQ(ReadFile(Root("site/page.htm")), "new page");
        EXPECT_EQ(Entries(Root("site")), QStringList{"page.htm"});
    }
    {
        // The new file cannot be moved in either: the old one is back in its place.
        FtpServer server(Root(), {.noRenameOver = true, .refuseRenameFrom = "^\\.kvpart-"});
        EXPECT_FALSE(UploadBuffer(server, "site", "page.htm", "newer page"));
        EXPECT_EQ(ReadFile(Root("site/page.htm")), "new page");
        EXPECT_EQ(Entries(Root("site")), QStringList{"page.htm"});
    }
}

TEST_F(FileSyncTest, PersistsItsThreeValues)
{
    CFileSync sync;
    EXPECT_EQ(sync.GetClassName(), "CFileSync");
    EXPECT_EQ(sync.GetClassKey(), 1);

    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    {
        CPSArchive archive(stream);
        ArchiveWriteObject(archive, &sync);
        ASSERT_TRUE(archive.Flush());
    }
    const QByteArray written = stream.GetBuffer();
    // Behind the class reference: an empty text, 0 and the time 0 as six local-time fields.
    const QDateTime epoch = QDateTime::fromSecsSinceEpoch(0);
    QByteArray values;
    for (const qint32 value : {0, 0, epoch.date().year(), epoch.date().month(), epoch.date().day(),
                               epoch.time().hour(), epoch.time().minute(), epoch.time().second()})
        values.append(reinterpret_cast<const char*>(&value), 4);
    EXPECT_TRUE(written.endsWith(values));

    CPSStreamMemory input;
    input.SetBuffer(written);
    input.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(input);
    std::unique_ptr<CFileSync> read;
    ASSERT_NO_THROW(ArchiveReadObject(archive, read));
    ASSERT_NE(read, nullptr);
}
