#include "GreRenderSupport.h"
#include "platform/gui/FontNames.h"

#include <QFontInfo>

#include <gtest/gtest.h>

using namespace gre;
using namespace GreTest;

namespace
{
std::unique_ptr<CGrePipeline> CaptionPipeline(std::unique_ptr<CGreLayerText> caption,
                                              const QSize& size = {200, 80})
{
    auto pipeline = Pipeline(size, White);
    pipeline->GetRootGroup().AddLayer(std::move(caption));
    return pipeline;
}
} // namespace

TEST(GreRender, TextLayerDrawsItsColourInsideItsBox)
{
    for (const bool smoothing : {false, true})
    {
        SCOPED_TRACE(smoothing);
        auto caption = TextLayer(QStringLiteral("Kelvora"), 24, Blue);
        caption->SetSmoothing(smoothing);
        caption->SetMargins(QMargins(10, 10, 10, 10));
        CGreLayerText& layer = *caption;
        auto pipeline = CaptionPipeline(std::move(caption));
        const QImage picture = Render(*pipeline);

        const QSize measured = layer.Measure(180);
        EXPECT_EQ(layer.GetPicture().GetSize(), measured);
        EXPECT_GT(measured.width(), 50);
        EXPECT_GT(measured.height(), 20);
        EXPECT_LT(measured.height(), 40);
        const QRect ink = InkBounds(picture, White);
        EXPECT_TRUE(QRect(QPoint(10, 10), measured).contains(ink)) << ink.x() << "," << ink.y();
        EXPECT_GT(CountPixels(picture, Blue), 40);
        // Only the text's colour, faded into the background at the edges when smoothed.
        for (int y = ink.top(); y <= ink.bottom(); ++y)
            for (int x = ink.left(); x <= ink.right(); ++x)
            {
                const QRgb pixel = picture.pixel(x, y);
                if (!smoothing)
                {
                    ASSERT_TRUE(pixel == Blue || pixel == White) << std::hex << pixel;
                }
                ASSERT_LE(std::abs(qRed(pixel) - qGreen(pixel)), 1);
                ASSERT_GE(qBlue(pixel), qRed(pixel));
            }
    }
}

TEST(GreRender, TextWrapsAtTheWidthOfItsBox)
{
    auto caption = TextLayer(QStringLiteral("one two three four five six seven"), 16, Black);
    const QSize line = caption->Measure(0x7FFFFFFF);
    const QSize wrapped = caption->Measure(100);
    EXPECT_GT(line.width(), 100);
    EXPECT_LE(wrapped.width(), 100);
    EXPECT_GE(wrapped.height(), 3 * line.height() - 3);
    EXPECT_EQ(caption->Measure(0), QSize(0, 0));
    EXPECT_EQ(TextLayer(QString(), 16, Black)->Measure(100), QSize(0, 0));

    caption->SetMargins(QMargins(50, 0, 50, 0));
    const QImage picture = Render(*CaptionPipeline(std::move(caption)));
    const QRect ink = InkBounds(picture, White);
    EXPECT_GE(ink.left(), 50);
    EXPECT_LT(ink.right(), 150);
}

TEST(GreRender, LineBreaksStartNewLines)
{
    auto caption = TextLayer(QStringLiteral("one"), 16, Black);
    const QSize one = caption->Measure(1000);
    for (const char* text : {"one\ntwo", "one\r\ntwo", "one\rtwo"})
    {
        SCOPED_TRACE(text);
        caption->SetText(QString::fromLatin1(text));
        const QSize two = caption->Measure(1000);
        EXPECT_NEAR(two.height(), 2 * one.height(), 2);
        EXPECT_LT(two.width(), 2 * one.width());
    }
}

// The short second line sits left, in the middle or right under the long first one.
TEST(GreRender, AlignmentPlacesEachLineInThePicture)
{
    std::vector<int> centres;
    for (const int alignment : {AlignLeft, AlignCentre, AlignRight})
    {
        SCOPED_TRACE(alignment);
        auto caption = TextLayer(QStringLiteral("A much longer first line\nI"), 16, Black);
        caption->SetSmoothing(false);
        caption->SetAlignment(alignment);
        const QSize size = caption->Measure(1000);
        const QImage picture = Render(*CaptionPipeline(std::move(caption), QSize(400, 80)));
        const QRect secondLine =
            InkBounds(picture.copy(0, size.height() / 2 + 2, size.width(), size.height() / 2 - 2), White);
        ASSERT_FALSE(secondLine.isEmpty());
        centres.push_back(secondLine.center().x());
    }
    ASSERT_EQ(centres.size(), 3u);
    EXPECT_LT(centres[0], 20);
    EXPECT_GT(centres[1], centres[0] + 50);
    EXPECT_GT(centres[2], centres[1] + 50);
}

TEST(GreRender, TextLayerWithoutRoomOrTextLeavesNothing)
{
    auto caption = TextLayer(QStringLiteral("Kelvora"), 24, Blue);
    CGreLayerText& layer = *caption;
    auto pipeline = CaptionPipeline(std::move(caption));
    EXPECT_GT(CountPixels(Render(*pipeline), Blue), 0);

    // A text removed since the last render does not stay.
    layer.SetText(QString());
    EXPECT_EQ(CountPixels(Render(*pipeline), White), 200 * 80);
    EXPECT_TRUE(layer.GetPicture().IsEmpty());

    layer.SetText(QStringLiteral("Kelvora"));
    layer.SetMargins(QMargins(100, 0, 100, 0));
    EXPECT_EQ(CountPixels(Render(*pipeline), White), 200 * 80);
}

TEST(GreRender, TextLayerSizesItsPipeline)
{
    auto caption = TextLayer(QStringLiteral("Kelvora"), 24, Blue);
    caption->SetMargins(QMargins(3, 4, 5, 6));
    const QSize measured = caption->Measure(0x7FFFFFFF);
    auto pipeline = CaptionPipeline(std::move(caption));
    pipeline->SetSizeMode(SizeModeLayer);
    EXPECT_EQ(Render(*pipeline).size(), measured + QSize(8, 10));
}

TEST(GreRender, WindowsFontNamesDrawInInstalledFamilies)
{
    const struct
    {
        const char* name;
        const char* family;
    } cases[] = {
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"DejaVu Serif", "DejaVu Serif"},
    };
    for (const auto& [name, family] : cases)
    {
        SCOPED_TRACE(name);
        auto caption = TextLayer(QStringLiteral("x"), 12, Black);
        caption->SetFontName(QString::fromLatin1(name));
        EXPECT_EQ(QFontInfo(caption->MakeFont()).family(), QString::fromLatin1(family));
    }
    // Names that cannot be had, and no name, take an installed sans-serif family.
    for (const char* name : {"No Such Font", ""})
    {
        auto caption = TextLayer(QStringLiteral("x"), 12, Black);
        caption->SetFontName(QString::fromLatin1(name));
        const QFontInfo info(caption->MakeFont());
        EXPECT_TRUE(info.family() == QLatin1String("DejaVu Sans") ||
                    info.family() == QLatin1String("Liberation Sans"))
            << info.family().toStdString();
    }
}

TEST(GreRender, TextLayersUseTheFamiliesTheDialogsUse)
{
    // Georgia is a serif face: a caption set in it must not come out sans-serif.
    for (const char* name : {"Georgia", "Verdana", "Tahoma", "Lucida Console", "Arial Narrow"})
    {
        SCOPED_TRACE(name);
        auto caption = TextLayer(QStringLiteral("x"), 12, Black);
        caption->SetFontName(QString::fromLatin1(name));
        EXPECT_EQ(QFontInfo(caption->MakeFont()).family(), MapWindowsFontFamily(QString::fromLatin1(name)));
    }
}

TEST(GreRender, FontStyleBitsReachTheFont)
{
    auto caption = TextLayer(QStringLiteral("x"), 30, Black);
    caption->SetBold(true);
    caption->SetItalic(true);
    caption->SetUnderline(true);
    caption->SetStrikeout(true);
    const QFont font = caption->MakeFont();
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_TRUE(font.strikeOut());
    const QSize bold = caption->Measure(1000);
    caption->SetBold(false);
    EXPECT_LT(caption->Measure(1000).width(), bold.width() + 1);
}
