#include "dialogs/ColorBoxCtrl.h"

#include "dialogs/ColorPainting.h"
#include "dialogs/DlgFastColorPicker.h"
#include "ndb/NdbHsv.h"
#include "ndb/NdbPalette.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/WndClass.h"

using namespace ndb;

namespace
{
constexpr quint32 WindowTextId = 10002;
constexpr COLORREF Black = 0x000000;
constexpr COLORREF DisabledFrame = 0x808080;
constexpr COLORREF NoColorLight = 0xC0C0C0;
constexpr COLORREF NoColorDark = 0x808080;

COLORREF Shade(const CNdbRgba& rgba, double saturationChange, double valueChange)
{
    const CNdbHsv hsv(rgba);
    return ColorRefOf(CNdbRgba(CNdbHsv(hsv.hue, hsv.saturation + saturationChange, hsv.value + valueChange)));
}
} // namespace

const MessageMap* CColorBoxCtrl::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CColorBoxCtrl::OnPaint),
        OnMessage(WM_LBUTTONDOWN, &CColorBoxCtrl::OnLButtonDown),
        OnMessage(WM_ENABLE, &CColorBoxCtrl::OnEnable),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CColorBoxCtrl::CColorBoxCtrl(CNdbPalette* palette) : m_palette(palette) {}

CColorBoxCtrl::~CColorBoxCtrl()
{
    DestroyWindow();
}

bool CColorBoxCtrl::CreateFromPlaceholder(CWnd* placeholder, int flags)
{
    CWnd* parent = placeholder ? placeholder->GetParent() : nullptr;
    if (!parent)
        return false;
    CRect rect;
    placeholder->GetWindowRect(&rect);
    parent->ScreenToClient(&rect);
    rect.right = rect.left + rect.Height();
    m_flags = flags;
    return CreateEx(0, AfxRegisterWndClass(0), LoadAppString(WindowTextId), WS_CHILD | WS_VISIBLE, rect,
                    parent, placeholder->GetDlgCtrlID());
}

void SetColorBoxColor(const CNdbColor& color, CColorBoxCtrl* box)
{
    const bool unresolvable = color.GetKind() == NdbColorPalette && box->m_palette &&
                              !box->m_palette->FindColorByKey(color.GetKey());
    box->m_color = unresolvable ? CNdbColor(255, 255, 255) : color;
}

LRESULT CColorBoxCtrl::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.SaveDC();
    const COLORREF frame = IsWindowEnabled() ? Black : DisabledFrame;
    dc.Draw3dRect(rect, frame, frame);
    rect.DeflateRect(1, 1);
    switch (m_color.GetKind())
    {
    case NdbColorNone:
        dc.Draw3dRect(rect, NoColorLight, NoColorDark);
        rect.DeflateRect(1, 1);
        DrawNoColorChecker(dc, rect);
        break;
    case NdbColorFixed:
        DrawShadedFill(dc, rect, m_color);
        break;
    case NdbColorPalette:
    {
        CNdbColor shown = m_palette ? m_palette->ResolveColor(m_color) : CNdbColor();
        if (shown.GetKind() != NdbColorFixed)
            shown = CNdbColor(255, 255, 255);
        DrawShadedFill(dc, rect, shown);
        DrawPaletteNumber(dc, rect, shown);
        break;
    }
    default:
        break;
    }
    dc.RestoreDC(-1);
    return 0;
}

void CColorBoxCtrl::DrawShadedFill(CDC& dc, CRect rect, const CNdbColor& color)
{
    dc.Draw3dRect(rect, Shade(color.GetRgba(), -0.2, 0.4), Shade(color.GetRgba(), 0, -0.3));
    rect.DeflateRect(1, 1);
    dc.FillSolidRect(rect, ColorRefOf(color.GetRgba()));
}

void CColorBoxCtrl::DrawPaletteNumber(CDC& dc, const CRect& rect, const CNdbColor& shown)
{
    const int index = m_palette ? m_palette->IndexOfKey(m_color.GetKey()) : -1;
    if (index == -1)
        return;
    const CNdbRgba& rgba = shown.GetRgba();
    dc.SetTextColor((rgba.red + rgba.green + rgba.blue) / 3 > 128 ? Black : 0xFFFFFF);
    dc.SetBkMode(TRANSPARENT);
    const CRect textRect(rect.left + 1, rect.top, rect.right, rect.bottom);
    m_font.DrawTextCentered(&dc, textRect, QString::number(index + 1),
                            DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT CColorBoxCtrl::OnLButtonDown(WPARAM, LPARAM lParam)
{
    CRect rect;
    GetClientRect(&rect);
    if (!IsWindowEnabled() || !rect.PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
        return 0;
    GetWindowRect(&rect);
    CDlgFastColorPicker popup(this);
    if (popup.PopupAt(m_flags, m_palette, CPoint(rect.left, rect.bottom), m_color, &rect) != IDOK)
        return 0;
    m_color = popup.GetColor();
    Invalidate();
    if (CWnd* parent = GetParent())
        parent->SendMessage(UM_COLORBOX_CHANGED, GetDlgCtrlID(), 0);
    return 0;
}

LRESULT CColorBoxCtrl::OnEnable(WPARAM, LPARAM)
{
    Default();
    Invalidate();
    return 0;
}
