#include "webserver/ConnectionPoller.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

CConnectionPoller::~CConnectionPoller()
{
    Close();
}

bool CConnectionPoller::Open()
{
    Close();
    m_epoll = epoll_create1(EPOLL_CLOEXEC);
    m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    // Level-triggered and never read: once woken, every waiting thread sees it.
    epoll_event wake{};
    wake.events = EPOLLIN;
    wake.data.ptr = nullptr;
    if (m_epoll < 0 || m_wake < 0 || epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_wake, &wake) != 0)
    {
        Close();
        return false;
    }
    return true;
}

void CConnectionPoller::Close()
{
    if (m_epoll >= 0)
        close(m_epoll);
    if (m_wake >= 0)
        close(m_wake);
    m_epoll = -1;
    m_wake = -1;
}

bool CConnectionPoller::AddListener(int handle, void* listener)
{
    epoll_event event{};
    event.events = EPOLLIN | EPOLLEXCLUSIVE;
    event.data.ptr = listener;
    return epoll_ctl(m_epoll, EPOLL_CTL_ADD, handle, &event) == 0;
}

bool CConnectionPoller::Add(int handle, void* connection)
{
    return Arm(EPOLL_CTL_ADD, handle, connection);
}

bool CConnectionPoller::Rearm(int handle, void* connection)
{
    return Arm(EPOLL_CTL_MOD, handle, connection);
}

bool CConnectionPoller::Arm(int operation, int handle, void* connection)
{
    epoll_event event{};
    event.events = EPOLLIN | EPOLLONESHOT;
    event.data.ptr = connection;
    return epoll_ctl(m_epoll, operation, handle, &event) == 0;
}

void* CConnectionPoller::Wait()
{
    for (;;)
    {
        epoll_event event{};
        const int count = epoll_wait(m_epoll, &event, 1, -1);
        if (count == 1)
            return event.data.ptr;
        if (count < 0 && errno != EINTR)
            return nullptr;
    }
}

void CConnectionPoller::Wake()
{
    const uint64_t one = 1;
    if (write(m_wake, &one, sizeof(one)) < 0)
    {
        // The counter is already far from 0: the poller is awake.
    }
}
