#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

namespace gre
{
class CGreLayerBase;

// Where a layer puts its picture inside its box (the layer's placement code).
enum GrePlacement
{
    PlacementNone = 0,
    PlacementLeft = 1,
    PlacementTopLeft = 2,
    PlacementTop = 3,
    PlacementTopRight = 4,
    PlacementRight = 5,
    PlacementBottomRight = 6,
    PlacementBottom = 7,
    PlacementBottomLeft = 8,
    PlacementCenter = 9,
    PlacementStretch = 10,
    // Centred when smaller than the box in both directions, else scaled to fit.
    PlacementShrinkToFit = 11,
    // Centred when smaller than the box in both directions, else scaled to cover it.
    PlacementCropToFit = 12,
    PlacementResizeToFit = 13,
    PlacementResizeCrop = 14,
    // Fills the box with corners unscaled and edges stretched (CGreImage::DrawFramed).
    PlacementCopySplit = 15,
};

// Margins beyond this reach far outside any target; they are cut to it so that box arithmetic
// cannot overflow.
constexpr int MaxLayerMargin = 1 << 20;
// Longest side of a placed or measured picture; a larger one is cut to it.
constexpr int MaxPlacedSide = 1 << 24;

// The box inside the target's margins in which a layer places its picture; empty when the
// margins leave no room.
QRect GetLayerBox(const CGreLayerBase& layer, const QSize& target);
// The rectangle the layer's picture of that size takes in the box; an empty QRect for the
// placement None, an unknown code, an empty picture or an empty box.
QRect PlaceLayerPicture(const QSize& picture, const CGreLayerBase& layer, const QRect& box);
// The layer's rotation in radians; 0 when the stored value is no finite number.
double GetLayerRotation(const CGreLayerBase& layer);
// The bounding size of the size turned by the angle in radians.
QSize GetRotatedSize(const QSize& size, double angle);
// The size grown by the margins, which are cut as GetLayerBox cuts them.
QSize AddMargins(const QSize& size, const QMargins& margins);
} // namespace gre
