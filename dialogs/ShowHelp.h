#pragma once

#include "platform/ui/WinTypes.h"

// Asks the main window to show the help topic of a dialog (its template id).
constexpr UINT UM_SHOW_HELP = 0x8400;

void PostHelpRequest(UINT topic);
