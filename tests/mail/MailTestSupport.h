#pragma once

#include "mail/MailSocket.h"

#include <arpa/inet.h>

#include <chrono>

// Shortens the mail socket's waits for one test and puts them back at its end.
class ShortMailWaits
{
public:
    ShortMailWaits(int byteMilliseconds, int replyMilliseconds)
    {
        CMailSocket::SetWaits(std::chrono::milliseconds(byteMilliseconds),
                              std::chrono::milliseconds(replyMilliseconds));
    }
    ~ShortMailWaits() { CMailSocket::ResetWaits(); }
};

inline void ConnectToLoopback(CMailSocket& socket, int port)
{
    socket.Create(SOCK_STREAM);
    socket.Connect(
        CBlockingSocket::GetHostByName(QStringLiteral("127.0.0.1"), static_cast<unsigned short>(port)));
}

// Runs the call and gives the operation name of the socket failure it threw; empty when none.
template <typename Call> QString SocketFailureOf(Call call)
{
    try
    {
        call();
    }
    catch (CBlockingSocketException* error)
    {
        const QString operation = error->GetOperation();
        delete error;
        return operation;
    }
    return {};
}
