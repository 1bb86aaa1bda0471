#pragma once

#include "platform/ui/Point.h"

#include <QRect>

// A rectangle by its edges; right and bottom lie outside, as every window and drawing call reads them.
class CRect
{
public:
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    CRect() = default;
    CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    static CRect FromQRect(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool PtInRect(const CPoint& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void OffsetRect(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy)
    {
        left += dx;
        top += dy;
        right -= dx;
        bottom -= dy;
    }
    void InflateRect(int dx, int dy) { DeflateRect(-dx, -dy); }
    QRect ToQRect() const { return {left, top, Width(), Height()}; }
    bool operator==(const CRect&) const = default;
};
