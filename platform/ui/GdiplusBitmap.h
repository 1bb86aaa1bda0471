#pragma once

#include "platform/ui/GdiplusTypes.h"

#include <QByteArray>
#include <QImage>

namespace Gdiplus
{
// A bitmap whose pixels are a QImage in ARGB32 (not premultiplied).
class Bitmap
{
public:
    Bitmap(int width, int height, PixelFormat format);
    // Decodes an encoded picture (PNG, BMP, ...); GetLastStatus tells whether it succeeded.
    explicit Bitmap(const QByteArray& encoded);
    explicit Bitmap(const QImage& image);

    UINT GetWidth() const { return UINT(m_image.width()); }
    UINT GetHeight() const { return UINT(m_image.height()); }
    Status GetLastStatus() const { return m_status; }
    Status GetPixel(int x, int y, Color* color) const;

    QImage& Image() { return m_image; }
    const QImage& Image() const { return m_image; }

private:
    QImage m_image;
    Status m_status = Ok;
};
} // namespace Gdiplus
