#pragma once

#include "platform/ui/WinTypes.h"

#include <QString>

// The text of a string resource of the current module; empty when it has none of that id.
// Table lines are "<id><TAB><text>" with the escapes \n, \t and \\.
QString LoadResourceString(UINT id);
