#include "controls/GreImageCtrl.h"

#include "platform/ui/PaintDC.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

namespace
{
constexpr WPARAM ZoomInParam = 0x10000;
constexpr WPARAM ZoomOutParam = 0x20000;
} // namespace

const MessageMap* CGreImageCtrl::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CGreImageCtrl::OnPaint),
        OnMessage(WM_SIZE, &CGreImageCtrl::OnSize),
        OnMessage(WM_LBUTTONDOWN, &CGreImageCtrl::OnLButtonDown),
        OnMessage(WM_MOUSEMOVE, &CGreImageCtrl::OnMouseMove),
        OnMessage(WM_LBUTTONUP, &CGreImageCtrl::OnLButtonUp),
        OnMessage(WM_CANCELMODE, &CGreImageCtrl::OnCancelMode),
        OnMessage(WM_MOUSEWHEEL, &CGreImageCtrl::OnMouseWheel),
        OnMessage(WM_VSCROLL, &CGreImageCtrl::OnVScroll),
        OnMessage(WM_HSCROLL, &CGreImageCtrl::OnHScroll),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CGreImageCtrl::CGreImageCtrl() = default;

CGreImageCtrl::~CGreImageCtrl()
{
    m_image.GetBitmap() = QImage();
    DestroyWindow();
}

bool CGreImageCtrl::SetZoom(double factor)
{
    bool inRange = true;
    if (factor > MaxZoom)
    {
        factor = MaxZoom;
        inRange = false;
    }
    else if (factor < MinZoom)
    {
        factor = MinZoom;
        inRange = false;
    }
    m_zoom = factor;
    Refresh();
    return inRange;
}

void CGreImageCtrl::ZoomToFit()
{
    m_zoom = 1.0;
    // The whole window: a fitted picture needs no bars, so the ones shown now give their room back.
    CRect client;
    GetClientRect(&client);
    const int width = m_image.GetWidth();
    const int height = m_image.GetHeight();
    if (width > client.Width() || height > client.Height())
    {
        const double factor = (height - client.Height()) < (width - client.Width())
                                  ? double(client.Width()) / width
                                  : double(client.Height()) / height;
        SetZoom(factor);
    }
    Refresh();
}

void CGreImageCtrl::Refresh()
{
    if (!IsWindow())
        return;
    UpdateScrollBars();
    Invalidate();
}

int CGreImageCtrl::GetScaledWidth() const
{
    return int(m_zoom * m_image.GetWidth());
}

int CGreImageCtrl::GetScaledHeight() const
{
    return int(m_zoom * m_image.GetHeight());
}

int CGreImageCtrl::GetOffsetX() const
{
    const int client = m_scrollBars.GetClientRect().Width();
    return GetScaledWidth() <= client ? client / 2 - GetScaledWidth() / 2 : 0;
}

int CGreImageCtrl::GetOffsetY() const
{
    const int client = m_scrollBars.GetClientRect().Height();
    return GetScaledHeight() <= client ? client / 2 - GetScaledHeight() / 2 : 0;
}

void CGreImageCtrl::UpdateScrollBars()
{
    if (m_image.IsEmpty())
        return;
    // A bar takes room from the other direction, so the pair is settled twice.
    for (int pass = 0; pass < 2; ++pass)
    {
        const CRect client = m_scrollBars.GetClientRect();
        for (int bar : {SB_HORZ, SB_VERT})
        {
            const int scaled = bar == SB_HORZ ? GetScaledWidth() : GetScaledHeight();
            const int space = bar == SB_HORZ ? client.Width() : client.Height();
            if (scaled > space)
            {
                SCROLLINFO info;
                info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
                info.nMin = 0;
                info.nMax = scaled - 1;
                info.nPage = UINT(space);
                info.nPos = std::min(m_scrollBars.GetScrollPos(bar), scaled - space);
                m_scrollBars.SetScrollInfo(bar, info);
                m_scrollBars.SetScrollPos(bar, info.nPos);
                m_scrollBars.EnableScrollBar(bar, true);
                m_scrollBars.ShowScrollBar(bar, true);
            }
            else
            {
                m_scrollBars.EnableScrollBar(bar, false);
                m_scrollBars.ShowScrollBar(bar, false);
                m_scrollBars.SetScrollPos(bar, 0);
            }
        }
    }
}

bool CGreImageCtrl::Fits() const
{
    const CRect client = m_scrollBars.GetClientRect();
    return GetScaledWidth() <= client.Width() && GetScaledHeight() <= client.Height();
}

void CGreImageCtrl::PreTranslateMessage(WPARAM wParam)
{
    if (wParam != ZoomInParam && wParam != ZoomOutParam)
        return;
    const double step = wParam == ZoomInParam ? ZoomStep : -ZoomStep;
    m_zoom = std::clamp(m_zoom + step, MinZoom, MaxZoom);
    Refresh();
}

bool CGreImageCtrl::TranslateEvent(QEvent* event, bool* result)
{
    // The extra mouse buttons and the finest wheel steps zoom before the message is handled.
    if (event->type() == QEvent::MouseButtonRelease)
    {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool alone = mouse->buttons() == Qt::NoButton && mouse->modifiers() == Qt::NoModifier;
        if (alone && (mouse->button() == Qt::XButton1 || mouse->button() == Qt::XButton2))
        {
            const WPARAM wParam = mouse->button() == Qt::XButton1 ? ZoomInParam : ZoomOutParam;
            PreTranslateMessage(wParam);
            SendMessage(WM_XBUTTONUP, wParam, 0);
            *result = true;
            return true;
        }
    }
    if (event->type() == QEvent::Wheel)
    {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const int delta = wheel->angleDelta().y();
        const bool alone = wheel->buttons() == Qt::NoButton && wheel->modifiers() == Qt::NoModifier;
        const WPARAM wParam = MAKEWPARAM(0, unsigned(delta));
        if (alone)
            PreTranslateMessage(wParam);
        SendMessage(WM_MOUSEWHEEL, wParam, 0);
        *result = true;
        return true;
    }
    return CWnd::TranslateEvent(event, result);
}

LRESULT CGreImageCtrl::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    if (m_image.IsEmpty())
        return 0;
    const CRect client = m_scrollBars.GetClientRect();
    gre::CGreImage frame;
    if (!frame.Create(std::max(client.Width(), 1), std::max(client.Height(), 1)))
        return 0;
    {
        QPainter painter(&frame.GetBitmap());
        painter.fillRect(frame.GetBitmap().rect(), QColor::fromRgba(m_background));
        const int v = m_scrollBars.GetScrollPos(SB_VERT);
        const int h = m_scrollBars.GetScrollPos(SB_HORZ);
        m_image.DrawRegion(painter, QRect(0, 0, m_image.GetWidth(), m_image.GetHeight()),
                           QRect(GetOffsetX() - h, GetOffsetY() - v, GetScaledWidth(), GetScaledHeight()));
    }
    frame.Draw(*dc.Painter(), QPoint(0, 0));
    return 0;
}

LRESULT CGreImageCtrl::OnSize(WPARAM, LPARAM)
{
    Default();
    m_scrollBars.Layout();
    UpdateScrollBars();
    return 0;
}

LRESULT CGreImageCtrl::OnLButtonDown(WPARAM, LPARAM)
{
    SetCapture();
    GetSafeHwnd()->setCursor(Qt::PointingHandCursor);
    Default();
    return 0;
}

LRESULT CGreImageCtrl::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (GetCapture() == this && !Fits())
    {
        const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (!m_dragging)
        {
            m_dragging = true;
            m_lastDrag = point;
        }
        const CRect client = m_scrollBars.GetClientRect();
        if (GetScaledWidth() > client.Width())
            m_scrollBars.SetScrollPos(SB_HORZ, m_scrollBars.GetScrollPos(SB_HORZ) + m_lastDrag.x - point.x);
        if (GetScaledHeight() > client.Height())
            m_scrollBars.SetScrollPos(SB_VERT, m_scrollBars.GetScrollPos(SB_VERT) + m_lastDrag.y - point.y);
        m_lastDrag = point;
        Invalidate();
    }
    Default();
    return 0;
}

LRESULT CGreImageCtrl::OnLButtonUp(WPARAM, LPARAM)
{
    if (GetCapture() == this)
        ReleaseCapture();
    GetSafeHwnd()->unsetCursor();
    Default();
    m_dragging = false;
    return 0;
}

LRESULT CGreImageCtrl::OnCancelMode(WPARAM, LPARAM)
{
    Default();
    m_dragging = false;
    return 0;
}

LRESULT CGreImageCtrl::OnMouseWheel(WPARAM, LPARAM)
{
    return 1;
}

void CGreImageCtrl::Scroll(int bar, UINT code)
{
    const CRect client = m_scrollBars.GetClientRect();
    const double natural = bar == SB_HORZ ? m_image.GetWidth() : m_image.GetHeight();
    const int space = bar == SB_HORZ ? client.Width() : client.Height();
    if (m_zoom * natural <= space)
        return;
    const int step = bar == SB_HORZ ? m_lineStepH : m_lineStepV;
    const int scaled = bar == SB_HORZ ? GetScaledWidth() : GetScaledHeight();
    const int current = m_scrollBars.GetScrollPos(bar);
    int pos = current;
    switch (code)
    {
    case SB_LINEUP:
        pos -= step;
        break;
    case SB_LINEDOWN:
        pos += step;
        break;
    case SB_PAGEUP:
        pos -= 4 * step;
        break;
    case SB_PAGEDOWN:
        pos += 4 * step;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        pos = m_scrollBars.GetTrackPos(bar);
        break;
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = scaled - space;
        break;
    default:
        break;
    }
    pos = std::max(std::min(pos, m_scrollBars.GetScrollInfo(bar).nMax), 0);
    if (pos != current)
        m_scrollBars.SetScrollPos(bar, pos);
    Invalidate();
}

LRESULT CGreImageCtrl::OnVScroll(WPARAM wParam, LPARAM)
{
    Scroll(SB_VERT, LOWORD(wParam));
    return 0;
}

LRESULT CGreImageCtrl::OnHScroll(WPARAM wParam, LPARAM)
{
    Scroll(SB_HORZ, LOWORD(wParam));
    return 0;
}
