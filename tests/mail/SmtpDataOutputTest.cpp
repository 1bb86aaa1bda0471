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
