#include "gre/GreImageCodecs.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QList>

#include <gif_lib.h>

#include <vector>

namespace gre
{
namespace
{
const QByteArray GifMime = QByteArrayLiteral("image/gif");
const QByteArray GifFormat = QByteArrayLiteral("gif");

struct Encoder
{
    QByteArray mime;
    QByteArray format;
};

const std::vector<Encoder>& Encoders()
{
    static const std::vector<Encoder> encoders = []
    {
        std::vector<Encoder> list;
        for (const QByteArray& mime : QImageWriter::supportedMimeTypes())
        {
            const QList<QByteArray> formats = QImageWriter::imageFormatsForMimeType(mime);
            if (!formats.isEmpty())
                list.push_back({mime, formats.first()});
        }
        // Qt reads GIF but has no writer for it.
        list.push_back({GifMime, GifFormat});
        return list;
    }();
    return encoders;
}

int AppendToBuffer(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// Reduces the picture to at most 256 colours. Pixels less than half opaque become one extra
// palette entry that the GIF marks transparent (transparentIndex, -1 when there are none), since
// GIF knows no partial transparency.
QImage QuantiseForGif(const QImage& picture, int& transparentIndex)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    const int width = argb.width();
    const int height = argb.height();
    std::vector<bool> transparent(size_t(width) * size_t(height));
    bool anyTransparent = false;
    QRgb filler = 0xFF000000;
    bool haveFiller = false;
    for (int y = 0; y < height; ++y)
    {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < width; ++x)
        {
            if (qAlpha(row[x]) < 128)
            {
                transparent[size_t(y) * width + x] = true;
                anyTransparent = true;
            }
            else if (!haveFiller)
            {
                filler = row[x] | 0xFF000000;
                haveFiller = true;
            }
        }
    }

    // Transparent pixels take a colour that is there anyway, so they cost no palette entry.
    QImage opaque(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
    {
        const auto* from = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(opaque.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] = transparent[size_t(y) * width + x] ? filler : (from[x] | 0xFF000000);
    }
    QImage indexed = opaque.convertToFormat(QImage::Format_Indexed8);
    transparentIndex = -1;
    if (!anyTransparent || indexed.isNull())
        return indexed;

    if (indexed.colorCount() < 256)
    {
        transparentIndex = int(indexed.colorCount());
        indexed.setColorCount(transparentIndex + 1);
    }
    else
    {
        std::vector<bool> used(256);
        for (int y = 0; y < height; ++y)
        {
            const uchar* row = indexed.constScanLine(y);
            for (int x = 0; x < width; ++x)
                used[row[x]] = true;
        }
        for (int i = 0; i < 256 && transparentIndex < 0; ++i)
            if (!used[i])
                transparentIndex = i;
        if (transparentIndex < 0)
        {
            // Every entry is taken: map onto the 6 x 6 x 6 colour cube, which leaves room.
            QList<QRgb> cube;
            for (int r = 0; r < 6; ++r)
                for (int g = 0; g < 6; ++g)
                    for (int b = 0; b < 6; ++b)
                        cube.append(qRgb(r * 51, g * 51, b * 51));
            indexed = opaque.convertToFormat(QImage::Format_Indexed8, cube);
            transparentIndex = int(cube.size());
            indexed.setColorCount(transparentIndex + 1);
        }
    }
    indexed.setColor(transparentIndex, 0);
    for (int y = 0; y < height; ++y)
    {
        uchar* row = indexed.scanLine(y);
        for (int x = 0; x < width; ++x)
            if (transparent[size_t(y) * width + x])
                row[x] = uchar(transparentIndex);
    }
    return indexed;
}

bool EncodeGif(const QImage& picture, QByteArray& bytes)
{
    int transparentIndex = -1;
    QImage indexed = QuantiseForGif(picture, transparentIndex);
    if (indexed.isNull() || indexed.width() > 0xFFFF || indexed.height() > 0xFFFF)
        return false;

    int bits = 1;
    while ((1 << bits) < indexed.colorCount())
        ++bits;
    ColorMapObject* palette = GifMakeMapObject(1 << bits, nullptr);
    if (!palette)
        return false;
    for (int i = 0; i < palette->ColorCount; ++i)
    {
        const QRgb colour = i < indexed.colorCount() ? indexed.color(i) : 0;
        palette->Colors[i] = {GifByteType(qRed(colour)), GifByteType(qGreen(colour)),
                              GifByteType(qBlue(colour))};
    }

    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendToBuffer, &error);
    bool ok = gif != nullptr;
    if (ok)
    {
        EGifSetGifVersion(gif, true);
        ok = EGifPutScreenDesc(gif, indexed.width(), indexed.height(), bits, 0, palette) == GIF_OK;
    }
    if (ok && transparentIndex >= 0)
    {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.TransparentColor = transparentIndex;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK;
    }
    if (ok)
        ok = EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
    // EGifPutLine masks the pixels in place, so it gets the rows of our own copy.
    for (int y = 0; ok && y < indexed.height(); ++y)
        ok = EGifPutLine(gif, indexed.scanLine(y), indexed.width()) == GIF_OK;
    if (gif && EGifCloseFile(gif, &error) != GIF_OK)
        ok = false;
    GifFreeMapObject(palette);
    return ok;
}
} // namespace

bool IsImageSizeAllowed(int width, int height)
{
    return width >= 1 && height >= 1 && width <= MaxImageSide && height <= MaxImageSide &&
           qint64(width) * height <= MaxImagePixels;
}

int FindImageEncoder(const QString& mime, QByteArray* format)
{
    const std::vector<Encoder>& encoders = Encoders();
    const QByteArray wanted = mime.toUtf8();
    for (size_t i = 0; i < encoders.size(); ++i)
    {
        if (encoders[i].mime == wanted)
        {
            if (format)
                *format = encoders[i].format;
            return int(i);
        }
    }
    return -1;
}

bool EncodeImage(const QImage& picture, const QString& mime, QByteArray& bytes)
{
    bytes.clear();
    QByteArray format;
    if (picture.isNull() || FindImageEncoder(mime, &format) < 0)
        return false;
    if (format == GifFormat)
        return EncodeGif(picture, bytes);
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&buffer, format);
    return writer.write(picture);
}

bool DecodeImage(QIODevice& device, QImage& picture)
{
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    const QSize announced = reader.size();
    if (announced.isValid() && !IsImageSizeAllowed(announced.width(), announced.height()))
        return false;
    QImage decoded;
    if (!reader.read(&decoded) || !IsImageSizeAllowed(decoded.width(), decoded.height()))
        return false;
    decoded.convertTo(QImage::Format_ARGB32);
    if (decoded.isNull())
        return false;
    picture = std::move(decoded);
    return true;
}
} // namespace gre
