#pragma once

#include "controls/KVSystemFont.h"
#include "platform/ui/ListBox.h"

// The list of a newsletter's palette colours: each row a numbered swatch with the colour's name.
// Rows hold their CNdbPaletteColor (owned by the palette) as item data and are never sorted.
// With hover tracking the row under the pointer becomes the selection at once (sending
// LBN_SELCHANGE), and a press posts WM_COMMAND with notification code 0 to the parent.
class CPaletteListbox : public CListBox
{
public:
    explicit CPaletteListbox(int hoverTracking);
    ~CPaletteListbox() override;

    void MeasureItem(MEASUREITEMSTRUCT* measure) override;
    void DrawItem(DRAWITEMSTRUCT* draw) override;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnMouseMove(WPARAM, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM, LPARAM);

private:
    int m_hoverTracking;
    int m_rowHeight = 24;
    CKVSystemFont m_font{-11, 0};
};
