#pragma once

#include "base/BlockingSocket.h"
#include "webserver/AutoResetEvent.h"
#include "webserver/ConnectionPoller.h"
#include "webserver/HttpServiceBase.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

class CSocketChannel;

// The local web server on 127.0.0.1: a listening thread that opens the socket and gives up
// connections that wait too long, and a fixed pool of connection threads. The pool waits on the
// listening socket and every open connection at once. A thread accepts a connection, refuses it
// with 403 unless it comes from a process of this user's account, and otherwise takes a
// connection only when bytes have arrived on it: it serves in order every request whose head,
// and form body, is complete and lets the connection wait again while the responses keep it
// alive. A client that sends slowly therefore holds no thread. Past the limit of open
// connections each new one closes the oldest that no thread serves, so that slow clients can
// never lock out the program's own pages. The pool is split into small groups of threads with a
// poller each; a connection stays with the group that accepted it. Each connection is served by
// one service object made by CreateService.
//
// Start it with StartWebServer (WebServerThreads.h); after Stop it may be started again. A
// subclass must call Stop in its own destructor: the threads call CreateService until Stop has
// joined them.
class CWebServerBase
{
public:
    static constexpr int DefaultConnectionThreads = 16;
    static constexpr int DefaultOpenConnections = 512;
    // Threads that share one poller take turns at its lock; a few per poller keep that cheap and
    // still let one serve while another waits for a slow answer.
    static constexpr int ThreadsPerPoller = 2;
    // How long a connection stays open after a response for the next request to begin.
    static constexpr int KeepAliveSeconds = 5;

    CWebServerBase() = default;
    virtual ~CWebServerBase();
    CWebServerBase(const CWebServerBase&) = delete;
    CWebServerBase& operator=(const CWebServerBase&) = delete;

    // A new service for one connection, owned by the caller.
    virtual std::unique_ptr<CHttpServiceBase> CreateService();

    // Stops accepting, cuts the connections being served, closes all others and joins every
    // thread of the server. Always true.
    bool Stop();

    // Before the start: how many requests are served at once, and how many connections may be
    // open before a new one closes the oldest idle one.
    void SetConnectionLimits(int threads, int openConnections);

    int Port() const { return m_port; }
    bool IsRunning() const { return m_running; }
    // Connections accepted and not yet closed.
    int ActiveConnectionCount() const { return m_openConnections; }

private:
    friend int WebServerListenThread(CWebServerBase& server);
    friend void WebServerConnectionThread(CWebServerBase& server, CConnectionPoller& poller);
    friend int StartWebServer(CWebServerBase& server, int waitMilliseconds);

    // One open connection. Its service owns the channel. Only the connection thread that holds
    // it closes it; other threads read the deadline, when the connection is given up while it
    // waits for a request, and whether a thread is serving it, and cut it under the lock of
    // the set of connections.
    struct Connection
    {
        std::unique_ptr<CHttpServiceBase> service;
        CSocketChannel* channel{nullptr};
        CConnectionPoller* poller{nullptr};
        std::atomic<CHttpChannel::Deadline> deadline{};
        std::atomic<bool> busy{true};
        bool waitingForRequest{true};
        bool inPoller{false};
        // The size of the request being collected once its head is in; 0 before.
        qsizetype requestSize{0};
        // When it was accepted, counted from the server's start; guarded by the set's lock.
        quint64 number{0};
        // Cut and waiting for its thread to close it; guarded by the set's lock.
        bool cut{false};
    };

    bool OpenPollers();
    void WakePollers();
    bool OpenListeningSocket();
    void StartConnectionThreads();
    // Accepts one connection and serves it, when it comes from this account; it stays with the
    // poller that reported it.
    void AcceptConnection(CConnectionPoller& poller);
    bool IsFromThisAccount(const sockaddr_in& peer) const;
    // Null when the server stops.
    Connection* AddConnection(std::unique_ptr<CSocketChannel> channel, const sockaddr_in& peer,
                              CConnectionPoller& poller);
    // Serves what has arrived, then lets the connection wait for more or closes it.
    void ServeConnection(Connection& connection);
    // Serves every complete request the connection has received; false when it is to be closed.
    bool ServeReceivedRequests(Connection& connection);
    // The size of the complete request at the start of what the connection received; 0 while
    // it is incomplete, -1 when its head can no longer become one within the limits.
    qsizetype ReceivedRequestSize(Connection& connection);
    void CloseConnection(Connection& connection);
    // Cuts the connections that waited too long; the threads that then take them close them.
    void CutExpiredConnections();
    // Makes room for one more connection past the limit.
    void CutOldestIdleConnection();

    CAutoResetEvent m_readyEvent;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_port{0};
    std::thread m_listenThread;
    CBlockingSocket m_listenSocket;
    std::vector<std::unique_ptr<CConnectionPoller>> m_pollers;

    int m_threadLimit{DefaultConnectionThreads};
    int m_connectionLimit{DefaultOpenConnections};
    std::vector<std::thread> m_connectionThreads;
    std::atomic<int> m_openConnections{0};

    // Guards the listening socket's handle during set-up and stop, and the set of open
    // connections (not the connections themselves).
    std::mutex m_mutex;
    std::unordered_map<Connection*, std::unique_ptr<Connection>> m_connections;
    quint64 m_acceptedConnections{0};
};
