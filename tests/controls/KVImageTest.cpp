#include "controls/KVImage.h"
#include "ControlTestSupport.h"

#include <gtest/gtest.h>

namespace
{
QImage Solid(int width, int height, QRgb color)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

QImage Canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}
} // namespace

TEST(KVImage, BitmapResourceWinsOverPngOfTheSameId)
{
    ScopedResourceModule resources;
    resources.AddImage(901, Solid(4, 4, qRgb(255, 0, 0)), "BMP");
    resources.AddImage(901, Solid(4, 4, qRgb(0, 0, 255)), "PNG");
    ASSERT_TRUE(resources.Load());
    CKVImage image;
    ASSERT_TRUE(image.LoadFromResource(901));
    Gdiplus::Color pixel;
    ASSERT_EQ(image.GetBitmap()->GetPixel(0, 0, &pixel), Gdiplus::Ok);
    EXPECT_EQ(pixel.GetValue(), 0xFFFF0000u);
}

TEST(KVImage, MissingAndBrokenResources)
{
    ScopedResourceModule resources;
    resources.AddFile(QStringLiteral("images/902.png"), QByteArray("not a picture"));
    ASSERT_TRUE(resources.Load());
    CKVImage image;
    ASSERT_TRUE(image.CreateBlank(5, 5));
    EXPECT_FALSE(image.LoadFromResource(903)) << "no resource of that id";
    EXPECT_FALSE(image.LoadFromResource(129))
        << "a language module is not completed from the built-in images";
    EXPECT_FALSE(image.HasImage());
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_TRUE(image.LoadFromResource(902)) << "the resource exists, though it does not decode";
    EXPECT_FALSE(image.HasImage());

    QImage canvas = Canvas(10, 10);
    Gdiplus::Bitmap target(canvas);
    Gdiplus::Graphics graphics(&target);
    image.Draw(graphics, 0, 0);
    image.DrawWithRepeatedLastColumn(graphics, 0, 0, 10);
    image.DrawStretched(graphics, CRect(0, 0, 10, 10), CRect(0, 0, 1, 1));
    EXPECT_EQ(target.Image(), canvas) << "an empty image draws nothing";
}

TEST(KVImage, ProgramImagesLoadFromTheCompiledResources)
{
    CKVImage grip;
    ASSERT_TRUE(grip.LoadFromResource(129));
    EXPECT_EQ(grip.GetWidth(), 18);
    EXPECT_EQ(grip.GetHeight(), 49);
    CKVImage textButton;
    ASSERT_TRUE(textButton.LoadFromResource(139));
    EXPECT_EQ(textButton.GetWidth(), 28);
    EXPECT_EQ(textButton.GetHeight(), 96);
}

TEST(KVImage, RepeatedLastColumnWidensOnlyBeyondTheImage)
{
    QImage source = Solid(3, 2, qRgb(10, 10, 10));
    source.setPixel(2, 0, qRgb(200, 0, 0));
    source.setPixel(2, 1, qRgb(200, 0, 0));
    ScopedResourceModule resources;
    resources.AddImage(904, source, "PNG");
    ASSERT_TRUE(resources.Load());
    CKVImage image;
    ASSERT_TRUE(image.LoadFromResource(904));

    for (const int total : {0, 2, 3})
    {
        Gdiplus::Bitmap target(Canvas(8, 2));
        Gdiplus::Graphics graphics(&target);
        image.DrawWithRepeatedLastColumn(graphics, 1, 0, total);
        EXPECT_EQ(target.Image().pixel(3, 0), qRgb(200, 0, 0)) << total;
        EXPECT_EQ(qAlpha(target.Image().pixel(4, 0)), 0)
            << "total width " << total << " draws only the image";
    }
    Gdiplus::Bitmap target(Canvas(8, 2));
    Gdiplus::Graphics graphics(&target);
    image.DrawWithRepeatedLastColumn(graphics, 1, 0, 6);
    for (int x = 3; x < 7; ++x)
        EXPECT_EQ(target.Image().pixel(x, 1), qRgb(200, 0, 0)) << x;
    EXPECT_EQ(qAlpha(target.Image().pixel(7, 1)), 0);
}

TEST(KVImage, StateFramesOfAStripNotDivisibleByFourAreRoundedDown)
{
    ScopedResourceModule resources;
    QImage strip = MakeStateStrip(9, 24);
    QImage taller(9, 99, QImage::Format_ARGB32);
    taller.fill(qRgb(255, 255, 255));
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 9; ++x)
            taller.setPixel(x, y, strip.pixel(x, y));
    resources.AddImage(905, taller, "PNG");
    ASSERT_TRUE(resources.Load());
    CKVImage image;
    ASSERT_TRUE(image.LoadFromResource(905));
    EXPECT_EQ(image.GetHeight() / 4, 24);
    Gdiplus::Bitmap target(Canvas(9, 24));
    Gdiplus::Graphics graphics(&target);
    image.DrawStretched(graphics, CRect(0, 0, 9, 24), CRect(0, 72, 9, 96));
    EXPECT_EQ(target.Image().pixel(0, 23), StripColor(3, 0)) << "the last rows are never shown";
}

TEST(KVImage, BlankImageIsATransparentBuffer)
{
    CKVImage image;
    ASSERT_TRUE(image.CreateBlank(30, 20));
    EXPECT_TRUE(image.HasImage());
    EXPECT_EQ(image.GetBitmap()->Image().format(), QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(image.GetBitmap()->Image().pixel(5, 5)), 0);
}
