#include "platform/ui/GdiplusGraphics.h"

#include "platform/ui/DC.h"

namespace Gdiplus
{
Graphics::Graphics(CDC* dc) : m_painter(dc ? dc->Painter() : nullptr)
{
    if (m_painter)
        m_painter->save();
}

Graphics::Graphics(Bitmap* bitmap)
{
    if (bitmap && !bitmap->Image().isNull())
    {
        m_ownPainter = std::make_unique<QPainter>(&bitmap->Image());
        m_painter = m_ownPainter.get();
    }
}

Graphics::~Graphics()
{
    if (m_painter && !m_ownPainter)
        m_painter->restore();
}

Status Graphics::DrawImage(const Bitmap* image, int x, int y)
{
    if (!m_painter || !image)
        return InvalidParameter;
    m_painter->drawImage(x, y, image->Image());
    return Ok;
}

Status Graphics::DrawImage(const Bitmap* image, const RectF& destination, REAL srcX, REAL srcY, REAL srcWidth,
                           REAL srcHeight, Unit)
{
    if (!m_painter || !image)
        return InvalidParameter;
    m_painter->drawImage(destination.ToQRectF(), image->Image(), QRectF(srcX, srcY, srcWidth, srcHeight));
    return Ok;
}

Status Graphics::FillRectangle(const SolidBrush* brush, const RectF& rect)
{
    if (!m_painter || !brush)
        return InvalidParameter;
    m_painter->fillRect(rect.ToQRectF(), brush->GetColor().ToQColor());
    return Ok;
}

Status Graphics::FillRectangle(const SolidBrush* brush, int x, int y, int width, int height)
{
    return FillRectangle(brush, RectF(REAL(x), REAL(y), REAL(width), REAL(height)));
}
} // namespace Gdiplus
