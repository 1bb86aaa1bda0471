#include "GreRenderSupport.h"

#include "gre/GreProject.h"

#include <limits>
#include <numbers>
#include <thread>

#include <functional>
#include <numbers>

#include <gtest/gtest.h>

using namespace gre;
using namespace GreTest;

namespace
{
GreImageMap OneImage(const QString& id, const QSize& size, QRgb fill)
{
    GreImageMap images;
    images[id] = Picture(size, fill);
    return images;
}
} // namespace

TEST(GreRender, NewPipelineIsOpaqueWhiteAtItsFixedSize)
{
    CGrePipeline pipeline;
    const QImage picture = Render(pipeline);
    ASSERT_EQ(picture.size(), QSize(160, 120));
    EXPECT_EQ(picture.format(), QImage::Format_ARGB32);
    EXPECT_EQ(CountPixels(picture, White), 160 * 120);
}

TEST(GreRender, OutputSizeFollowsTheSizeRule)
{
    const float pi = std::numbers::pi_v<float>;
    const CGreImage source = *Picture(QSize(30, 20), Red);
    const struct
    {
        const char* name;
        int sizeMode;
        QSize fixed;
        bool layer;
        QMargins margins;
        float rotation;
        QSize expected;
    } cases[] = {
        {"fixed", SizeModeFixed, QSize(70, 40), true, {}, 0, QSize(70, 40)},
        {"layer", SizeModeLayer, QSize(70, 40), true, {}, 0, QSize(30, 20)},
        {"layer with margins", SizeModeLayer, QSize(70, 40), true, QMargins(1, 2, 3, 4), 0, QSize(34, 26)},
        {"turned layer", SizeModeLayer, QSize(70, 40), true, QMargins(1, 2, 3, 4), pi / 2, QSize(24, 36)},
        {"layer mode without layers", SizeModeLayer, QSize(70, 40), false, {}, 0, QSize(70, 40)},
        {"unknown mode", 7, QSize(70, 40), true, {}, 0, QSize(70, 40)},
        {"no fixed size", SizeModeFixed, QSize(0, -5), false, {}, 0, QSize(1, 1)},
        {"huge fixed size", SizeModeFixed, QSize(100000, 50), false, {}, 0, QSize(MaxRenderSide, 50)},
        {"layer far outside", SizeModeLayer, QSize(70, 40), true, QMargins(-1000, 0, 0, 0), 0, QSize(1, 20)},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.name);
        auto pipeline = Pipeline(test.fixed, White);
        pipeline->SetSizeMode(test.sizeMode);
        if (test.layer)
        {
            auto layer = std::make_unique<CGreLayerImage>();
            layer->SetMargins(test.margins);
            layer->SetRotation(test.rotation);
            pipeline->GetRootGroup().AddLayer(std::move(layer));
        }
        EXPECT_EQ(Render(*pipeline, nullptr, source).size(), test.expected);
    }
}

TEST(GreRender, SizeLayerIsTheMarkedTopLevelLayer)
{
    GreImageMap images = OneImage(QStringLiteral("small"), QSize(10, 10), Red);
    images[QStringLiteral("large")] = Picture(QSize(50, 40), Blue);
    auto pipeline = Pipeline(QSize(160, 120), White);
    pipeline->SetSizeMode(SizeModeLayer);
    pipeline->GetRootGroup().AddLayer(ImageLayer(QStringLiteral("small")));
    pipeline->GetRootGroup().AddLayer(ImageLayer(QStringLiteral("large")));
    EXPECT_EQ(Render(*pipeline, &images).size(), QSize(10, 10));
    pipeline->SetSizeLayer(pipeline->GetRootGroup().GetLayer(1));
    EXPECT_EQ(Render(*pipeline, &images).size(), QSize(50, 40));
}

TEST(GreRender, SizeLayerUsingAnEmptySourceGivesOnePixel)
{
    auto pipeline = Pipeline(QSize(160, 120), White);
    pipeline->SetSizeMode(SizeModeLayer);
    pipeline->GetRootGroup().AddLayer(std::make_unique<CGreLayerImage>());
    EXPECT_EQ(Render(*pipeline).size(), QSize(1, 1));
}

TEST(GreRender, BackgroundReplacesWhatAReusedTargetHeld)
{
    auto pipeline = Pipeline(QSize(20, 10), 0x80FF0000);
    CGreImage target = *Picture(QSize(20, 10), Blue);
    EXPECT_TRUE(pipeline->Render(nullptr, CGreImage(), target));
    EXPECT_EQ(CountPixels(target.GetBitmap(), 0x80FF0000), 200);

    // A target of another size gets a new picture of the output size.
    CGreImage small = *Picture(QSize(5, 5), Blue);
    EXPECT_TRUE(pipeline->Render(nullptr, CGreImage(), small));
    EXPECT_EQ(small.GetSize(), QSize(20, 10));
    EXPECT_EQ(CountPixels(small.GetBitmap(), 0x80FF0000), 200);
}

TEST(GreRender, ImageLayerShowsTheSourceOrAProjectImage)
{
    const GreImageMap images = OneImage(QStringLiteral("red"), QSize(10, 10), Red);
    const CGreImage source = *Picture(QSize(10, 10), Blue);
    const struct
    {
        const char* name;
        bool useSource;
        QString imageId;
        const GreImageMap* images;
        QRgb expected;
    } cases[] = {
        {"source", true, QStringLiteral("red"), &images, Blue},
        {"project image", false, QStringLiteral("red"), &images, Red},
        {"missing image", false, QStringLiteral("green"), &images, White},
        {"no project", false, QStringLiteral("red"), nullptr, White},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.name);
        auto pipeline = Pipeline(QSize(30, 30), White);
        auto layer = ImageLayer(test.imageId, QMargins(10, 10, 0, 0));
        layer->SetUseSource(test.useSource);
        pipeline->GetRootGroup().AddLayer(std::move(layer));
        const QImage picture = Render(*pipeline, test.images, source);
        EXPECT_EQ(picture.pixel(10, 10), test.expected);
        EXPECT_EQ(picture.pixel(19, 19), test.expected);
        EXPECT_EQ(picture.pixel(9, 9), White);
        EXPECT_EQ(picture.pixel(20, 20), White);
    }
}

TEST(GreRender, OpacityScalesTheAlphaOfTheLayer)
{
    const GreImageMap images = OneImage(QStringLiteral("red"), QSize(10, 10), Red);
    const struct
    {
        int opacity;
        QRgb expected;
    } cases[] = {
        {255, Red},
        {128, qRgba(255, 0, 0, 128)},
        {1, qRgba(255, 0, 0, 1)},
        {0, Transparent},
    };
    for (const auto& [opacity, expected] : cases)
    {
        SCOPED_TRACE(opacity);
        auto pipeline = Pipeline(QSize(10, 10), Transparent);
        auto layer = ImageLayer(QStringLiteral("red"));
        layer->SetOpacity(opacity);
        pipeline->GetRootGroup().AddLayer(std::move(layer));
        const QImage picture = Render(*pipeline, &images);
        // Colours of nearly transparent pixels lose precision in the painter; alphas do not.
        EXPECT_EQ(qAlpha(picture.pixel(5, 5)), qAlpha(expected));
        if (qAlpha(expected) >= 128)
        {
            EXPECT_TRUE(IsNear(picture.pixel(5, 5), expected));
        }
    }
}

TEST(GreRender, HalfOpaqueLayerBlendsWithTheBackground)
{
    const GreImageMap images = OneImage(QStringLiteral("black"), QSize(10, 10), Black);
    auto pipeline = Pipeline(QSize(10, 10), White);
    auto layer = ImageLayer(QStringLiteral("black"));
    layer->SetOpacity(128);
    pipeline->GetRootGroup().AddLayer(std::move(layer));
    EXPECT_TRUE(IsNear(Render(*pipeline, &images).pixel(5, 5), qRgb(127, 127, 127)));
}

// A bar red on the left and blue on the right, turned a quarter to the left about its centre,
// stands upright with red at the bottom.
TEST(GreRender, PositiveRotationTurnsCounterClockwiseAboutTheCentre)
{
    GreImageMap images;
    auto bar = Picture(QSize(40, 10), Red);
    for (int y = 0; y < 10; ++y)
        for (int x = 20; x < 40; ++x)
            bar->GetBitmap().setPixel(x, y, Blue);
    images[QStringLiteral("bar")] = std::move(bar);

    auto pipeline = Pipeline(QSize(100, 100), White);
    auto layer = ImageLayer(QStringLiteral("bar"), {}, PlacementCenter);
    layer->SetRotation(std::numbers::pi_v<float> / 2);
    pipeline->GetRootGroup().AddLayer(std::move(layer));
    const QImage picture = Render(*pipeline, &images);

    const QRect ink = InkBounds(picture, White);
    EXPECT_NEAR(ink.center().x(), 50, 1);
    EXPECT_NEAR(ink.center().y(), 50, 1);
    EXPECT_NEAR(ink.width(), 10, 2);
    EXPECT_NEAR(ink.height(), 40, 2);
    EXPECT_EQ(picture.pixel(50, 65), Red);
    EXPECT_EQ(picture.pixel(50, 35), Blue);
    EXPECT_EQ(picture.pixel(35, 50), White);
}

TEST(GreRender, GroupsDrawTheirChildrenInOrderAndOnlyWhenVisible)
{
    GreImageMap images = OneImage(QStringLiteral("red"), QSize(20, 20), Red);
    images[QStringLiteral("blue")] = Picture(QSize(20, 20), Blue);
    const auto pipelineWithGroup = [](bool visible)
    {
        auto pipeline = Pipeline(QSize(40, 40), White);
        auto group = std::make_unique<CGreLayerGroup>();
        group->SetVisible(visible);
        // A group's own placement, opacity and margins take no part.
        group->SetPlacement(PlacementNone);
        group->SetOpacity(0);
        group->SetMargins(QMargins(30, 30, 30, 30));
        group->AddLayer(ImageLayer(QStringLiteral("red")));
        auto nested = std::make_unique<CGreLayerGroup>();
        nested->AddLayer(ImageLayer(QStringLiteral("blue"), QMargins(10, 10, 0, 0)));
        group->AddLayer(std::move(nested));
        pipeline->GetRootGroup().AddLayer(std::move(group));
        return pipeline;
    };

    const QImage shown = Render(*pipelineWithGroup(true), &images);
    EXPECT_EQ(shown.pixel(5, 5), Red);
    EXPECT_EQ(shown.pixel(15, 15), Blue);
    EXPECT_EQ(shown.pixel(25, 25), Blue);
    EXPECT_EQ(shown.pixel(35, 35), White);

    EXPECT_EQ(CountPixels(Render(*pipelineWithGroup(false), &images), White), 40 * 40);
}

TEST(GreRender, InvisibleOrUnplacedLayerIsNotDrawn)
{
    const GreImageMap images = OneImage(QStringLiteral("red"), QSize(10, 10), Red);
    const std::function<void(CGreLayerBase&)> changes[] = {
        [](CGreLayerBase& layer) { layer.SetVisible(false); },
        [](CGreLayerBase& layer) { layer.SetPlacement(PlacementNone); },
        [](CGreLayerBase& layer) { layer.SetMargins(QMargins(20, 0, 20, 0)); },
    };
    for (const auto& change : changes)
    {
        auto pipeline = Pipeline(QSize(30, 30), White);
        auto layer = ImageLayer(QStringLiteral("red"));
        layer->AddEffect(Shadow());
        change(*layer);
        pipeline->GetRootGroup().AddLayer(std::move(layer));
        EXPECT_EQ(CountPixels(Render(*pipeline, &images), White), 30 * 30);
    }
}

TEST(GreRender, CopySplitKeepsTheCornersAndStretchesTheMiddle)
{
    GreImageMap images;
    auto frame = Picture(QSize(10, 10), Blue);
    frame->GetBitmap().setPixel(0, 0, Red);
    frame->GetBitmap().setPixel(9, 9, Red);
    images[QStringLiteral("frame")] = std::move(frame);
    auto pipeline = Pipeline(QSize(60, 30), White);
    pipeline->GetRootGroup().AddLayer(
        ImageLayer(QStringLiteral("frame"), QMargins(5, 5, 5, 5), PlacementCopySplit));
    const QImage picture = Render(*pipeline, &images);
    EXPECT_EQ(picture.pixel(5, 5), Red);
    EXPECT_EQ(picture.pixel(54, 24), Red);
    EXPECT_EQ(picture.pixel(6, 6), Blue);
    EXPECT_EQ(picture.pixel(30, 15), Blue);
    EXPECT_EQ(InkBounds(picture, White), QRect(5, 5, 50, 20));
}

// Values no editor writes but a crafted file can hold: the render stays bounded and draws
// what it can.
TEST(GreRender, CraftedValuesKeepTheRenderBounded)
{
    const GreImageMap images = OneImage(QStringLiteral("red"), QSize(10, 10), Red);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    using Craft = std::function<void(CGrePipeline&)>;
    const auto top = [](CGrePipeline& pipeline) { return pipeline.GetRootGroup().GetLayer(0); };
    const std::pair<const char*, Craft> cases[] = {
        {"rotation NaN", [&](CGrePipeline& p) { top(p)->SetRotation(nan); }},
        {"rotation infinite", [&](CGrePipeline& p) { top(p)->SetRotation(inf); }},
        {"margins at the int limits",
         [&](CGrePipeline& p)
         {
             top(p)->SetMargins(QMargins(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                                         std::numeric_limits<int>::min(), std::numeric_limits<int>::min()));
             top(p)->SetPlacement(PlacementResizeCrop);
         }},
        {"layer size from huge margins",
         [&](CGrePipeline& p)
         {
             p.SetSizeMode(SizeModeLayer);
             top(p)->SetMargins(
                 QMargins(std::numeric_limits<int>::max(), 0, std::numeric_limits<int>::max(), 0));
         }},
        {"shadow thrown far",
         [&](CGrePipeline& p)
         {
             auto shadow = Shadow();
             shadow->SetDistance(1e30f);
             top(p)->AddEffect(std::move(shadow));
         }},
        {"shadow distance NaN",
         [&](CGrePipeline& p)
         {
             auto shadow = Shadow();
             shadow->SetDistance(nan);
             shadow->SetAngle(inf);
             top(p)->AddEffect(std::move(shadow));
         }},
        {"many effects",
         [&](CGrePipeline& p)
         {
             for (int i = 0; i < 5000; ++i)
                 top(p)->AddEffect(Shadow());
         }},
        {"many layers",
         [&](CGrePipeline& p)
         {
             for (int i = 0; i < 5000; ++i)
                 p.GetRootGroup().AddLayer(ImageLayer(QStringLiteral("red")));
         }},
        {"deep groups",
         [&](CGrePipeline& p)
         {
             auto group = std::make_unique<CGreLayerGroup>();
             for (int i = 0; i < 400; ++i)
             {
                 auto outer = std::make_unique<CGreLayerGroup>();
                 outer->AddLayer(std::move(group));
                 group = std::move(outer);
             }
             p.GetRootGroup().AddLayer(std::move(group));
         }},
        {"huge text",
         [&](CGrePipeline& p)
         {
             auto text = TextLayer(QString(100000, QLatin1Char('W')), 1e9f, Black);
             p.GetRootGroup().AddLayer(std::move(text));
         }},
        {"text size NaN", [&](CGrePipeline& p) { p.GetRootGroup().AddLayer(TextLayer("a", nan, Black)); }},
    };
    for (const auto& [name, craft] : cases)
    {
        SCOPED_TRACE(name);
        auto pipeline = Pipeline(QSize(64, 48), White);
        pipeline->GetRootGroup().AddLayer(ImageLayer(QStringLiteral("red")));
        craft(*pipeline);
        const QImage picture = Render(*pipeline, &images);
        EXPECT_GE(picture.width(), 1);
        EXPECT_LE(picture.width(), MaxRenderSide);
        EXPECT_GE(picture.height(), 1);
        EXPECT_LE(picture.height(), MaxRenderSide);
    }
}

// Full-size layers up to the work bound are drawn; the next one is left out.
TEST(GreRender, LayersBeyondTheWorkBoundAreLeftOut)
{
    const QSize largest(MaxRenderSide, MaxRenderSide);
    const int drawn = int(MaxRenderWork / (qint64(largest.width()) * largest.height()));
    GreImageMap images = OneImage(QStringLiteral("red"), largest, Red);
    images[QStringLiteral("blue")] = Picture(largest, Blue);
    const auto topmostAfter = [&](int redLayers)
    {
        auto pipeline = Pipeline(largest, White);
        for (int i = 0; i < redLayers; ++i)
            pipeline->GetRootGroup().AddLayer(ImageLayer(QStringLiteral("red")));
        pipeline->GetRootGroup().AddLayer(ImageLayer(QStringLiteral("blue")));
        return Render(*pipeline, &images).pixel(100, 100);
    };
    EXPECT_EQ(topmostAfter(drawn - 1), Blue);
    EXPECT_EQ(topmostAfter(drawn), Red);
}

TEST(GreRender, DeeplyNestedLayersAreLeftOut)
{
    const GreImageMap images = OneImage(QStringLiteral("red"), QSize(10, 10), Red);
    const auto nestedIn = [](int depth)
    {
        std::unique_ptr<CGreLayerBase> layer = ImageLayer(QStringLiteral("red"));
        for (int i = 0; i < depth; ++i)
        {
            auto group = std::make_unique<CGreLayerGroup>();
            group->AddLayer(std::move(layer));
            layer = std::move(group);
        }
        auto pipeline = Pipeline(QSize(10, 10), White);
        pipeline->GetRootGroup().AddLayer(std::move(layer));
        return pipeline;
    };
    EXPECT_EQ(Render(*nestedIn(MaxGroupDepth - 1), &images).pixel(5, 5), Red);
    EXPECT_EQ(Render(*nestedIn(MaxGroupDepth), &images).pixel(5, 5), White);
}

namespace
{
// Every kind of layer and effect, turned and faded, over a photo-like source.
std::unique_ptr<CGrePipeline> RichPipeline()
{
    auto pipeline = Pipeline(QSize(240, 160), 0xFFF4F0E8);
    CGreLayerGroup& root = pipeline->GetRootGroup();
    auto photo = std::make_unique<CGreLayerImage>();
    photo->SetPlacement(PlacementResizeToFit);
    photo->SetMargins(QMargins(12, 12, 12, 40));
    photo->SetRotation(-0.08f);
    photo->AddEffect(Shadow(0xFF303030));
    root.AddLayer(std::move(photo));

    auto badge = std::make_unique<CGreLayerGroup>();
    auto stamp = ImageLayer(QStringLiteral("stamp"), QMargins(0, 8, 8, 0), PlacementTopRight);
    stamp->SetOpacity(200);
    stamp->SetRotation(0.4f);
    badge->AddLayer(std::move(stamp));
    root.AddLayer(std::move(badge));

    auto caption = TextLayer(QStringLiteral("Autumn sale\nthis week only"), 15, 0xFF1F3A93);
    caption->SetBold(true);
    caption->SetAlignment(AlignCentre);
    caption->SetPlacement(PlacementBottom);
    caption->SetMargins(QMargins(8, 0, 8, 2));
    caption->AddEffect(Shadow(0xFF9090A0));
    root.AddLayer(std::move(caption));
    return pipeline;
}

CGreImage RichSource()
{
    CGreImage source;
    source.Create(QSize(180, 120));
    QImage& bitmap = source.GetBitmap();
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            bitmap.setPixel(x, y, qRgb(60 + x, 120 + y / 2, 200 - x / 2));
    return source;
}

GreImageMap RichImages()
{
    GreImageMap images;
    auto stamp = Picture(QSize(44, 44), Transparent);
    for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 44; ++x)
            if ((x - 22) * (x - 22) + (y - 22) * (y - 22) < 20 * 20)
                stamp->GetBitmap().setPixel(x, y, x < 22 ? 0xFFE04040 : 0xFFF0C030);
    images[QStringLiteral("stamp")] = std::move(stamp);
    return images;
}
} // namespace

// The local server renders on its connection threads. Each render works on its own copy of
// the pipeline (text layers keep their pictures), and nothing else may be shared.
TEST(GreRender, TwoThreadsAtOnceRenderIdenticalPixels)
{
    const GreImageMap images = RichImages();
    const CGreImage source = RichSource();
    const QImage expected = Render(*RichPipeline(), &images, source);

    QImage results[2][8];
    const auto renderMany = [&](QImage* out)
    {
        for (int i = 0; i < 8; ++i)
        {
            auto pipeline = RichPipeline();
            CGreImage target;
            pipeline->Render(&images, source, target);
            out[i] = target.GetBitmap();
        }
    };
    std::thread first(renderMany, results[0]);
    std::thread second(renderMany, results[1]);
    first.join();
    second.join();
    for (const auto& thread : results)
        for (const QImage& picture : thread)
            EXPECT_EQ(picture, expected);
}

TEST(GreRender, SamplesAreWrittenForReview)
{
    const GreImageMap images = RichImages();
    const CGreImage source = RichSource();
    auto rich = RichPipeline();
    CGreImage target;
    rich->Render(&images, source, target);
    EXPECT_TRUE(target.SaveToFile(ArtifactPath(QStringLiteral("rich.png")), QStringLiteral("image/png")));

    // One tile per placement code, a 30 x 14 picture in a 70 x 50 box with a 5 pixel margin.
    QImage sheet(4 * 80, 4 * 60, QImage::Format_ARGB32);
    sheet.fill(White);
    GreImageMap tiles = OneImage(QStringLiteral("tile"), QSize(30, 14), 0xFF2060C0);
    tiles[QStringLiteral("tile")]->GetBitmap().fill(0xFF2060C0);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 5; ++x)
            tiles[QStringLiteral("tile")]->GetBitmap().setPixel(x, y, 0xFFE04040);
    for (int code = 0; code < 16; ++code)
    {
        auto pipeline = Pipeline(QSize(80, 60), 0xFFDDDDDD);
        auto layer = ImageLayer(QStringLiteral("tile"), QMargins(5, 5, 5, 5), code);
        layer->AddEffect(Shadow());
        pipeline->GetRootGroup().AddLayer(std::move(layer));
        const QImage tile = Render(*pipeline, &tiles);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x)
                sheet.setPixel((code % 4) * 80 + x, (code / 4) * 60 + y, tile.pixel(x, y));
    }
    EXPECT_TRUE(sheet.save(ArtifactPath(QStringLiteral("placements.png"))));

    // Text in the fonts, styles and alignments a caption uses.
    auto captions = Pipeline(QSize(360, 220), White);
    const struct
    {
        const char* text;
        const char* font;
        int top;
        bool smoothing;
        bool italic;
        int alignment;
    } lines[] = {
        {"Arial, smooth", "Arial", 4, true, false, AlignLeft},
        {"Arial, not smooth", "Arial", 34, false, false, AlignLeft},
        {"Times New Roman, italic", "Times New Roman", 64, true, true, AlignLeft},
        {"Centred over\ntwo lines", "Verdana", 100, true, false, AlignCentre},
        {"Right, shadow", "Tahoma", 170, true, false, AlignRight},
    };
    for (const auto& line : lines)
    {
        auto caption = TextLayer(QString::fromLatin1(line.text), 22, 0xFF203080);
        caption->SetFontName(QString::fromLatin1(line.font));
        caption->SetSmoothing(line.smoothing);
        caption->SetItalic(line.italic);
        caption->SetAlignment(line.alignment);
        caption->SetPlacement(line.alignment == AlignRight ? PlacementTopRight : PlacementTop);
        caption->SetMargins(QMargins(6, line.top, 6, 0));
        if (line.alignment == AlignRight)
            caption->AddEffect(Shadow());
        captions->GetRootGroup().AddLayer(std::move(caption));
    }
    CGreImage text;
    captions->Render(nullptr, CGreImage(), text);
    EXPECT_TRUE(text.SaveToFile(ArtifactPath(QStringLiteral("text.png")), QStringLiteral("image/png")));
}
