#pragma once

#include "base/PSFactory.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QIODevice;
class QPainter;

namespace gre
{
// How a layer or effect lays its picture over what is below it.
enum GreBlending
{
    BlendingNormal = 0,
    BlendingMultiply = 1,
};

// The program's one bitmap: decoded, drawn, rendered into and encoded. It holds at most one
// picture, always in QImage::Format_ARGB32 (not premultiplied), or none; an image without a
// picture is valid everywhere, sized 0 x 0, and draws nothing.
//
// Rectangles are pixel areas: right and bottom are exclusive, as QRect(x, y, width, height)
// describes them.
class CGreImage : public CPSBase
{
    KV_PERSISTENT_CLASS()
    // The pixel format code under which 32-bit ARGB rows are archived.
    static constexpr qint32 PixelFormatArgb32 = 0x26200A;

    CGreImage() = default;
    CGreImage(const CGreImage& other) : CPSBase(), m_bitmap(other.m_bitmap.copy()) {}
    CGreImage& operator=(const CGreImage& other);
    CGreImage(CGreImage&&) noexcept = default;
    CGreImage& operator=(CGreImage&&) noexcept = default;

    void Serialize(CPSArchive& archive) override;

    // A new picture of that size, every pixel transparent black.
    bool Create(const QSize& size);
    bool Create(int width, int height) { return Create(QSize(width, height)); }
    // A picture resource of the current resource module: "images/<id>.bmp", else
    // "images/<id>.png".
    bool LoadFromResource(int id);
    bool LoadFromBytes(const QByteArray& bytes);
    // True only for a picture of non-zero size.
    bool LoadFromFile(const QString& path);
    // Encoders are chosen by exact MIME type ("image/png", "image/jpeg", "image/gif").
    bool SaveToBytes(const QString& mime, QByteArray& bytes) const;
    // Replaces the file only when the whole picture was encoded and written.
    bool SaveToFile(const QString& path, const QString& mime) const;

    bool IsEmpty() const { return m_bitmap.isNull(); }
    QSize GetSize() const { return m_bitmap.size(); }
    int GetWidth() const { return GetSize().width(); }
    int GetHeight() const { return GetSize().height(); }
    // The picture itself, for painting into it and reading its pixels; a null QImage when there
    // is none. A picture of another format put in here is converted where rows are read.
    QImage& GetBitmap() { return m_bitmap; }
    const QImage& GetBitmap() const { return m_bitmap; }

    // Opacity runs from 0 (invisible) to 255 (as it is); blending is a GreBlending value.
    void Draw(const QPoint& point, QPainter& painter, int opacity, int blending) const;
    void DrawRegion(QPainter& painter, const QRect& source, int opacity, int blending,
                    const QRect& destination) const;
    // Corners unscaled; edges and middle stretched from the centre column, row and pixel of
    // the source, as for a button face that grows.
    bool DrawFramed(const QRect& source, QPainter& painter, const QRect& destination, int opacity,
                    int blending) const;

    // The forms the page service and the controls call, with normal blending.
    void Draw(QPainter& painter, const QPoint& point, int opacity = 255) const
    {
        Draw(point, painter, opacity, BlendingNormal);
    }
    void DrawRegion(QPainter& painter, const QRect& source, const QRect& destination, int opacity = 255) const
    {
        DrawRegion(painter, source, opacity, BlendingNormal, destination);
    }

private:
    bool Decode(QIODevice& device);

    QImage m_bitmap;
};
} // namespace gre
