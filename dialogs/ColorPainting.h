#pragma once

#include "platform/ui/DC.h"

namespace ndb
{
class CNdbRgba;
}

// Drawing helpers shared by the colour controls.

COLORREF ColorRefOf(const ndb::CNdbRgba& rgba);
// "RRGGBB" in upper-case hexadecimal digits.
QString RgbHexText(const ndb::CNdbRgba& rgba);
// "No colour": four quadrants of half the width and height each, white top left and bottom
// right, light grey top right and bottom left.
void DrawNoColorChecker(CDC& dc, const CRect& rect);
