#pragma once

#include "platform/ui/CmdUI.h"

class CMenu;

// The command update of one item of a menu that is about to show: Enable grays or enables the
// item at m_nIndex, SetCheck checks it.
class CMenuCmdUI : public CCmdUI
{
public:
    explicit CMenuCmdUI(CMenu* menu) : m_pMenu(menu) {}

    void Enable(bool on = true) override;
    void SetCheck(int check = 1) override;

    CMenu* m_pMenu;
};
