#include "webserver/SocketChannel.h"

#include "webserver/HttpServiceError.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>

namespace
{
constexpr size_t ReceiveChunkBytes = 16 * 1024;
constexpr size_t DiscardOnCloseBytes = 4 * 1024 * 1024;

// Bytes are received into the thread's buffer first: the connection keeps only what arrived, not
// a chunk-sized block that many connections would hold idle.
thread_local std::array<char, ReceiveChunkBytes> receiveChunk;

std::chrono::steady_clock::time_point DeadlineIn(int seconds)
{
    return std::chrono::steady_clock::now() + std::chrono::seconds(std::max(seconds, 0));
}
} // namespace

CSocketChannel::~CSocketChannel()
{
    Close();
}

CSocketChannel::Arrival CSocketChannel::ReceiveAvailable(qsizetype limit)
{
    if (m_read == m_input.size())
        m_input.resize(0);
    else if (m_read > 0)
        m_input.remove(0, m_read);
    m_read = 0;
    Arrival arrival = Arrival::Nothing;
    while (m_input.size() < limit && !m_socket.IsClosed())
    {
        const ssize_t received =
            recv(m_socket.GetHandle(), receiveChunk.data(), receiveChunk.size(), MSG_DONTWAIT);
        if (received > 0)
            m_input.append(receiveChunk.data(), received);
        if (received == 0)
            return Arrival::Closed;
        if (received < 0)
        {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                break;
            return Arrival::Closed;
        }
        arrival = Arrival::Bytes;
        // A short read has emptied the socket: asking again would only say so.
        if (static_cast<size_t>(received) < ReceiveChunkBytes)
            break;
    }
    return arrival;
}

char CSocketChannel::ReceiveByte(Deadline deadline)
{
    while (m_read == m_input.size())
    {
        const Arrival arrival = ReceiveAvailable(1);
        if (arrival == Arrival::Closed && m_read == m_input.size())
            throw CHttpServiceError();
        if (arrival == Arrival::Nothing && !WaitUntil(POLLIN, deadline))
            throw CHttpServiceError();
    }
    return m_input.at(m_read++);
}

qsizetype CSocketChannel::ReceiveAll(char* buffer, qsizetype length, int seconds)
{
    const qsizetype buffered = std::min(length, m_input.size() - m_read);
    std::memcpy(buffer, m_input.constData() + m_read, buffered);
    m_read += buffered;
    qsizetype total = buffered;
    const Deadline deadline = DeadlineIn(seconds);
    while (total < length && !m_socket.IsClosed())
    {
        const ssize_t received =
            recv(m_socket.GetHandle(), buffer + total,
                 static_cast<size_t>(std::min<qsizetype>(length - total, INT_MAX)), MSG_DONTWAIT);
        if (received > 0)
            total += received;
        else if (received < 0 && errno == EINTR)
            continue;
        else if (received == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) || !WaitUntil(POLLIN, deadline))
            break;
    }
    return total;
}

void CSocketChannel::Write(const char* bytes, qsizetype length, int seconds)
{
    const Deadline deadline = DeadlineIn(seconds);
    if (m_heldBack.size() + length <= HoldBackBytes)
    {
        m_heldBack.append(bytes, length);
        m_heldBackDeadline = deadline;
        return;
    }
    SendWithHeldBack(bytes, length, deadline);
}

void CSocketChannel::Flush()
{
    if (!m_heldBack.isEmpty())
        SendWithHeldBack(nullptr, 0, m_heldBackDeadline);
}

void CSocketChannel::Abort()
{
    if (!m_socket.IsClosed())
        shutdown(m_socket.GetHandle(), SHUT_RDWR);
}

void CSocketChannel::Close()
{
    // What a failed exchange had written still leaves if it fits at once.
    if (!m_heldBack.isEmpty() && !m_socket.IsClosed())
        send(m_socket.GetHandle(), m_heldBack.constData(), m_heldBack.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    m_heldBack.resize(0);
    DiscardUnread();
    try
    {
        m_socket.Close();
    }
    catch (CBlockingSocketException* e)
    {
        delete e;
    }
}

void CSocketChannel::DiscardUnread()
{
    if (m_socket.IsClosed())
        return;
    // Closing a socket with bytes still unread resets the connection, and the reset may reach
    // the peer before it has read the refusal just sent. What has arrived goes first, up to a
    // bound, so that the close ends the connection in order.
    for (size_t discarded = 0; discarded < DiscardOnCloseBytes;)
    {
        const ssize_t received =
            recv(m_socket.GetHandle(), receiveChunk.data(), receiveChunk.size(), MSG_DONTWAIT);
        if (received <= 0)
            break;
        discarded += static_cast<size_t>(received);
    }
}

bool CSocketChannel::WaitUntil(short events, Deadline deadline) const
{
    for (;;)
    {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            return false;
        pollfd entry{m_socket.GetHandle(), events, 0};
        const int result = poll(&entry, 1, static_cast<int>(std::min<long long>(left, INT_MAX)));
        if (result > 0)
            return true;
        // A failing poll counts as ready so that the following call reports the error.
        if (result < 0 && errno != EINTR)
            return true;
    }
}

void CSocketChannel::SendWithHeldBack(const char* bytes, qsizetype length, Deadline deadline)
{
    if (m_socket.IsClosed())
        throw CHttpServiceError();
    qsizetype heldBackSent = 0;
    qsizetype bytesSent = 0;
    while (heldBackSent < m_heldBack.size() || bytesSent < length)
    {
        iovec pieces[2] = {
            {m_heldBack.data() + heldBackSent, static_cast<size_t>(m_heldBack.size() - heldBackSent)},
            {const_cast<char*>(bytes) + bytesSent, static_cast<size_t>(length - bytesSent)},
        };
        msghdr message{};
        message.msg_iov = pieces;
        message.msg_iovlen = 2;
        // MSG_NOSIGNAL: a peer that has gone away gives an error, not the end of the program.
        ssize_t sent = sendmsg(m_socket.GetHandle(), &message, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0)
        {
            if (errno == EINTR)
                continue;
            // The peer reads slowly: wait for room, but never past the one deadline of the
            // whole write, however little the peer takes at a time.
            if ((errno == EAGAIN || errno == EWOULDBLOCK) && WaitUntil(POLLOUT, deadline))
                continue;
            m_heldBack.resize(0);
            throw CHttpServiceError();
        }
        const qsizetype fromHeldBack = std::min<qsizetype>(sent, m_heldBack.size() - heldBackSent);
        heldBackSent += fromHeldBack;
        bytesSent += sent - fromHeldBack;
    }
    m_heldBack.resize(0);
}
