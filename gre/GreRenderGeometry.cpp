#include "gre/GreRenderGeometry.h"

#include "gre/GreLayerBase.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace gre
{
namespace
{
int ClampMargin(int margin)
{
    return std::clamp(margin, -MaxLayerMargin, MaxLayerMargin);
}

int ClampSide(qint64 side)
{
    return int(std::clamp<qint64>(side, 0, MaxPlacedSide));
}

int ScaledSide(int side, float scale)
{
    const float scaled = float(side) * scale;
    return scaled >= float(MaxPlacedSide) ? MaxPlacedSide : ClampSide(qint64(scaled));
}

QRect Centred(const QRect& box, int width, int height)
{
    return QRect(box.left() + (box.width() - width) / 2, box.top() + (box.height() - height) / 2, width,
                 height);
}

// Scale factors are single floats, and every product is truncated, so pictures get the sizes
// they always had.
QRect ScaledToFit(const QSize& picture, const QRect& box)
{
    const float sx = float(box.width()) / float(picture.width());
    const float sy = float(box.height()) / float(picture.height());
    if (sy > sx)
        return Centred(box, box.width(), ScaledSide(picture.height(), sx));
    return Centred(box, ScaledSide(picture.width(), sy), box.height());
}

QRect ScaledToCover(const QSize& picture, const QRect& box)
{
    const float sx = float(box.width()) / float(picture.width());
    const float sy = float(box.height()) / float(picture.height());
    if (sy < sx)
        return Centred(box, box.width(), ScaledSide(picture.height(), sx));
    return Centred(box, ScaledSide(picture.width(), sy), box.height());
}

int RoundedAbs(double value)
{
    const double truncated = std::trunc(value + 0.5);
    return int(std::min(std::fabs(truncated), double(std::numeric_limits<int>::max())));
}
} // namespace

QRect GetLayerBox(const CGreLayerBase& layer, const QSize& target)
{
    const QMargins margins = layer.GetMargins();
    const int left = ClampMargin(margins.left());
    const int top = ClampMargin(margins.top());
    const int right = target.width() - ClampMargin(margins.right());
    const int bottom = target.height() - ClampMargin(margins.bottom());
    if (left >= right || top >= bottom)
        return {};
    return QRect(left, top, right - left, bottom - top);
}

QRect PlaceLayerPicture(const QSize& picture, const CGreLayerBase& layer, const QRect& box)
{
    const int w = picture.width();
    const int h = picture.height();
    if (w <= 0 || h <= 0 || box.isEmpty())
        return {};
    const int W = box.width();
    const int H = box.height();
    const bool smaller = w < W && h < H;
    switch (layer.GetPlacement())
    {
    case PlacementLeft:
        return QRect(box.left(), box.top() + (H - h) / 2, w, h);
    case PlacementTopLeft:
        return QRect(box.left(), box.top(), w, h);
    case PlacementTop:
        return QRect(box.left() + (W - w) / 2, box.top(), w, h);
    case PlacementTopRight:
        return QRect(box.left() + W - w, box.top(), w, h);
    case PlacementRight:
        return QRect(box.left() + W - w, box.top() + (H - h) / 2, w, h);
    case PlacementBottomRight:
        return QRect(box.left() + W - w, box.top() + H - h, w, h);
    case PlacementBottom:
        return QRect(box.left() + (W - w) / 2, box.top() + H - h, w, h);
    case PlacementBottomLeft:
        return QRect(box.left(), box.top() + H - h, w, h);
    case PlacementCenter:
        return Centred(box, w, h);
    case PlacementStretch:
    case PlacementCopySplit:
        return box;
    case PlacementShrinkToFit:
        return smaller ? Centred(box, w, h) : ScaledToFit(picture, box);
    case PlacementCropToFit:
        return smaller ? Centred(box, w, h) : ScaledToCover(picture, box);
    case PlacementResizeToFit:
        return ScaledToFit(picture, box);
    case PlacementResizeCrop:
        return ScaledToCover(picture, box);
    default:
        return {};
    }
}

double GetLayerRotation(const CGreLayerBase& layer)
{
    const float rotation = layer.GetRotation();
    return std::isfinite(rotation) ? double(rotation) : 0.0;
}

QSize GetRotatedSize(const QSize& size, double angle)
{
    if (!std::isfinite(angle))
        angle = 0;
    const qint64 w = std::max(size.width(), 0);
    const qint64 h = std::max(size.height(), 0);
    const double r = std::sqrt(double(w * w + h * h) * 0.25);
    const double a1 = std::atan2(double(h), double(w)) + angle;
    const double a2 = std::atan2(-double(h), double(w)) + angle;
    // Truncating before the absolute value makes a half turn of 100 x 50 measure 99 x 50;
    // stored pipelines are sized by this rule.
    const int x1 = RoundedAbs(2 * r * std::cos(a1));
    const int y1 = RoundedAbs(2 * r * std::sin(a1));
    const int x2 = RoundedAbs(2 * r * std::cos(a2));
    const int y2 = RoundedAbs(2 * r * std::sin(a2));
    return QSize(std::max(x1, x2), std::max(y1, y2));
}

QSize AddMargins(const QSize& size, const QMargins& margins)
{
    const qint64 width = qint64(size.width()) + ClampMargin(margins.left()) + ClampMargin(margins.right());
    const qint64 height = qint64(size.height()) + ClampMargin(margins.top()) + ClampMargin(margins.bottom());
    const auto fit = [](qint64 side) {
        return int(
            std::clamp<qint64>(side, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    return QSize(fit(width), fit(height));
}
} // namespace gre
