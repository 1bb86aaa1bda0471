#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/PageStyleBase.h"
#include "dialogs/StyleControls.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"

#include <array>

// The Layout page of the style editor: alignment, first-line indent, letter spacing, line height,
// margins and padding.
class CPageStyle2 : public CPageStyleBase
{
public:
    CPageStyle2(IDialogContext* context, ndb::CNdbStyle* style);
    ~CPageStyle2() override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnIndentUnitChange(WPARAM, LPARAM);
    LRESULT OnLetterSpacingMode(WPARAM, LPARAM);
    LRESULT OnLineHeightMode(WPARAM, LPARAM);
    LRESULT OnDefaultMargins(WPARAM, LPARAM);
    LRESULT OnDefaultPadding(WPARAM, LPARAM);

private:
    // A spacing that is "Default", "Normal" (a zero length) or a custom length.
    struct Spacing
    {
        int field;
        CComboBox mode;
        CNumberEditCtrl value;
        CComboBox unit;
        CLengthBinding length;
    };

    // Four sides (top, bottom, left, right) in one unit, or the browser's default.
    struct Sides
    {
        std::array<int, 4> fields;
        CButton useDefault;
        std::array<CNumberEditCtrl, 4> values;
        CComboBox unit;
        std::array<CLengthBinding, 4> lengths;
    };

    void LoadSpacing(Spacing& spacing);
    void StoreSpacing(Spacing& spacing);
    void ApplySpacingMode(Spacing& spacing, bool focusValue);
    void LoadSides(Sides& sides);
    void StoreSides(Sides& sides);
    void ApplySidesDefault(Sides& sides, std::span<const int> labels);
    QString SidesState(Sides& sides);
    void AddFieldGroups();

    CComboBox m_horizontal;
    CComboBox m_vertical;
    CNumberEditCtrl m_indent;
    CComboBox m_indentUnit;
    CLengthBinding m_indentLength;
    Spacing m_letters;
    Spacing m_lines;
    Sides m_margins;
    Sides m_padding;
};
