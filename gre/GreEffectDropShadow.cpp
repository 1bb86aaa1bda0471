#include "gre/GreEffectDropShadow.h"

#include "base/Md5Digest.h"
#include "gre/GreArchiving.h"

namespace gre
{
void CGreEffectDropShadow::Serialize(CPSArchive& archive)
{
    SerializeBase(archive);
    m_color.Serialize(archive);
    Exchange(archive, m_angle);
    Exchange(archive, m_distance);
    Exchange(archive, m_spread);
    Exchange(archive, m_size);
}

std::unique_ptr<CGreEffectBase> CGreEffectDropShadow::Clone() const
{
    return std::unique_ptr<CGreEffectBase>(new CGreEffectDropShadow(*this));
}

// The colour goes in as red, green, blue, alpha here, unlike a text layer's (alpha first):
// stored keys depend on both orders.
void CGreEffectDropShadow::AddToHash(CMd5Digest& digest) const
{
    CGreEffectBase::AddToHash(digest);
    digest.AddInt(m_color.GetRed());
    digest.AddInt(m_color.GetGreen());
    digest.AddInt(m_color.GetBlue());
    digest.AddInt(m_color.GetAlpha());
    digest.AddString(m_color.GetName());
    digest.AddFloat(m_angle);
    digest.AddFloat(m_distance);
    digest.AddFloat(m_spread);
    digest.AddFloat(m_size);
}
} // namespace gre
