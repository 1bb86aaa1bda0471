#include "gre/GreLayerBase.h"

#include "base/Md5Digest.h"
#include "gre/GreArchiving.h"
#include "platform/core/Guid.h"

#include <algorithm>

namespace gre
{
namespace
{
// The third group is written in lower case, unlike the ids of records.
QString NewLayerId()
{
    GUID guid;
    if (!CoCreateGuid(guid) || IsNullGuid(guid))
        return {};
    return QString::asprintf("{%08X-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1, guid.Data2,
                             guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                             guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
}
} // namespace

CGreLayerBase::CGreLayerBase(int kind) : m_kind(kind), m_kindCopy(kind), m_id(NewLayerId()) {}

void CGreLayerBase::Serialize(CPSArchive& archive)
{
    ExchangeKind(archive, m_kind);
    Exchange(archive, m_name);
    Exchange(archive, m_placement);
    Exchange(archive, m_margins);
    Exchange(archive, m_rotation);
    Exchange(archive, m_opacity);
    Exchange(archive, m_blending);
    Exchange(archive, m_kindCopy);
    Exchange(archive, m_sizeLayer);
    Exchange(archive, m_visible);
    ExchangeOwnedList(archive, m_effects);
}

std::unique_ptr<CGreLayerBase> CGreLayerBase::Clone() const
{
    return std::make_unique<CGreLayerBase>(*this);
}

void CGreLayerBase::AddToHash(CMd5Digest& digest) const
{
    digest.AddInt(m_kind);
    digest.AddString(m_name);
    digest.AddInt(m_placement);
    digest.AddRect(m_margins.left(), m_margins.top(), m_margins.right(), m_margins.bottom());
    digest.AddFloat(m_rotation);
    digest.AddInt(m_opacity);
    digest.AddInt(m_blending);
    digest.AddInt(m_kindCopy);
    digest.AddBool(m_sizeLayer);
    digest.AddBool(m_visible);
    for (const auto& effect : m_effects)
        effect->AddToHash(digest);
}

CGreLayerBase* CGreLayerBase::FindById(const QString& id)
{
    return m_id == id ? this : nullptr;
}

CGreEffectBase* CGreLayerBase::GetEffect(int index) const
{
    return index >= 0 && index < GetEffectCount() ? m_effects[size_t(index)].get() : nullptr;
}

void CGreLayerBase::AddEffect(std::unique_ptr<CGreEffectBase> effect)
{
    if (effect)
        m_effects.push_back(std::move(effect));
}

bool CGreLayerBase::RemoveEffect(const CGreEffectBase* effect)
{
    const auto found = std::find_if(m_effects.begin(), m_effects.end(),
                                    [effect](const auto& held) { return held.get() == effect; });
    if (found == m_effects.end())
        return false;
    m_effects.erase(found);
    return true;
}
} // namespace gre
