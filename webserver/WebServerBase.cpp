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
    m_poller.Wake();
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
        // The pool accepts only what has arrived and never blocks in Accept.
        if (fcntl(m_listenSocket.GetHandle(), F_SETFL, O_NONBLOCK) != 0)
            throw new CBlockingSocketException(QStringLiteral("Listen"));
        // Accepted connections take this over: every response leaves in as few sends as it can,
        // and none waits for the acknowledgement of the one before.
        const int on = 1;
        setsockopt(m_listenSocket.GetHandle(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
        // Listening before the port is reported: a reported port always takes connections. A
        // burst of clients (a page with many pictures) waits in the queue instead of being
        // refused and tried again a second later.
        m_listenSocket.Listen(SOMAXCONN);
        if (!m_poller.Add(m_listenSocket.GetHandle(), &m_listenSocket))
            throw new CBlockingSocketException(QStringLiteral("Listen"));
        m_listening = true;
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

void CWebServerBase::AcceptConnection()
{
    auto channel = std::make_unique<CSocketChannel>();
    sockaddr_in peer{};
    const bool accepted = m_listenSocket.Accept(channel->Socket(), &peer);
    const int acceptError = errno;
    // The poller reports the listening socket no more until it is armed again: this thread arms
    // it while there is room, so that the next connection may be accepted by another thread while
    // this one is looked at.
    m_listening = false;
    if (accepted)
        ++m_openConnections;
    ListenWhileThereIsRoom();
    if (!accepted)
    {
        // Out of handles, for one: give the system a moment instead of spinning.
        if (acceptError != EAGAIN && acceptError != EWOULDBLOCK && acceptError != EINTR &&
            acceptError != ECONNABORTED)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return;
    }
    Connection* connection = nullptr;
    // Another account on this machine must not read the open newsletter: its connections are
    // closed before anything is read from them.
    if (IsFromThisAccount(peer))
    {
        try
        {
            connection = AddConnection(std::move(channel), peer);
        }
        catch (CBlockingSocketException* e)
        {
            delete e;
        }
        catch (...)
        {
        }
    }
    if (!connection)
    {
        channel.reset();
        --m_openConnections;
        ListenWhileThereIsRoom();
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
                                                          const sockaddr_in& peer)
{
    auto connection = std::make_unique<Connection>();
    connection->channel = channel.get();
    connection->service = CreateService();
    connection->service->AttachConnection(std::move(channel), peer, m_port);
    connection->deadline = SecondsFromNow(CHttpServiceBase::RequestHeadSeconds);

    Connection* const added = connection.get();
    std::lock_guard lock(m_mutex);
    if (m_stop)
        return nullptr;
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
    if (!(first ? m_poller.Add(handle, &connection) : m_poller.Rearm(handle, &connection)))
    {
        connection.busy = true;
        CloseConnection(connection);
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
    ListenWhileThereIsRoom();
}

void CWebServerBase::ListenWhileThereIsRoom()
{
    // Every thread that changes the count looks after it, so that a connection closing while
    // another is accepted into the last place cannot leave the socket unwatched.
    if (m_openConnections < m_connectionLimit && !m_stop && !m_listening.exchange(true) &&
        !m_poller.Rearm(m_listenSocket.GetHandle(), &m_listenSocket))
        m_listening = false;
}

void CWebServerBase::CutExpiredConnections()
{
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(m_mutex);
    for (const auto& [key, connection] : m_connections)
    {
        if (!connection->busy && connection->deadline.load() <= now)
            connection->channel->Abort();
    }
}
