#include "effects/GreEffectCommands.h"

#include "platform/ui/Wnd.h"

void NotifyApplied(CWnd* dialog)
{
    if (CWnd* owner = dialog->GetParent())
        owner->SendMessage(WM_COMMAND, UM_GRE_APPLIED, 0);
}
