#pragma once

#include "controls/KVSystemFont.h"
#include "platform/ui/ComboBox.h"

#include <memory>
#include <vector>

// A drop-down list of the installed font families in which the open list draws every name in its
// own font and the closed box draws the chosen name in the system font. The owner creates it with
// CBS_OWNERDRAWVARIABLE and CBS_HASSTRINGS (and CBS_SORT) and calls FillFonts once.
class CKVFontSelectCB : public CComboBox
{
public:
    CKVFontSelectCB();
    ~CKVFontSelectCB() override;

    bool FillFonts();

    void MeasureItem(MEASUREITEMSTRUCT* measure) override;
    void DrawItem(DRAWITEMSTRUCT* draw) override;

    // Set before the box is created.
    int m_itemHeight = 22;
    int m_fieldHeight = 22;
    int m_sampleHeight = 16; // character height of the names in the open list
    COLORREF m_background = 0xFFFFFF;
    COLORREF m_selectedBackground = 0xE0E0E0;
    COLORREF m_fieldBackground = 0xFFFFFF;

private:
    std::vector<std::unique_ptr<CFont>> m_sampleFonts;
    CKVSystemFont m_controlFont{0, 0};
};
