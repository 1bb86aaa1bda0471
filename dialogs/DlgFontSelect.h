#pragma once

#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ListBox.h"

// "Select Font": edits a font-family value. Installed fonts or typed names go into an ordered
// list of selected fonts, and a generic family is chosen for readers who have none of them.
class CDlgFontSelect : public CDialog
{
public:
    explicit CDlgFontSelect(CWnd* parent = nullptr);
    ~CDlgFontSelect() override;

    // Set before the dialog runs; replaced on OK.
    QString m_fontList;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnAddAvailable(WPARAM, LPARAM);
    LRESULT OnAddCustom(WPARAM, LPARAM);
    LRESULT OnUp(WPARAM, LPARAM);
    LRESULT OnDown(WPARAM, LPARAM);
    LRESULT OnDelete(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);
    LRESULT OnGenericTyped(WPARAM, LPARAM);
    LRESULT OnGenericChosen(WPARAM, LPARAM);

private:
    void MoveSelected(int step);

    CListBox m_availableFonts;
    CListBox m_selectedFonts;
    CEdit m_customName;
    CComboBox m_genericFamily;
    // Text typed into the generic family's edit field chooses no family.
    bool m_genericTyped = false;
};
