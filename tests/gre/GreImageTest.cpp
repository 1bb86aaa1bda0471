#include "GreTestSupport.h"

#include "gre/GreImage.h"
#include "gre/GreImageCodecs.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdlib>
#include <functional>

using gre::CGreImage;
using namespace GreTest;

namespace
{
// A picture whose every pixel tells where it came from.
CGreImage Pattern(int width, int height)
{
    CGreImage image;
    EXPECT_TRUE(image.Create(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.GetBitmap().setPixel(x, y, qRgba(x * 20, y * 20, 200, 255));
    return image;
}

struct Pixel
{
    int x;
    int y;
    QRgb value;
};

// A transparent picture with a few pixels set.
CGreImage Pixels(int width, int height, std::initializer_list<Pixel> pixels)
{
    CGreImage image;
    EXPECT_TRUE(image.Create(width, height));
    for (const Pixel& pixel : pixels)
        image.GetBitmap().setPixel(pixel.x, pixel.y, pixel.value);
    return image;
}

QImage Canvas(int width, int height, QRgb fill = 0)
{
    QImage canvas(width, height, QImage::Format_ARGB32);
    canvas.fill(fill);
    return canvas;
}

int Distance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
}
} // namespace

TEST(GreImage, EmptyImageIsArchivedAsTwoZerosAndDrawsNothing)
{
    CGreImage image;
    EXPECT_EQ(image.GetSize(), QSize(0, 0));
    EXPECT_EQ(Save(image), Int(0) + Int(0));

    QByteArray encoded;
    EXPECT_FALSE(image.SaveToBytes(QStringLiteral("image/png"), encoded));

    QImage canvas = Canvas(4, 4, 0xFF112233);
    QPainter painter(&canvas);
    image.Draw(QPoint(0, 0), painter, 255, gre::BlendingNormal);
    EXPECT_TRUE(image.DrawFramed(QRect(0, 0, 4, 4), painter, QRect(0, 0, 4, 4), 255, 0));
    painter.end();
    EXPECT_EQ(canvas.pixel(1, 1), 0xFF112233u);

    CGreImage read = Pattern(2, 2);
    ASSERT_TRUE(Load(Int(0) + Int(0), read));
    EXPECT_TRUE(read.IsEmpty());
}

TEST(GreImage, PixelRowsAreArchivedAsBlueGreenRedAlpha)
{
    CGreImage image = Pixels(3, 2, {{0, 0, 0x80102030}, {2, 1, 0x01FFFEFD}});

    const QByteArray bytes = Save(image);
    QByteArray rows(24, '\0');
    rows.replace(0, 4, QByteArray("\x30\x20\x10\x80", 4));
    rows.replace(20, 4, QByteArray("\xFD\xFE\xFF\x01", 4));
    EXPECT_EQ(bytes, Int(3) + Int(2) + Int(12) + Int(0x26200A) + rows);

    CGreImage read;
    ASSERT_TRUE(Load(bytes, read));
    EXPECT_EQ(read.GetBitmap(), image.GetBitmap());
    EXPECT_EQ(read.GetBitmap().format(), QImage::Format_ARGB32);
}

// Older documents hold pictures in the format they were decoded in, rows padded to four bytes.
TEST(GreImage, RowsOfOtherStoredFormatsAreRead)
{
    struct Case
    {
        const char* name;
        qint32 format;
        QByteArray pixel; // one stored pixel
        int stride;
        QRgb expected;
    };
    const Case cases[] = {
        {"24-bit", 0x21808, QByteArray("\x30\x20\x10", 3), 4, 0xFF102030},
        {"32-bit without alpha", 0x22009, QByteArray("\x30\x20\x10\x00", 4), 4, 0xFF102030},
        {"premultiplied", 0xE200B, QByteArray("\x10\x20\x40\x80", 4), 4, qRgba(0x80, 0x40, 0x20, 0x80)},
        {"padded stride", 0x26200A, QByteArray("\x30\x20\x10\xFF", 4), 12, 0xFF102030},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const QByteArray row = c.pixel + QByteArray(c.stride - c.pixel.size(), '\x55');
        CGreImage read;
        ASSERT_TRUE(Load(Int(1) + Int(2) + Int(c.stride) + Int(c.format) + row + row, read));
        ASSERT_EQ(read.GetSize(), QSize(1, 2));
        EXPECT_LE(Distance(read.GetBitmap().pixel(0, 1), c.expected), 1);
    }
}

TEST(GreImage, RowsOfAPaletteFormatAreSkippedAndTheImageStaysEmpty)
{
    CGreImage read;
    ASSERT_TRUE(Load(Int(2) + Int(2) + Int(4) + Int(0x30803) + QByteArray(8, '\x01'), read));
    EXPECT_TRUE(read.IsEmpty());
}

TEST(GreImage, DamagedPixelDataFailsTheLoad)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"rows end early", Int(2) + Int(2) + Int(8) + Int(0x26200A) + QByteArray(15, '\0')},
        {"stride shorter than a row", Int(2) + Int(2) + Int(7) + Int(0x26200A) + QByteArray(14, '\0')},
        {"negative stride", Int(2) + Int(2) + Int(-8) + Int(0x26200A)},
        {"rows beyond the data", Int(1) + Int(0x7FFFFFFF) + Int(4) + Int(0x26200A) + QByteArray(64, '\0')},
        {"width too large", Int(100000) + Int(1) + Int(400000) + Int(0x26200A) + QByteArray(64, '\0')},
        {"huge stride", Int(1) + Int(30000) + Int(0x7FFFFFFF) + Int(0x26200A) + QByteArray(64, '\0')},
        {"no stride", Int(2) + Int(2)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CGreImage read;
        EXPECT_FALSE(Load(c.bytes, read));
    }
}

TEST(GreImage, PictureOfAnotherFormatIsArchivedAsArgb)
{
    CGreImage image;
    image.GetBitmap() = QImage(2, 1, QImage::Format_RGB888);
    image.GetBitmap().fill(QColor(0x10, 0x20, 0x30));
    CGreImage read;
    ASSERT_TRUE(Load(Save(image), read));
    EXPECT_EQ(read.GetBitmap().pixel(1, 0), 0xFF102030u);
}

TEST(GreImage, AssignmentMakesAnIndependentCopy)
{
    CGreImage original = Pattern(3, 3);
    CGreImage copy;
    copy = original;
    copy.GetBitmap().setPixel(1, 1, 0xFF000000);
    EXPECT_NE(original.GetBitmap().pixel(1, 1), 0xFF000000u);

    CGreImage& same = copy;
    copy = same;
    EXPECT_EQ(copy.GetBitmap().pixel(1, 1), 0xFF000000u);

    copy = CGreImage();
    EXPECT_TRUE(copy.IsEmpty());
}

TEST(GreImage, OpacityScalesAlphaRoundingDown)
{
    const CGreImage image = Pixels(2, 1, {{0, 0, 0xFF204060}, {1, 0, 0x01204060}});

    QImage canvas = Canvas(2, 1);
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    image.Draw(QPoint(0, 0), painter, 128, gre::BlendingNormal);
    painter.end();
    EXPECT_EQ(qAlpha(canvas.pixel(0, 0)), 128);
    EXPECT_LE(Distance(canvas.pixel(0, 0) | 0xFF000000, 0xFF204060), 1);
    EXPECT_EQ(qAlpha(canvas.pixel(1, 0)), 0);
    // The image itself is left as it was.
    EXPECT_EQ(image.GetBitmap().pixel(0, 0), 0xFF204060u);
}

TEST(GreImage, RegionIsScaledIntoTheDestination)
{
    const CGreImage image = Pattern(4, 4);
    QImage canvas = Canvas(4, 4);
    QPainter painter(&canvas);
    image.DrawRegion(painter, QRect(2, 2, 1, 1), QRect(0, 0, 4, 2));
    painter.end();
    EXPECT_EQ(canvas.pixel(3, 1), image.GetBitmap().pixel(2, 2));
    EXPECT_EQ(canvas.pixel(0, 2), 0u);
}

TEST(GreImage, MultiplyBlendingDarkensByTheImage)
{
    const CGreImage image = Pixels(1, 1, {{0, 0, 0xFF80FF00}});
    QImage canvas = Canvas(1, 1, 0xFF8080FF);
    QPainter painter(&canvas);
    image.Draw(QPoint(0, 0), painter, 255, gre::BlendingMultiply);
    EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
    painter.end();
    EXPECT_LE(Distance(canvas.pixel(0, 0), qRgb(0x40, 0x80, 0x00)), 1);
}

TEST(GreImage, FramedDrawingKeepsCornersAndStretchesTheCentre)
{
    const CGreImage image = Pattern(10, 10);
    QImage canvas = Canvas(40, 20);
    QPainter painter(&canvas);
    EXPECT_TRUE(image.DrawFramed(QRect(0, 0, 10, 10), painter, QRect(0, 0, 40, 20), 255, 0));
    painter.end();

    // Destination column and row to source column and row: corners unscaled, the rest from
    // the centre column 5 and row 5.
    const auto sourceX = [](int x) { return x < 5 ? x : (x >= 35 ? x - 30 : 5); };
    const auto sourceY = [](int y) { return y < 5 ? y : (y >= 15 ? y - 10 : 5); };
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(canvas.pixel(x, y), image.GetBitmap().pixel(sourceX(x), sourceY(y))) << x << "," << y;

    QImage narrow = Canvas(1, 20);
    QPainter narrowPainter(&narrow);
    EXPECT_TRUE(image.DrawFramed(QRect(0, 0, 10, 10), narrowPainter, QRect(0, 0, 1, 20), 255, 0));
    narrowPainter.end();
    EXPECT_EQ(narrow, Canvas(1, 20));
}

TEST(GreImage, EncoderIsFoundByExactMimeType)
{
    EXPECT_GE(gre::FindImageEncoder(QStringLiteral("image/png")), 0);
    EXPECT_GE(gre::FindImageEncoder(QStringLiteral("image/jpeg")), 0);
    EXPECT_GE(gre::FindImageEncoder(QStringLiteral("image/gif")), 0);
    EXPECT_EQ(gre::FindImageEncoder(QStringLiteral("image/PNG")), -1);
    EXPECT_EQ(gre::FindImageEncoder(QStringLiteral("image/x-unknown")), -1);

    CGreImage image = Pattern(2, 2);
    QByteArray bytes("left over");
    EXPECT_FALSE(image.SaveToBytes(QStringLiteral("image/PNG"), bytes));
}

TEST(GreImage, EncodedPicturesDecodeBackByMimeType)
{
    struct Case
    {
        const char* mime;
        QByteArray signature;
        int tolerance;
    };
    // JPEG is lossy; GIF is exact while the picture has at most 256 colours.
    const Case cases[] = {
        {"image/png", QByteArray("\x89PNG", 4), 0},
        {"image/jpeg", QByteArray("\xFF\xD8\xFF", 3), 12},
        {"image/gif", QByteArray("GIF89a"), 0},
    };
    CGreImage image;
    ASSERT_TRUE(image.Create(24, 16));
    image.GetBitmap().fill(0xFFE02010);
    QPainter painter(&image.GetBitmap());
    painter.fillRect(QRect(12, 0, 12, 16), QColor(0x20, 0x40, 0xC0));
    painter.end();

    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.mime);
        QByteArray bytes;
        ASSERT_TRUE(image.SaveToBytes(QString::fromLatin1(c.mime), bytes));
        EXPECT_TRUE(bytes.startsWith(c.signature));
        CGreImage decoded;
        ASSERT_TRUE(decoded.LoadFromBytes(bytes));
        EXPECT_EQ(decoded.GetSize(), QSize(24, 16));
        EXPECT_EQ(decoded.GetBitmap().format(), QImage::Format_ARGB32);
        EXPECT_LE(Distance(decoded.GetBitmap().pixel(3, 8), 0xFFE02010), c.tolerance);
        EXPECT_LE(Distance(decoded.GetBitmap().pixel(20, 8), 0xFF2040C0), c.tolerance);
    }
}

TEST(GreImage, GifKeepsTransparencyAndApproximatesManyColours)
{
    CGreImage image;
    ASSERT_TRUE(image.Create(64, 64));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.GetBitmap().setPixel(x, y, qRgba(x * 4, y * 4, 128, 255));
    for (int x = 0; x < 64; ++x)
        image.GetBitmap().setPixel(x, 0, 0x10FFFFFF);

    QByteArray bytes;
    ASSERT_TRUE(image.SaveToBytes(QStringLiteral("image/gif"), bytes));
    CGreImage decoded;
    ASSERT_TRUE(decoded.LoadFromBytes(bytes));
    ASSERT_EQ(decoded.GetSize(), QSize(64, 64));
    qint64 error = 0;
    for (int y = 1; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            error += Distance(decoded.GetBitmap().pixel(x, y), image.GetBitmap().pixel(x, y));
    EXPECT_LT(error / (63 * 64), 32);
    for (int x = 0; x < 64; ++x)
        EXPECT_EQ(qAlpha(decoded.GetBitmap().pixel(x, 0)), 0);
    EXPECT_EQ(qAlpha(decoded.GetBitmap().pixel(5, 5)), 255);
}

TEST(GreImage, FailedLoadsLeaveTheImageEmpty)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString text = folder.filePath(QStringLiteral("note.png"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a picture");
    file.close();

    QByteArray truncatedPng;
    ASSERT_TRUE(Pattern(8, 8).SaveToBytes(QStringLiteral("image/png"), truncatedPng));
    truncatedPng.truncate(30);

    const std::pair<const char*, std::function<bool(CGreImage&)>> loads[] = {
        {"text file", [&](CGreImage& image) { return image.LoadFromFile(text); }},
        {"missing file", [&](CGreImage& image) { return image.LoadFromFile(folder.filePath("none.png")); }},
        {"no bytes", [](CGreImage& image) { return image.LoadFromBytes({}); }},
        {"truncated PNG", [&](CGreImage& image) { return image.LoadFromBytes(truncatedPng); }},
        {"missing resource", [](CGreImage& image) { return image.LoadFromResource(65000); }},
    };
    for (const auto& [name, load] : loads)
    {
        SCOPED_TRACE(name);
        CGreImage image = Pattern(2, 2);
        EXPECT_FALSE(load(image));
        EXPECT_TRUE(image.IsEmpty());
    }
}

TEST(GreImage, FileIsDecodedByContentNotByName)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("picture.jpg"));
    ASSERT_TRUE(Pattern(5, 3).SaveToFile(path, QStringLiteral("image/png")));
    CGreImage image;
    ASSERT_TRUE(image.LoadFromFile(path));
    EXPECT_EQ(image.GetBitmap(), Pattern(5, 3).GetBitmap());
}

TEST(GreImage, FailedSaveToFileKeepsThePreviousFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("picture.png"));
    ASSERT_TRUE(Pattern(5, 3).SaveToFile(path, QStringLiteral("image/png")));

    EXPECT_FALSE(Pattern(7, 7).SaveToFile(path, QStringLiteral("image/x-unknown")));
    EXPECT_FALSE(CGreImage().SaveToFile(path, QStringLiteral("image/png")));
    CGreImage image;
    ASSERT_TRUE(image.LoadFromFile(path));
    EXPECT_EQ(image.GetSize(), QSize(5, 3));
}

TEST(GreImage, CreateRefusesSizesBeyondTheLimit)
{
    CGreImage image = Pattern(2, 2);
    EXPECT_FALSE(image.Create(0, 5));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_FALSE(image.Create(gre::MaxImageSide + 1, 1));
    ASSERT_TRUE(image.Create(3, 2));
    EXPECT_EQ(image.GetBitmap().pixel(2, 1), 0u);
}
