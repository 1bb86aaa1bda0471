#include "controls/HorizontalSplitterWnd.h"

#include "platform/ui/PaintDC.h"

#include <algorithm>

namespace
{
constexpr Gdiplus::ARGB Teal = 0xFF008080;
constexpr int DragBarWidth = 10;

CPoint PointOf(LPARAM lParam)
{
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}
} // namespace

const MessageMap* CHorizontalSplitterWnd::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_CREATE, &CHorizontalSplitterWnd::OnCreate),
        OnMessage(WM_PAINT, &CHorizontalSplitterWnd::OnPaint),
        OnMessage(WM_LBUTTONDOWN, &CHorizontalSplitterWnd::OnLButtonDown),
        OnMessage(WM_MOUSEMOVE, &CHorizontalSplitterWnd::OnMouseMove),
        OnMessage(WM_LBUTTONUP, &CHorizontalSplitterWnd::OnLButtonUp),
        OnMessage(WM_SIZE, &CHorizontalSplitterWnd::OnSize),
        OnMessage(WM_CANCELMODE, &CHorizontalSplitterWnd::OnCancelMode),
        OnMessage(WM_CAPTURECHANGED, &CHorizontalSplitterWnd::OnCaptureChanged),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CHorizontalSplitterWnd::CHorizontalSplitterWnd() = default;

CHorizontalSplitterWnd::~CHorizontalSplitterWnd()
{
    DestroyWindow();
}

int CHorizontalSplitterWnd::BarLeft() const
{
    CRect client;
    GetClientRect(&client);
    const int left = m_collapsed ? 0 : std::max(m_splitPos, 0);
    return std::min(left, client.Width() - m_barWidth);
}

CRect CHorizontalSplitterWnd::GetGripRect() const
{
    CRect client;
    GetClientRect(&client);
    const int gripHeight = m_gripImage.GetHeight();
    const int left = BarLeft();
    const int top = (client.Height() - gripHeight) / 2;
    return {left, top, left + m_barWidth, top + gripHeight};
}

void CHorizontalSplitterWnd::RecalcLayout()
{
    CRect client;
    GetClientRect(&client);
    const int left = BarLeft();
    if (m_firstPane && m_firstPane->IsWindow())
        m_firstPane->MoveWindow(CRect(0, 0, left, client.bottom), true);
    if (m_secondPane && m_secondPane->IsWindow())
        m_secondPane->MoveWindow(CRect(left + m_barWidth, 0, client.right, client.bottom), true);
}

bool CHorizontalSplitterWnd::OnCmdMsg(UINT id, UINT code)
{
    if (m_firstPane && m_firstPane->IsWindow() && m_firstPane->OnCmdMsg(id, code))
        return true;
    if (m_secondPane && m_secondPane->IsWindow() && m_secondPane->OnCmdMsg(id, code))
        return true;
    return CWnd::OnCmdMsg(id, code);
}

LRESULT CHorizontalSplitterWnd::OnCreate(WPARAM, LPARAM)
{
    // The drag bar is made once, shown and hidden again, so a drag only has to move it.
    if (m_dragBar.Create(this, DragBarWidth))
    {
        m_dragBar.MoveTo(100);
        m_dragBar.ShowWindow(SW_SHOW);
        SetFocus();
        m_dragBar.ShowWindow(SW_HIDE);
    }
    if (m_gripImage.LoadFromResource(GripImageId) && m_gripImage.HasImage())
    {
        Gdiplus::Color corner;
        if (m_gripImage.GetBitmap()->GetPixel(0, 0, &corner) == Gdiplus::Ok)
            m_barColor = corner;
        m_barWidth = m_gripImage.GetWidth() / 2;
    }
    RecalcLayout();
    return 0;
}

LRESULT CHorizontalSplitterWnd::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    Gdiplus::Graphics graphics(&dc);
    const Gdiplus::SolidBrush background{Gdiplus::Color(Teal)};
    graphics.FillRectangle(&background, 0, 0, client.Width(), client.Height());
    const Gdiplus::SolidBrush bar(m_barColor);
    graphics.FillRectangle(&bar, BarLeft(), 0, m_barWidth, client.Height());
    const CRect grip = GetGripRect();
    const int sourceX = m_collapsed ? m_barWidth : 0;
    m_gripImage.DrawStretched(graphics, grip,
                              CRect(sourceX, 0, sourceX + m_barWidth, m_gripImage.GetHeight()));
    return 0;
}

LRESULT CHorizontalSplitterWnd::OnLButtonDown(WPARAM, LPARAM lParam)
{
    const CPoint point = PointOf(lParam);
    const CRect grip = GetGripRect();
    if (grip.PtInRect(point))
    {
        m_dragOffset = point.x - grip.left;
        m_dragBar.MoveTo(grip.left);
        m_dragBar.ShowWindow(SW_SHOW);
        SetFocus();
        SetCapture();
        m_dragging = true;
        m_pressPoint = point;
    }
    return Default();
}

LRESULT CHorizontalSplitterWnd::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (m_dragging)
        m_dragBar.MoveTo(PointOf(lParam).x - m_dragOffset);
    return Default();
}

LRESULT CHorizontalSplitterWnd::OnLButtonUp(WPARAM, LPARAM lParam)
{
    if (!m_dragging)
        return Default();
    const CPoint point = PointOf(lParam);
    ReleaseCapture();
    EndDrag();

    const int dropped = point.x - m_dragOffset;
    const bool clicked = point == m_pressPoint;
    const bool droppedAtLeftEdge = dropped <= 0;
    const bool nudgedFromLeftEdge = m_pressPoint.x - m_dragOffset == 0 && point.x - m_pressPoint.x <= 2;
    if (clicked || droppedAtLeftEdge || nudgedFromLeftEdge)
    {
        m_splitPos = std::max(m_splitPos, MinimumExpandedPosition);
        m_collapsed = !m_collapsed;
    }
    else
    {
        m_splitPos = dropped;
        m_collapsed = false;
    }
    RecalcLayout();
    Invalidate(true);
    return Default();
}

LRESULT CHorizontalSplitterWnd::OnSize(WPARAM, LPARAM)
{
    Default();
    RecalcLayout();
    return 0;
}

LRESULT CHorizontalSplitterWnd::OnCancelMode(WPARAM, LPARAM)
{
    Default();
    EndDrag();
    return 0;
}

LRESULT CHorizontalSplitterWnd::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    if (reinterpret_cast<CWnd*>(lParam) != this)
        EndDrag();
    return Default();
}

void CHorizontalSplitterWnd::EndDrag()
{
    m_dragging = false;
    if (m_dragBar.IsWindow())
        m_dragBar.ShowWindow(SW_HIDE);
}
