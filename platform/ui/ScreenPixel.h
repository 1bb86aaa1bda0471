#pragma once

#include "platform/ui/Point.h"
#include "platform/ui/WinTypes.h"

// The colour of the screen's pixel at a point in screen coordinates, as the desktop shows it.
// False, colour untouched, where no screen lies or the screen cannot be read: under X11 (and
// Xvfb) every pixel can be read, offscreen the program's own windows, under Wayland none.
bool GetScreenPixel(const CPoint& point, COLORREF* color);
