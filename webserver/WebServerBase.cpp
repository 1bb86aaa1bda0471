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
        // Cuts the exchanges under way; the threads end once they are out of them.
        for (const auto& [key, connection] : m_connections)
            connection->channel->Abort();
    }
    WakePollers();
    if (m_listenThread.joinable())
        m_listenThread.join();
    for (std::thread& thread : m_connectionThreads)
        thread.join();
    m_connectionThreads.clear();

    std::unordered_map<Connection*, std::unique_ptr<Connection>> closing;
    {
        std::lock_guard lock(m_mutex);
        closing.swap(m_connections);
        m_openConnections = 0;
    }
    closing.clear();
    m_pollers.clear();
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

bool CWebServerBase::OpenPollers()
{
    m_pollers.clear();
    const int count = (m_threadLimit + ThreadsPerPoller - 1) / ThreadsPerPoller;
    for (int i = 0; i < count; ++i)
    {
        m_pollers.push_back(std::make_unique<CConnectionPoller>());
        if (!m_pollers.back()->Open())
            return false;
    }
    return true;
}

void CWebServerBase::WakePollers()
{
    for (const auto& poller : m_pollers)
        poller->Wake();
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
        // The pool accepts only what has arrived and never blocks in Accept.
        if (fcntl(m_listenSocket.GetHandle(), F_SETFL, O_NONBLOCK) != 0)
            throw new CBlockingSocketException(QStringLiteral("Listen"));
        // Accepted connections take this over: every response leaves in as few sends as it can,
        // and none waits for the acknowledgement of the one before.
        const int on = 1;
        setsockopt(m_listenSocket.GetHandle(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
        // A connection is handed over once its first bytes are there (or, from a client that sends
        // nothing, after the time a head may take): the thread that accepts it reads the request
        // at once instead of waiting for it a second time.
        const int deferSeconds = CHttpServiceBase::RequestHeadSeconds;
        setsockopt(m_listenSocket.GetHandle(), IPPROTO_TCP, TCP_DEFER_ACCEPT, &deferSeconds,
                   sizeof(deferSeconds));
        // Listening before the port is reported: a reported port always takes connections. A
        // burst of clients (a page with many pictures) waits in the queue instead of being
        // refused and tried again a second later.
        m_listenSocket.Listen(SOMAXCONN);
        for (const auto& poller : m_pollers)
        {
            if (!poller->AddListener(m_listenSocket.GetHandle(), &m_listenSocket))
                throw new CBlockingSocketException(QStringLiteral("Listen"));
        }
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
            m_connectionThreads.emplace_back(WebServerConnectionThread, std::ref(*this),
                                             std::ref(*m_pollers[static_cast<size_t>(i / ThreadsPerPoller)]));
        }
        catch (const std::system_error&)
        {
            break;
        }
    }
}

void CWebServerBase::AcceptConnection(CConnectionPoller& poller)
{
    auto channel = std::make_unique<CSocketChannel>();
    sockaddr_in peer{};
    if (!m_listenSocket.Accept(channel->Socket(), &peer))
    {
        // Out of handles, for one: give the system a moment instead of spinning.
        const int acceptError = errno;
        if (acceptError != EAGAIN && acceptError != EWOULDBLOCK && acceptError != EINTR &&
            acceptError != ECONNABORTED)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return;
    }
    // Another account on this machine must not read the open newsletter: its connections are
    // refused before any request on them is looked at.
    if (!IsFromThisAccount(peer))
    {
        // Held back, the answer leaves as the channel closes.
        const QByteArray refusal = CHttpServiceBase::RefusalResponse(403);
        channel->Write(refusal.constData(), refusal.size(), 0);
        return;
    }
    if (++m_openConnections > m_connectionLimit)
        CutOldestIdleConnection();
    Connection* connection = nullptr;
    try
    {
        connection = AddConnection(std::move(channel), peer, poller);
    }
    catch (CBlockingSocketException* e)
    {
        delete e;
    }
    catch (...)
    {
    }
    if (!connection)
    {
        --m_openConnections;
        return;
    }
    ServeConnection(*connection);
}

bool CWebServerBase::IsFromThisAccount(const sockaddr_in& peer) const
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<uint16_t>(m_port));
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    static const uid_t user = geteuid();
    return LoopbackPeerOwner(peer, local) == user;
}

CWebServerBase::Connection* CWebServerBase::AddConnection(std::unique_ptr<CSocketChannel> channel,
                                                          const sockaddr_in& peer, CConnectionPoller& poller)
{
    auto connection = std::make_unique<Connection>();
    connection->channel = channel.get();
    connection->poller = &poller;
    connection->service = CreateService();
    connection->service->AttachConnection(std::move(channel), peer, m_port);
    connection->deadline = SecondsFromNow(CHttpServiceBase::RequestHeadSeconds);

    Connection* const added = connection.get();
    std::lock_guard lock(m_mutex);
    if (m_stop)
        return nullptr;
    added->number = ++m_acceptedConnections;
    m_connections.emplace(added, std::move(connection));
    return added;
}

void CWebServerBase::ServeConnection(Connection& connection)
{
    if (!ServeReceivedRequests(connection))
    {
        CloseConnection(connection);
        return;
    }
    // Once armed, another thread may take the connection: nothing here touches it after that.
    const bool first = !connection.inPoller;
    const int handle = connection.channel->Socket().GetHandle();
    connection.inPoller = true;
    connection.busy = false;
    if (!(first ? connection.poller->Add(handle, &connection)
                : connection.poller->Rearm(handle, &connection)))
    {
        connection.busy = true;
        CloseConnection(connection);
    }
}

bool CWebServerBase::ServeReceivedRequests(Connection& connection)
{
    CSocketChannel& channel = *connection.channel;
    // A head is taken in up to its limit, and once it is in, the form body it announces.
    const qsizetype wanted =
        connection.requestSize > 0 ? connection.requestSize : CHttpServiceBase::MaxHeadBytes + 1;
    const CSocketChannel::Arrival arrival = channel.ReceiveAvailable(wanted);
    if (arrival == CSocketChannel::Arrival::Bytes && connection.waitingForRequest)
    {
        // The next request has begun: its head has its own time from now on.
        connection.waitingForRequest = false;
        connection.deadline = SecondsFromNow(CHttpServiceBase::RequestHeadSeconds);
    }
    for (;;)
    {
        const qsizetype size = ReceivedRequestSize(connection);
        if (size < 0)
        {
            connection.service->Refuse(431);
            return false;
        }
        if (size == 0)
            return arrival != CSocketChannel::Arrival::Closed;
        if (RunHttpExchange(*connection.service) != ExchangeEnd::KeepAlive || m_stop)
            return false;
        connection.requestSize = 0;
        connection.waitingForRequest = channel.Buffered().isEmpty();
        connection.deadline = connection.waitingForRequest
                                  ? SecondsFromNow(KeepAliveSeconds)
                                  : SecondsFromNow(CHttpServiceBase::RequestHeadSeconds);
    }
}

qsizetype CWebServerBase::ReceivedRequestSize(Connection& connection)
{
    const QByteArrayView received = connection.channel->Buffered();
    if (connection.requestSize == 0)
    {
        const qsizetype head = CHttpServiceBase::RequestHeadSize(received);
        if (head <= 0)
            return head;
        const qsizetype body = CHttpServiceBase::FormBodySize(received.first(head));
        connection.requestSize = head + body;
        if (body > 0)
            connection.deadline = SecondsFromNow(CHttpServiceBase::FormBodySeconds);
    }
    return received.size() >= connection.requestSize ? connection.requestSize : 0;
}

void CWebServerBase::CloseConnection(Connection& connection)
{
    std::unique_ptr<Connection> closing;
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_connections.find(&connection);
        if (found == m_connections.end())
            return;
        closing = std::move(found->second);
        m_connections.erase(found);
    }
    // The service closes its channel when it goes.
    closing.reset();
    --m_openConnections;
}

void CWebServerBase::CutExpiredConnections()
{
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(m_mutex);
    for (const auto& [key, connection] : m_connections)
    {
        if (!connection->busy && !connection->cut && connection->deadline.load() <= now)
        {
            connection->cut = true;
            connection->channel->Abort();
        }
    }
}

void CWebServerBase::CutOldestIdleConnection()
{
    std::lock_guard lock(m_mutex);
    Connection* oldest = nullptr;
    for (const auto& [key, connection] : m_connections)
    {
        if (!connection->busy && !connection->cut && (!oldest || connection->number < oldest->number))
            oldest = connection.get();
    }
    // With every connection being served there is none to cut; they end soon.
    if (oldest)
    {
        oldest->cut = true;
        oldest->channel->Abort();
    }
}
