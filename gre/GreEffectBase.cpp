#include "gre/GreEffectBase.h"

#include "base/Md5Digest.h"
#include "gre/GreArchiving.h"

namespace gre
{
void CGreEffectBase::Serialize(CPSArchive& archive)
{
    SerializeBase(archive);
}

void CGreEffectBase::SerializeBase(CPSArchive& archive)
{
    ExchangeKind(archive, m_kind);
    Exchange(archive, m_orderKey);
    Exchange(archive, m_blending);
    Exchange(archive, m_opacity);
    Exchange(archive, m_enabled);
}

std::unique_ptr<CGreEffectBase> CGreEffectBase::Clone() const
{
    return std::unique_ptr<CGreEffectBase>(new CGreEffectBase(*this));
}

void CGreEffectBase::AddToHash(CMd5Digest& digest) const
{
    digest.AddInt(m_kind);
    digest.AddInt(m_orderKey);
    digest.AddInt(m_blending);
    digest.AddInt(m_opacity);
    digest.AddBool(m_enabled);
}
} // namespace gre
