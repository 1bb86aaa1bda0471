#include "MailTestSupport.h"
#include "ScriptedSmtp.h"
#include "mail/MailError.h"
#include "mail/VexaMail.h"
#include "peers/PeerProcess.h"

#include <gtest/gtest.h>

namespace
{
struct Outcome
{
    int code{0};
    int reply{0};
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& outcome)
{
    return out << "code " << outcome.code << " reply " << outcome.reply;
}

// One message sent as the send engine sends it; code 0 when it went through.
Outcome Deliver(CVexaMail& mail, const QString& from = QStringLiteral("me@sender.example"),
                const QString& to = QStringLiteral("you@recipient.example"))
{
    try
    {
        mail.Send(from, QStringLiteral("Me"), to, QStringLiteral("test"), 0);
    }
    catch (const CMailError& error)
    {
        return {error.GetCode(), error.GetReply()};
    }
    return {};
}

// Greets and accepts EHLO, MAIL, RCPT and DATA; false when the client went before DATA.
bool AcceptUpToData(ScriptedConnection& connection)
{
    connection.Send("220 ok\r\n");
    for (const char* reply : {"250 ok\r\n", "250 ok\r\n", "250 ok\r\n", "354 go\r\n"})
    {
        if (!connection.ReadLine())
            return false;
        connection.Send(reply);
    }
    return true;
}

CVexaMail MailTo(const ScriptedMailServer& server, const QString& user = {}, const QString& password = {})
{
    return CVexaMail(QStringLiteral("client.example"), QStringLiteral("127.0.0.1"), server.Port(), user,
                     password);
}
} // namespace

TEST(SmtpDialogue, EveryStepsRefusalBecomesItsErrorWithTheReply)
{
    const struct
    {
        const char* step;
        QByteArray SmtpReplies::*field;
        QByteArray reply;
        bool withUser;
        Outcome expected;
        // The last line the server got before QUIT, which ends every dialogue, a refused one too.
        QByteArray lastCommand;
    } cases[] = {
        {"greeting 4xx", &SmtpReplies::greeting, "421 busy\r\n", false, {300, 421}, ""},
        {"greeting multi-line ending 5xx",
         &SmtpReplies::greeting,
         "220-hello\r\n554 go away\r\n",
         false,
         {300, 554},
         ""},
        {"greeting multi-line", &SmtpReplies::greeting, "220-hello\r\n220 welcome\r\n", false, {}, "."},
        {"EHLO 5xx", &SmtpReplies::ehlo, "500 what\r\n", false, {301, 500}, "EHLO client.example"},
        {"EHLO multi-line ending 4xx",
         &SmtpReplies::ehlo,
         "250-scripted\r\n421 closing\r\n",
         false,
         {301, 421},
         "EHLO client.example"},
        {"AUTH refused", &SmtpReplies::authPlain, "535 bad credentials\r\n", true, {306, 535}, ""},
        {"AUTH refused multi-line",
         &SmtpReplies::authPlain,
         "454-not now\r\n454 later\r\n",
         true,
         {306, 535},
         ""},
        {"AUTH advertised but no user", &SmtpReplies::authPlain, "535 bad credentials\r\n", false, {}, "."},
        {"MAIL 4xx",
         &SmtpReplies::mail,
         "452 no room\r\n",
         false,
         {302, 452},
         "MAIL FROM:<me@sender.example>"},
        {"MAIL multi-line ending 5xx",
         &SmtpReplies::mail,
         "250-fine\r\n550 not you\r\n",
         false,
         {302, 550},
         "MAIL FROM:<me@sender.example>"},
        {"RCPT 4xx",
         &SmtpReplies::rcpt,
         "450 greylisted\r\n",
         false,
         {303, 450},
         "RCPT TO:<you@recipient.example>"},
        {"RCPT multi-line 5xx",
         &SmtpReplies::rcpt,
         "550-no such\r\n550 user\r\n",
         false,
         {303, 550},
         "RCPT TO:<you@recipient.example>"},
        {"DATA 5xx", &SmtpReplies::data, "554 no thanks\r\n", false, {304, 554}, "DATA"},
        {"DATA multi-line", &SmtpReplies::data, "354-go\r\n354 ahead\r\n", false, {}, "."},
        {"end of data 4xx", &SmtpReplies::endOfData, "452 mailbox full\r\n", false, {305, 452}, "."},
        {"end of data multi-line 5xx",
         &SmtpReplies::endOfData,
         "250-hmm\r\n552 too big\r\n",
         false,
         {305, 552},
         "."},
        {"end of data multi-line", &SmtpReplies::endOfData, "250-queued\r\n250 as 42\r\n", false, {}, "."},
    };
    for (const auto& entry : cases)
    {
        SmtpReplies replies;
        replies.authLogin = "535 refused as well\r\n";
        replies.*entry.field = entry.reply;
        ScriptedMailServer server(SmtpScript(replies));
        CVexaMail mail =
            MailTo(server, entry.withUser ? QStringLiteral("user") : QString(), QStringLiteral("pw"));
        EXPECT_EQ(Deliver(mail), entry.expected) << entry.step;
        server.Stop();
        const QList<QByteArray> received = server.Received();
        ASSERT_FALSE(received.isEmpty()) << entry.step;
        EXPECT_EQ(received.last(), "QUIT") << entry.step;
        if (!QByteArray(entry.lastCommand).isEmpty())
        {
            ASSERT_GE(received.size(), 2) << entry.step;
            EXPECT_EQ(received.at(received.size() - 2), entry.lastCommand) << entry.step;
        }
        const bool sentAuth = std::any_of(received.begin(), received.end(),
                                          [](const QByteArray& line) { return line.startsWith("AUTH"); });
        EXPECT_EQ(sentAuth, entry.withUser) << entry.step;
    }
}

TEST(SmtpDialogue, SilentTricklingAndVanishingServersAreSocketFailures)
{
    const ShortMailWaits waits(1000, 2000);
    const struct
    {
        const char* what;
        ScriptedMailServer::Script script;
    } cases[] = {
        {"silent", [](ScriptedConnection& connection) { connection.WaitForClose(); }},
        {"trickling greeting",
         [](ScriptedConnection& connection) { connection.Trickle("220 s l o w l y\r\n", 250); }},
        {"trickling end-of-data reply",
         [](ScriptedConnection& connection)
         {
             if (AcceptUpToData(connection) && connection.ReadData())
                 connection.Trickle("250 queued, eventually\r\n", 250);
         }},
        {"gone in the middle of the message",
         [](ScriptedConnection& connection)
         {
             if (AcceptUpToData(connection))
                 connection.ReadLine();
         }},
    };
    for (const auto& entry : cases)
    {
        ScriptedMailServer server(entry.script);
        CVexaMail mail = MailTo(server);
        EXPECT_EQ(Deliver(mail), (Outcome{CMailError::SocketFailure, 0})) << entry.what;
    }
}

TEST(SmtpDialogue, AddressesThatCouldBreakACommandAreRefusedBeforeConnecting)
{
    ScriptedMailServer server(SmtpScript({}));
    CVexaMail mail = MailTo(server);
    const QStringList unsafe = {
        QStringLiteral("a b@example.com"),    QStringLiteral("a@example.com>\r\nRCPT TO:<x@example.com"),
        QStringLiteral("a\n@example.com"),    QStringLiteral("<a@example.com>"),
        QStringLiteral("a@exampl\u00e9.com"), QStringLiteral("a") + QChar(0) + QStringLiteral("@example.com"),
        QStringLiteral("a\t@example.com"),    QString()};
    for (const QString& address : unsafe)
    {
        EXPECT_EQ(Deliver(mail, address), (Outcome{CMailError::SenderRefused, 0})) << address.toStdString();
        EXPECT_EQ(Deliver(mail, QStringLiteral("me@sender.example"), address),
                  (Outcome{CMailError::RecipientRefused, 0}))
            << address.toStdString();
    }
    EXPECT_EQ(Deliver(mail, QStringLiteral("me@sender.example"), QStringLiteral("a\u4e2d@example.com")),
              (Outcome{CMailError::RecipientRefused, 0}));
    EXPECT_EQ(server.Connections(), 0);
}

TEST(SmtpDialogue, RefusedPlainFallsBackToLogin)
{
    SmtpReplies replies;
    replies.ehlo = "250-scripted\r\n250 AUTH LOGIN PLAIN\r\n";
    replies.authPlain = "535 not this way\r\n";
    ScriptedMailServer server(SmtpScript(replies));
    CVexaMail mail = MailTo(server, QStringLiteral("user"), QStringLiteral("pw"));
    EXPECT_EQ(Deliver(mail), Outcome{});
    server.Stop();
    const QList<QByteArray> received = server.Received();
    // "\0user\0pw", then "user" and "pw" one by one.
    EXPECT_EQ(received.mid(1, 5),
              (QList<QByteArray>{"AUTH PLAIN", "AHVzZXIAcHc=", "AUTH LOGIN", "dXNlcg==", "cHc="}));
}

TEST(SmtpDialogue, OnlyAnAuthLineWithABlankAdvertises)
{
    SmtpReplies replies;
    replies.ehlo = "250-scripted\r\n250-AUTH=PLAIN LOGIN\r\n250 SIZE 1000\r\n";
    ScriptedMailServer server(SmtpScript(replies));
    CVexaMail mail = MailTo(server, QStringLiteral("user"), QStringLiteral("pw"));
    EXPECT_EQ(Deliver(mail), (Outcome{306, 0}));
    server.Stop();
    EXPECT_EQ(server.Received().mid(1), QList<QByteArray>{"QUIT"}) << "nothing but QUIT after EHLO";
}

TEST(SmtpDialogue, EhloDomainFallsBackToTheSendersDomain)
{
    const struct
    {
        const char* ehloDomain;
        const char* from;
        QByteArray ehlo;
    } cases[] = {
        {"client.example", "me@sender.example", "EHLO client.example"},
        {"", "me@sender.example", "EHLO sender.example"},
        {"", "me@first@second", "EHLO first@second"},
    };
    for (const auto& entry : cases)
    {
        ScriptedMailServer server(SmtpScript({}));
        CVexaMail mail = MailTo(server);
        mail.m_ehloDomain = QString::fromLatin1(entry.ehloDomain);
        Deliver(mail, QString::fromLatin1(entry.from));
        server.Stop();
        ASSERT_FALSE(server.Received().isEmpty());
        EXPECT_EQ(server.Received().first(), entry.ehlo);
    }
}

TEST(SmtpDialogue, NtlmAuthenticatesEndToEnd)
{
    const struct
    {
        const char* userName;
        const char* domain;
        const char* account;
    } cases[] = {
        {"CORP\\alice", "CORP", "alice"},
        {"D\\ab", "D", "ab"},
        // Too little after the backslash, or nothing before it: the whole name is the account.
        {"D\\a", "", "D\\a"},
        {"\\alice", "", "\\alice"},
        {"alice", "", "alice"},
    };
    for (const auto& entry : cases)
    {
        SmtpReplies replies;
        replies.ehlo = "250-scripted\r\n250 AUTH NTLM PLAIN\r\n";
        replies.authPlain = "535 only NTLM here\r\n";
        replies.ntlm = NtlmResponder{QString::fromLatin1(entry.domain), QString::fromLatin1(entry.account),
                                     QStringLiteral("s\u00e9cret")};
        ScriptedMailServer server(SmtpScript(replies));
        CVexaMail mail = MailTo(server, QString::fromLatin1(entry.userName), QStringLiteral("s\u00e9cret"));
        EXPECT_EQ(Deliver(mail), Outcome{}) << entry.userName;
        mail.m_password = QStringLiteral("secret");
        EXPECT_EQ(Deliver(mail), (Outcome{306, 535}))
            << entry.userName << ": a wrong password fails NTLM and PLAIN";
    }
}

TEST(SmtpDialogue, TestServerReportsTheStepThatFailed)
{
    const struct
    {
        const char* what;
        QByteArray SmtpReplies::*field;
        QByteArray reply;
        bool withUser;
        bool recipientStep;
        int expected;
    } cases[] = {
        {"all accepted", &SmtpReplies::mail, "250 ok\r\n", true, true, 0},
        {"greeting refused", &SmtpReplies::greeting, "554 no\r\n", false, true, 1},
        {"EHLO refused", &SmtpReplies::ehlo, "502 no EHLO\r\n", false, true, 1},
        {"login refused", &SmtpReplies::authPlain, "535 no\r\n", true, true, 2},
        {"sender refused", &SmtpReplies::mail, "550 no\r\n", false, true, 3},
        {"recipient refused", &SmtpReplies::rcpt, "554 no relay\r\n", false, true, 3},
        {"recipient not asked", &SmtpReplies::rcpt, "554 no relay\r\n", false, false, 0},
    };
    for (const auto& entry : cases)
    {
        SmtpReplies replies;
        replies.authLogin = "535 no\r\n";
        replies.*entry.field = entry.reply;
        ScriptedMailServer server(SmtpScript(replies));
        CVexaMail mail = MailTo(server, QStringLiteral("member user"), QStringLiteral("member password"));
        mail.m_ehloDomain = QString();
        EXPECT_EQ(mail.TestServer(entry.withUser ? QStringLiteral("u") : QString(), QStringLiteral("p"),
                                  entry.recipientStep),
                  entry.expected)
            << entry.what;
        server.Stop();
        const QList<QByteArray> received = server.Received();
        EXPECT_TRUE(received.isEmpty() || received.first() == "EHLO ") << entry.what;
        const QByteArray memberLogin = QByteArray("\0member user\0member password", 29).toBase64();
        for (const QByteArray& line : received)
        {
            EXPECT_FALSE(line.startsWith("DATA") || line.startsWith("QUIT")) << entry.what;
            EXPECT_NE(line, memberLogin) << entry.what << ": the given login, not the members";
            EXPECT_FALSE(line.startsWith("RCPT") && !entry.recipientStep) << entry.what;
        }
    }
}

TEST(SmtpDialogue, TestServerWithoutAServerIsAConnectionFailure)
{
    CVexaMail mail(QString(), QStringLiteral("127.0.0.1"), PeerProcess::FreePort(), QString(), QString());
    EXPECT_EQ(mail.TestServer(QString(), QString(), true), 1);
}
