#pragma once

#include "controls/KVSystemFont.h"
#include "ndb/NdbColor.h"
#include "platform/ui/Wnd.h"

namespace ndb
{
class CNdbPalette;
}

// Sent to the swatch's parent after the user picked a colour in its popup, even the colour it
// already had; wParam is the swatch's control id.
constexpr UINT UM_COLORBOX_CHANGED = WM_USER + 0x700;

// The small square that shows and chooses a colour in the dialogs: none (a grey checker), a
// fixed colour, or a palette colour with its number in the palette. A click opens the popup
// colour grid below it.
class CColorBoxCtrl : public CWnd
{
public:
    // The palette resolves and numbers references; it may be null only for a swatch whose flags
    // hold FCP_NO_PALETTE and which is never given a reference.
    explicit CColorBoxCtrl(ndb::CNdbPalette* palette);
    ~CColorBoxCtrl() override;

    // Takes the place of a dialog's placeholder control, made square; the flags go to the popup.
    bool CreateFromPlaceholder(CWnd* placeholder, int flags);
    // References stay references.
    ndb::CNdbColor GetColor() const { return m_color; }

    friend void SetColorBoxColor(const ndb::CNdbColor& color, CColorBoxCtrl* box);

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM lParam);
    LRESULT OnEnable(WPARAM, LPARAM);

private:
    void DrawShadedFill(CDC& dc, CRect rect, const ndb::CNdbColor& color);
    void DrawPaletteNumber(CDC& dc, const CRect& rect, const ndb::CNdbColor& shown);

    ndb::CNdbPalette* m_palette;
    ndb::CNdbColor m_color{255, 255, 255};
    CKVSystemFont m_font{-10, 1};
    int m_flags = 0;
};

// Stores the colour without repainting; a reference to a key the swatch's palette lacks is
// stored as fixed white.
void SetColorBoxColor(const ndb::CNdbColor& color, CColorBoxCtrl* box);
