#pragma once

#include "platform/ui/WinTypes.h"

class CWnd;

// The notification code under which a command's update handlers are offered through OnCmdMsg;
// no WM_COMMAND carries it, its code being a 16-bit field.
constexpr UINT CN_UPDATE_COMMAND_UI = 0xFFFFFFFF;

// A command-update object: it asks the command route whether the command with m_nID is enabled or
// checked, and shows the answer on the window it was built for (m_pOther).
class CCmdUI
{
public:
    virtual ~CCmdUI() = default;

    virtual void Enable(bool on = true);
    // Reaches the window only when it answers WM_GETDLGCODE with DLGC_BUTTON, as BM_SETCHECK.
    virtual void SetCheck(int check = 1);

    // Offers the update to target's route; returns whether an update handler took it. When none
    // did and disableIfNoHandler is set, the window is disabled.
    bool DoUpdate(CWnd* target, bool disableIfNoHandler);

    // The object whose update is being routed; null outside DoUpdate.
    static CCmdUI* InProgress();

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CWnd* m_pOther = nullptr;
    bool m_bEnableChanged = false;
};
