#include "platform/ui/WndClientArea.h"

#include "platform/ui/Wnd.h"

#include <QResizeEvent>

CWndClientArea::CWndClientArea(CWnd* wnd, QWidget* window) : QWidget(window), m_wnd(wnd) {}

void CWndClientArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize size = event->size();
    m_wnd->SendMessage(WM_SIZE, 0, MAKELPARAM(size.width(), size.height()));
}
