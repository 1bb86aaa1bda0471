#pragma once

#include "controls/KVImageButton.h"
#include "controls/KVSystemFont.h"
#include "dialogs/ColorGridCell.h"
#include "dialogs/PaletteListbox.h"
#include "ndb/NdbColor.h"
#include "platform/ui/Dialog.h"

#include <vector>

namespace ndb
{
class CNdbPalette;
}

// Flags of the popup colour grid.
constexpr int FCP_NO_NOCOLOR = 0x1; // no "No Color" cell
constexpr int FCP_NO_PALETTE = 0x2; // no list of the palette's colours

constexpr UINT ID_COLORPICKER_PICK = 32884;
constexpr UINT ID_COLORPICKER_MORE = 32886;
constexpr UINT IDC_PALETTE_LIST = 7340;

// The borderless popup in which a colour is picked quickly: the 216 web colours, a column of
// primaries and one of greys, optionally "No Color" and the palette's colours, an eyedropper
// that samples any pixel of the screen, and "More Colors" for the full colour dialog. Hovering
// shows a colour in the header; a click picks it.
class CDlgFastColorPicker : public CDialog
{
public:
    explicit CDlgFastColorPicker(CWnd* parent = nullptr);
    ~CDlgFastColorPicker() override;

    // Runs the popup with its top-left corner at the screen point: 1 when a colour was picked,
    // 2 when cancelled. The popup stays on the screen: where there is no room below the point it
    // opens above the opener's rectangle (above the point without one), and it moves left at the
    // screen's right edge.
    INT_PTR PopupAt(int flags, ndb::CNdbPalette* palette, CPoint point, const ndb::CNdbColor& color,
                    const CRect* opener = nullptr);
    const ndb::CNdbColor& GetColor() const { return m_color; }

    static int PopupHeight(int flags);

protected:
    bool OnInitDialog() override;
    void OnCancel() override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM, LPARAM lParam);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    LRESULT OnRButtonDown(WPARAM, LPARAM);
    LRESULT OnPick(WPARAM, LPARAM);
    LRESULT OnMoreColors(WPARAM, LPARAM);
    LRESULT OnPaletteSelChange(WPARAM, LPARAM);
    LRESULT OnPaletteClick(WPARAM, LPARAM);

private:
    void BuildCells();
    void FillPaletteList();
    void CreateButtons();
    // How far the parts below the grid move up: 22 pixels without the "No Color" cell.
    int LowerOffset() const;
    int CellAt(const CPoint& point) const;
    void SampleScreen(const CPoint& clientPoint);
    void TakeSelectedPaletteColor();
    void PaintColorRect(CDC& dc, CRect rect, const ndb::CNdbColor& color, bool ring, bool frame,
                        bool noOuter);
    void PaintHeader(CDC& dc);
    QString HeaderText() const;

    ndb::CNdbColor m_color;
    ndb::CNdbPalette* m_palette = nullptr;
    int m_flags = 0;
    ndb::CNdbColor m_initialColor;
    int m_hoveredCell = -1;
    CKVSystemFont m_font{-10, 1};
    CPaletteListbox m_paletteList{1};
    CKVImageButton m_closeButton;
    CKVImageButton m_pickButton;
    CKVImageButton m_moreButton;
    CRect m_popupRect;
    std::vector<ColorGridCell> m_cells;
};

// Where a popup of that size opens at a point of the screen's available area: below the point,
// or above openerTop when it does not fit there; moved left to end at the area's right edge, but
// never left of it.
CRect PlacePopup(const CPoint& point, int width, int height, int openerTop, const CRect& area);
