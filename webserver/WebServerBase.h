#pragma once

#include "base/BlockingSocket.h"
#include "webserver/AutoResetEvent.h"
#include "webserver/HttpServiceBase.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

// The local web server on 127.0.0.1: one listening thread and a fixed pool of connection
// threads, each serving one request per accepted connection through a service object made by
// CreateService. Start it with StartWebServer (WebServerThreads.h).
//
// A subclass must call Stop in its own destructor: the threads call CreateService until Stop
// has joined them.
class CWebServerBase
{
public:
    static constexpr int DefaultConnectionThreads = 16;
    static constexpr int DefaultQueuedConnections = 64;

    CWebServerBase() = default;
    virtual ~CWebServerBase();
    CWebServerBase(const CWebServerBase&) = delete;
    CWebServerBase& operator=(const CWebServerBase&) = delete;

    // A new service for one connection, owned by the caller.
    virtual std::unique_ptr<CHttpServiceBase> CreateService();

    // Stops accepting, drops the connections still waiting for a thread, cuts the ones being
    // served and joins every thread of the server. Always true.
    bool Stop();

    // Before the start: how many connections are served at once, and how many accepted ones
    // may wait for a thread before the server stops accepting until one is free.
    void SetConnectionLimits(int threads, int queued);

    int Port() const { return m_port; }
    bool IsRunning() const { return m_running; }
    int ActiveConnectionCount() const { return m_activeConnections; }

private:
    friend int WebServerListenThread(CWebServerBase& server);
    friend void WebServerConnectionThread(CWebServerBase& server);
    friend int StartWebServer(CWebServerBase& server, int waitMilliseconds);

    bool OpenListeningSocket();
    void StartConnectionThreads();
    void Enqueue(std::unique_ptr<CHttpServiceBase> service);
    std::unique_ptr<CHttpServiceBase> TakeNextConnection();
    void ConnectionDone(CHttpServiceBase* service);

    CAutoResetEvent m_readyEvent;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_port{0};
    std::thread m_listenThread;
    CBlockingSocket m_listenSocket;

    int m_threadLimit{DefaultConnectionThreads};
    int m_queueLimit{DefaultQueuedConnections};
    std::vector<std::thread> m_connectionThreads;
    std::atomic<int> m_activeConnections{0};

    // Guards the listening socket's handle during set-up and stop, the waiting connections and
    // the set of connections being served.
    std::mutex m_mutex;
    std::condition_variable m_connectionWaiting;
    std::condition_variable m_roomInQueue;
    std::deque<std::unique_ptr<CHttpServiceBase>> m_waiting;
    std::set<CHttpServiceBase*> m_serving;
};
