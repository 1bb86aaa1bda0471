#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/PageHtmlBoxBase.h"
#include "dialogs/StyleControls.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"

#include <array>

// The Type & Size page of the box sheet: in line with the text (wrapping, new line) or free
// floating (offsets, z-index), the width and height, and the overflow.
class CPageHtmlBox1 : public CPageHtmlBoxBase
{
public:
    explicit CPageHtmlBox1(ndb::CNdbStyle* record);
    ~CPageHtmlBox1() override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnTypeRule(WPARAM, LPARAM);
    LRESULT OnSizeRule(WPARAM, LPARAM);

private:
    // An offset of a free-floating box: a length, or "Default" for none.
    struct Side
    {
        int field;
        CNumberEditCtrl value;
        CComboBox unit;
        CButton useDefault;
        CLengthBinding length;
    };

    void StartSize();
    void StartSides();
    void AddGroups();
    void AddSizeGroups();
    void ApplyTypeRule();
    void ApplySizeRule();
    bool IsFreeFloating() const;

    int m_boxType = 0;
    int m_forceNewLine = 0;
    int m_widthMode = 0;
    int m_heightMode = 0;
    std::array<Side, 4> m_sides;
    CNumberEditCtrl m_zIndex;
    CNumberEditCtrl m_width;
    CComboBox m_widthUnit;
    CLengthBinding m_widthLength;
    CNumberEditCtrl m_height;
    CLengthBinding m_heightLength;
    CComboBox m_wrapping;
    CComboBox m_overflow;
};
