#pragma once

#include "platform/ui/DataExchange.h"
#include "platform/ui/Font.h"
#include "platform/ui/Wnd.h"

#include <memory>
#include <vector>

struct DialogTemplate;

// A dialog made from a template resource, run modally (DoModal) or modelessly (Create).
// Escape sends IDCANCEL, Enter the default button's id (IDOK when there is none), the close
// box IDCANCEL; IDOK and IDCANCEL reach OnOK and OnCancel.
class CDialog : public CWnd
{
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // The id of the button that ended the dialog; -1 when the template could not be made.
    virtual INT_PTR DoModal();
    bool Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);
    bool UpdateData(bool saveAndValidate = true);
    void SetDefID(UINT id);
    UINT GetDefID() const { return m_defId; }
    void MapDialogRect(CRect* rect) const;

protected:
    // Makes the window and its controls; WM_INITDIALOG follows. A template with the child style
    // and a parent makes a child dialog (a property page).
    virtual bool CreateDialogWindow(UINT templateId, CWnd* parent);
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);

    const MessageMap* GetMessageMap() const override;
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;
    bool TranslateEvent(QEvent* event, bool* result) override;
    LRESULT OnInitDialogMessage(WPARAM, LPARAM);
    LRESULT OnOKCommand(WPARAM, LPARAM);
    LRESULT OnCancelCommand(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnGetDefID(WPARAM, LPARAM);
    LRESULT OnSetDefID(WPARAM id, LPARAM);

private:
    bool CreateFromTemplate(UINT templateId, CWnd* parent);
    UINT EnterCommand() const;
    void CreateControls(const DialogTemplate& dialog);
    void FocusFirstTabStop();

    UINT m_templateId;
    CWnd* m_parentWnd;
    CFont m_dialogFont;
    std::vector<std::unique_ptr<CWnd>> m_controls;
    UINT m_defId = 0;
    int m_result = -1;
    bool m_modal = false;
    bool m_ended = false;
};
