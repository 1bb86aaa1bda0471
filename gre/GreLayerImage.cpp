#include "gre/GreLayerImage.h"

#include "base/Md5Digest.h"
#include "gre/GreArchiving.h"

namespace gre
{
void CGreLayerImage::Serialize(CPSArchive& archive)
{
    CGreLayerBase::Serialize(archive);
    Exchange(archive, m_useSource);
    Exchange(archive, m_imageId);
}

std::unique_ptr<CGreLayerBase> CGreLayerImage::Clone() const
{
    return std::make_unique<CGreLayerImage>(*this);
}

void CGreLayerImage::AddToHash(CMd5Digest& digest) const
{
    CGreLayerBase::AddToHash(digest);
    digest.AddBool(m_useSource);
    if (!m_useSource)
        digest.AddString(m_imageId);
}
} // namespace gre
