#include "gre/FolderHttpServer.h"
#include "mail/Base64Encode.h"
#include "mail/MailError.h"
#include "mail/VexaMail.h"
#include "peers/PeerProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace
{
class InlinePart : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_site = new QTemporaryDir;
        Write("img/logo.JPG", "jpeg bytes");
        Write("img/banner.png", "png bytes");
        Write("files/plain", "no extension");
        Write("files/empty.gif", "");
        Write("files/huge.png", QByteArray(CVexaMail::MaxDownloadBytes + 1, 'h'));
        s_server = new FolderHttpServer(s_site->path());
    }

    static void TearDownTestSuite()
    {
        delete s_server;
        delete s_site;
    }

    static void Write(const QString& path, const QByteArray& bytes)
    {
        const QString full = s_site->filePath(path);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // The error code of adding the address, or nothing when the part was added.
    std::optional<int> Add(const QString& address, const QString& name = QStringLiteral("i_1"),
                           const QString& contentType = QString())
    {
        try
        {
            m_mail.AddInlinePart(address, name, name, m_folder.path(), contentType);
        }
        catch (const CMailError& error)
        {
            EXPECT_EQ(error.GetReply(), 0);
            return error.GetCode();
        }
        return std::nullopt;
    }

    QString Header(int id) const { return m_mail.GetParts().back()->FindHeader(id)->GetValue(); }

    static QTemporaryDir* s_site;
    static FolderHttpServer* s_server;
    QTemporaryDir m_folder;
    CVexaMail m_mail{QString(), QString(), 25, QString(), QString()};
};

QTemporaryDir* InlinePart::s_site = nullptr;
FolderHttpServer* InlinePart::s_server = nullptr;

TEST_F(InlinePart, DownloadedBytesBecomeABase64PartTypedByTheExtension)
{
    ASSERT_EQ(Add(s_server->Url(QStringLiteral("img/logo.JPG?v=2#top")), QStringLiteral("i_logo")),
              std::nullopt);
    QString base64;
    EncodeBase64("jpeg bytes", base64);
    ASSERT_EQ(m_mail.GetParts().size(), 1u);
    EXPECT_EQ(m_mail.GetParts()[0]->GetKind(), CMailPart::Base64Inline);
    EXPECT_EQ(m_mail.GetParts()[0]->GetBody(), base64);
    EXPECT_EQ(Header(CMailHeader::ContentType), "image/jpeg; name=\"i_logo.jpg\"");
    EXPECT_EQ(Header(CMailHeader::ContentDescription), "i_logo.jpg");
    EXPECT_EQ(Header(CMailHeader::ContentLocation), "i_logo.jpg");
    EXPECT_EQ(Header(CMailHeader::ContentId), "<i_logo>");

    ASSERT_EQ(Add(s_server->Url(QStringLiteral("img/banner.png")), QStringLiteral("b"), "image/x-own"),
              std::nullopt);
    EXPECT_EQ(Header(CMailHeader::ContentType), "image/x-own; name=\"b.png\"");
    // The extension comes from the last path segment, not from the host name.
    ASSERT_EQ(Add(s_server->Url(QStringLiteral("files/plain")), QStringLiteral("p")), std::nullopt);
    EXPECT_EQ(Header(CMailHeader::ContentType), "application/octet-stream; name=\"p\"");
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(InlinePart, FailuresLeaveThePartsAndTheFolderAsTheyWere)
{
    struct Case
    {
        QString address;
        int code;
    };
    const Case cases[] = {
        {s_server->Url(QStringLiteral("files/empty.gif")), CMailError::PartNotAdded},
        {s_server->Url(QStringLiteral("files/missing.png")), CMailError::DownloadFailed},
        {s_server->Url(QStringLiteral("files/huge.png")), CMailError::DownloadFailed},
        {QStringLiteral("http://127.0.0.1:%1/x.png").arg(PeerProcess::FreePort()),
         CMailError::DownloadFailed},
        {QStringLiteral("ftp://127.0.0.1/x.png"), CMailError::PartNotAdded},
        {QStringLiteral("not an address"), CMailError::PartNotAdded},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Add(c.address), c.code) << c.address.toStdString();
        EXPECT_TRUE(m_mail.GetParts().empty());
        EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::Files).isEmpty()) << c.address.toStdString();
    }
}

TEST_F(InlinePart, FolderThatCannotHoldTheDownloadRefusesThePart)
{
    m_folder.remove();
    EXPECT_EQ(Add(s_server->Url(QStringLiteral("img/banner.png"))), CMailError::PartNotAdded);
    EXPECT_TRUE(m_mail.GetParts().empty());
}

TEST_F(InlinePart, DownloadIntoAFileThatCannotBeCreated)
{
    try
    {
        CVexaMail::DownloadToFile(s_server->Url(QStringLiteral("img/banner.png")),
                                  m_folder.filePath(QStringLiteral("no/such/folder/file")));
        FAIL() << "no error";
    }
    catch (const CMailError& error)
    {
        EXPECT_EQ(error.GetCode(), CMailError::TemporaryFileNotCreated);
    }
}
} // namespace
