#include "platform/ui/NestedWait.h"

#include "platform/ui/Wnd.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QTimerEvent>

#include <algorithm>
#include <memory>
#include <typeinfo>
#include <vector>

namespace
{
bool IsInput(QEvent::Type type)
{
    switch (type)
    {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Shortcut:
        return true;
    default:
        return false;
    }
}

bool IsWindow(QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && CWnd::FromHandle(widget);
}

// What arrives while a wait runs, kept in arrival order until the outermost wait is over.
class CHeldEvents : public QObject
{
public:
    static CHeldEvents& Get()
    {
        static CHeldEvents held;
        return held;
    }

    void Begin()
    {
        if (depth++ == 0)
            QCoreApplication::instance()->installEventFilter(this);
        deepest = std::max(deepest, depth);
    }

    void End()
    {
        if (--depth > 0)
            return;
        QCoreApplication::instance()->removeEventFilter(this);
        // Posted again, they come after everything else already waiting in the queue, in order.
        for (auto& deliver : std::exchange(m_held, {}))
            deliver();
        m_ticking.clear();
    }

    void Hold(std::function<void()> call)
    {
        m_held.push_back(
            [call = std::move(call)]() mutable {
                QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call),
                                          Qt::QueuedConnection);
            });
    }

    int depth{0};
    int deepest{0};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (IsInput(event->type()))
            return HoldCopy(watched, event);
        if (event->type() == QEvent::Timer && IsWindow(watched))
            return HoldTick(watched, static_cast<QTimerEvent*>(event)->timerId());
        // Messages posted to a window; held only when they can be copied whole.
        if (event->type() >= QEvent::User && event->type() <= QEvent::MaxUser && IsWindow(watched))
            return HoldCopy(watched, event);
        return false;
    }

private:
    bool HoldCopy(QObject* receiver, QEvent* event)
    {
        std::unique_ptr<QEvent> copy(event->clone());
        if (typeid(*copy) != typeid(*event))
            return false;
        Post(receiver, copy.release());
        return true;
    }

    // A timer that ticks again meanwhile still ticks once afterwards.
    bool HoldTick(QObject* receiver, int timerId)
    {
        const auto tick = std::make_pair(receiver, timerId);
        if (std::find(m_ticking.begin(), m_ticking.end(), tick) == m_ticking.end())
        {
            m_ticking.push_back(tick);
            Post(receiver, new QTimerEvent(timerId));
        }
        return true;
    }

    void Post(QObject* receiver, QEvent* event)
    {
        m_held.push_back(
            [receiver = QPointer<QObject>(receiver), event]
            {
                if (receiver)
                    QCoreApplication::postEvent(receiver, event);
                else
                    delete event;
            });
    }

    std::vector<std::function<void()>> m_held;
    std::vector<std::pair<QObject*, int>> m_ticking;
};
} // namespace

CNestedWait::CNestedWait() = default;

CNestedWait::~CNestedWait() = default;

bool CNestedWait::Run(int timeoutMs)
{
    if (m_quit)
        return true;
    CHeldEvents& held = CHeldEvents::Get();
    held.Begin();
    if (timeoutMs >= 0)
        QTimer::singleShot(timeoutMs, &m_loop, &QEventLoop::quit);
    // Input that the window system still holds stays there, in order, until the wait is over.
    m_loop.exec(QEventLoop::ExcludeUserInputEvents);
    held.End();
    return m_quit;
}

void CNestedWait::Quit()
{
    m_quit = true;
    m_loop.quit();
}

bool CNestedWait::IsActive()
{
    return CHeldEvents::Get().depth > 0;
}

void CNestedWait::RunOutside(std::function<void()> call)
{
    if (IsActive())
        CHeldEvents::Get().Hold(std::move(call));
    else
        call();
}

int CNestedWait::DeepestNesting()
{
    return CHeldEvents::Get().deepest;
}

void CNestedWait::ResetDeepestNesting()
{
    CHeldEvents::Get().deepest = CHeldEvents::Get().depth;
}
