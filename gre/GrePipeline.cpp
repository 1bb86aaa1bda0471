#include "gre/GrePipeline.h"

#include "base/Md5Digest.h"
#include "gre/GreArchiving.h"

namespace gre
{
void CGrePipeline::Serialize(CPSArchive& archive)
{
    Exchange(archive, m_name);
    Exchange(archive, m_category);
    Exchange(archive, m_extraText1);
    Exchange(archive, m_extraText2);
    Exchange(archive, m_sizeMode);
    Exchange(archive, m_size);
    m_sourceImage.Serialize(archive);
    m_rootGroup.Serialize(archive);
    m_background.Serialize(archive);
}

std::unique_ptr<CGrePipeline> CGrePipeline::Clone() const
{
    return std::make_unique<CGrePipeline>(*this);
}

QString CGrePipeline::GetHashKey() const
{
    CMd5Digest digest;
    m_rootGroup.AddToHash(digest);
    digest.AddInt(m_background.GetAlpha());
    digest.AddInt(m_background.GetRed());
    digest.AddInt(m_background.GetGreen());
    digest.AddInt(m_background.GetBlue());
    digest.AddString(m_background.GetName());
    digest.AddInt(m_sizeMode);
    if (m_sizeMode == SizeModeFixed)
    {
        digest.AddInt(m_size.width());
        digest.AddInt(m_size.height());
    }
    else if (const CGreLayerBase* sizeLayer = GetSizeLayer())
    {
        digest.AddString(sizeLayer->GetId());
    }
    digest.Finish();
    return digest.GetDigest();
}

CGreLayerBase* CGrePipeline::GetSizeLayer() const
{
    for (const auto& layer : m_rootGroup.GetLayers())
        if (layer->IsSizeLayer())
            return layer.get();
    return m_rootGroup.GetLayer(0);
}

void CGrePipeline::SetSizeLayer(const CGreLayerBase* layer)
{
    for (const auto& child : m_rootGroup.GetLayers())
        child->SetSizeLayer(child.get() == layer);
}
} // namespace gre
