#pragma once

#include "controls/NumberEditCtrl.h"
#include "ndb/NdbFieldValue.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"

// "Insert Table": the size and spacing of a new table as plain numbers; the editor builds the
// table from them. In the default modes the width and height handed back are 0.
class CDlgHtmlTableInsert : public CDialog
{
public:
    explicit CDlgHtmlTableInsert(CWnd* parent = nullptr);
    ~CDlgHtmlTableInsert() override;

    // The width with the unit of the unit list (pixels when none is chosen).
    ndb::CNdbFieldValue GetWidth() const { return m_widthValue; }

    int m_columns = 1;
    int m_rows = 1;
    int m_widthMode = 0;
    int m_width = 0;
    int m_heightMode = 0;
    int m_height = 0;
    int m_border = 0;
    int m_cellPadding = 0;
    int m_cellSpacing = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnModeClicked(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void UpdateEnabling();

    CNumberEditCtrl m_columnsEdit;
    CNumberEditCtrl m_rowsEdit;
    CNumberEditCtrl m_widthEdit;
    CNumberEditCtrl m_heightEdit;
    CNumberEditCtrl m_borderEdit;
    CNumberEditCtrl m_paddingEdit;
    CNumberEditCtrl m_spacingEdit;
    CComboBox m_unit;
    ndb::CNdbFieldValue m_widthValue{0.0f, ndb::NdbUnitPx};
};
