#pragma once

#include "platform/ui/WinTypes.h"

#include <QString>

// Registers a window class and returns its generated name. Windows of this layer all draw on
// the arrow cursor without background, so the name is all a class carries here.
QString AfxRegisterWndClass(UINT classStyle);
