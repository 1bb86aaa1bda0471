#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/PageStyleBase.h"
#include "dialogs/SidesBlock.h"
#include "dialogs/StyleControls.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"

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
    bool OnCmdMsg(UINT id, UINT code) override;

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

    void LoadSpacing(Spacing& spacing);
    void StoreSpacing(Spacing& spacing);
    void ApplySpacingMode(Spacing& spacing, bool focusValue);
    void AddFieldGroups();

    CComboBox m_horizontal;
    CComboBox m_vertical;
    CNumberEditCtrl m_indent;
    CComboBox m_indentUnit;
    CLengthBinding m_indentLength;
    Spacing m_letters;
    Spacing m_lines;
    CSidesBlock m_margins;
    CSidesBlock m_padding;
};
