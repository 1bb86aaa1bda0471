#include "platform/ui/GdiplusBitmap.h"

namespace Gdiplus
{
Bitmap::Bitmap(int width, int height, PixelFormat)
{
    if (width <= 0 || height <= 0)
    {
        m_status = InvalidParameter;
        return;
    }
    m_image = QImage(width, height, QImage::Format_ARGB32);
    if (m_image.isNull())
    {
        m_status = OutOfMemory;
        return;
    }
    m_image.fill(Qt::transparent);
}

Bitmap::Bitmap(const QByteArray& encoded)
{
    QImage decoded;
    if (encoded.isEmpty() || !decoded.loadFromData(encoded))
    {
        m_status = InvalidParameter;
        return;
    }
    m_image = decoded.convertToFormat(QImage::Format_ARGB32);
}

Bitmap::Bitmap(const QImage& image) : m_image(image.convertToFormat(QImage::Format_ARGB32))
{
    if (m_image.isNull())
        m_status = InvalidParameter;
}

Status Bitmap::GetPixel(int x, int y, Color* color) const
{
    if (!color || !m_image.valid(x, y))
        return InvalidParameter;
    *color = Color(ARGB(m_image.pixel(x, y)));
    return Ok;
}
} // namespace Gdiplus
