#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/ColorBoxCtrl.h"
#include "dialogs/StyleControls.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"

namespace ndb
{
class CNdbNewsletter;
class CNdbStyle;
} // namespace ndb

// "Horizontal Line Properties": width, height, background colour and border of a rule, through
// a style record that the editor fills from the rule and writes back after OK. Without a record
// the dialog shows its defaults and OK writes nothing.
class CDlgHtmlHRProperties : public CDialog
{
public:
    // The newsletter's palette serves the swatches; either may be null.
    CDlgHtmlHRProperties(ndb::CNdbNewsletter* newsletter, ndb::CNdbStyle* style, CWnd* parent = nullptr);
    ~CDlgHtmlHRProperties() override;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnDefaultWidth(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void EnableWidth();

    ndb::CNdbStyle* m_style;
    CButton m_defaultWidth;
    CNumberEditCtrl m_width;
    CNumberEditCtrl m_height;
    CNumberEditCtrl m_borderSize;
    CComboBox m_unit;
    CColorBoxCtrl m_background;
    CColorBoxCtrl m_border;
    CLengthBinding m_widthValue;
    CLengthBinding m_heightValue;
    CLengthBinding m_borderValue;
};
