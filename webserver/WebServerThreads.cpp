#include "webserver/WebServerThreads.h"

#include "webserver/WebServerBase.h"

#include <poll.h>
#include <pthread.h>

#include <chrono>

namespace
{
// How often connections that waited too long are looked for.
constexpr int SweepMilliseconds = 500;
} // namespace

int StartWebServer(CWebServerBase& server, int waitMilliseconds)
{
    if (server.m_running)
        return server.m_port;
    server.m_running = true;
    server.m_stop = false;
    server.m_port = 0;
    // A signal left over from a start that timed out says nothing about this one.
    server.m_readyEvent.Wait(0);
    if (!server.m_poller.Open())
    {
        server.Stop();
        return 0;
    }
    try
    {
        server.m_listenThread = std::thread(WebServerListenThread, std::ref(server));
    }
    catch (const std::system_error&)
    {
        server.Stop();
        return 0;
    }
    if (!server.m_readyEvent.Wait(waitMilliseconds) || server.m_port == 0)
    {
        // Stopped, so that a later start tries again instead of reporting a port that is dead.
        server.Stop();
        return 0;
    }
    return server.m_port;
}

int WebServerListenThread(CWebServerBase& server)
{
    pthread_setname_np(pthread_self(), "kv-http-listen");
    if (!server.OpenListeningSocket())
    {
        // Reported at once, so that start-up does not wait out its time for a server that
        // cannot start; the port is 0.
        server.m_readyEvent.Set();
        return 0;
    }
    server.StartConnectionThreads();
    server.m_readyEvent.Set();

    while (!server.m_stop)
    {
        pollfd stop{server.m_poller.WakeHandle(), POLLIN, 0};
        poll(&stop, 1, SweepMilliseconds);
        server.CutExpiredConnections();
    }
    return 0;
}

void WebServerConnectionThread(CWebServerBase& server)
{
    pthread_setname_np(pthread_self(), "kv-http-serve");
    while (void* ready = server.m_poller.Wait())
    {
        if (server.m_stop)
            break;
        if (ready == &server.m_listenSocket)
        {
            server.AcceptConnection();
            continue;
        }
        auto& connection = *static_cast<CWebServerBase::Connection*>(ready);
        connection.busy = true;
        server.ServeConnection(connection);
    }
}
