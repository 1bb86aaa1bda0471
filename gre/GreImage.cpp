#include "gre/GreImage.h"

#include "base/ArchiveValues.h"
#include "base/FileHelpers.h"
#include "gre/GreImageCodecs.h"
#include "platform/core/AppStrings.h"
#include "res/ResourceInit.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QtEndian>

#include <algorithm>

namespace gre
{
namespace
{
// Pixel formats an archived image may carry, by the code stored with its rows. Older documents
// hold pictures in the format they were decoded in, so 24-bit and premultiplied rows occur too.
constexpr qint32 PixelFormatPargb32 = 0xE200B;
constexpr qint32 PixelFormatRgb32 = 0x22009;
constexpr qint32 PixelFormatRgb24 = 0x21808;

int BytesPerPixel(qint32 format)
{
    switch (format)
    {
    case CGreImage::PixelFormatArgb32:
    case PixelFormatPargb32:
    case PixelFormatRgb32:
        return 4;
    case PixelFormatRgb24:
        return 3;
    default:
        return 0;
    }
}

// Stored bytes are blue, green, red (and alpha) in that order.
void ConvertRow(qint32 format, const uchar* from, QRgb* to, int width)
{
    for (int x = 0; x < width; ++x)
    {
        const uchar* pixel = from + x * BytesPerPixel(format);
        switch (format)
        {
        case CGreImage::PixelFormatArgb32:
            to[x] = qRgba(pixel[2], pixel[1], pixel[0], pixel[3]);
            break;
        case PixelFormatPargb32:
        {
            // A colour above its alpha cannot be premultiplied; damaged data is cut to fit.
            const uchar alpha = pixel[3];
            to[x] = qUnpremultiply(qRgba(std::min(pixel[2], alpha), std::min(pixel[1], alpha),
                                         std::min(pixel[0], alpha), alpha));
            break;
        }
        default:
            to[x] = qRgb(pixel[2], pixel[1], pixel[0]);
            break;
        }
    }
}

// Rows of a format we cannot show (those of palette images carry no palette) are read past,
// leaving the image empty, so the rest of the document still loads.
QImage ReadPicture(CPSArchive& archive)
{
    QSize size;
    ArchiveReadPair(archive, size);
    if (size.width() < 1 || size.height() < 1)
        return {};
    qint32 stride = 0;
    qint32 format = 0;
    ArchiveReadInt(archive, stride);
    ArchiveReadInt(archive, format);
    if (!IsImageSizeAllowed(size.width(), size.height()))
        archive.Fail("an image is too large");
    const int pixelBytes = BytesPerPixel(format);
    if (stride < 1 || qint64(stride) < qint64(size.width()) * pixelBytes)
        archive.Fail("an image row is shorter than its pixels");
    const qint64 total = qint64(stride) * size.height();
    const qint64 left = archive.BytesLeft();
    if (total > MaxImagePixels * 4 || (left >= 0 && total > left))
        archive.Fail("an image holds more bytes than the data left");

    QImage picture;
    if (pixelBytes > 0)
    {
        picture = QImage(size, QImage::Format_ARGB32);
        if (picture.isNull())
            archive.Fail("an image cannot be allocated");
    }
    QByteArray row(stride, Qt::Uninitialized);
    for (int y = 0; y < size.height(); ++y)
    {
        if (!archive.ReadBytes(row.data(), stride))
            archive.Fail("the data ends inside an image");
        if (!picture.isNull())
            ConvertRow(format, reinterpret_cast<const uchar*>(row.constData()),
                       reinterpret_cast<QRgb*>(picture.scanLine(y)), size.width());
    }
    return picture;
}

// Pictures put in through GetBitmap may come in another format; rows are read as 32-bit ARGB.
QImage AsArgb32(const QImage& picture)
{
    return picture.format() == QImage::Format_ARGB32 ? picture
                                                     : picture.convertToFormat(QImage::Format_ARGB32);
}

void WritePicture(CPSArchive& archive, const QImage& bitmap)
{
    const QImage picture = AsArgb32(bitmap);
    if (picture.isNull())
    {
        ArchiveWritePair(archive, QSize(0, 0));
        return;
    }
    const int width = picture.width();
    ArchiveWritePair(archive, picture.size());
    ArchiveWriteInt(archive, width * 4);
    ArchiveWriteInt(archive, CGreImage::PixelFormatArgb32);
    QByteArray row(width * 4, Qt::Uninitialized);
    for (int y = 0; y < picture.height(); ++y)
    {
        qToLittleEndian<quint32>(picture.constScanLine(y), width, row.data());
        archive.WriteBytes(row.constData(), row.size());
    }
}

int ClampOpacity(int opacity)
{
    return std::clamp(opacity, 0, 255);
}

// The area of the picture with every alpha scaled by opacity / 255, rounded down. The area may
// reach outside the picture; what lies outside is transparent.
QImage WithOpacity(const QImage& picture, const QRect& area, int opacity)
{
    QImage faded = AsArgb32(picture).copy(area);
    for (int y = 0; y < faded.height(); ++y)
    {
        auto* row = reinterpret_cast<QRgb*>(faded.scanLine(y));
        for (int x = 0; x < faded.width(); ++x)
            row[x] = (row[x] & 0x00FFFFFF) | quint32(qAlpha(row[x]) * opacity / 255) << 24;
    }
    return faded;
}
} // namespace

CGreImage& CGreImage::operator=(const CGreImage& other)
{
    if (this != &other)
        m_bitmap = other.m_bitmap.copy();
    return *this;
}

void CGreImage::Serialize(CPSArchive& archive)
{
    if (archive.IsReading())
    {
        m_bitmap = QImage();
        m_bitmap = ReadPicture(archive);
    }
    else
    {
        WritePicture(archive, m_bitmap);
    }
}

bool CGreImage::Create(const QSize& size)
{
    m_bitmap = QImage();
    if (!IsImageSizeAllowed(size.width(), size.height()))
        return false;
    QImage picture(size, QImage::Format_ARGB32);
    if (picture.isNull())
        return false;
    picture.fill(0);
    m_bitmap = std::move(picture);
    return true;
}

bool CGreImage::Decode(QIODevice& device)
{
    m_bitmap = QImage();
    try
    {
        return DecodeImage(device, m_bitmap);
    }
    catch (const std::exception&)
    {
        m_bitmap = QImage();
        return false;
    }
}

bool CGreImage::LoadFromResource(int id)
{
    InitKelvoraResources();
    const QString stem = GetResourceRoot() + QStringLiteral("images/") + QString::number(id);
    QFile bitmapResource(stem + QStringLiteral(".bmp"));
    if (bitmapResource.open(QIODevice::ReadOnly))
        return Decode(bitmapResource);
    QFile pngResource(stem + QStringLiteral(".png"));
    if (!pngResource.open(QIODevice::ReadOnly) || pngResource.size() == 0)
    {
        m_bitmap = QImage();
        return false;
    }
    return Decode(pngResource);
}

bool CGreImage::LoadFromBytes(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (bytes.isEmpty() || !buffer.open(QIODevice::ReadOnly))
    {
        m_bitmap = QImage();
        return false;
    }
    return Decode(buffer);
}

bool CGreImage::LoadFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        m_bitmap = QImage();
        return false;
    }
    return Decode(file) && GetWidth() > 0 && GetHeight() > 0;
}

bool CGreImage::SaveToBytes(const QString& mime, QByteArray& bytes) const
{
    return EncodeImage(m_bitmap, mime, bytes);
}

bool CGreImage::SaveToFile(const QString& path, const QString& mime) const
{
    QByteArray bytes;
    return SaveToBytes(mime, bytes) && WriteFileReplacing(path, bytes);
}

void CGreImage::Draw(const QPoint& point, QPainter& painter, int opacity, int blending) const
{
    const QRect whole(QPoint(0, 0), GetSize());
    DrawRegion(painter, whole, opacity, blending, whole.translated(point));
}

void CGreImage::DrawRegion(QPainter& painter, const QRect& source, int opacity, int blending,
                           const QRect& destination) const
{
    opacity = ClampOpacity(opacity);
    if (m_bitmap.isNull() || opacity == 0)
        return;
    const QPainter::CompositionMode previous = painter.compositionMode();
    if (blending == BlendingMultiply)
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    if (opacity == 255)
        painter.drawImage(QRectF(destination), m_bitmap, QRectF(source));
    else
        painter.drawImage(QRectF(destination), WithOpacity(m_bitmap, source, opacity));
    painter.setCompositionMode(previous);
}

bool CGreImage::DrawFramed(const QRect& source, QPainter& painter, const QRect& destination, int opacity,
                           int blending) const
{
    opacity = ClampOpacity(opacity);
    if (m_bitmap.isNull())
        return true;
    if (opacity < 255)
    {
        // Fade once rather than once per piece.
        CGreImage faded;
        faded.m_bitmap = WithOpacity(m_bitmap, m_bitmap.rect(), opacity);
        return faded.DrawFramed(source, painter, destination, 255, blending);
    }

    const int cw = std::min(source.width(), destination.width()) / 2;
    const int ch = std::min(source.height(), destination.height()) / 2;
    if (cw <= 0 || ch <= 0)
        return true;
    const int mw = destination.width() - 2 * cw;
    const int mh = destination.height() - 2 * ch;
    const int sLeft = source.left();
    const int sTop = source.top();
    const int sRight = sLeft + source.width();
    const int sBottom = sTop + source.height();
    const int dLeft = destination.left();
    const int dTop = destination.top();
    const int dRight = dLeft + destination.width();
    const int dBottom = dTop + destination.height();
    const int centreX = sLeft + source.width() / 2;
    const int centreY = sTop + source.height() / 2;
    const auto piece = [&](const QRect& from, const QRect& to)
    { DrawRegion(painter, from, 255, blending, to); };

    if (mw > 0 && mh > 0)
        piece(QRect(centreX, centreY, 1, 1), QRect(dLeft + cw, dTop + ch, mw, mh));
    // An edge is the centre column (or row) of its border, stretched along the edge in one draw.
    if (mw > 0)
    {
        piece(QRect(centreX, sTop, 1, ch), QRect(dLeft + cw, dTop, mw, ch));
        piece(QRect(centreX, sBottom - ch, 1, ch), QRect(dLeft + cw, dBottom - ch, mw, ch));
    }
    if (mh > 0)
    {
        piece(QRect(sLeft, centreY, cw, 1), QRect(dLeft, dTop + ch, cw, mh));
        piece(QRect(sRight - cw, centreY, cw, 1), QRect(dRight - cw, dTop + ch, cw, mh));
    }
    piece(QRect(sLeft, sTop, cw, ch), QRect(dLeft, dTop, cw, ch));
    piece(QRect(sRight - cw, sTop, cw, ch), QRect(dRight - cw, dTop, cw, ch));
    piece(QRect(sRight - cw, sBottom - ch, cw, ch), QRect(dRight - cw, dBottom - ch, cw, ch));
    piece(QRect(sLeft, sBottom - ch, cw, ch), QRect(dLeft, dBottom - ch, cw, ch));
    return true;
}
} // namespace gre
