#include "gre/GreLayerGroup.h"

#include "base/Md5Digest.h"
#include "gre/GreArchiving.h"

#include <utility>

namespace gre
{
void CGreLayerGroup::Serialize(CPSArchive& archive)
{
    CGreLayerBase::Serialize(archive);
    ExchangeOwnedList(archive, m_children);
}

std::unique_ptr<CGreLayerBase> CGreLayerGroup::Clone() const
{
    return std::make_unique<CGreLayerGroup>(*this);
}

void CGreLayerGroup::AddToHash(CMd5Digest& digest) const
{
    CGreLayerBase::AddToHash(digest);
    for (const auto& child : m_children)
        child->AddToHash(digest);
}

CGreLayerBase* CGreLayerGroup::GetLayer(int index) const
{
    return index >= 0 && index < GetLayerCount() ? m_children[size_t(index)].get() : nullptr;
}

void CGreLayerGroup::AddLayer(std::unique_ptr<CGreLayerBase> layer)
{
    if (layer)
        m_children.push_back(std::move(layer));
}

int CGreLayerGroup::IndexOfLayer(const CGreLayerBase* layer) const
{
    for (int i = 0; i < GetLayerCount(); ++i)
        if (m_children[size_t(i)].get() == layer)
            return i;
    return -1;
}

bool CGreLayerGroup::RemoveLayer(const CGreLayerBase* layer)
{
    const int index = IndexOfLayer(layer);
    if (index < 0)
        return false;
    m_children.erase(m_children.begin() + index);
    return true;
}

bool CGreLayerGroup::SwapWithNeighbour(const CGreLayerBase* layer, int step)
{
    const int index = IndexOfLayer(layer);
    const int other = index + step;
    if (index < 0 || other < 0 || other >= GetLayerCount())
        return false;
    std::swap(m_children[size_t(index)], m_children[size_t(other)]);
    return true;
}

bool CGreLayerGroup::MoveLayerUp(const CGreLayerBase* layer)
{
    return SwapWithNeighbour(layer, 1);
}

bool CGreLayerGroup::MoveLayerDown(const CGreLayerBase* layer)
{
    return SwapWithNeighbour(layer, -1);
}

CGreLayerBase* CGreLayerGroup::FindLayerById(const QString& id)
{
    if (CGreLayerBase* self = FindById(id))
        return self;
    for (const auto& child : m_children)
        if (CGreLayerBase* found = child->FindById(id))
            return found;
    return nullptr;
}
} // namespace gre
