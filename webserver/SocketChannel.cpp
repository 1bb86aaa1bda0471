#include "webserver/SocketChannel.h"

#include "webserver/HttpServiceError.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace
{
// Whole seconds left until the deadline, rounded up; 0 once it has passed.
int SecondsUntil(CHttpChannel::Deadline deadline)
{
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero())
        return 0;
    return static_cast<int>(std::chrono::ceil<std::chrono::seconds>(left).count());
}
} // namespace

CSocketChannel::~CSocketChannel()
{
    Close();
}

char CSocketChannel::ReceiveByte(Deadline deadline)
{
    if (m_begin == m_end)
    {
        const int seconds = SecondsUntil(deadline);
        if (seconds == 0)
            throw CHttpServiceError();
        try
        {
            m_end = m_socket.Receive(m_buffer.data(), static_cast<int>(m_buffer.size()), seconds);
            m_begin = 0;
        }
        catch (CBlockingSocketException* e)
        {
            delete e;
            throw CHttpServiceError();
        }
        if (m_end <= 0)
            throw CHttpServiceError();
    }
    return m_buffer[m_begin++];
}

qsizetype CSocketChannel::ReceiveAll(char* buffer, qsizetype length, int seconds)
{
    const qsizetype buffered = std::min<qsizetype>(length, m_end - m_begin);
    std::memcpy(buffer, m_buffer.data() + m_begin, buffered);
    m_begin += static_cast<int>(buffered);
    qsizetype total = buffered;
    const Deadline deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (total < length)
    {
        const int left = SecondsUntil(deadline);
        if (left == 0)
            break;
        try
        {
            const int received = m_socket.Receive(
                buffer + total, static_cast<int>(std::min<qsizetype>(length - total, 1 << 20)), left);
            if (received <= 0)
                break;
            total += received;
        }
        catch (CBlockingSocketException* e)
        {
            delete e;
            break;
        }
    }
    return total;
}

void CSocketChannel::Write(const char* bytes, qsizetype length, int seconds)
{
    // One deadline for the whole block: a peer that reads a byte now and then cannot hold the
    // connection thread longer than that.
    const Deadline deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    if (!m_corked && !m_socket.IsClosed())
    {
        // The head and the body leave in full segments instead of the head alone, which would
        // hold the body back until the client acknowledges it; closing sends the rest.
        const int on = 1;
        setsockopt(m_socket.GetHandle(), IPPROTO_TCP, TCP_CORK, &on, sizeof(on));
        m_corked = true;
    }
    qsizetype total = 0;
    try
    {
        while (total < length)
        {
            const int left = SecondsUntil(deadline);
            if (left == 0)
                throw CHttpServiceError();
            total += m_socket.Send(bytes + total,
                                   static_cast<int>(std::min<qsizetype>(length - total, 1 << 20)), left);
        }
    }
    catch (CBlockingSocketException* e)
    {
        delete e;
        throw CHttpServiceError();
    }
}

void CSocketChannel::Abort()
{
    if (!m_socket.IsClosed())
        shutdown(m_socket.GetHandle(), SHUT_RDWR);
}

void CSocketChannel::Close()
{
    try
    {
        m_socket.Close();
    }
    catch (CBlockingSocketException* e)
    {
        delete e;
    }
}
