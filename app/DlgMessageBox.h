#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Static.h"
#include "res/dialogs/MessageBox.h"

// The program's message box: an icon, a text drawn by the dialog itself, and up to three buttons
// chosen by the usual MB_ style flags. It grows to fit the text and returns IDOK, IDCANCEL, IDYES
// or IDNO.
class CDlgMessageBox : public CDialog
{
public:
    static constexpr UINT IDD = IDD_MESSAGE_BOX;

    explicit CDlgMessageBox(CWnd* parent = nullptr);

    QString m_text;
    UINT m_type = MB_OK;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnButton1(WPARAM, LPARAM);
    LRESULT OnButton2(WPARAM, LPARAM);
    LRESULT OnButton3(WPARAM, LPARAM);

private:
    void SetUpButtons();
    void SetUpIcon();
    void FitText();
    void MoveControlBy(CWnd& control, int dx, int dy, int widen);

    CButton m_button1;
    CButton m_button2;
    CButton m_button3;
    CStatic m_icon;
    CStatic m_textMarker;
    CStatic m_separator;
    int m_result1 = IDOK;
    int m_result2 = IDOK;
    int m_result3 = IDOK;
    bool m_escapeEnds = true;
    CRect m_textRect;
};
