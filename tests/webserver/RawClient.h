#pragma once

#include "webserver/WebServerBase.h"

#include <QByteArray>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

// A client of the local server on plain sockets, for requests no well-behaved client sends.
namespace RawClient
{
// A connected socket, or -1.
inline int Connect(int port)
{
    const int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
    {
        close(handle);
        return -1;
    }
    return handle;
}

// The server may close while the rest is still on its way; that is what some cases test.
inline void SendAll(int handle, const QByteArray& bytes)
{
    for (qsizetype sent = 0; sent < bytes.size();)
    {
        const ssize_t count = send(handle, bytes.constData() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count <= 0)
            break;
        sent += count;
    }
}

// Everything the server sends until it closes the connection. The wait is only a guard
// against a hang; the server has its own time-outs.
inline QByteArray ReadUntilClosed(int handle, int guardSeconds = 70)
{
    QByteArray received;
    char buffer[8192];
    for (;;)
    {
        pollfd entry{handle, POLLIN, 0};
        if (poll(&entry, 1, guardSeconds * 1000) <= 0)
        {
            ADD_FAILURE() << "server kept the connection open";
            break;
        }
        const ssize_t count = recv(handle, buffer, sizeof(buffer), 0);
        if (count <= 0)
            break;
        received.append(buffer, count);
    }
    return received;
}

// Waits until the server counts the number of open connections; returns the last count seen.
inline int WaitForActiveConnections(const CWebServerBase& server, int count)
{
    for (int i = 0; i < 1000 && server.ActiveConnectionCount() != count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return server.ActiveConnectionCount();
}

// A test that holds both ends of many connections needs more handles than a shell may give.
inline void AllowOpenFiles(rlim_t count)
{
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    if (limit.rlim_cur < count)
    {
        limit.rlim_cur = std::min(count, limit.rlim_max);
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}
} // namespace RawClient
