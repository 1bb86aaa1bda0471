#include "MailTestSupport.h"
#include "ScriptedMailServer.h"

#include <gtest/gtest.h>

namespace
{
// A server that sends the bytes and then waits for the client to go.
ScriptedMailServer::Script Sends(const QByteArray& bytes)
{
    return [bytes](ScriptedConnection& connection)
    {
        connection.Send(bytes);
        connection.WaitForClose();
    };
}

struct Connected
{
    explicit Connected(const QByteArray& bytes) : server(Sends(bytes))
    {
        ConnectToLoopback(socket, server.Port());
    }
    ~Connected() { socket.Close(); }

    ScriptedMailServer server;
    CMailSocket socket;
};
} // namespace

TEST(MailSocket, ReplyLinesFollowTheDashAfterTheNumber)
{
    const struct
    {
        const char* what;
        QByteArray bytes;
        std::vector<QString> lines;
    } cases[] = {
        {"dash continues, blank ends",
         "250-first\r\n250-second\r\n250 last\r\nnext\r\n",
         {"250-first", "250-second", "250 last"}},
        {"number alone ends", "220\r\n250 next\r\n", {"220"}},
        {"eleven digits end even before a dash", "12345678901-x\r\n250 next\r\n", {"12345678901-x"}},
        {"a line of a dash alone continues", "-\r\n250 ok\r\n", {"-", "250 ok"}},
        {"a CR not before LF stays with the byte after it", "250 a\rb\r\r\n\r\n", {"250 a\rb\r\r\n"}},
        {"a lone LF belongs to the line", "250 a\nb\r\n", {"250 a\nb"}},
        {"code page bytes", "250 caf\xe9 \x80\r\n", {QStringLiteral("250 caf\u00e9 \u20ac")}},
    };
    for (const auto& entry : cases)
    {
        Connected connection(entry.bytes);
        std::vector<QString> lines{QStringLiteral("kept")};
        EXPECT_TRUE(connection.socket.ReadReply(lines)) << entry.what;
        lines.erase(lines.begin());
        EXPECT_EQ(lines, entry.lines) << entry.what;
    }
}

TEST(MailSocket, SendCommandGivesTheLastLinesNumber)
{
    ScriptedMailServer server(
        [](ScriptedConnection& connection)
        {
            if (connection.ReadLine())
                connection.Send("250-mail.example\r\n250-SIZE 10\r\n 452 last\r\n");
            connection.WaitForClose();
        });
    CMailSocket socket;
    ConnectToLoopback(socket, server.Port());
    EXPECT_EQ(socket.SendCommand(QStringLiteral("NOOP\r\n")), 452);
    socket.Close();
    server.Stop();
    EXPECT_EQ(server.Received(), QList<QByteArray>{"NOOP"});
}

TEST(MailSocket, TextWithNothingInTheCodePageIsNotSent)
{
    ScriptedMailServer server(ScriptedMailServer::ListenOnly);
    {
        CMailSocket socket;
        ConnectToLoopback(socket, server.Port());
        EXPECT_FALSE(socket.SendString(QStringLiteral("\u4e2d\u6587"), 10));
        EXPECT_TRUE(socket.SendString(QString(), 10));
        EXPECT_TRUE(socket.SendString(QStringLiteral("?\u4e2d \u00e9\r\n"), 10));
        socket.Close();
    }
    server.Stop();
    EXPECT_EQ(server.Received(), QList<QByteArray>{"?? \xe9"});
}

TEST(MailSocket, ServersPastALimitAreSocketFailures)
{
    const ShortMailWaits waits(1000, 2000);
    const auto failureReading = [](const ScriptedMailServer::Script& script)
    {
        ScriptedMailServer server(script);
        CMailSocket socket;
        ConnectToLoopback(socket, server.Port());
        std::vector<QString> lines;
        const QString failure = SocketFailureOf([&] { socket.ReadReply(lines); });
        socket.Close();
        return failure;
    };
    // Silent: nothing within the byte wait.
    EXPECT_EQ(failureReading([](ScriptedConnection& connection) { connection.WaitForClose(); }),
              QStringLiteral("Receive timeout"));
    // Trickling: every byte well within the byte wait, the reply never within the reply wait.
    EXPECT_EQ(
        failureReading([](ScriptedConnection& connection)
                       { connection.Trickle("220 a very slow greeting that goes on and on\r\n", 100); }),
        QStringLiteral("Receive timeout"));
    // Closed before the line ended.
    EXPECT_EQ(failureReading([](ScriptedConnection& connection) { connection.Send("220 half a line"); }),
              QStringLiteral("ReceiveByte: length mismatch"));
    EXPECT_EQ(failureReading(
                  [](ScriptedConnection& connection)
                  {
                      connection.Send(QByteArray(CMailSocket::MaxLineBytes + 10, 'x') + "\r\n");
                      connection.WaitForClose();
                  }),
              QStringLiteral("Receive: line too long"));
    EXPECT_EQ(failureReading(
                  [](ScriptedConnection& connection)
                  {
                      for (int i = 0; i <= CMailSocket::MaxReplyLines; ++i)
                          connection.Send("250-more\r\n");
                      connection.Send("250 end\r\n");
                      connection.WaitForClose();
                  }),
              QStringLiteral("Receive: reply too long"));
}

TEST(MailSocket, EachCommandGetsAWholeReplyWaitOfItsOwn)
{
    const ShortMailWaits waits(1000, 2000);
    ScriptedMailServer server(
        [](ScriptedConnection& connection)
        {
            while (connection.ReadLine())
                connection.Trickle("250 ok\r\n", 60);
        });
    CMailSocket socket;
    ConnectToLoopback(socket, server.Port());
    // Together the replies take longer than one reply wait; each alone does not.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(socket.SendCommand(QStringLiteral("NOOP\r\n")), 250);
    socket.Close();
}
