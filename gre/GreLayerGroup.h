#pragma once

#include "gre/GreLayerBase.h"

namespace gre
{
// Layers drawn in list order: the first child lies at the bottom, the last on top.
class CGreLayerGroup : public CGreLayerBase
{
    KV_PERSISTENT_CLASS()
    using LayerList = CGreOwnedList<CGreLayerBase>;

    CGreLayerGroup() : CGreLayerBase(LayerKindGroup) {}

    void Serialize(CPSArchive& archive) override;
    std::unique_ptr<CGreLayerBase> Clone() const override;
    void AddToHash(CMd5Digest& digest) const override;
    void Prepare(CGreRenderContext& context) override;
    void Composite(CGreRenderContext& context) const override;

    int GetLayerCount() const { return int(m_children.size()); }
    // Null for an index outside the list.
    CGreLayerBase* GetLayer(int index) const;
    const LayerList& GetLayers() const { return m_children; }
    // Appends on top.
    void AddLayer(std::unique_ptr<CGreLayerBase> layer);
    int IndexOfLayer(const CGreLayerBase* layer) const;
    // Deletes the child; false when it is none.
    bool RemoveLayer(const CGreLayerBase* layer);
    // Swaps the child with the next one, nearer the top; false for the last child or none.
    bool MoveLayerUp(const CGreLayerBase* layer);
    // Swaps the child with the previous one; false for the first child or none.
    bool MoveLayerDown(const CGreLayerBase* layer);
    // This group or one of its own children (not their children) by id; null when none.
    CGreLayerBase* FindLayerById(const QString& id);

private:
    bool SwapWithNeighbour(const CGreLayerBase* layer, int step);

    LayerList m_children;
};
} // namespace gre
