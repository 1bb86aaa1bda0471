#include "platform/ui/MenuCmdUI.h"

#include "platform/ui/Menu.h"

void CMenuCmdUI::Enable(bool on)
{
    m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    m_bEnableChanged = true;
}

void CMenuCmdUI::SetCheck(int check)
{
    m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
}
