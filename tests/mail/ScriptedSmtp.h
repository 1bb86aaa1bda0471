#pragma once

#include "NtlmResponder.h"
#include "ScriptedMailServer.h"

#include <QByteArray>
#include <QList>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

// The replies of a scripted SMTP server, step by step; a reply may have several lines.
struct SmtpReplies
{
    QByteArray greeting{"220 scripted ESMTP\r\n"};
    QByteArray ehlo{"250-scripted\r\n250 AUTH PLAIN LOGIN\r\n"};
    QByteArray authPlain{"235 accepted\r\n"};
    QByteArray authLogin{"235 accepted\r\n"};
    QByteArray mail{"250 sender ok\r\n"};
    QByteArray rcpt{"250 recipient ok\r\n"};
    QByteArray data{"354 go ahead\r\n"};
    QByteArray endOfData{"250 queued\r\n"};
    // Answers AUTH NTLM when set.
    std::optional<NtlmResponder> ntlm;
    // The server thinks so long over the end of a message before it answers.
    int endOfDataDelayMs{0};
    // The connection breaks off after the first line of the message.
    bool cutDuringData{false};
};

// Serves the replies; the messages received after DATA go into messages when given.
inline ScriptedMailServer::Script SmtpScript(SmtpReplies replies,
                                             std::shared_ptr<QList<QByteArray>> messages = nullptr)
{
    return [replies, messages](ScriptedConnection& connection)
    {
        connection.Send(replies.greeting);
        while (const auto line = connection.ReadLine())
        {
            const QByteArray command = line->toUpper();
            if (command.startsWith("EHLO"))
                connection.Send(replies.ehlo);
            else if (command.startsWith("AUTH PLAIN"))
            {
                connection.Send("334 \r\n");
                if (connection.ReadLine())
                    connection.Send(replies.authPlain);
            }
            else if (command.startsWith("AUTH LOGIN"))
            {
                connection.Send("334 VXNlcm5hbWU6\r\n");
                if (connection.ReadLine() && connection.Send("334 UGFzc3dvcmQ6\r\n") && connection.ReadLine())
                    connection.Send(replies.authLogin);
            }
            else if (command.startsWith("AUTH NTLM ") && replies.ntlm &&
                     NtlmResponder::IsNegotiate(QByteArray::fromBase64(line->mid(10))))
            {
                connection.Send("334 " + NtlmResponder::Challenge().toBase64() + "\r\n");
                const auto answer = connection.ReadLine();
                connection.Send(answer && replies.ntlm->Verifies(QByteArray::fromBase64(*answer))
                                    ? "235 NTLM accepted\r\n"
                                    : "535 NTLM refused\r\n");
            }
            else if (command.startsWith("MAIL"))
                connection.Send(replies.mail);
            else if (command.startsWith("RCPT"))
                connection.Send(replies.rcpt);
            else if (command.startsWith("DATA"))
            {
                connection.Send(replies.data);
                if (!replies.data.startsWith("354"))
                    continue;
                if (replies.cutDuringData)
                {
                    connection.ReadLine();
                    return;
                }
                const auto message = connection.ReadData();
                if (!message)
                    return;
                if (messages)
                    messages->append(*message);
                std::this_thread::sleep_for(std::chrono::milliseconds(replies.endOfDataDelayMs));
                connection.Send(replies.endOfData);
            }
            else if (command.startsWith("QUIT"))
            {
                connection.Send("221 bye\r\n");
                return;
            }
            else
                connection.Send("500 unknown command\r\n");
        }
    };
}
