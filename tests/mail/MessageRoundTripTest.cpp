// Fixture messages written to real SMTP servers on 127.0.0.1, over a plain SMTP conversation and
// through CVexaMail::Send, then read back from what the servers stored (byte for byte where the
// bytes written are known) and through Python's email package.

#include "base/BlockingSocket.h"
#include "gre/FolderHttpServer.h"
#include "mail/MailError.h"
#include "mail/MailMessageSupport.h"
#include "mail/MailText.h"
#include "peers/AiosmtpdServer.h"
#include "peers/SmtpSinkServer.h"
#include "peers/StrictMailCheck.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <random>
#include <thread>

namespace
{
const QString From = QStringLiteral("news@example.org");
const QString To = QStringLiteral("reader@example.net");
// Content ids are msg-ids: a part of their own, "@", a domain.
const QString IdDomain = QStringLiteral("@news.example.org");

// The last line of the next reply, read byte by byte.
QByteArray ReadReply(CBlockingSocket& socket)
{
    for (;;)
    {
        QByteArray line;
        while (!line.endsWith("\r\n"))
            line += socket.ReceiveByte();
        if (line.size() < 4 || line.at(3) != '-')
            return line.chopped(2);
    }
}

void Command(CBlockingSocket& socket, const QByteArray& command, const QByteArray& expected)
{
    socket.Write(command.constData(), static_cast<int>(command.size()), 10);
    const QByteArray reply = ReadReply(socket);
    ASSERT_TRUE(reply.startsWith(expected)) << command.toStdString() << " -> " << reply.toStdString();
}

struct Fixture
{
    CVexaMail mail{QStringLiteral("mail.example.org"), QString(), 25, QString(), QString()};
    QString fromName;
    QString subject;
    // Content id or file name to the bytes of the part.
    std::map<QString, QByteArray> partBytes;
    std::map<QString, QString> partTypes;
    bool hasAttachment{false};
};

// One SMTP dialogue that delivers the fixture; what was written after DATA.
QByteArray Deliver(int port, const Fixture& fixture)
{
    CBlockingSocket socket;
    socket.Create();
    socket.Connect(
        CBlockingSocket::GetHostByName(QStringLiteral("127.0.0.1"), static_cast<unsigned short>(port)));
    EXPECT_TRUE(ReadReply(socket).startsWith("220"));
    Command(socket, "EHLO mail.example.org\r\n", "250");
    Command(socket, "MAIL FROM:<" + From.toLatin1() + ">\r\n", "250");
    Command(socket, "RCPT TO:<" + To.toLatin1() + ">\r\n", "250");
    Command(socket, "DATA\r\n", "354");
    const QString seed = CVexaMail::MakeBoundarySeed();
    SocketOutput output(socket);
    fixture.mail.WriteMessage(
        output, fixture.mail.BuildTopPart(From, fixture.fromName, To, fixture.subject, 1, seed), seed);
    Command(socket, "\r\n.\r\n", "250");
    Command(socket, "QUIT\r\n", "221");
    socket.Close();
    return output.sent;
}

// The same message sent as the send engine sends it: one CVexaMail::Send to the server.
void SendTo(int port, const Fixture& fixture)
{
    CVexaMail mail = fixture.mail;
    mail.m_server = QStringLiteral("127.0.0.1");
    mail.m_port = port;
    try
    {
        mail.Send(From, fixture.fromName, To, fixture.subject, 1);
    }
    catch (const CMailError& error)
    {
        ADD_FAILURE() << "error " << error.GetCode() << " reply " << error.GetReply();
    }
}

QByteArray RandomBytes(int size, unsigned seed)
{
    std::mt19937 generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = static_cast<char>(generator());
    return bytes;
}

class MessageRoundTrip : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_site = new QTemporaryDir;
        s_files = new FolderHttpServer(s_site->path());
        s_aiosmtpd = new AiosmtpdServer;
        s_sink = new SmtpSinkServer;
    }

    static void TearDownTestSuite()
    {
        delete s_sink;
        delete s_aiosmtpd;
        delete s_files;
        delete s_site;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_aiosmtpd->IsRunning());
        ASSERT_TRUE(s_sink->IsRunning());
    }

    // Serves the bytes and adds them as an inline part named by its content id.
    static void AddServed(Fixture& fixture, const QString& contentId, const QString& fileName,
                          const QByteArray& bytes, const QString& type)
    {
        QFile file(s_site->filePath(fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        fixture.mail.AddInlinePart(s_files->Url(fileName), contentId, contentId + IdDomain, QString(),
                                   QString());
        const QString extension = fileName.mid(fileName.lastIndexOf(QLatin1Char('.'))).toLower();
        fixture.partBytes[contentId + extension] = bytes;
        fixture.partTypes[contentId + extension] = type;
    }

    static Fixture Latin1Fixture()
    {
        Fixture fixture;
        fixture.fromName = QString::fromUtf8("Jörg Müller ✓ Büro");
        fixture.subject =
            QString::fromUtf8("Frühlings-News ✓ – alles über Gärten und Grüße, Ausgabe 2027 (März)");
        fixture.mail.m_organization = QString::fromUtf8("Gärtnerei Müller & Söhne");
        fixture.mail.SetPlainTextBody(
            QString::fromUtf8("Grüße aus Köln!\r\n\r\n.\r\n..\r\n. leading dot\r\n") +
            QString::fromUtf8("ÄÖÜäöüß ").repeated(125) + QStringLiteral("\r\nEnd.\r\n"));
        QString html = QString::fromUtf8("<html><body><p>Grüße</p>");
        const struct
        {
            const char* id;
            const char* file;
            const char* type;
        } images[] = {{"i_logo", "logo.png", "image/png"},
                      {"i_photo", "photo.JPG", "image/jpeg"},
                      {"i_anim", "anim.gif", "image/gif"}};
        unsigned seed = 1;
        for (const auto& image : images)
        {
            AddServed(fixture, QLatin1String(image.id), QLatin1String(image.file),
                      RandomBytes(9000 + seed, seed), QLatin1String(image.type));
            html += QStringLiteral("<img src=\"cid:%1%2\">").arg(QLatin1String(image.id), IdDomain);
            ++seed;
        }
        const struct
        {
            const char* file;
            const char* type;
        } table[] = {{"a.txt", "text/plain"},      {"a.zip", "application/x-zip-compressed"},
                     {"a.html", "text/html"},      {"a.htm", "text/html"},
                     {"a.rtf", "application/rtf"}, {"a.doc", "application/msword"},
                     {"a.pdf", "application/pdf"}, {"a.xls", "application/vnd.ms-excel"},
                     {"a.jpeg", "image/jpeg"},     {"a.bin", "application/octet-stream"}};
        for (const auto& entry : table)
        {
            const QString name = QStringLiteral("f_") + QString::fromLatin1(entry.file).section(u'.', 1);
            const QString type = QLatin1String(entry.type);
            if (type.startsWith(QLatin1String("text/")))
            {
                // Text arrives with CR LF line breaks, whatever the file held.
                const QString text = QString::fromUtf8("Grüße %1\nzweite Zeile\r\ndritte\rEnde").arg(seed);
                AddServed(fixture, name, QLatin1String(entry.file), text.toUtf8(), type);
                fixture.partBytes[name + QLatin1String(entry.file).mid(1)] =
                    QString(text)
                        .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                        .replace(u'\r', u'\n')
                        .replace(QLatin1String("\n"), QLatin1String("\r\n"))
                        .toUtf8();
            }
            else
                AddServed(fixture, name, QLatin1String(entry.file), RandomBytes(700 + seed, seed), type);
            ++seed;
        }
        const QByteArray report = RandomBytes(5000, 99);
        fixture.mail.AddAttachment(QString::fromUtf8("Übersicht März.pdf"), report,
                                   QStringLiteral("application/pdf"), QString());
        fixture.partBytes[QString::fromUtf8("Übersicht März.pdf")] = report;
        fixture.partTypes[QString::fromUtf8("Übersicht März.pdf")] = QStringLiteral("application/pdf");
        fixture.hasAttachment = true;
        fixture.mail.SetHtmlBody(html + QStringLiteral("</body></html>"));
        return fixture;
    }

    static Fixture Utf8Fixture()
    {
        Fixture fixture;
        fixture.fromName = QStringLiteral("Smith, John");
        fixture.subject = QStringLiteral("Spring, news: (2027)");
        fixture.mail.SetPlainTextBody(QString::fromUtf8("Ⓐ newsletter 𝄞\r\n.\r\n\r\n") +
                                      QString::fromUtf8("✓ ").repeated(500) + QStringLiteral("\r\n.\r\n") +
                                      QString(1000, QLatin1Char('x')) + QStringLiteral("\r\nBye"));
        AddServed(fixture, QStringLiteral("i_only"), QStringLiteral("only.png"), RandomBytes(3000, 7),
                  QStringLiteral("image/png"));
        fixture.mail.SetHtmlBody(QString::fromUtf8("<p>Ⓐ 𝄞 café</p><img src=\"cid:i_only") + IdDomain +
                                 QStringLiteral("\">"));
        return fixture;
    }

    static QJsonObject Parse(const QByteArray& stored)
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("message.eml")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(stored);
        file.close();
        PeerProcess python;
        EXPECT_TRUE(
            python.Start(PeerProcess::SystemPython(),
                         {PeerProcess::ScriptFolder() + QStringLiteral("/mail_parse.py"), file.fileName()}));
        return QJsonDocument::fromJson(python.ReadLine(30000)).object();
    }

    // Checks what a server stored; when the bytes written are known, they must be stored unchanged.
    static void CheckAsReceived(const QByteArray& stored, const std::optional<QByteArray>& sent,
                                const Fixture& fixture)
    {
        ASSERT_FALSE(stored.isEmpty());
        // The servers keep what was written; the end-of-data line adds one line end.
        if (sent)
        {
            EXPECT_EQ(stored, *sent + "\r\n");
        }
        for (const QByteArray& line : stored.split('\n'))
        {
            EXPECT_LE(line.size(), 999);
            const bool header = QRegularExpression(QStringLiteral("^([A-Za-z-]+: |\t)"))
                                    .match(QString::fromLatin1(line))
                                    .hasMatch();
            if (!header)
            {
                EXPECT_LE(line.chopped(line.endsWith('\r') ? 1 : 0).size(), 76) << line.toStdString();
            }
            EXPECT_FALSE(line.startsWith('.'));
        }

        const QJsonObject parsed = Parse(stored);
        ASSERT_FALSE(parsed.isEmpty());
        EXPECT_TRUE(parsed[QStringLiteral("defects")].toArray().isEmpty())
            << QJsonDocument(parsed[QStringLiteral("defects")].toArray()).toJson().toStdString();
        EXPECT_EQ(parsed[QStringLiteral("subject")].toString(), fixture.subject);
        EXPECT_EQ(parsed[QStringLiteral("from_name")].toString(), fixture.fromName);
        EXPECT_EQ(parsed[QStringLiteral("from_address")].toString(), From);
        EXPECT_EQ(parsed[QStringLiteral("to")].toArray(), QJsonArray({To}));
        EXPECT_EQ(parsed[QStringLiteral("organization")].toString(), fixture.mail.m_organization);
        EXPECT_TRUE(
            parsed[QStringLiteral("message_id")].toString().endsWith(QLatin1String("@mail.example.org>")));
        // Attached files sit beside the related content in multipart/mixed.
        EXPECT_EQ(parsed[QStringLiteral("type")].toString(),
                  fixture.hasAttachment ? "multipart/mixed" : "multipart/related");
        EXPECT_EQ(StrictMailFaults({stored}), QStringList());

        const QJsonArray parts = parsed[QStringLiteral("parts")].toArray();
        ASSERT_EQ(parts.size(), static_cast<qsizetype>(2 + fixture.partBytes.size()));
        const auto payload = [](const QJsonValue& part)
        { return QByteArray::fromBase64(part[QStringLiteral("payload")].toString().toLatin1()); };
        const QString& plain = fixture.mail.m_plainTextBody;
        const bool latin1 = IsLatin1Text(plain);
        EXPECT_EQ(parts[0][QStringLiteral("type")].toString(), "text/plain");
        EXPECT_EQ(parts[0][QStringLiteral("charset")].toString(), latin1 ? "iso-8859-1" : "utf-8");
        // The part ends with the line end that the layout writes after every text body.
        EXPECT_EQ(payload(parts[0]), (latin1 ? plain.toLatin1() : plain.toUtf8()) + "\r\n");
        EXPECT_EQ(parts[1][QStringLiteral("type")].toString(), "text/html");
        const QByteArray html = payload(parts[1]);
        EXPECT_EQ(html, EscapeHtmlNonAscii(fixture.mail.GetHtmlBody()).toLatin1() + "\r\n");

        std::map<QString, QByteArray> received;
        QStringList contentIds;
        for (qsizetype i = 2; i < parts.size(); ++i)
        {
            const QString fileName = parts[i][QStringLiteral("filename")].toString();
            received[fileName] = payload(parts[i]);
            EXPECT_EQ(parts[i][QStringLiteral("type")].toString(), fixture.partTypes.at(fileName))
                << fileName.toStdString();
            const QString contentId = parts[i][QStringLiteral("content_id")].toString();
            if (!contentId.isEmpty())
                contentIds += contentId.mid(1, contentId.size() - 2);
        }
        EXPECT_EQ(received, fixture.partBytes);
        const QRegularExpression reference(QStringLiteral("cid:([^\"]+)"));
        int references = 0;
        for (auto match = reference.globalMatch(QString::fromLatin1(html)); match.hasNext(); ++references)
            EXPECT_TRUE(contentIds.contains(match.next().captured(1)));
        EXPECT_GT(references, 0);
    }

    static QTemporaryDir* s_site;
    static FolderHttpServer* s_files;
    static AiosmtpdServer* s_aiosmtpd;
    static SmtpSinkServer* s_sink;
};

QTemporaryDir* MessageRoundTrip::s_site = nullptr;
FolderHttpServer* MessageRoundTrip::s_files = nullptr;
AiosmtpdServer* MessageRoundTrip::s_aiosmtpd = nullptr;
SmtpSinkServer* MessageRoundTrip::s_sink = nullptr;

// The message that the peer stored since the earlier ones were seen, once it is whole: Send does
// not wait for the reply to QUIT, so the peer may still be writing it.
QByteArray NewestMessage(const StoringSmtpServer& peer, QByteArrayList& seen)
{
    for (int attempt = 0; attempt < 200; ++attempt)
    {
        for (const QByteArray& message : peer.Messages())
        {
            // A whole message ends with the closing delimiter of its outer boundary.
            if (!seen.contains(message) && message.trimmed().endsWith("--"))
            {
                seen.append(message);
                return message;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return {};
}

TEST_F(MessageRoundTrip, ServersStoreAndPythonReadsWhatWasBuilt)
{
    QByteArrayList seenByAiosmtpd;
    QByteArrayList seenBySink;
    for (const Fixture& fixture : {Latin1Fixture(), Utf8Fixture()})
    {
        SCOPED_TRACE(fixture.subject.toStdString());
        const QByteArray toAiosmtpd = Deliver(s_aiosmtpd->Port(), fixture);
        CheckAsReceived(NewestMessage(*s_aiosmtpd, seenByAiosmtpd), toAiosmtpd, fixture);
        const QByteArray toSink = Deliver(s_sink->Port(), fixture);
        CheckAsReceived(NewestMessage(*s_sink, seenBySink), toSink, fixture);

        // The program's own dialogue and data writer deliver the same message.
        SendTo(s_aiosmtpd->Port(), fixture);
        CheckAsReceived(NewestMessage(*s_aiosmtpd, seenByAiosmtpd), std::nullopt, fixture);
        SendTo(s_sink->Port(), fixture);
        CheckAsReceived(NewestMessage(*s_sink, seenBySink), std::nullopt, fixture);
    }
}
} // namespace
