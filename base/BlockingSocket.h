#pragma once

#include "base/BlockingSocketException.h"

#include <QString>

#include <chrono>

#include <netinet/in.h>
#include <sys/socket.h>

// A blocking IPv4 socket. Every failure but that of Accept throws a new CBlockingSocketException;
// every wait is bounded by a time-out in whole seconds. The handle 0 means no socket.
class CBlockingSocket
{
public:
    void Create(int type = SOCK_STREAM);
    void Bind(const sockaddr_in& address);
    void Listen(int backlog = 5);
    // Waits for one connection without time-out and hands its handle to socket.
    bool Accept(CBlockingSocket& socket, sockaddr_in* peer);
    void Connect(const sockaddr_in& address);
    // Also wakes a thread blocked in Accept on this socket.
    void Close();
    bool IsClosed() const { return m_hSocket == 0; }
    int GetHandle() const { return m_hSocket; }
    // The local address the socket is bound to (the port the system chose for port 0).
    bool GetSockAddr(sockaddr_in* address) const;

    int Send(const char* data, int length, int seconds);
    int Write(const char* data, int length, int seconds);
    // 0 when the peer has closed the connection.
    int Receive(char* buffer, int size, int seconds);
    int Receive(char* buffer, int size, std::chrono::milliseconds wait);
    int ReceiveAll(char* buffer, int length, int seconds);
    char ReceiveByte();

    static sockaddr_in GetHostByName(const QString& host, unsigned short port);

private:
    int m_hSocket{0};
};
