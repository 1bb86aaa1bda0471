#include "webserver/WebServerBase.h"

#include "webserver/WebServerThreads.h"

#include <arpa/inet.h>
#include <sys/socket.h>

#include <algorithm>

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
    std::deque<std::unique_ptr<CHttpServiceBase>> dropped;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        // Wakes the listening thread from Accept; the socket itself is closed once that thread
        // has ended, so its handle cannot be reused under it.
        if (!m_listenSocket.IsClosed())
            shutdown(m_listenSocket.GetHandle(), SHUT_RDWR);
        for (CHttpServiceBase* service : m_serving)
            service->AbortConnection();
        dropped.swap(m_waiting);
    }
    m_connectionWaiting.notify_all();
    m_roomInQueue.notify_all();
    dropped.clear();

    if (m_listenThread.joinable())
        m_listenThread.join();
    for (std::thread& thread : m_connectionThreads)
        thread.join();
    m_connectionThreads.clear();
    try
    {
        m_listenSocket.Close();
    }
    catch (CBlockingSocketException* e)
    {
        delete e;
    }
    return true;
}

void CWebServerBase::SetConnectionLimits(int threads, int queued)
{
    m_threadLimit = std::max(1, threads);
    m_queueLimit = std::max(1, queued);
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
        // Listening before the port is reported: a reported port always takes connections.
        m_listenSocket.Listen();
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

void CWebServerBase::Enqueue(std::unique_ptr<CHttpServiceBase> service)
{
    {
        std::unique_lock lock(m_mutex);
        m_roomInQueue.wait(lock, [this] { return m_stop || std::ssize(m_waiting) < m_queueLimit; });
        if (m_stop)
            return;
        m_waiting.push_back(std::move(service));
    }
    m_connectionWaiting.notify_one();
}

std::unique_ptr<CHttpServiceBase> CWebServerBase::TakeNextConnection()
{
    std::unique_ptr<CHttpServiceBase> service;
    {
        std::unique_lock lock(m_mutex);
        m_connectionWaiting.wait(lock, [this] { return m_stop || !m_waiting.empty(); });
        if (m_stop)
            return nullptr;
        service = std::move(m_waiting.front());
        m_waiting.pop_front();
        m_serving.insert(service.get());
        ++m_activeConnections;
    }
    m_roomInQueue.notify_one();
    return service;
}

void CWebServerBase::ConnectionDone(CHttpServiceBase* service)
{
    std::lock_guard lock(m_mutex);
    m_serving.erase(service);
}
