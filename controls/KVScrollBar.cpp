#include "controls/KVScrollBar.h"

#include "platform/ui/PaintDC.h"
#include "platform/ui/WndClass.h"

#include <algorithm>

namespace
{
constexpr UINT UpImage = 295;
constexpr UINT DownImage = 291;
constexpr UINT ThumbImage = 293;
constexpr DWORD ArrowStyle = 6;

QString& ScrollBarClassName()
{
    static QString name;
    return name;
}
} // namespace

const MessageMap* CKVScrollBar::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_CREATE, &CKVScrollBar::OnCreate),
        OnMessage(WM_PAINT, &CKVScrollBar::OnPaint),
        OnMessage(WM_SIZE, &CKVScrollBar::OnSize),
        OnMessage(WM_LBUTTONDOWN, &CKVScrollBar::OnLButtonDown),
        OnMessage(WM_MOUSEMOVE, &CKVScrollBar::OnMouseMove),
        OnMessage(WM_LBUTTONUP, &CKVScrollBar::OnLButtonUp),
        OnCommand(UpButtonId, &CKVScrollBar::OnLineUp),
        OnCommand(DownButtonId, &CKVScrollBar::OnLineDown),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

bool CKVScrollBar::Create(const CRect& rect, CWnd* parent)
{
    if (ScrollBarClassName().isEmpty())
        ScrollBarClassName() = AfxRegisterWndClass(0);
    if (!CWnd::Create(ScrollBarClassName(), QString(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent,
                      ControlId))
        return false;
    const CRect tiny(0, 0, 1, 1);
    m_upButton.Create(UpImage, 0, QString(), ArrowStyle, tiny, this, UpButtonId, nullptr, 0xC0C0C0);
    m_downButton.Create(DownImage, 0, QString(), ArrowStyle, tiny, this, DownButtonId, nullptr, 0xC0C0C0);
    m_thumbImage.LoadFromResource(ThumbImage);
    m_notifyMessage = ControlId;
    m_notifyWParam = int(ControlId);
    m_notifyWnd = parent;
    // The buttons were made after the first WM_SIZE; place them now.
    CRect client;
    GetClientRect(&client);
    OnSize(0, MAKELPARAM(client.Width(), client.Height()));
    return true;
}

int CKVScrollBar::Clamped(int value) const
{
    const int upper = m_max - std::max(m_page - 1, 0);
    if (upper < m_min)
        return m_min;
    return std::clamp(value, m_min, upper);
}

void CKVScrollBar::ClampPos(int value)
{
    m_pos = Clamped(value);
}

void CKVScrollBar::SetPos(int value)
{
    const int pos = Clamped(value);
    if (pos == m_pos)
        return;
    m_pos = pos;
    Invalidate();
    UpdateWindow();
    if (m_notifyWnd)
        m_notifyWnd->SendMessage(m_notifyMessage, WPARAM(m_notifyWParam), 0);
}

CRect CKVScrollBar::GetTrackRect() const
{
    CRect rect;
    GetClientRect(&rect);
    rect.left += 1;
    rect.right -= 1;
    rect.top += m_upButton.GetImageSize().cy + 2;
    rect.bottom -= m_downButton.GetImageSize().cy + 2;
    return rect;
}

CRect CKVScrollBar::GetThumbRect() const
{
    const CRect track = GetTrackRect();
    const double range = double(m_max) - m_min + 1;
    const int height = range > 0 ? int(double(track.Height()) * m_page / range) : track.Height();
    const double span = double(m_max) - std::max(m_page - 1, 0);
    const int top = track.top + (span != 0 ? int(double(track.Height() - height) * m_pos / span) : 0);
    return {track.left, top, track.right, top + height};
}

LRESULT CKVScrollBar::OnCreate(WPARAM, LPARAM)
{
    Default();
    return 0;
}

LRESULT CKVScrollBar::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, m_background);
    if (m_thumbImage.HasImage())
    {
        const CRect thumb = GetThumbRect();
        Gdiplus::Graphics graphics(&dc);
        m_thumbImage.DrawStretched(
            graphics, CRect(thumb.left, thumb.top, thumb.left + m_thumbImage.GetWidth(), thumb.bottom),
            CRect(0, 0, m_thumbImage.GetWidth(), m_thumbImage.GetHeight() / 4));
    }
    return 0;
}

LRESULT CKVScrollBar::OnSize(WPARAM, LPARAM lParam)
{
    Default();
    const int height = HIWORD(lParam);
    if (m_upButton.IsWindow())
    {
        const CSize size = m_upButton.GetPreferredSize();
        m_upButton.MoveWindow(1, 1, size.cx, size.cy);
    }
    if (m_downButton.IsWindow())
    {
        const CSize size = m_downButton.GetPreferredSize();
        m_downButton.MoveWindow(1, height - size.cy - 1, size.cx, size.cy);
    }
    return 0;
}

LRESULT CKVScrollBar::OnLButtonDown(WPARAM, LPARAM lParam)
{
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const CRect track = GetTrackRect();
    CRect thumb = GetThumbRect();
    if (thumb.PtInRect(point))
    {
        SetCapture();
        m_dragX = point.x;
        m_dragY = point.y;
        m_dragPos = m_pos;
    }
    if (point.x >= thumb.left && point.x < thumb.right && point.y >= track.top && point.y < thumb.top)
        SetPos(m_pos - m_page);
    thumb = GetThumbRect();
    if (point.x >= thumb.left && point.x < thumb.right && point.y >= thumb.bottom && point.y < track.bottom)
        SetPos(m_pos + m_page);
    Default();
    return 0;
}

LRESULT CKVScrollBar::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (GetCapture() != this)
        return 0;
    const CRect track = GetTrackRect();
    const int free = std::max(track.Height() - GetThumbRect().Height(), 0);
    if (free == 0)
        return 0;
    const int y = GET_Y_LPARAM(lParam);
    const double span = double(m_max) - m_min - std::max(m_page - 1, 0) + 1;
    SetPos(int(double(y - m_dragY) * (span / free) + m_dragPos));
    return 0;
}

LRESULT CKVScrollBar::OnLButtonUp(WPARAM, LPARAM)
{
    if (GetCapture() == this)
        ReleaseCapture();
    return 0;
}

LRESULT CKVScrollBar::OnLineUp(WPARAM, LPARAM)
{
    SetPos(m_pos - 1);
    return 0;
}

LRESULT CKVScrollBar::OnLineDown(WPARAM, LPARAM)
{
    SetPos(m_pos + 1);
    return 0;
}
