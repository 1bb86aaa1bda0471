#pragma once

#include "platform/ui/Dialog.h"
#include "platform/ui/ProgressCtrl.h"
#include "res/dialogs/Progress.h"

// The modeless window that a long operation on the UI thread shows: a status line, a bar and an
// Abort button. Abort posts WM_COMMAND 1197 to the receiver window; the operation finds it in
// the queue between its steps and decides to stop.
class CDlgProgress : public CDialog
{
public:
    static constexpr UINT IDD = IDD_PROGRESS;
    static constexpr UINT IDC_ABORT = ::IDC_ABORT;

    CDlgProgress(CWnd* receiver, CWnd* parent);
    ~CDlgProgress() override;

    void SetProgressRange(int n);
    void SetProgressPos(int position);

    QString m_caption;
    QString m_status;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    bool OnInitDialog() override;
    void OnCancel() override;

    const MessageMap* GetMessageMap() const override;
    LRESULT OnAbort(WPARAM, LPARAM);

private:
    CWnd* m_receiver;
    CProgressCtrl m_progress;
};
