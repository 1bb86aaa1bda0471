#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/BackgroundBlock.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"

class IDialogContext;
namespace ndb
{
class CNdbStyle;
}

// "Table Cell Properties": the size, padding, alignment, wrapping and background of a table
// cell, edited in the caller's style record. The caller sets "Use default padding" and reads it
// back: while it is on, the cell's own padding goes.
class CDlgHtmlTableCellProperties : public CDialog
{
public:
    CDlgHtmlTableCellProperties(IDialogContext* context, ndb::CNdbStyle* record, CWnd* parent = nullptr);
    ~CDlgHtmlTableCellProperties() override;

    int m_useDefaultPadding = 1;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCmdMsg(UINT id, UINT code) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnModeClicked(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    // A width or height: its mode, number and unit list.
    struct Size
    {
        int field;
        int mode = 0;
        int number = 0;
        CNumberEditCtrl edit;
        CComboBox unit;
    };

    void LoadSize(Size& size);
    void StoreSize(const Size& size);
    void UpdateEnabling();

    ndb::CNdbStyle* m_record;
    CBackgroundBlock m_background;
    Size m_width;
    Size m_height;
    CComboBox m_align;
    CComboBox m_verticalAlign;
    CComboBox m_paddingUnit;
    CNumberEditCtrl m_paddingEdits[4];
    int m_paddings[4] = {};
    int m_noWrap = 0;
};
