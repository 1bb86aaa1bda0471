#pragma once

#include "platform/ui/WinTypes.h"

class CWnd;

// The command that the layer and effect dialogs send their owner after each change they
// applied (and the id of their "Apply" button): the owner draws its preview again.
constexpr UINT UM_GRE_APPLIED = 1542;

// Sends the command to the dialog's owner, if it has one.
void NotifyApplied(CWnd* dialog);
