#include "webserver/AutoResetEvent.h"

#include <chrono>

void CAutoResetEvent::Set()
{
    {
        std::lock_guard lock(m_mutex);
        m_signalled = true;
    }
    m_changed.notify_one();
}

bool CAutoResetEvent::Wait(int milliseconds)
{
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_signalled; }))
        return false;
    m_signalled = false;
    return true;
}
