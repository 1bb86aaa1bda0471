#include "gre/GreRenderContext.h"

#include "gre/GreImage.h"

namespace gre
{
const CGreImage* CGreRenderContext::FindImage(const QString& id) const
{
    if (!m_images)
        return nullptr;
    const auto found = m_images->find(id);
    return found == m_images->end() ? nullptr : found->second.get();
}

bool CGreRenderContext::TakeStep()
{
    if (m_stepsLeft <= 0)
        return false;
    --m_stepsLeft;
    return true;
}
bool CGreRenderContext::TakeWork(qint64 pixels)
{
    if (pixels > m_workLeft)
        return false;
    m_workLeft -= pixels;
    return true;
}
} // namespace gre
