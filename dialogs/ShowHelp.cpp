#include "dialogs/ShowHelp.h"

#include "platform/ui/Wnd.h"

void PostHelpRequest(UINT topic)
{
    if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(UM_SHOW_HELP, topic, 0);
}
