#pragma once

#include "controls/NumberEditCtrl.h"
#include "ndb/NdbRgba.h"
#include "platform/ui/Dialog.h"

#include <QImage>

class CDC;

// The full "Color" dialog: a saturation/value field for the current hue, a hue bar, the old and
// new colour, and edits for H, S, V, R, G, B and the hexadecimal form. Dragging in the field or
// the bar and typing in any edit update all other views at once. "Only Web Colors" only changes
// what the field and the bar show, never the colour.
class CDlgColorPicker : public CDialog
{
public:
    explicit CDlgColorPicker(CWnd* parent = nullptr);
    ~CDlgColorPicker() override;

    // The starting colour, set before the dialog runs; the result after IDOK.
    void SetColor(const ndb::CNdbRgba& color) { m_color = color; }
    const ndb::CNdbRgba& GetColor() const { return m_color; }

    // Positions of the cross-hair (saturation left to right, value bottom to top) and of the
    // marker on the hue bar (top to bottom), each 0 to 255.
    int GetFieldX() const { return m_fieldX; }
    int GetFieldY() const { return m_fieldY; }
    int GetBarPosition() const { return m_barPosition; }

    static inline const CRect FieldRect{10, 30, 266, 286};
    static inline const CRect BarRect{290, 30, 320, 286};
    static inline const CRect PreviewRect{440, 30, 480, 70};

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnHsvChange(WPARAM wParam, LPARAM);
    LRESULT OnRgbChange(WPARAM wParam, LPARAM);
    LRESULT OnHexChange(WPARAM wParam, LPARAM);
    LRESULT OnWebColors(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM lParam);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    enum DragState
    {
        NoDrag = 0,
        FieldDrag = 1,
        BarDrag = 2,
    };

    void PlaceControls();
    void PositionsFromColor();
    void ColorFromPositions();
    // Writes the groups of edits (H/S/V, R/G/B, hexadecimal); with skipFocused a group that
    // holds the keyboard focus keeps what the user is typing.
    void WriteEdits(bool skipFocused);
    bool AcceptsTyping(WPARAM command) const;
    void TakeTypedColor(const ndb::CNdbRgba& typed);
    void BuildFieldBitmap();
    void BuildBarBitmap();
    void DragTo(const CPoint& point);
    void DrawField(CDC& dc);

    ndb::CNdbRgba m_color{255, 0, 0, 255};
    ndb::CNdbRgba m_openingColor;
    int m_fieldX = 0;
    int m_fieldY = 0;
    int m_barPosition = 0;
    QImage m_fieldBitmap;
    QImage m_barBitmap;
    int m_dragState = NoDrag;
    CNumberEditCtrl m_editH;
    CNumberEditCtrl m_editS;
    CNumberEditCtrl m_editV;
    CNumberEditCtrl m_editR;
    CNumberEditCtrl m_editG;
    CNumberEditCtrl m_editB;
    CNumberEditCtrl m_editHex;
    int m_onlyWebColors = 0;
    bool m_writingEdits = false;
};
