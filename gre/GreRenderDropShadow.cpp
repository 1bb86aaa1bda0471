// How a drop shadow draws (see GreRenderContext.h).
#include "gre/GreEffectDropShadow.h"
#include "gre/GreImage.h"
#include "gre/GreRenderContext.h"

#include <QPainter>

#include <cmath>

namespace gre
{
namespace
{
// A shadow thrown farther than this lands outside every target.
constexpr float MaxShadowDistance = 4 * MaxRenderSide;

// The part of the layer's plane that can reach the painter's device, with a margin for the
// smoothing of rotated edges.
QRect VisibleArea(const QPainter& painter)
{
    bool invertible = false;
    const QTransform toLayer = painter.worldTransform().inverted(&invertible);
    if (!invertible || !painter.device())
        return {};
    const QRect device(0, 0, painter.device()->width(), painter.device()->height());
    return toLayer.mapRect(QRectF(device)).toAlignedRect().adjusted(-2, -2, 2, 2);
}
} // namespace

void CGreEffectBase::Apply(QPainter&, const CGreImage&) const {}

// The shadow is the picture moved by the distance in the direction of the angle, every alpha
// halved and every colour the shadow's, laid under the picture at its natural size even when
// the picture is scaled. It is not blurred. It keeps within the picture's rectangle grown by
// the distance to the right and below, so a shadow cast up or left loses what falls outside.
//
// Only the part that can reach the target is made: a crafted distance or picture then costs
// no more than the target's size.
void CGreEffectDropShadow::Apply(QPainter& painter, const CGreImage& picture) const
{
    if (!IsEnabled() || picture.IsEmpty() || !std::isfinite(m_distance) || !std::isfinite(m_angle))
        return;
    const float distance = std::clamp(m_distance, -MaxShadowDistance, MaxShadowDistance);
    const int d = int(distance);
    const int dx = int(std::cos(m_angle) * distance);
    const int dy = int(std::sin(m_angle) * distance);
    const QSize size = picture.GetSize();
    const QRect area =
        QRect(0, 0, size.width() + d, size.height() + d) & QRect(QPoint(dx, dy), size) & VisibleArea(painter);
    if (area.isEmpty())
        return;

    CGreImage shadow;
    if (!shadow.Create(area.size()))
        return;
    const QImage& from = picture.GetBitmap();
    QImage& to = shadow.GetBitmap();
    const QRgb colour = m_color.GetValue() & 0x00FFFFFF;
    for (int y = 0; y < area.height(); ++y)
    {
        const auto* source = reinterpret_cast<const QRgb*>(from.constScanLine(area.top() + y - dy));
        auto* row = reinterpret_cast<QRgb*>(to.scanLine(y));
        const int sourceLeft = area.left() - dx;
        for (int x = 0; x < area.width(); ++x)
            row[x] = colour | quint32(qAlpha(source[sourceLeft + x]) / 2) << 24;
    }
    shadow.Draw(area.topLeft(), painter, GetOpacity(), GetBlending());
}
} // namespace gre
