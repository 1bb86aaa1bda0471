#pragma once

#include "platform/ui/Rect.h"
#include "platform/ui/WinTypes.h"

class CDC;
class CKVImage;

// The rounded panel that the document views draw around their page: a frame of one colour and
// corners taken from a picture of a rounded square (its quarters are the four corners).
namespace PanelPainting
{
enum Corner
{
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

// The left, right and bottom borders of the panel, half a corner wide (cornerWidth and
// cornerHeight are half the picture's size).
void DrawBorders(CDC& dc, const CRect& panel, int cornerWidth, int cornerHeight, COLORREF color);
// One corner square: filled with the background, then that quarter of the picture.
void DrawCorner(CDC& dc, const CKVImage& picture, const CRect& panel, Corner corner, COLORREF background);
// The quarter of the picture alone, over whatever is there.
void DrawCornerPicture(CDC& dc, const CKVImage& picture, const CRect& panel, Corner corner);
} // namespace PanelPainting
