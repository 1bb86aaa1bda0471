#include "webserver/WebServerThreads.h"

#include "webserver/HttpExchange.h"
#include "webserver/SocketChannel.h"
#include "webserver/WebServerBase.h"

#include <chrono>

int StartWebServer(CWebServerBase& server, int waitMilliseconds)
{
    if (server.m_running)
        return server.m_port;
    server.m_running = true;
    server.m_stop = false;
    server.m_port = 0;
    try
    {
        server.m_listenThread = std::thread(WebServerListenThread, std::ref(server));
    }
    catch (const std::system_error&)
    {
        return 0;
    }
    if (!server.m_readyEvent.Wait(waitMilliseconds))
        return 0;
    return server.m_port;
}

int WebServerListenThread(CWebServerBase& server)
{
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
        auto channel = std::make_unique<CSocketChannel>();
        sockaddr_in peer{};
        if (!server.m_listenSocket.Accept(channel->Socket(), &peer))
        {
            // Out of handles, for one: give the system a moment instead of spinning.
            if (!server.m_stop)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        try
        {
            std::unique_ptr<CHttpServiceBase> service = server.CreateService();
            service->AttachConnection(std::move(channel), peer, server.m_port);
            server.Enqueue(std::move(service));
        }
        catch (CBlockingSocketException* e)
        {
            delete e;
        }
        catch (...)
        {
        }
    }
    return 0;
}

void WebServerConnectionThread(CWebServerBase& server)
{
    while (std::unique_ptr<CHttpServiceBase> service = server.TakeNextConnection())
    {
        RunHttpExchange(*service);
        server.ConnectionDone(service.get());
        service->CloseConnection();
        service.reset();
        --server.m_activeConnections;
    }
}
