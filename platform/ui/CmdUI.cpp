#include "platform/ui/CmdUI.h"

#include "platform/ui/Wnd.h"

#include <utility>

namespace
{
CCmdUI* g_inProgress = nullptr;
} // namespace

void CCmdUI::Enable(bool on)
{
    if (m_pOther)
        m_pOther->EnableWindow(on);
    m_bEnableChanged = true;
}

void CCmdUI::SetCheck(int check)
{
    if (m_pOther && (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON))
        m_pOther->SendMessage(BM_SETCHECK, WPARAM(check));
}

bool CCmdUI::DoUpdate(CWnd* target, bool disableIfNoHandler)
{
    if (!target)
        return false;
    m_bEnableChanged = false;
    // Update handlers take the object from here: the command route passes only id and code.
    CCmdUI* outer = std::exchange(g_inProgress, this);
    const bool handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI);
    g_inProgress = outer;
    if (!handled && disableIfNoHandler && !m_bEnableChanged)
        Enable(false);
    return handled;
}

CCmdUI* CCmdUI::InProgress()
{
    return g_inProgress;
}
