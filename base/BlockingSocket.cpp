#include "base/BlockingSocket.h"

#include "base/AnsiCodePage.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace
{
// Waits until the socket is ready for the events; false on time-out. A failing poll counts as
// ready so that the following call reports the error.
bool WaitFor(int handle, short events, std::chrono::milliseconds wait)
{
    const auto milliseconds = std::clamp<std::chrono::milliseconds::rep>(wait.count(), 0, INT_MAX);
    pollfd entry{handle, events, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const int result = poll(&entry, 1, std::max<int>(0, static_cast<int>(left.count())));
        if (result > 0)
            return true;
        if (result == 0)
            return false;
        if (errno != EINTR)
            return true;
    }
}

std::chrono::milliseconds Seconds(int seconds)
{
    return std::chrono::milliseconds(seconds <= 0 ? 0
                                                  : (seconds >= INT_MAX / 1000 ? INT_MAX : seconds * 1000));
}

// Handle 0 means "no socket", so a socket that the system numbers 0 is moved elsewhere.
int AwayFromZero(int handle)
{
    if (handle != 0)
        return handle;
    const int moved = fcntl(handle, F_DUPFD_CLOEXEC, 1);
    const int error = errno;
    close(handle);
    errno = error;
    return moved;
}
} // namespace

void CBlockingSocket::Create(int type)
{
    const int handle = AwayFromZero(socket(AF_INET, type | SOCK_CLOEXEC, 0));
    if (handle < 0)
        throw new CBlockingSocketException(QStringLiteral("Create"));
    m_hSocket = handle;
}

void CBlockingSocket::Bind(const sockaddr_in& address)
{
    if (bind(m_hSocket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        throw new CBlockingSocketException(QStringLiteral("Bind"));
}

void CBlockingSocket::Listen(int backlog)
{
    if (listen(m_hSocket, backlog) != 0)
        throw new CBlockingSocketException(QStringLiteral("Listen"));
}

bool CBlockingSocket::Accept(CBlockingSocket& socket, sockaddr_in* peer)
{
    sockaddr_in address{};
    socklen_t length = sizeof(address);
    int handle;
    do
        handle = accept4(m_hSocket, reinterpret_cast<sockaddr*>(&address), &length, SOCK_CLOEXEC);
    while (handle < 0 && errno == EINTR);
    handle = handle < 0 ? handle : AwayFromZero(handle);
    if (handle < 0)
        return false;
    socket.m_hSocket = handle;
    if (peer)
        *peer = address;
    return true;
}

void CBlockingSocket::Connect(const sockaddr_in& address)
{
    if (connect(m_hSocket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        throw new CBlockingSocketException(QStringLiteral("Connect"));
}

void CBlockingSocket::Close()
{
    if (m_hSocket == 0)
        return;
    // On Linux closing a listening socket does not end an accept that another thread is
    // blocked in; shutting it down first does.
    shutdown(m_hSocket, SHUT_RDWR);
    if (close(m_hSocket) != 0 && errno != EINTR)
        throw new CBlockingSocketException(QStringLiteral("Close"));
    m_hSocket = 0;
}

bool CBlockingSocket::GetSockAddr(sockaddr_in* address) const
{
    socklen_t length = sizeof(*address);
    return getsockname(m_hSocket, reinterpret_cast<sockaddr*>(address), &length) == 0;
}

int CBlockingSocket::Send(const char* data, int length, int seconds)
{
    if (m_hSocket == 0)
        throw new CBlockingSocketException(QStringLiteral("No socket handle"), EBADF);
    if (!WaitFor(m_hSocket, POLLOUT, Seconds(seconds)))
        throw new CBlockingSocketException(QStringLiteral("Send timeout"), ETIMEDOUT);
    // Only what fits now is sent, so that a peer that stops reading cannot hold a send beyond
    // its time-out. MSG_NOSIGNAL: a peer that has gone away gives an error, not the end of the
    // program.
    ssize_t sent;
    do
        sent = send(m_hSocket, data, static_cast<size_t>(std::max(length, 0)), MSG_NOSIGNAL | MSG_DONTWAIT);
    while (sent < 0 && errno == EINTR);
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return 0;
    if (sent < 0)
        throw new CBlockingSocketException(QStringLiteral("Send"));
    return static_cast<int>(sent);
}

int CBlockingSocket::Write(const char* data, int length, int seconds)
{
    int total = 0;
    while (total < length)
        total += Send(data + total, length - total, seconds);
    return total;
}

int CBlockingSocket::Receive(char* buffer, int size, int seconds)
{
    return Receive(buffer, size, Seconds(seconds));
}

int CBlockingSocket::Receive(char* buffer, int size, std::chrono::milliseconds wait)
{
    // Polling handle 0 would wait on the program's standard input.
    if (m_hSocket == 0)
        throw new CBlockingSocketException(QStringLiteral("Receive"), EBADF);
    for (;;)
    {
        if (!WaitFor(m_hSocket, POLLIN, wait))
            throw new CBlockingSocketException(QStringLiteral("Receive timeout"), ETIMEDOUT);
        ssize_t received;
        do
            received = recv(m_hSocket, buffer, static_cast<size_t>(std::max(size, 0)), MSG_DONTWAIT);
        while (received < 0 && errno == EINTR);
        if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (received < 0)
            throw new CBlockingSocketException(QStringLiteral("Receive"));
        return static_cast<int>(received);
    }
}

int CBlockingSocket::ReceiveAll(char* buffer, int length, int seconds)
{
    const auto start = std::chrono::steady_clock::now();
    int total = 0;
    for (;;)
    {
        const int received = Receive(buffer + total, length - total, seconds);
        total += received;
        // Once the peer has closed its side nothing more can arrive: waiting out the time-out
        // would only hold the caller up.
        if (total >= length || received == 0)
            return total;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (std::chrono::steady_clock::now() - start >= std::chrono::seconds(seconds))
            return total;
    }
}

char CBlockingSocket::ReceiveByte()
{
    char byte = 0;
    if (ReceiveAll(&byte, 1, 60) != 1)
        throw new CBlockingSocketException(QStringLiteral("ReceiveByte: length mismatch"), ECONNRESET);
    return byte;
}

sockaddr_in CBlockingSocket::GetHostByName(const QString& host, unsigned short port)
{
    const QByteArray name = AnsiCodePage::FromText(host);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = name.isEmpty() || name.contains('\0')
                           ? EAI_NONAME
                           : getaddrinfo(name.constData(), nullptr, &hints, &found);
    if (result != 0 || !found)
    {
        if (found)
            freeaddrinfo(found);
        throw new CBlockingSocketException(QStringLiteral("GetHostByName"), result);
    }
    sockaddr_in address = *reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    freeaddrinfo(found);
    address.sin_port = htons(port);
    return address;
}
