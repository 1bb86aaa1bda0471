#pragma once

#include "ndb/NdbUser.h"
#include "platform/ui/ComboBoxEx.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ImageList.h"

#include <array>

// Adds or edits one recipient, several at once (each field with a box that says whether to apply
// it) or the test recipient. It edits only its own record; the caller copies values in and out
// and checks the address.
class CDlgUserAdd : public CDialog
{
public:
    enum Mode
    {
        ModeAdd = 0,
        ModeEditOne = 1,
        ModeEditSeveral = 2,
        ModeEditTest = 3,
    };
    static constexpr int TextFieldCount = 22;

    explicit CDlgUserAdd(int mode, CWnd* parent = nullptr);
    ~CDlgUserAdd() override;

    // Set in mode 2 when the colour's apply box was checked, so "None" removes the label.
    bool IsColorApplied() const { return m_colorApplied; }

    ndb::CNdbUser m_user;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void NoteFieldChange(int id, UINT code);
    void FillColors();
    void FillYesNo(CComboBox& combo, bool value);
    bool ReadYesNo(const CComboBox& combo, bool defaultValue) const;
    void SetApplied(int applyId);
    bool IsApplied(int applyId) const;
    void StoreFlag(int code, const CComboBox& combo, bool defaultValue, int applyId);

    const int m_mode;
    CImageList m_images;
    std::array<QString, TextFieldCount> m_texts;
    CComboBox m_htmlMail;
    CComboBox m_enabled;
    CComboBox m_blocked;
    CComboBoxEx m_color;
    bool m_exchanging = false;
    bool m_colorApplied = false;
};
