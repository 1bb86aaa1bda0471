#include "GreRenderSupport.h"

#include <functional>
#include <numbers>

#include <gtest/gtest.h>

using namespace gre;
using namespace GreTest;

namespace
{
// A 10 x 10 black square at (20, 20) with the effects, on the background.
QImage SquareWith(std::vector<std::unique_ptr<CGreEffectBase>> effects, QRgb background, int placement = 2)
{
    GreImageMap images;
    images[QStringLiteral("square")] = Picture(QSize(10, 10), Black);
    auto pipeline = Pipeline(QSize(60, 60), background);
    auto layer = ImageLayer(QStringLiteral("square"), QMargins(20, 20, 0, 0), placement);
    for (auto& effect : effects)
        layer->AddEffect(std::move(effect));
    pipeline->GetRootGroup().AddLayer(std::move(layer));
    return Render(*pipeline, &images);
}

std::vector<std::unique_ptr<CGreEffectBase>> Effects(std::unique_ptr<CGreEffectBase> first,
                                                     std::unique_ptr<CGreEffectBase> second = nullptr)
{
    std::vector<std::unique_ptr<CGreEffectBase>> effects;
    effects.push_back(std::move(first));
    if (second)
        effects.push_back(std::move(second));
    return effects;
}
} // namespace

// The default shadow falls 3 pixels right and down, with half the picture's alpha, and keeps
// within the picture grown by 5 pixels.
TEST(GreRender, DefaultShadowIsTheHalfAlphaPictureMovedThreePixels)
{
    const QImage picture = SquareWith(Effects(std::make_unique<CGreEffectDropShadow>()), Transparent);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
        {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            const QRgb pixel = picture.pixel(20 + x, 20 + y);
            if (x < 10 && y < 10)
                EXPECT_EQ(pixel, Black);
            else if (x >= 3 && x <= 12 && y >= 3 && y <= 12)
                EXPECT_TRUE(IsNear(pixel, qRgba(128, 128, 128, 127))) << std::hex << pixel;
            else
                EXPECT_EQ(qAlpha(pixel), 0);
        }
}

TEST(GreRender, ShadowDarkensTheBackgroundAtItsOffset)
{
    const QImage picture = SquareWith(Effects(Shadow(Black)), White);
    EXPECT_TRUE(IsNear(picture.pixel(32, 32), qRgb(128, 128, 128)));
    EXPECT_TRUE(IsNear(picture.pixel(25, 32), qRgb(128, 128, 128)));
    EXPECT_EQ(picture.pixel(33, 33), White);
    EXPECT_EQ(picture.pixel(22, 31), White);
    EXPECT_EQ(picture.pixel(29, 29), Black);
}

TEST(GreRender, ShadowFollowsItsAngleAndDistance)
{
    auto shadow = Shadow(Black);
    shadow->SetAngle(0);
    shadow->SetDistance(8);
    const QImage picture = SquareWith(Effects(std::move(shadow)), White);
    EXPECT_EQ(InkBounds(picture, White), QRect(20, 20, 18, 10));

    // Cast up and left, the shadow keeps within the picture's own rectangle.
    auto upward = Shadow(Black);
    upward->SetAngle(std::numbers::pi_v<float> * 5 / 4);
    EXPECT_EQ(InkBounds(SquareWith(Effects(std::move(upward)), White), White), QRect(20, 20, 10, 10));
}

TEST(GreRender, ShadowsApplyByOrderKeyAndOnlyWhenEnabled)
{
    // Both shadows fall on the same pixels; the later one in order lies on top.
    const QImage ordered = SquareWith(Effects(Shadow(Blue, -100), Shadow(Red, -200)), White);
    EXPECT_GT(qBlue(ordered.pixel(32, 32)), qRed(ordered.pixel(32, 32)));

    auto disabled = Shadow(Blue);
    disabled->SetEnabled(false);
    EXPECT_EQ(InkBounds(SquareWith(Effects(std::move(disabled)), White), White), QRect(20, 20, 10, 10));

    // A positive order key lays the shadow over the picture.
    const QImage above = SquareWith(Effects(Shadow(Red, 100)), White);
    EXPECT_GT(qRed(above.pixel(25, 25)), 100);
    EXPECT_EQ(above.pixel(21, 21), Black);
}

TEST(GreRender, ShadowTakesItsOpacity)
{
    auto faint = Shadow(Black);
    faint->SetOpacity(128);
    // Half of the half alpha: 127 * 128 / 255 = 63.
    EXPECT_TRUE(IsNear(SquareWith(Effects(std::move(faint)), Transparent).pixel(32, 32), qRgba(0, 0, 0, 63)));
}

// A scaled picture keeps a shadow of its natural size at the layer's origin.
TEST(GreRender, ShadowIsNotScaledWithThePicture)
{
    GreImageMap images;
    images[QStringLiteral("square")] = Picture(QSize(10, 10), Black);
    auto pipeline = Pipeline(QSize(60, 60), White);
    auto layer = ImageLayer(QStringLiteral("square"), QMargins(10, 10, 10, 10), PlacementStretch);
    layer->AddEffect(Shadow(Blue));
    pipeline->GetRootGroup().AddLayer(std::move(layer));
    const QImage picture = Render(*pipeline, &images);
    EXPECT_EQ(InkBounds(picture, White), QRect(10, 10, 40, 40));
    EXPECT_EQ(picture.pixel(49, 49), Black);
}
