#include "platform/ui/ChildMouseGuard.h"

#include "platform/ui/Wnd.h"

#include <QMouseEvent>
#include <QWidget>

bool ConsumeChildMouseEvent(const QWidget* widget, QEvent* event)
{
    switch (event->type())
    {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        break;
    default:
        return false;
    }
    // A window that holds the mouse gets every event, over its children too.
    const CWnd* capture = CWnd::GetCapture();
    if (capture && capture->GetSafeHwnd() == widget)
        return false;
    const QPoint point = static_cast<const QMouseEvent*>(event)->position().toPoint();
    const QWidget* child = widget->childAt(point);
    if (!child || child == widget)
        return false;
    event->accept();
    return true;
}
