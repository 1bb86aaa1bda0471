#include "gre/GreRenderGeometry.h"
#include "gre/GreLayerBase.h"

#include <QRect>

#include <numbers>

#include <gtest/gtest.h>

using namespace gre;

namespace
{
QRect Place(int placement, const QSize& picture, const QRect& box)
{
    CGreLayerBase layer;
    layer.SetPlacement(placement);
    return PlaceLayerPicture(picture, layer, box);
}
} // namespace

// A 40 x 10 picture in the box at (10, 20) of 200 x 100: every code's rectangle.
TEST(GreRender, EachPlacementCodeHasItsRectangle)
{
    const QRect box(10, 20, 200, 100);
    const QSize picture(40, 10);
    const struct
    {
        int code;
        QRect expected;
    } cases[] = {
        {PlacementNone, QRect()},
        {PlacementLeft, QRect(10, 65, 40, 10)},
        {PlacementTopLeft, QRect(10, 20, 40, 10)},
        {PlacementTop, QRect(90, 20, 40, 10)},
        {PlacementTopRight, QRect(170, 20, 40, 10)},
        {PlacementRight, QRect(170, 65, 40, 10)},
        {PlacementBottomRight, QRect(170, 110, 40, 10)},
        {PlacementBottom, QRect(90, 110, 40, 10)},
        {PlacementBottomLeft, QRect(10, 110, 40, 10)},
        {PlacementCenter, QRect(90, 65, 40, 10)},
        {PlacementStretch, box},
        {PlacementShrinkToFit, QRect(90, 65, 40, 10)},
        {PlacementCropToFit, QRect(90, 65, 40, 10)},
        {PlacementResizeToFit, QRect(10, 45, 200, 50)},
        {PlacementResizeCrop, QRect(-90, 20, 400, 100)},
        {PlacementCopySplit, box},
        {16, QRect()},
        {-1, QRect()},
    };
    for (const auto& [code, expected] : cases)
    {
        SCOPED_TRACE(code);
        EXPECT_EQ(Place(code, picture, box), expected);
    }
}

TEST(GreRender, PlacementsThatFitScaleOnlyPicturesThatDoNotFit)
{
    const QRect box(0, 0, 200, 200);
    const struct
    {
        int code;
        QSize picture;
        QRect expected;
    } cases[] = {
        {PlacementShrinkToFit, QSize(100, 50), QRect(50, 75, 100, 50)},
        {PlacementShrinkToFit, QSize(400, 100), QRect(0, 75, 200, 50)},
        {PlacementCropToFit, QSize(100, 50), QRect(50, 75, 100, 50)},
        {PlacementCropToFit, QSize(400, 100), QRect(-300, 0, 800, 200)},
        // As large as the box in one direction counts as not fitting.
        {PlacementShrinkToFit, QSize(200, 100), QRect(0, 50, 200, 100)},
        {PlacementResizeToFit, QSize(100, 50), QRect(0, 50, 200, 100)},
        {PlacementResizeCrop, QSize(100, 50), QRect(-100, 0, 400, 200)},
    };
    for (const auto& [code, picture, expected] : cases)
    {
        SCOPED_TRACE(testing::Message() << code << " " << picture.width() << "x" << picture.height());
        EXPECT_EQ(Place(code, picture, box), expected);
    }
}

TEST(GreRender, HalvesTruncateTowardZero)
{
    const QRect box(10, 0, 200, 100);
    // (200 - 41) / 2 = 79 and (100 - 11) / 2 = 44.
    EXPECT_EQ(Place(PlacementCenter, QSize(41, 11), box), QRect(89, 44, 41, 11));
    // (200 - 203) / 2 is -1, not -2.
    EXPECT_EQ(Place(PlacementTop, QSize(203, 10), box), QRect(9, 0, 203, 10));
}

TEST(GreRender, EmptyPictureOrBoxPlacesNothing)
{
    EXPECT_EQ(Place(PlacementStretch, QSize(0, 10), QRect(0, 0, 50, 50)), QRect());
    EXPECT_EQ(Place(PlacementStretch, QSize(10, 0), QRect(0, 0, 50, 50)), QRect());
    EXPECT_EQ(Place(PlacementTopLeft, QSize(10, 10), QRect(0, 0, 0, 50)), QRect());
}

TEST(GreRender, LayerBoxLiesInsideTheMargins)
{
    CGreLayerBase layer;
    layer.SetMargins(QMargins(10, 5, 20, 15));
    EXPECT_EQ(GetLayerBox(layer, QSize(160, 120)), QRect(10, 5, 130, 100));
    layer.SetMargins(QMargins(-10, 0, 0, 0));
    EXPECT_EQ(GetLayerBox(layer, QSize(160, 120)), QRect(-10, 0, 170, 120));
    layer.SetMargins(QMargins(80, 0, 80, 0));
    EXPECT_TRUE(GetLayerBox(layer, QSize(160, 120)).isEmpty());
    // Margins that would overflow the arithmetic leave a box far outside, not a wrapped one.
    layer.SetMargins(QMargins(0, 0, std::numeric_limits<int>::min(), 0));
    const QRect huge = GetLayerBox(layer, QSize(160, 120));
    EXPECT_EQ(huge.left(), 0);
    EXPECT_GT(huge.width(), 160);
}

TEST(GreRender, RotatedSizeTruncatesBeforeTakingTheAbsoluteValue)
{
    const float pi = std::numbers::pi_v<float>;
    const struct
    {
        double angle;
        QSize expected;
    } cases[] = {
        {0, QSize(100, 50)},
        {pi / 2, QSize(50, 100)},
        {pi, QSize(99, 50)},
        {pi / 4, QSize(106, 106)},
    };
    for (const auto& [angle, expected] : cases)
    {
        SCOPED_TRACE(angle);
        EXPECT_EQ(GetRotatedSize(QSize(100, 50), angle), expected);
    }
    EXPECT_EQ(GetRotatedSize(QSize(0, 0), 1), QSize(0, 0));
    // Sides whose squares overflow 32 bits still measure.
    EXPECT_EQ(GetRotatedSize(QSize(50000, 50000), 0), QSize(50000, 50000));
    EXPECT_EQ(GetRotatedSize(QSize(100, 50), std::numeric_limits<double>::quiet_NaN()), QSize(100, 50));
}
