#pragma once

#include <QtGlobal>

// Waits on many connections at once until bytes (or the end) arrive on one of them. A connection
// is reported to one waiting thread and then not again until it is armed anew, so that one
// thread at a time reads it; a connection that is not armed costs no thread.
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

    // Reports the new connection under its id (not 0) once something can be read from it. A
    // connection leaves the poller when its handle is closed.
    bool Add(int handle, quint64 id);
    // Reports the connection again, once something can be read from it.
    bool Rearm(int handle, quint64 id);
    // The id of a connection that has something to read; 0 once Wake was called.
    quint64 Wait();
    // Every Wait returns 0 from now on, also the ones already waiting.
    void Wake();
    // Readable once Wake was called, for a thread that waits on other handles as well.
    int WakeHandle() const { return m_wake; }

private:
    bool Control(int operation, int handle, quint64 id);

    int m_epoll{-1};
    int m_wake{-1};
};
