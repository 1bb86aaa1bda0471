#include "app/PanelPainting.h"

#include "controls/KVImage.h"
#include "platform/ui/DC.h"

namespace
{
CRect CornerSquare(const CRect& panel, int width, int height, PanelPainting::Corner corner)
{
    const bool right = corner == PanelPainting::TopRight || corner == PanelPainting::BottomRight;
    const bool bottom = corner == PanelPainting::BottomLeft || corner == PanelPainting::BottomRight;
    const int x = right ? panel.right - width : panel.left;
    const int y = bottom ? panel.bottom - height : panel.top;
    return {x, y, x + width, y + height};
}
} // namespace

namespace PanelPainting
{
void DrawBorders(CDC& dc, const CRect& panel, int a, int b, COLORREF color)
{
    dc.FillSolidRect(CRect(panel.left, panel.top, panel.left + a, panel.bottom - b), color);
    dc.FillSolidRect(CRect(panel.right - a, panel.top + b, panel.right, panel.bottom - b), color);
    dc.FillSolidRect(CRect(panel.left + a, panel.bottom - b, panel.right - a, panel.bottom), color);
}

void DrawCornerPicture(CDC& dc, const CKVImage& picture, const CRect& panel, Corner corner)
{
    const int a = picture.GetWidth() / 2;
    const int b = picture.GetHeight() / 2;
    const CRect square = CornerSquare(panel, a, b, corner);
    const CRect quarter = CornerSquare(CRect(0, 0, 2 * a, 2 * b), a, b, corner);
    Gdiplus::Graphics graphics(&dc);
    picture.DrawStretched(graphics, square, quarter);
}

void DrawCorner(CDC& dc, const CKVImage& picture, const CRect& panel, Corner corner, COLORREF background)
{
    dc.FillSolidRect(CornerSquare(panel, picture.GetWidth() / 2, picture.GetHeight() / 2, corner),
                     background);
    DrawCornerPicture(dc, picture, panel, corner);
}
} // namespace PanelPainting
