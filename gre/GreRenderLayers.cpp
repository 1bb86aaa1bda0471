// How image layers, groups and the layer base render (see GreRenderContext.h).
#include "gre/GreEffectBase.h"
#include "gre/GreImage.h"
#include "gre/GreLayerBase.h"
#include "gre/GreLayerGroup.h"
#include "gre/GreLayerImage.h"
#include "gre/GreRenderContext.h"
#include "gre/GreRenderGeometry.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <numbers>
#include <vector>

namespace gre
{
namespace
{
// Enabled effects by ascending order key; equal keys keep their list order.
std::vector<const CGreEffectBase*> EffectsInOrder(const CGreLayerBase::EffectList& effects)
{
    std::vector<const CGreEffectBase*> ordered;
    for (const auto& effect : effects)
        if (effect->IsEnabled())
            ordered.push_back(effect.get());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const CGreEffectBase* a, const CGreEffectBase* b)
                     { return a->GetOrderKey() < b->GetOrderKey(); });
    return ordered;
}

qint64 Area(const QRect& rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

// The pixels of the target that a rectangle of the layer's plane covers.
qint64 PixelsReached(const QPainter& painter, const QRect& rect)
{
    const QRect device(0, 0, painter.device()->width(), painter.device()->height());
    return Area(painter.worldTransform().mapRect(QRectF(rect)).toAlignedRect() & device);
}

// Each child in list order, within the render's depth and step bounds.
template <class Visit>
void VisitChildren(CGreRenderContext& context, const CGreLayerGroup::LayerList& children, Visit visit)
{
    const CGreRenderContext::CGroupLevel level(context);
    if (!level.IsAllowed())
        return;
    for (const auto& child : children)
    {
        if (!context.TakeStep())
            return;
        visit(*child);
    }
}
} // namespace

QSize CGreLayerBase::GetRotatedExtent(const CGreRenderContext&) const
{
    return QSize(0, 0);
}

QSize CGreLayerBase::GetExtent(const CGreRenderContext&) const
{
    return QSize(0, 0);
}

void CGreLayerBase::Prepare(CGreRenderContext&) {}

void CGreLayerBase::Composite(CGreRenderContext&) const {}

bool CGreLayerBase::CompositeImage(CGreRenderContext& context, const CGreImage& picture) const
{
    CGreImage& target = context.GetTarget();
    const QRect box = GetLayerBox(*this, target.GetSize());
    if (box.isEmpty())
        return false;
    // A picture scaled down to nothing in one direction shows nothing, so neither do its effects.
    const QRect placed = PlaceLayerPicture(picture.GetSize(), *this, box);
    if (placed.isEmpty())
        return false;
    QPainter painter(&target.GetBitmap());
    if (!painter.isActive())
        return false;

    // Turned about the centre of the placed picture; a positive rotation turns it
    // counter-clockwise on the screen. From here on the picture lies at (0, 0).
    QTransform transform;
    const double rotation = GetLayerRotation(*this);
    if (rotation != 0)
    {
        const int cx = placed.width() / 2;
        const int cy = placed.height() / 2;
        transform = QTransform::fromTranslate(-cx, -cy) *
                    QTransform().rotate(-(rotation * 180 / std::numbers::pi)) *
                    QTransform::fromTranslate(cx, cy);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    transform *= QTransform::fromTranslate(placed.left(), placed.top());
    painter.setWorldTransform(transform);

    const QRect whole(QPoint(0, 0), picture.GetSize());
    const QRect destination(QPoint(0, 0), placed.size());
    if (placed.size() != picture.GetSize() && GetPlacement() != PlacementCopySplit)
        painter.setRenderHint(QPainter::SmoothPixmapTransform);

    // Effects with a negative or zero order key lie below the picture, the others above it.
    const std::vector<const CGreEffectBase*> effects = EffectsInOrder(GetEffects());
    // The picture and each effect draw about where the picture reaches the target; a faded
    // picture is copied whole first.
    const qint64 reach = PixelsReached(painter, destination | whole);
    const qint64 fading = GetOpacity() < 255 ? Area(whole) : 0;
    if (!context.TakeWork(reach * qint64(1 + effects.size()) + fading))
        return false;
    auto effect = effects.begin();
    for (; effect != effects.end() && (*effect)->GetOrderKey() <= 0; ++effect)
        if (context.TakeStep())
            (*effect)->Apply(painter, picture);
    if (GetPlacement() == PlacementCopySplit)
        picture.DrawFramed(whole, painter, destination, GetOpacity(), GetBlending());
    else
        picture.DrawRegion(painter, whole, GetOpacity(), GetBlending(), destination);
    for (; effect != effects.end(); ++effect)
        if (context.TakeStep())
            (*effect)->Apply(painter, picture);
    return true;
}

void CGreLayerGroup::Prepare(CGreRenderContext& context)
{
    VisitChildren(context, m_children, [&](CGreLayerBase& child) { child.Prepare(context); });
}

void CGreLayerGroup::Composite(CGreRenderContext& context) const
{
    if (IsVisible())
        VisitChildren(context, m_children, [&](const CGreLayerBase& child) { child.Composite(context); });
}

const CGreImage* CGreLayerImage::ResolveImage(const CGreRenderContext& context) const
{
    return m_useSource ? &context.GetSource() : context.FindImage(m_imageId);
}

QSize CGreLayerImage::GetRotatedExtent(const CGreRenderContext& context) const
{
    const CGreImage* picture = ResolveImage(context);
    if (!picture)
        return QSize(0, 0);
    return AddMargins(GetRotatedSize(picture->GetSize(), GetLayerRotation(*this)), GetMargins());
}

QSize CGreLayerImage::GetExtent(const CGreRenderContext& context) const
{
    const CGreImage* picture = ResolveImage(context);
    return picture ? AddMargins(picture->GetSize(), GetMargins()) : QSize(0, 0);
}

void CGreLayerImage::Composite(CGreRenderContext& context) const
{
    if (!IsVisible())
        return;
    if (const CGreImage* picture = ResolveImage(context))
        CompositeImage(context, *picture);
}
} // namespace gre
