#pragma once

#include <QEvent>
#include <QWidget>
#include <utility>

class CWnd;

// The tie between a Qt widget and its window object: events go to the window first.
class CWndHostBase
{
public:
    explicit CWndHostBase(CWnd* wnd) : m_wnd(wnd) {}
    virtual ~CWndHostBase() = default;

    CWnd* Wnd() const { return m_wnd; }
    void Attach(CWnd* wnd) { m_wnd = wnd; }
    // The widget's own Qt handling of an event.
    virtual bool BaseEvent(QEvent* event) = 0;

protected:
    bool Route(QEvent* event, bool* result);
    void Detach();

private:
    CWnd* m_wnd;
};

template <class Base> class CWndHost final : public Base, public CWndHostBase
{
public:
    template <class... Args>
    explicit CWndHost(CWnd* wnd, Args&&... args) : Base(std::forward<Args>(args)...), CWndHostBase(wnd)
    {
        this->setMouseTracking(true);
    }
    ~CWndHost() override { Detach(); }

    bool BaseEvent(QEvent* event) override { return Base::event(event); }

protected:
    bool event(QEvent* event) override
    {
        bool result = false;
        if (Route(event, &result))
            return result;
        return Base::event(event);
    }
};
