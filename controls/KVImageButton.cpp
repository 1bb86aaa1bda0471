#include "controls/KVImageButton.h"

#include "platform/ui/KeyboardRepeat.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/SystemParameters.h"
#include "platform/ui/WndClass.h"

namespace
{
QString& ButtonClassName()
{
    static QString name;
    return name;
}

constexpr UINT TextFormat = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
} // namespace

const MessageMap* CKVImageButton::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CKVImageButton::OnPaint),
        OnMessage(WM_LBUTTONDOWN, &CKVImageButton::OnLButtonDown),
        OnMessage(WM_LBUTTONUP, &CKVImageButton::OnLButtonUp),
        OnMessage(WM_MOUSEMOVE, &CKVImageButton::OnMouseMove),
        OnMessage(WM_TIMER, &CKVImageButton::OnTimer),
        OnMessage(WM_GETDLGCODE, &CKVImageButton::OnGetDlgCode),
        OnMessage(BM_SETCHECK, &CKVImageButton::OnSetCheck),
        OnMessage(WM_CANCELMODE, &CKVImageButton::OnCancelMode),
        OnMessage(WM_ENABLE, &CKVImageButton::OnEnable),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CKVImageButton::CKVImageButton() = default;

CKVImageButton::CKVImageButton(UINT stateImageId, CWnd* parent, UINT id)
{
    Create(stateImageId, 0, QString(), 0x0001, CRect(0, 0, 1, 1), parent, id, nullptr, 0xC0C0C0);
}

CKVImageButton::~CKVImageButton()
{
    DestroyWindow();
}

bool CKVImageButton::Create(UINT stateImageId, UINT iconImageId, const QString& text, DWORD style,
                            const CRect& rect, CWnd* parent, UINT id, CWnd* notifyWnd, COLORREF background)
{
    if (ButtonClassName().isEmpty())
        ButtonClassName() = AfxRegisterWndClass(0);
    if (stateImageId != 0)
        m_stateImage.LoadFromResource(stateImageId);
    if (iconImageId != 0)
        m_iconImage.LoadFromResource(iconImageId);
    if (!CWnd::Create(ButtonClassName(), QString(), WS_CHILD | WS_VISIBLE, rect, parent, id))
        return false;
    if (!text.isEmpty())
        m_font = std::make_unique<CKVSystemFont>(0, 0);
    m_text = text;
    m_style = style;
    m_parent = parent;
    m_id = id;
    m_notifyWnd = notifyWnd ? notifyWnd : parent;
    m_background = background;
    return true;
}

CSize CKVImageButton::GetImageSize() const
{
    return {m_stateImage.GetWidth(), m_stateImage.GetHeight() / 4};
}

CSize CKVImageButton::GetPreferredSize()
{
    if (m_text.isEmpty() || !m_font)
        return GetImageSize();
    const int width = m_iconImage.GetWidth() + m_font->GetTextExtent(m_text).cx + m_stateImage.GetWidth() / 4;
    return {width, m_stateImage.GetHeight() / 4};
}

int CKVImageButton::ComputeState() const
{
    if (!IsWindowEnabled())
        return 3;
    if (m_hover)
        return 1;
    return m_pressed ? 2 : 0;
}

void CKVImageButton::UpdateState()
{
    const int state = ComputeState();
    if (state == m_state)
        return;
    m_state = state;
    Invalidate(true);
    UpdateWindow();
}

void CKVImageButton::SendCommand()
{
    if (m_notifyWnd)
        m_notifyWnd->SendMessage(WM_COMMAND, MAKEWPARAM(m_id, 0), 0);
}

LRESULT CKVImageButton::OnPaint(WPARAM, LPARAM)
{
    m_state = ComputeState();
    const int frame = m_state;
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int saved = dc.SaveDC();
    if (m_style & StyleFillBackground)
        dc.FillSolidRect(client, m_background);
    {
        Gdiplus::Graphics graphics(&dc);
        DrawFace(graphics, frame, client.Width());
        if (m_iconImage.HasImage())
        {
            const int iw = m_iconImage.GetWidth();
            const int ih = m_iconImage.GetHeight();
            const int top = ih * frame / 4;
            m_iconImage.DrawStretched(graphics, CRect(0, 0, iw, ih / 4), CRect(0, top, iw, top + ih / 4));
        }
    }
    if (m_font && !m_text.isEmpty())
    {
        CRect textRect = client;
        textRect.left += m_iconImage.GetWidth();
        textRect.OffsetRect(m_textOffset.x, m_textOffset.y);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(m_textColors[frame]);
        m_font->DrawTextCentered(&dc, textRect, m_text,
                                 TextFormat | ((m_style & StyleCenterText) ? DT_CENTER : 0));
    }
    if (m_style & StyleSwatch)
    {
        Gdiplus::Graphics graphics(&dc);
        Gdiplus::Color color;
        color.SetFromCOLORREF(m_swatchColor);
        const Gdiplus::SolidBrush brush(color);
        graphics.FillRectangle(&brush, Gdiplus::RectF(Gdiplus::REAL(m_swatchRect.left),
                                                      Gdiplus::REAL(m_swatchRect.top),
                                                      Gdiplus::REAL(m_swatchRect.Width()),
                                                      Gdiplus::REAL(m_swatchRect.Height())));
    }
    dc.RestoreDC(saved);
    return 0;
}

void CKVImageButton::DrawFace(Gdiplus::Graphics& graphics, int frame, int clientWidth)
{
    const int w = m_stateImage.GetWidth();
    const int fh = m_stateImage.GetHeight() / 4;
    const int y0 = fh * frame;
    if (m_style & StyleThreeSlice)
    {
        const int half = w / 2;
        m_stateImage.DrawStretched(graphics, CRect(0, 0, half, fh), CRect(0, y0, half, y0 + fh));
        for (int x = half; x <= half + clientWidth - w; ++x)
            m_stateImage.DrawStretched(graphics, CRect(x, 0, x + 1, fh), CRect(half, y0, half + 1, y0 + fh));
        m_stateImage.DrawStretched(graphics, CRect(clientWidth - half, 0, clientWidth, fh),
                                   CRect(w - half, y0, w, y0 + fh));
        return;
    }
    m_stateImage.DrawStretched(graphics, CRect(0, 0, w, fh), CRect(0, y0, w, y0 + fh));
    if (m_style & StyleRepeatLastColumn)
    {
        for (int x = w; x < clientWidth; ++x)
            m_stateImage.DrawStretched(graphics, CRect(x, 0, x + 1, fh), CRect(w - 1, y0, w, y0 + fh));
    }
}

LRESULT CKVImageButton::OnLButtonDown(WPARAM, LPARAM)
{
    if (!IsWindowEnabled())
        return 0;
    SetCapture();
    m_tracking = true;
    m_pressed = true;
    m_hover = false;
    UpdateState();
    if ((m_style & StyleAutoRepeat) && m_notifyWnd)
    {
        SendCommand();
        SetTimer(RepeatTimer, UINT(CurrentRepeatDelayMs()));
    }
    return Default();
}

LRESULT CKVImageButton::OnLButtonUp(WPARAM, LPARAM lParam)
{
    if (!m_tracking)
        return Default();
    m_pressed = false;
    m_tracking = false;
    ReleaseCapture();
    UpdateState();
    if (m_style & StyleAutoRepeat)
    {
        KillTimer(RepeatTimer);
    }
    else
    {
        CRect client;
        GetClientRect(&client);
        if (client.PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
            SendCommand();
    }
    return Default();
}

LRESULT CKVImageButton::OnMouseMove(WPARAM, LPARAM lParam)
{
    CRect client;
    GetClientRect(&client);
    const bool inside = client.PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    if (m_tracking)
    {
        m_pressed = inside;
    }
    else
    {
        m_hover = inside;
        if (inside)
            SetTimer(HoverTimer, 50);
    }
    UpdateState();
    return 0;
}

LRESULT CKVImageButton::OnTimer(WPARAM timerId, LPARAM)
{
    if (timerId == HoverTimer)
    {
        // Catches the pointer leaving without a further mouse message.
        CPoint cursor;
        GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        CRect client;
        GetClientRect(&client);
        const bool inside = client.PtInRect(cursor);
        if (!inside)
        {
            m_hover = false;
            m_pressed = false;
            UpdateState();
        }
        if (m_tracking || !inside)
        {
            m_hover = false;
            KillTimer(HoverTimer);
        }
    }
    else if (timerId == RepeatTimer)
    {
        SendCommand();
        KillTimer(RepeatTimer);
        SetTimer(RepeatTimer, UINT(CurrentRepeatIntervalMs()));
    }
    return 0;
}

LRESULT CKVImageButton::OnGetDlgCode(WPARAM, LPARAM)
{
    return DLGC_BUTTON;
}

LRESULT CKVImageButton::OnSetCheck(WPARAM check, LPARAM)
{
    if (GetCapture() == this)
        return 0;
    m_pressed = check == BST_CHECKED;
    UpdateState();
    return 0;
}

LRESULT CKVImageButton::OnCancelMode(WPARAM, LPARAM)
{
    Default();
    m_pressed = false;
    m_tracking = false;
    KillTimer(RepeatTimer);
    if (GetCapture() == this)
        ReleaseCapture();
    UpdateState();
    return 0;
}

LRESULT CKVImageButton::OnEnable(WPARAM, LPARAM)
{
    Default();
    Invalidate(true);
    UpdateWindow();
    return 0;
}
