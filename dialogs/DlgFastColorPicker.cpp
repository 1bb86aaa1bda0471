#include "dialogs/DlgFastColorPicker.h"

#include "dialogs/ColorPainting.h"
#include "dialogs/DlgColorPicker.h"
#include "ndb/NdbPalette.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/ScreenPixel.h"
#include "res/dialogs/FastColorPicker.h"

#include <QGuiApplication>
#include <QScreen>

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_FAST_COLOR_PICKER;
constexpr int PopupWidth = 256;
constexpr int NoColorGap = 22;

constexpr quint32 MoreColorsTextId = 10500;
constexpr quint32 NoColorTextId = 10501;
constexpr quint32 NoColorHeaderId = 10502;

constexpr UINT CloseImageId = 346;
constexpr UINT PickImageId = 214;
constexpr UINT MoreImageId = 217;
constexpr DWORD MoreButtonStyle = 0x108;
constexpr COLORREF ButtonBackground = 0xC0C0C0;

constexpr COLORREF Background = 0xE6E3E1;
constexpr COLORREF Border = 0x4D433E;
constexpr COLORREF Shadow = 0xB2B2B2;
constexpr COLORREF White = 0xFFFFFF;
constexpr COLORREF Black = 0x000000;
constexpr COLORREF PaletteFrame = 0x878787;
constexpr COLORREF CaptionText = 0x202020;

const CRect HeaderStrip(8, 8, 248, 27);
const CRect PreviewBox(8, 8, 50, 22);
const CRect HeaderTextRect(59, 8, 248, 21);
const CRect CloseRect(233, 8, 248, 23);
const CRect NoColorRect(8, 159, 248, 179);
const CRect PickRect(8, 183, 30, 205);
const CRect PaletteFrameRect(8, 221, 248, 498);
constexpr int MoreRight = 248;
constexpr int SeparatorTop = 208;

constexpr quint8 Primaries[6][3] = {{0, 0, 255}, {0, 255, 255}, {255, 0, 255},
                                    {0, 255, 0}, {255, 255, 0}, {255, 0, 0}};

CRect Moved(CRect rect, int up)
{
    rect.OffsetRect(0, -up);
    return rect;
}
} // namespace

const MessageMap* CDlgFastColorPicker::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CDlgFastColorPicker::OnPaint),
        OnMessage(WM_LBUTTONDOWN, &CDlgFastColorPicker::OnLButtonDown),
        OnMessage(WM_MOUSEMOVE, &CDlgFastColorPicker::OnMouseMove),
        OnMessage(WM_CANCELMODE, &CDlgFastColorPicker::OnCancelMode),
        OnMessage(WM_RBUTTONDOWN, &CDlgFastColorPicker::OnRButtonDown),
        OnCommand(ID_COLORPICKER_PICK, &CDlgFastColorPicker::OnPick),
        OnCommand(ID_COLORPICKER_MORE, &CDlgFastColorPicker::OnMoreColors),
        OnControl(LBN_SELCHANGE, IDC_PALETTE_LIST, &CDlgFastColorPicker::OnPaletteSelChange),
        OnControl(0, IDC_PALETTE_LIST, &CDlgFastColorPicker::OnPaletteClick),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgFastColorPicker::CDlgFastColorPicker(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgFastColorPicker::~CDlgFastColorPicker()
{
    DestroyWindow();
}

int CDlgFastColorPicker::PopupHeight(int flags)
{
    return ((flags & FCP_NO_NOCOLOR) ? 193 : 213) + ((flags & FCP_NO_PALETTE) ? 0 : 293);
}

CRect PlacePopup(const CPoint& point, int width, int height, int openerTop, const CRect& area)
{
    int y = point.y;
    if (y + height > area.bottom)
        y = std::max(area.top, openerTop - height);
    int x = point.x;
    if (x + width > area.right)
        x = std::max(area.left, area.right - width);
    return CRect(x, y, x + width, y + height);
}

INT_PTR CDlgFastColorPicker::PopupAt(int flags, CNdbPalette* palette, CPoint point, const CNdbColor& color,
                                     const CRect* opener)
{
    m_flags = flags;
    m_palette = palette;
    m_initialColor = color;
    m_color = color;
    const int height = PopupHeight(flags);
    m_popupRect = CRect(point.x, point.y, point.x + PopupWidth, point.y + height);
    if (const QScreen* screen = QGuiApplication::screenAt(point.ToQPoint()))
    {
        const int openerTop = opener ? opener->top : point.y;
        m_popupRect =
            PlacePopup(point, PopupWidth, height, openerTop, CRect::FromQRect(screen->availableGeometry()));
    }
    return DoModal();
}

bool CDlgFastColorPicker::OnInitDialog()
{
    CDialog::OnInitDialog();
    MoveWindow(m_popupRect);
    BuildCells();
    m_hoveredCell = -1;
    if (m_color.GetKind() == NdbColorFixed)
    {
        // From the end, so that white and black ring in the greys rather than in the web grid.
        for (int i = int(m_cells.size()) - 1; i >= 0; --i)
        {
            if (m_cells[std::size_t(i)].color == m_color)
            {
                m_hoveredCell = i;
                break;
            }
        }
    }
    if (!(m_flags & FCP_NO_PALETTE))
        FillPaletteList();
    CreateButtons();
    return true;
}

void CDlgFastColorPicker::BuildCells()
{
    m_cells.clear();
    for (int e = 0; e < 216; ++e)
    {
        const int x = 52 + (e % 18) * 11;
        const int y = 27 + (e / 18) * 11;
        m_cells.push_back({CRect(x, y, x + 9, y + 9),
                           CNdbColor(quint8(51 * (e / 36)), quint8(51 * ((e / 6) % 6)), quint8(51 * (e % 6))),
                           QString()});
    }
    for (int k = 0; k < 6; ++k)
    {
        const int y = 27 + 22 * k;
        m_cells.push_back({CRect(8, y, 28, y + 20),
                           CNdbColor(Primaries[k][0], Primaries[k][1], Primaries[k][2]), QString()});
    }
    for (int k = 0; k < 6; ++k)
    {
        const int y = 27 + 22 * k;
        const auto grey = quint8(51 * k);
        m_cells.push_back({CRect(30, y, 50, y + 20), CNdbColor(grey, grey, grey), QString()});
    }
    if (!(m_flags & FCP_NO_NOCOLOR))
        m_cells.push_back({NoColorRect, CNdbColor(), LoadAppString(NoColorTextId)});
}

void CDlgFastColorPicker::FillPaletteList()
{
    CRect rect = Moved(PaletteFrameRect, LowerOffset());
    rect.DeflateRect(1, 1);
    m_paletteList.CreateEx(0, QStringLiteral("listbox"), QString(),
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS |
                               LBS_OWNERDRAWVARIABLE | LBS_NOTIFY,
                           rect, this, IDC_PALETTE_LIST);
    if (!m_palette)
        return;
    for (int i = 0; i < m_palette->GetColorCount(); ++i)
    {
        CNdbPaletteColor* color = m_palette->GetColorAt(i);
        const int row = m_paletteList.AddString(color->GetName());
        m_paletteList.SetItemData(row, UINT_PTR(color));
        // The last equal entry stays selected.
        if (m_color.GetKind() == NdbColorFixed && color->GetKind() == NdbColorFixed &&
            color->GetRgba() == m_color.GetRgba())
            m_paletteList.SetCurSel(row);
    }
}

void CDlgFastColorPicker::CreateButtons()
{
    const int up = LowerOffset();
    m_closeButton.Create(CloseImageId, 0, QString(), 0, CloseRect, this, IDCANCEL, nullptr, ButtonBackground);
    m_pickButton.Create(PickImageId, 0, QString(), 0, Moved(PickRect, up), this, ID_COLORPICKER_PICK, nullptr,
                        ButtonBackground);
    const CRect moreRect = Moved(CRect(MoreRight - 1, 183, MoreRight, 205), up);
    m_moreButton.Create(MoreImageId, 0, LoadAppString(MoreColorsTextId), MoreButtonStyle, moreRect, this,
                        ID_COLORPICKER_MORE, nullptr, ButtonBackground);
    const int width = m_moreButton.GetPreferredSize().cx + 20;
    m_moreButton.MoveWindow(MoreRight - width, moreRect.top, width, moreRect.Height());
}

int CDlgFastColorPicker::LowerOffset() const
{
    return (m_flags & FCP_NO_NOCOLOR) ? NoColorGap : 0;
}

int CDlgFastColorPicker::CellAt(const CPoint& point) const
{
    for (std::size_t i = 0; i < m_cells.size(); ++i)
    {
        if (m_cells[i].rect.PtInRect(point))
            return int(i);
    }
    return -1;
}

LRESULT CDlgFastColorPicker::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, Background);
    dc.Draw3dRect(client, Border, Border);
    client.DeflateRect(1, 1);
    dc.Draw3dRect(client, White, Shadow);
    if (!(m_flags & FCP_NO_PALETTE))
    {
        const int up = LowerOffset();
        dc.Draw3dRect(Moved(PaletteFrameRect, up), PaletteFrame, PaletteFrame);
        const int width = client.Width() + 2;
        dc.FillSolidRect(CRect(1, SeparatorTop - up, width - 2, SeparatorTop - up + 1), Shadow);
        dc.FillSolidRect(CRect(1, SeparatorTop + 1 - up, width - 2, SeparatorTop + 2 - up), White);
    }
    PaintHeader(dc);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(CaptionText);
    for (std::size_t i = 0; i < m_cells.size(); ++i)
    {
        const ColorGridCell& cell = m_cells[i];
        PaintColorRect(dc, cell.rect, cell.color, int(i) == m_hoveredCell, true, false);
        if (!cell.caption.isEmpty())
        {
            const CRect text(cell.rect.left + 4, cell.rect.top, cell.rect.right, cell.rect.bottom);
            m_font.DrawTextCentered(&dc, text, cell.caption, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }
    return 0;
}

void CDlgFastColorPicker::PaintColorRect(CDC& dc, CRect rect, const CNdbColor& color, bool ring, bool frame,
                                         bool noOuter)
{
    if (!noOuter)
    {
        CRect outer = rect;
        outer.InflateRect(1, 1);
        dc.FillSolidRect(outer, ring ? Black : Background);
    }
    if (frame)
    {
        dc.FillSolidRect(rect, Black);
        rect.DeflateRect(1, 1);
    }
    if (color.GetKind() == NdbColorNone)
    {
        DrawNoColorChecker(dc, rect);
        return;
    }
    const CNdbColor shown = m_palette ? m_palette->ResolveColor(color) : color;
    dc.FillSolidRect(rect, shown.GetKind() == NdbColorFixed ? ColorRefOf(shown.GetRgba()) : White);
}

void CDlgFastColorPicker::PaintHeader(CDC& dc)
{
    dc.FillSolidRect(HeaderStrip, Background);
    dc.Draw3dRect(PreviewBox, Black, Black);
    PaintColorRect(dc, CRect(9, 9, 29, 21), m_initialColor, false, false, true);
    PaintColorRect(dc, CRect(29, 9, 49, 21), m_color, false, false, true);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(Border);
    m_font.DrawTextCentered(&dc, HeaderTextRect, HeaderText(), DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

QString CDlgFastColorPicker::HeaderText() const
{
    const auto hex = [](const CNdbRgba& c) { return QLatin1Char('#') + RgbHexText(c); };
    switch (m_color.GetKind())
    {
    case NdbColorNone:
        return LoadAppString(NoColorHeaderId);
    case NdbColorFixed:
        return hex(m_color.GetRgba());
    case NdbColorPalette:
        if (const CNdbPaletteColor* entry = m_palette ? m_palette->FindColorByKey(m_color.GetKey()) : nullptr)
            return QStringLiteral("%1 (%2)").arg(entry->GetName(), hex(entry->GetRgba()));
        return QString();
    default:
        return QString();
    }
}

LRESULT CDlgFastColorPicker::OnMouseMove(WPARAM, LPARAM lParam)
{
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (GetCapture() == this)
    {
        SampleScreen(point);
        Invalidate();
        return 0;
    }
    const int cell = CellAt(point);
    if (cell < 0)
        return 0;
    m_color = m_cells[std::size_t(cell)].color;
    m_hoveredCell = cell;
    Invalidate();
    return 0;
}

LRESULT CDlgFastColorPicker::OnLButtonDown(WPARAM, LPARAM lParam)
{
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (GetCapture() == this)
    {
        ReleaseCapture();
        SampleScreen(point);
        EndDialog(IDOK);
        return 0;
    }
    const int cell = CellAt(point);
    if (cell >= 0)
    {
        m_color = m_cells[std::size_t(cell)].color;
        EndDialog(IDOK);
    }
    return 0;
}

void CDlgFastColorPicker::SampleScreen(const CPoint& clientPoint)
{
    CPoint point = clientPoint;
    ClientToScreen(&point);
    COLORREF pixel = 0;
    if (GetScreenPixel(point, &pixel))
        m_color = CNdbColor(quint8(GetRValue(pixel)), quint8(GetGValue(pixel)), quint8(GetBValue(pixel)));
    // Only a sampled (fixed) colour is matched: the default bytes of "no colour" are no pixel.
    if (!m_palette || (m_flags & FCP_NO_PALETTE) || m_color.GetKind() != NdbColorFixed)
        return;
    for (int i = 0; i < m_palette->GetColorCount(); ++i)
    {
        const CNdbPaletteColor* entry = m_palette->GetColorAt(i);
        if (entry->GetRgba() == m_color.GetRgba())
        {
            m_color = CNdbColor(entry->GetKey());
            return;
        }
    }
}

LRESULT CDlgFastColorPicker::OnCancelMode(WPARAM, LPARAM)
{
    Default();
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT CDlgFastColorPicker::OnRButtonDown(WPARAM, LPARAM)
{
    OnCancel();
    return 0;
}

void CDlgFastColorPicker::OnCancel()
{
    if (GetCapture() == this)
        ReleaseCapture();
    CDialog::OnCancel();
}

LRESULT CDlgFastColorPicker::OnPick(WPARAM, LPARAM)
{
    SetCapture();
    SetCursor(LoadCursorResource(QStringLiteral("IDC_PICKER")));
    return 0;
}

LRESULT CDlgFastColorPicker::OnMoreColors(WPARAM, LPARAM)
{
    const CNdbColor start = m_palette ? m_palette->ResolveColor(m_initialColor) : m_initialColor;
    CDlgColorPicker dialog(this);
    dialog.SetColor(start.GetKind() == NdbColorNone ? CNdbRgba(0, 0, 0, 255) : start.GetRgba());
    const INT_PTR result = dialog.DoModal();
    if (result == IDOK)
        m_color = CNdbColor(dialog.GetColor());
    EndDialog(int(result));
    return 0;
}

void CDlgFastColorPicker::TakeSelectedPaletteColor()
{
    const auto* entry =
        reinterpret_cast<const CNdbPaletteColor*>(m_paletteList.GetItemData(m_paletteList.GetCurSel()));
    if (entry)
        m_color = CNdbColor(entry->GetKey());
}

LRESULT CDlgFastColorPicker::OnPaletteSelChange(WPARAM, LPARAM)
{
    if (m_paletteList.GetCurSel() < 0)
        return 0;
    TakeSelectedPaletteColor();
    m_hoveredCell = -1;
    Invalidate();
    return 0;
}

LRESULT CDlgFastColorPicker::OnPaletteClick(WPARAM, LPARAM)
{
    if (m_paletteList.GetCurSel() < 0)
        return 0;
    TakeSelectedPaletteColor();
    EndDialog(IDOK);
    return 0;
}
