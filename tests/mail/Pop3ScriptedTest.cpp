#include "MailTestSupport.h"
#include "NtlmResponder.h"
#include "ScriptedMailServer.h"
#include "mail/VexaPop3.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
// A scripted POP3 server: a greeting, then one answer per command, chosen by the command.
ScriptedMailServer::Script Pop3Script(std::function<QByteArray(const QByteArray& command)> answer,
                                      const QByteArray& greeting = "+OK ready\r\n")
{
    return [answer, greeting](ScriptedConnection& connection)
    {
        connection.Send(greeting);
        while (const auto line = connection.ReadLine())
        {
            if (!connection.Send(answer(*line)))
                return;
        }
    };
}

// A server that accepts the user "u" with password "p", whose other answers come from the map.
ScriptedMailServer::Script Mailbox(const QMap<QByteArray, QByteArray>& answers)
{
    return Pop3Script(
        [answers](const QByteArray& command) -> QByteArray
        {
            if (command == "USER u" || command == "PASS p")
                return "+OK\r\n";
            return answers.value(command, "-ERR unknown\r\n");
        });
}

int LogIn(CVexaPop3& client, const ScriptedMailServer& server, int method = CVexaPop3::UserPass,
          const QString& password = QStringLiteral("p"))
{
    return client.Login(QStringLiteral("127.0.0.1"), QStringLiteral("CORP"), QStringLiteral("u"), password,
                        method, server.Port());
}

// The NTLM extension: "+OK" to AUTH NTLM, the challenge after "+ ", "+OK" to a proven answer.
ScriptedMailServer::Script NtlmServer(const NtlmResponder& responder)
{
    return [responder](ScriptedConnection& connection)
    {
        connection.Send("+OK ready\r\n");
        while (const auto line = connection.ReadLine())
        {
            if (*line == "AUTH NTLM")
            {
                connection.Send("+OK\r\n");
                const auto negotiate = connection.ReadLine();
                if (!negotiate || !NtlmResponder::IsNegotiate(QByteArray::fromBase64(*negotiate)))
                    return;
                connection.Send("+ " + NtlmResponder::Challenge().toBase64() + "\r\n");
                const auto answer = connection.ReadLine();
                connection.Send(answer && responder.Verifies(QByteArray::fromBase64(*answer))
                                    ? "+OK welcome\r\n"
                                    : "-ERR refused\r\n");
            }
            else
                connection.Send(*line == "USER u" || *line == "PASS p" ? "+OK\r\n" : "-ERR no\r\n");
        }
    };
}
} // namespace

TEST(Pop3Scripted, NtlmLoginEndToEnd)
{
    ScriptedMailServer server(NtlmServer({QStringLiteral("CORP"), QStringLiteral("u"), QStringLiteral("p")}));
    // The server serves one connection after the other, so each client closes before the next.
    CVexaPop3 client;
    EXPECT_EQ(LogIn(client, server, CVexaPop3::Ntlm), CVexaPop3::Success);
    client.Close();
    EXPECT_EQ(LogIn(client, server, CVexaPop3::Ntlm, QStringLiteral("P")), CVexaPop3::LoginRefused);
    client.Close();
    EXPECT_EQ(LogIn(client, server, CVexaPop3::Automatic), CVexaPop3::Success);
    client.Close();
    server.Stop();
    const QList<QByteArray> received = server.Received();
    EXPECT_FALSE(received.contains("USER u")) << "NTLM succeeded, no USER followed";
}

TEST(Pop3Scripted, FailedNtlmFallsBackToUserAndPassOnTheSameConnection)
{
    // The server knows the password "p", the client's NTLM answer proves another one.
    ScriptedMailServer server(
        NtlmServer({QStringLiteral("CORP"), QStringLiteral("u"), QStringLiteral("other")}));
    CVexaPop3 client;
    EXPECT_EQ(LogIn(client, server, CVexaPop3::Automatic), CVexaPop3::Success);
    EXPECT_EQ(server.Connections(), 1);
    client.Close();
    server.Stop();
    EXPECT_EQ(server.Received().mid(3), (QList<QByteArray>{"USER u", "PASS p"}));
}

TEST(Pop3Scripted, ReplyReadersOnScriptedMailboxes)
{
    ScriptedMailServer server(Mailbox({
        {"UIDL", "+OK\r\n1 abc\r\n2   def  \r\n1 again\r\n.\r\n"},
        {"LIST 1", "+OK 1 120\r\n"},
        {"RETR 1", "+OK\r\nSubject: x\r\n\r\n..two dots\r\n.one dot\r\n\r\n.\r\n"},
        {"LIST 2", "+OK 2 0\r\n"},
        {"LIST 3", "+OK 4 99\r\n"},
        {"LIST 4", "+OK 4\r\n"},
        {"LIST 5", "-ERR no such message\r\n"},
        {"LIST 6", "+OK 6 1\r\n"},
        {"RETR 6", "-ERR gone\r\n"},
    }));
    CVexaPop3 client;
    ASSERT_EQ(LogIn(client, server), CVexaPop3::Success);
    QMap<int, QString> ids;
    EXPECT_EQ(client.ListUniqueIds(ids), CVexaPop3::Success);
    EXPECT_EQ(ids, (QMap<int, QString>{{1, QStringLiteral("again")}, {2, QStringLiteral("def")}}));
    QString text;
    EXPECT_EQ(client.Retrieve(1, text), CVexaPop3::Success);
    EXPECT_EQ(text, QStringLiteral("Subject: x\r\n\r\n.two dots\r\none dot\r\n\r\n"));
    const struct
    {
        int number;
        int expected;
    } refusals[] = {
        {2, CVexaPop3::Unparsable}, // size 0
        {3, CVexaPop3::Unparsable}, // another message's number
        {4, CVexaPop3::Unparsable}, // no size
        {5, CVexaPop3::NotOk},      {6, CVexaPop3::NotOk},
    };
    for (const auto& entry : refusals)
    {
        QString refused;
        EXPECT_EQ(client.Retrieve(entry.number, refused), entry.expected) << entry.number;
        EXPECT_TRUE(refused.isEmpty());
    }
    client.Close();
    server.Stop();
    const QList<QByteArray> received = server.Received();
    EXPECT_FALSE(received.contains("RETR 2")) << "no RETR after an unusable LIST";
    EXPECT_FALSE(received.contains("RETR 3"));
    for (const QByteArray& line : received)
        EXPECT_FALSE(line.startsWith("DELE") || line.startsWith("QUIT")) << line.constData();
}

TEST(Pop3Scripted, UidlLineWithoutABlankStopsTheListing)
{
    ScriptedMailServer server(Mailbox({{"UIDL", "+OK\r\n1 abc\r\n2def\r\n3 ghi\r\n.\r\n"}}));
    CVexaPop3 client;
    ASSERT_EQ(LogIn(client, server), CVexaPop3::Success);
    QMap<int, QString> ids;
    EXPECT_EQ(client.ListUniqueIds(ids), CVexaPop3::Unparsable);
    EXPECT_EQ(ids, (QMap<int, QString>{{1, QStringLiteral("abc")}}));
}

TEST(Pop3Scripted, GreetingAndConnectionStates)
{
    ScriptedMailServer refusing(
        Pop3Script([](const QByteArray&) { return QByteArray("+OK\r\n"); }, "-ERR too busy\r\n"));
    CVexaPop3 client;
    EXPECT_EQ(LogIn(client, refusing), CVexaPop3::NotOk);
    ScriptedMailServer shortGreeting(
        Pop3Script([](const QByteArray&) { return QByteArray("+OK\r\n"); }, "+O\r\n"));
    CVexaPop3 other;
    EXPECT_EQ(LogIn(other, shortGreeting), CVexaPop3::NotOk);

    CVexaPop3 unconnected;
    QMap<int, QString> ids;
    QString text;
    QString reply;
    std::vector<QString> lines;
    EXPECT_EQ(unconnected.ListUniqueIds(ids), CVexaPop3::NotConnected);
    EXPECT_EQ(unconnected.Retrieve(1, text), CVexaPop3::NotConnected);
    EXPECT_EQ(unconnected.ReadStatus(), CVexaPop3::NotConnected);
    EXPECT_EQ(unconnected.Command(QStringLiteral("NOOP\r\n"), reply), CVexaPop3::NotConnected);
    EXPECT_EQ(unconnected.LoginUserPass(QStringLiteral("u"), QStringLiteral("p")), CVexaPop3::NotConnected);
    EXPECT_EQ(unconnected.LoginNtlm(QString(), QStringLiteral("u"), QStringLiteral("p")),
              CVexaPop3::NotConnected);
    EXPECT_EQ(unconnected.ReadMultiLine(lines), CVexaPop3::NotConnected);
    EXPECT_EQ(unconnected.Close(), CVexaPop3::Success);
}

TEST(Pop3Scripted, ServersPastALimitAreSocketFailures)
{
    const ShortMailWaits waits(1000, 2000);
    const QByteArray longListing = "+OK\r\n" +
                                   QByteArray("1 0123456789012345678901234567890123456789\r\n")
                                       .repeated(CVexaPop3::MaxListingBytes / 40 + 1) +
                                   ".\r\n";
    const QByteArray longMessage =
        "+OK\r\n" + QByteArray(1000, 'x').append("\r\n").repeated(CVexaPop3::MaxMessageBytes / 1000 + 1) +
        ".\r\n";
    ScriptedMailServer server(
        [&](ScriptedConnection& connection)
        {
            connection.Send("+OK ready\r\n");
            while (const auto line = connection.ReadLine())
            {
                if (*line == "UIDL")
                    connection.Send(longListing);
                else if (*line == "LIST 1" || *line == "LIST 2")
                    connection.Send("+OK " + line->mid(5) + " 10\r\n");
                else if (*line == "RETR 1")
                    connection.Send(longMessage);
                else if (*line == "RETR 2")
                    connection.Trickle("+OK\r\nSubject: slow\r\n\r\nand slower\r\n.\r\n", 100);
                else
                    connection.Send("+OK\r\n");
            }
        });
    // A fresh connection for each, since the client stops reading in the middle.
    for (const char* what : {"listing", "message", "trickle"})
    {
        CVexaPop3 client;
        ASSERT_EQ(LogIn(client, server), CVexaPop3::Success);
        QMap<int, QString> ids;
        QString text;
        const int result = QByteArray(what) == "listing"
                               ? client.ListUniqueIds(ids)
                               : client.Retrieve(QByteArray(what) == "message" ? 1 : 2, text);
        EXPECT_EQ(result, CVexaPop3::SocketFailure) << what;
    }
}
