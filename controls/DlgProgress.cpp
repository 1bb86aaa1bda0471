#include "controls/DlgProgress.h"
#include "res/dialogs/Progress.h"

namespace
{
} // namespace

const MessageMap* CDlgProgress::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IDC_ABORT, &CDlgProgress::OnAbort),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgProgress::CDlgProgress(CWnd* receiver, CWnd* parent) : CDialog(IDD, parent), m_receiver(receiver) {}

CDlgProgress::~CDlgProgress()
{
    m_progress.DestroyWindow();
}

void CDlgProgress::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_STATUS, m_status);
    DDX_Control(dx, IDC_PROGRESS, m_progress);
}

bool CDlgProgress::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_caption);
    return true;
}

// The window has no close box, and Escape must not hide it while the operation goes on: only
// Abort, which the operation answers, ends the work.
void CDlgProgress::OnCancel() {}

void CDlgProgress::SetProgressRange(int n)
{
    // The whole range, also above the 16 bits of the classic range.
    m_progress.SetRange32(0, n);
}

void CDlgProgress::SetProgressPos(int position)
{
    m_progress.SetPos(position);
    m_progress.UpdateWindow();
}

LRESULT CDlgProgress::OnAbort(WPARAM, LPARAM)
{
    if (m_receiver)
        m_receiver->PostMessage(WM_COMMAND, MAKEWPARAM(IDC_ABORT, 0), 0);
    return 0;
}
