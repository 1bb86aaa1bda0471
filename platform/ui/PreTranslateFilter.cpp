#include "platform/ui/PreTranslateFilter.h"

#include "platform/ui/Keyboard.h"
#include "platform/ui/Wnd.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace
{
// The innermost window at or around the widget, within its top-level window.
CWnd* WindowAround(QWidget* widget)
{
    for (; widget; widget = widget->parentWidget())
    {
        if (CWnd* wnd = CWnd::FromHandle(widget))
            return wnd;
        if (widget->isWindow())
            break;
    }
    return nullptr;
}

// Qt offers an unaccepted press to each parent in turn; only its first receiver counts. A key
// press starts at the focus widget (or the window when nothing has the focus), a mouse press at
// the innermost widget under the pointer.
bool IsFirstReceiver(QWidget* widget, QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
    {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? widget == focus : widget->isWindow();
    }
    const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
    return widget->childAt(position) == nullptr;
}

bool MakeKeyMessage(QKeyEvent* event, MSG& msg)
{
    msg.message = WM_KEYDOWN;
    msg.wParam = VirtualKeyFromQt(event->key());
    msg.lParam = 1;
    return true;
}

bool MakeMouseMessage(QMouseEvent* event, QWidget* widget, MSG& msg)
{
    WPARAM keys = 0;
    if (event->modifiers() & Qt::ShiftModifier)
        keys |= MK_SHIFT;
    if (event->modifiers() & Qt::ControlModifier)
        keys |= MK_CONTROL;
    // Of the releases only those of the extra buttons are offered.
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (release && event->button() != Qt::BackButton && event->button() != Qt::ForwardButton)
        return false;
    switch (event->button())
    {
    case Qt::LeftButton:
        msg.message = WM_LBUTTONDOWN;
        break;
    case Qt::RightButton:
        msg.message = WM_RBUTTONDOWN;
        break;
    case Qt::BackButton:
        msg.message = release ? WM_XBUTTONUP : WM_XBUTTONDOWN;
        keys |= WPARAM(XBUTTON1) << 16;
        break;
    case Qt::ForwardButton:
        msg.message = release ? WM_XBUTTONUP : WM_XBUTTONDOWN;
        keys |= WPARAM(XBUTTON2) << 16;
        break;
    default:
        return false;
    }
    const QPoint position =
        msg.hwnd->GetSafeHwnd()->mapFromGlobal(widget->mapToGlobal(event->position().toPoint()));
    msg.wParam = keys;
    msg.lParam = MAKELPARAM(position.x(), position.y());
    return true;
}
} // namespace

void CPreTranslateFilter::Install()
{
    static CPreTranslateFilter* filter = nullptr;
    if (filter || !QCoreApplication::instance())
        return;
    filter = new CPreTranslateFilter;
    filter->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

bool CPreTranslateFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::MouseButtonPress &&
         type != QEvent::MouseButtonRelease) ||
        !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!IsFirstReceiver(widget, event))
        return false;
    MSG msg;
    msg.hwnd = WindowAround(widget);
    msg.event = event;
    if (!msg.hwnd)
        return false;
    const bool made = type == QEvent::KeyPress
                          ? MakeKeyMessage(static_cast<QKeyEvent*>(event), msg)
                          : MakeMouseMessage(static_cast<QMouseEvent*>(event), widget, msg);
    return made && Offer(msg);
}

bool CPreTranslateFilter::Offer(MSG& msg)
{
    // A handler may destroy windows: each step looks its window up again.
    QPointer<QWidget> widget = msg.hwnd->GetSafeHwnd();
    bool reachedMain = false;
    while (widget)
    {
        if (CWnd* wnd = CWnd::FromHandle(widget))
        {
            reachedMain = reachedMain || wnd == AfxGetMainWnd();
            if (wnd->PreTranslateMessage(&msg))
                return true;
        }
        if (!widget || widget->isWindow())
            break;
        widget = widget->parentWidget();
    }
    CWnd* mainWnd = AfxGetMainWnd();
    if (reachedMain || !mainWnd || QApplication::activeModalWidget())
        return false;
    return mainWnd->PreTranslateMessage(&msg);
}
