#include "platform/ui/IdleLoop.h"

#include "platform/ui/NestedWait.h"
#include "platform/ui/Wnd.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QMouseEvent>

#include <algorithm>

CIdleLoop::CIdleLoop(Handler handler) : m_handler(std::move(handler))
{
    QCoreApplication::instance()->installEventFilter(this);
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CIdleLoop::OnAboutToBlock);
}

CIdleLoop::~CIdleLoop()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool CIdleLoop::SendIdleToMainWindow(long count)
{
    if (CWnd* mainWnd = AfxGetMainWnd())
        mainWnd->SendMessageToDescendants(UM_IDLE, 0, LPARAM(count));
    return count < 1;
}

bool CIdleLoop::eventFilter(QObject* watched, QEvent* event)
{
    bool input = false;
    switch (event->type())
    {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        input = true;
        break;
    case QEvent::MouseMove:
    {
        // Qt hands one move to every widget on the way up; only a new position is new input.
        const QPointF position = static_cast<QMouseEvent*>(event)->globalPosition();
        input = position != m_lastPointer;
        m_lastPointer = position;
        break;
    }
    default:
        break;
    }
    if (input)
    {
        m_count = 0;
        m_due = true;
    }
    return QObject::eventFilter(watched, event);
}

void CIdleLoop::OnAboutToBlock()
{
    // The pass runs as an event of its own, not inside the dispatcher's wait, and never inside a
    // nested wait: the loop that waits runs it once the wait is over.
    if (!m_due || m_scheduled || CNestedWait::IsActive())
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(this, &CIdleLoop::RunPass, Qt::QueuedConnection);
}

void CIdleLoop::RunPass()
{
    m_scheduled = false;
    if (!m_due || CNestedWait::IsActive())
        return;
    ++s_nesting;
    s_deepestNesting = std::max(s_deepestNesting, s_nesting);
    m_due = m_handler ? m_handler(m_count++) : false;
    --s_nesting;
}

int CIdleLoop::DeepestNesting()
{
    return s_deepestNesting;
}

void CIdleLoop::ResetDeepestNesting()
{
    s_deepestNesting = s_nesting;
}
