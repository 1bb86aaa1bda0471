#include "mail/SmtpDataOutput.h"
#include "MailTestSupport.h"
#include "ScriptedMailServer.h"

#include <gtest/gtest.h>

TEST(SmtpDataOutput, LinesStartingWithADotGetASecondOneAcrossWrites)
{
    ScriptedMailServer server(ScriptedMailServer::ListenOnly);
    {
        CMailSocket socket;
        ConnectToLoopback(socket, server.Port());
        CSmtpDataOutput output(socket);
        for (const char* piece : {".first\r\n", "b\r\n..", "\r\n", "", ".", "c\r\nx.y\r\n.\r", "\n.\r\n"})
            output.Write(QString::fromLatin1(piece));
        output.Flush();
        socket.Close();
    }
    server.Stop();
    EXPECT_EQ(server.Received(), (QList<QByteArray>{"..first", "b", "...", "..c", "x.y", "..", ".."}));
}

TEST(SmtpDataOutput, LargePiecesKeepTheirOrderAndTheirDotsDoubled)
{
    // Runs beyond the buffer go out from where they lie, between what is held back.
    QByteArray large = ".first\r\n";
    QList<QByteArray> expected{"..head", "..first"};
    for (int line = 0; large.size() < 200 * 1024; ++line)
    {
        large += "line " + QByteArray::number(line) + ".x\r\n";
        expected << "line " + QByteArray::number(line) + ".x";
    }
    large += ".last\r\n";
    expected << "..last"
             << "..tail";
    ScriptedMailServer server(ScriptedMailServer::ListenOnly);
    {
        CMailSocket socket;
        ConnectToLoopback(socket, server.Port());
        CSmtpDataOutput output(socket);
        output.Write(QStringLiteral(".head\r\n"));
        output.WriteBytes(large);
        output.WriteBytes(".tail\r\n");
        output.Flush();
        socket.Close();
    }
    server.Stop();
    EXPECT_EQ(server.Received(), expected);
}
