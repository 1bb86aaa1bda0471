#pragma once

// Waits on many connections at once until one of them has something to read. A connection is
// reported to one waiting thread and then not again until it is armed anew, so that one thread
// at a time serves it; a connection that is not armed costs no thread. The poller hands back
// the pointer a connection was armed with and never owns it.
class CConnectionPoller
{
public:
    CConnectionPoller() = default;
    ~CConnectionPoller();
    CConnectionPoller(const CConnectionPoller&) = delete;
    CConnectionPoller& operator=(const CConnectionPoller&) = delete;

    // False when the system gives no handles.
    bool Open();
    void Close();

    // A listening socket is reported while a connection waits to be accepted, to threads of one
    // of the pollers that watch it at a time.
    bool AddListener(int handle, void* listener);
    // Reports the connection once something can be read from it. A connection leaves the poller
    // when its handle is closed.
    bool Add(int handle, void* connection);
    // Reports the connection again once something can be read from it.
    bool Rearm(int handle, void* connection);
    // A connection that is ready; null once Wake was called.
    void* Wait();
    // Every Wait returns null from now on, also the ones already waiting.
    void Wake();
    // Readable once Wake was called, for a thread that waits on other handles as well.
    int WakeHandle() const { return m_wake; }

private:
    bool Arm(int operation, int handle, void* connection);

    int m_epoll{-1};
    int m_wake{-1};
};
