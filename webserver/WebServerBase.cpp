#include "webserver/WebServerBase.h"

#include "webserver/HttpExchange.h"
#include "webserver/PeerOwner.h"
#include "webserver/SocketChannel.h"
#include "webserver/WebServerThreads.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace
{
CHttpChannel::Deadline SecondsFromNow(int seconds)
{
    return std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
}
} // namespace

CWebServerBase::~CWebServerBase()
{
    Stop();
}

std::unique_ptr<CHttpServiceBase> CWebServerBase::CreateService()
{
    return std::make_unique<CHttpServiceBase>();
}

bool CWebServerBase::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        for (const auto& [id, connection] : m_connections)
        {
            if (connection->busy)
                connection->service->AbortConnection();
        }
    }
    m_poller.Wake();
    if (m_listenThread.joinable())
        m_listenThread.join();
    for (std::thread& thread : m_connectionThreads)
        thread.join();
    m_connectionThreads.clear();

    std::unordered_map<quint64, std::unique_ptr<Connection>> closing;
    {
        std::lock_guard lock(m_mutex);
        closing.swap(m_connections);
        m_openConnections = 0;
    }
    closing.clear();
    m_poller.Close();
    try
    {
        m_listenSocket.Close();
    }
    catch (CBlockingSocketException* e)
    {
        delete e;
    }
    m_port = 0;
    m_running = false;
    return true;
}

void CWebServerBase::SetConnectionLimits(int threads, int openConnections)
{
    m_threadLimit = std::max(1, threads);
    m_connectionLimit = std::max(1, openConnections);
}

bool CWebServerBase::OpenListeningSocket()
{
    std::lock_guard lock(m_mutex);
    if (m_stop)
        return false;
    try
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(m_port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_listenSocket.Create(SOCK_STREAM);
        m_listenSocket.Bind(address);
        sockaddr_in bound{};
        if (!m_listenSocket.GetSockAddr(&bound))
            throw new CBlockingSocketException(QStringLiteral("Bind"));
        // The listening thread accepts only what has arrived and never blocks in Accept.
        if (fcntl(m_listenSocket.GetHandle(), F_SETFL, O_NONBLOCK) != 0)
            throw new CBlockingSocketException(QStringLiteral("Listen"));
        // Listening before the port is reported: a reported port always takes connections. A
        // burst of clients (a page with many pictures) waits in the queue instead of being
        // refused and tried again a second later.
        m_listenSocket.Listen(SOMAXCONN);
        m_port = ntohs(bound.sin_port);
        return true;
    }
    catch (CBlockingSocketException* e)
    {
        delete e;
        m_port = 0;
        try
        {
            m_listenSocket.Close();
        }
        catch (CBlockingSocketException* closeFailure)
        {
            delete closeFailure;
        }
        return false;
    }
}

void CWebServerBase::StartConnectionThreads()
{
    for (int i = 0; i < m_threadLimit; ++i)
    {
        try
        {
            m_connectionThreads.emplace_back(WebServerConnectionThread, std::ref(*this));
        }
        catch (const std::system_error&)
        {
            break;
        }
    }
}

bool CWebServerBase::AcceptConnections()
{
    const uid_t user = geteuid();
    while (HasRoomForConnection() && !m_stop)
    {
        auto channel = std::make_unique<CSocketChannel>();
        sockaddr_in peer{};
        if (!m_listenSocket.Accept(channel->Socket(), &peer))
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNABORTED;
        // Another account on this machine must not read the open newsletter: its connections
        // are closed unanswered.
        if (LoopbackPeerOwner(channel->Socket().GetHandle()) != user)
            continue;
        try
        {
            AddConnection(std::move(channel), peer);
        }
        catch (CBlockingSocketException* e)
        {
            delete e;
        }
        catch (...)
        {
        }
    }
    return true;
}

void CWebServerBase::AddConnection(std::unique_ptr<CSocketChannel> channel, const sockaddr_in& peer)
{
    const int handle = channel->Socket().GetHandle();
    // Every response leaves in as few sends as it can; none waits for the acknowledgement of
    // the one before.
    const int on = 1;
    setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));

    auto connection = std::make_unique<Connection>();
    connection->channel = channel.get();
    connection->service = CreateService();
    connection->service->AttachConnection(std::move(channel), peer, m_port);
    connection->deadline = SecondsFromNow(CHttpServiceBase::RequestHeadSeconds);

    std::lock_guard lock(m_mutex);
    if (m_stop)
        return;
    connection->id = ++m_lastConnectionId;
    // Armed under the lock: no other thread can close the handle before it is in the table.
    if (!m_poller.Add(handle, connection->id))
        return;
    m_connections.emplace(connection->id, std::move(connection));
    ++m_openConnections;
}

CWebServerBase::Connection* CWebServerBase::TakeReadyConnection()
{
    for (;;)
    {
        const quint64 id = m_poller.Wait();
        std::lock_guard lock(m_mutex);
        if (id == 0 || m_stop)
            return nullptr;
        // Closed in the meantime because its time ran out.
        const auto found = m_connections.find(id);
        if (found == m_connections.end())
            continue;
        found->second->busy = true;
        return found->second.get();
    }
}

bool CWebServerBase::ServeReceivedRequests(Connection& connection)
{
    CSocketChannel& channel = *connection.channel;
    const CSocketChannel::Arrival arrival = channel.ReceiveAvailable(CHttpServiceBase::MaxHeadBytes + 1);
    if (arrival == CSocketChannel::Arrival::Bytes && connection.waitingForRequest)
    {
        // The next request has begun: its head has its own time from now on.
        connection.waitingForRequest = false;
        connection.deadline = SecondsFromNow(CHttpServiceBase::RequestHeadSeconds);
    }
    for (;;)
    {
        const qsizetype head = CHttpServiceBase::RequestHeadSize(channel.Buffered());
        if (head < 0)
            return false;
        if (head == 0)
            return arrival != CSocketChannel::Arrival::Closed;
        if (RunHttpExchange(*connection.service) != ExchangeEnd::KeepAlive || m_stop)
            return false;
        connection.waitingForRequest = channel.Buffered().isEmpty();
        connection.deadline = connection.waitingForRequest
                                  ? SecondsFromNow(KeepAliveSeconds)
                                  : SecondsFromNow(CHttpServiceBase::RequestHeadSeconds);
    }
}

void CWebServerBase::ReturnConnection(Connection& connection)
{
    {
        std::lock_guard lock(m_mutex);
        connection.busy = false;
        if (!m_stop && m_poller.Rearm(connection.channel->Socket().GetHandle(), connection.id))
            return;
    }
    CloseConnection(connection);
}

void CWebServerBase::CloseConnection(Connection& connection)
{
    std::unique_ptr<Connection> closing;
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_connections.find(connection.id);
        if (found == m_connections.end())
            return;
        closing = std::move(found->second);
        m_connections.erase(found);
        --m_openConnections;
    }
    // The service closes its channel when it goes.
}

void CWebServerBase::CloseExpiredConnections()
{
    const auto now = std::chrono::steady_clock::now();
    std::vector<std::unique_ptr<Connection>> closing;
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_connections.begin(); it != m_connections.end();)
        {
            if (!it->second->busy && it->second->deadline <= now)
            {
                closing.push_back(std::move(it->second));
                it = m_connections.erase(it);
                --m_openConnections;
            }
            else
            {
                ++it;
            }
        }
    }
}
