#pragma once

#include <condition_variable>
#include <mutex>

// An event that releases one waiter per Set and then resets itself; created non-signalled.
class CAutoResetEvent
{
public:
    void Set();
    // True when the event was signalled within the time; the signal is then consumed.
    bool Wait(int milliseconds);

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_signalled{false};
};
