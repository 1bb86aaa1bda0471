// How a pipeline renders (see GreRenderContext.h).
#include "gre/GrePipeline.h"
#include "gre/GreProject.h"

#include <QPainter>

#include <algorithm>
#include <type_traits>

namespace gre
{
static_assert(std::is_same_v<GreImageMap, CGreProject::ImageMap>,
              "renders take a project's images as they are");

bool CGrePipeline::Render(const GreImageMap* images, const CGreImage& source, CGreImage& target)
{
    CGreRenderContext context(target, source, images);
    QSize size = m_size;
    if (m_sizeMode == SizeModeLayer)
        if (const CGreLayerBase* sizeLayer = GetSizeLayer())
            size = sizeLayer->GetRotatedExtent(context);
    size = QSize(std::clamp(size.width(), 1, MaxRenderSide), std::clamp(size.height(), 1, MaxRenderSide));
    if (target.GetSize() != size && !target.Create(size))
        return true;

    {
        // The background replaces what a reused target held, so that a translucent background
        // gives the same picture on every render.
        QPainter painter(&target.GetBitmap());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(QRect(QPoint(0, 0), size), QColor::fromRgba(m_background.GetValue()));
    }
    context.StartPass();
    m_rootGroup.Prepare(context);
    context.StartPass();
    m_rootGroup.Composite(context);
    return true;
}
} // namespace gre
