#include "dialogs/PaletteListbox.h"

#include "dialogs/ColorPainting.h"
#include "ndb/NdbPaletteColor.h"

using namespace ndb;

namespace
{
constexpr COLORREF Selected = 0xC0C0C0;
constexpr COLORREF Unselected = 0xFFFFFF;
constexpr COLORREF RowLine = 0xFFE0E0;
constexpr COLORREF SwatchFrame = 0x404040;
constexpr int MeasuredWidth = 300;
} // namespace

const MessageMap* CPaletteListbox::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_MOUSEMOVE, &CPaletteListbox::OnMouseMove),
        OnMessage(WM_LBUTTONDOWN, &CPaletteListbox::OnLButtonDown),
    };
    static const MessageMap map{CListBox::GetMessageMap(), entries};
    return &map;
}

CPaletteListbox::CPaletteListbox(int hoverTracking) : m_hoverTracking(hoverTracking) {}

CPaletteListbox::~CPaletteListbox()
{
    DestroyWindow();
}

void CPaletteListbox::MeasureItem(MEASUREITEMSTRUCT* measure)
{
    measure->itemWidth = MeasuredWidth;
    measure->itemHeight = UINT(m_rowHeight);
}

void CPaletteListbox::DrawItem(DRAWITEMSTRUCT* draw)
{
    CDC& dc = *draw->pDC;
    const CRect& row = draw->rcItem;
    dc.FillSolidRect(row, (draw->itemState & ODS_SELECTED) ? Selected : Unselected);
    if (draw->itemID < 0)
        return;
    dc.FillSolidRect(CRect(row.left, row.bottom - 1, row.right - 1, row.bottom), RowLine);

    const auto* color = reinterpret_cast<const CNdbPaletteColor*>(draw->itemData);
    const int size = (row.bottom - 3) - (row.top + 2);
    CRect swatch(row.left + 2, row.top + 2, row.left + 2 + size, row.bottom - 3);
    dc.Draw3dRect(swatch, SwatchFrame, SwatchFrame);
    swatch.DeflateRect(1, 1);
    const bool fixed = color && color->GetKind() == NdbColorFixed;
    dc.FillSolidRect(swatch, fixed ? ColorRefOf(color->GetRgba()) : Unselected);

    const QString text =
        QStringLiteral("%1. %2").arg(draw->itemID + 1).arg(color ? color->GetName() : QString());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(0x000000);
    const CRect textRect(row.left + 2 + size + 8, row.top + 2, row.right - 2, row.bottom - 3);
    m_font.DrawTextCentered(&dc, textRect, text, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT CPaletteListbox::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (m_hoverTracking != 1)
        return Default();
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    bool outside = true;
    const int row = ItemFromPoint(point, outside);
    if (!outside && row != GetCurSel())
    {
        SetCurSel(row);
        NotifyParent(LBN_SELCHANGE);
    }
    return Default();
}

LRESULT CPaletteListbox::OnLButtonDown(WPARAM, LPARAM)
{
    if (m_hoverTracking == 1)
    {
        if (CWnd* parent = GetParent())
            parent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), 0);
    }
    return Default();
}
