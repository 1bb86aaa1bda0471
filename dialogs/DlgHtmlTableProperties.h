#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/BackgroundBlock.h"
#include "dialogs/ColorBoxCtrl.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"

class IDialogContext;
namespace ndb
{
class CNdbStyle;
}

// "Table Properties": the size, border, spacing and background of a table, edited in the
// caller's style record; the cell padding and spacing are plain numbers the caller sets and reads.
class CDlgHtmlTableProperties : public CDialog
{
public:
    CDlgHtmlTableProperties(IDialogContext* context, ndb::CNdbStyle* record, CWnd* parent = nullptr);
    ~CDlgHtmlTableProperties() override;

    int m_cellPadding = 0;
    int m_cellSpacing = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCmdMsg(UINT id, UINT code) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnModeClicked(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void UpdateSizeEnabling();

    ndb::CNdbStyle* m_record;
    CBackgroundBlock m_background;
    CColorBoxCtrl m_borderColor;
    CNumberEditCtrl m_widthEdit;
    CNumberEditCtrl m_heightEdit;
    CNumberEditCtrl m_borderEdit;
    CNumberEditCtrl m_paddingEdit;
    CNumberEditCtrl m_spacingEdit;
    CComboBox m_widthUnit;
    int m_widthMode = 0;
    int m_heightMode = 0;
    int m_width = 0;
    int m_height = 0;
    int m_border = 0;
};
