#pragma once

#include "platform/ui/GdiplusBitmap.h"

#include <QPainter>
#include <memory>

class CDC;

namespace Gdiplus
{
// Drawing on a context's painter, or on a bitmap of its own.
class Graphics
{
public:
    explicit Graphics(CDC* dc);
    explicit Graphics(Bitmap* bitmap);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    Status DrawImage(const Bitmap* image, int x, int y);
    // Draws the source rectangle into the destination, scaling as needed.
    Status DrawImage(const Bitmap* image, const RectF& destination, REAL srcX, REAL srcY, REAL srcWidth,
                     REAL srcHeight, Unit unit);
    Status FillRectangle(const SolidBrush* brush, const RectF& rect);
    Status FillRectangle(const SolidBrush* brush, int x, int y, int width, int height);

private:
    std::unique_ptr<QPainter> m_ownPainter;
    QPainter* m_painter = nullptr;
};
} // namespace Gdiplus
