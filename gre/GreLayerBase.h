#pragma once

#include "base/PSFactory.h"
#include "gre/GreEffectBase.h"
#include "gre/GreOwnedList.h"

#include <QMargins>
#include <QSize>
#include <QString>

#include <memory>

class CMd5Digest;

namespace gre
{
class CGreImage;
class CGreRenderContext;

enum GreLayerKind
{
    LayerKindBase = 0,
    LayerKindGroup = 1,
    LayerKindImage = 3,
    LayerKindText = 4,
};

// One layer of an image effect, with its effects. The bare class draws nothing; code tells
// layers apart by the kind, which always matches the class.
//
// Every layer carries a runtime id made from a new GUID. Copies keep it, so a layer can be
// found again in a copy of its pipeline; it is never archived, so a layer read back has a new one.
class CGreLayerBase : public CPSBase
{
    KV_PERSISTENT_CLASS()
    using EffectList = CGreOwnedList<CGreEffectBase>;

    CGreLayerBase() : CGreLayerBase(LayerKindBase) {}

    void Serialize(CPSArchive& archive) override;
    virtual std::unique_ptr<CGreLayerBase> Clone() const;
    virtual void AddToHash(CMd5Digest& digest) const;
    // This layer when its id is exactly the text, else null.
    CGreLayerBase* FindById(const QString& id);

    // Rendering. Extents are the margins plus the size of the layer's picture, turned by the
    // rotation or not; 0 x 0 for layers without a picture of their own.
    virtual QSize GetRotatedExtent(const CGreRenderContext& context) const;
    virtual QSize GetExtent(const CGreRenderContext& context) const;
    // Makes what Composite draws (the picture of a text layer).
    virtual void Prepare(CGreRenderContext& context);
    virtual void Composite(CGreRenderContext& context) const;
    // Draws the picture into the context's target with this layer's placement, margins,
    // rotation, effects, opacity and blending; false when nothing was drawn.
    bool CompositeImage(CGreRenderContext& context, const CGreImage& picture) const;

    int GetKind() const { return m_kind; }
    QString GetId() const { return m_id; }
    const QString& GetName() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    // Where the picture sits inside the margins of the target, 0 to 15.
    int GetPlacement() const { return m_placement; }
    void SetPlacement(int placement) { m_placement = placement; }
    QMargins GetMargins() const { return m_margins; }
    void SetMargins(const QMargins& margins) { m_margins = margins; }
    // Radians, about the centre of the placed picture.
    float GetRotation() const { return m_rotation; }
    void SetRotation(float rotation) { m_rotation = rotation; }
    int GetOpacity() const { return m_opacity; }
    void SetOpacity(int opacity) { m_opacity = opacity; }
    int GetBlending() const { return m_blending; }
    void SetBlending(int blending) { m_blending = blending; }
    int GetKindCopy() const { return m_kindCopy; }
    // The top-level layer whose extent sizes its pipeline.
    bool IsSizeLayer() const { return m_sizeLayer; }
    void SetSizeLayer(bool sizeLayer) { m_sizeLayer = sizeLayer; }
    bool IsVisible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }

    // Effects in list order; new ones are appended.
    int GetEffectCount() const { return int(m_effects.size()); }
    CGreEffectBase* GetEffect(int index) const;
    EffectList& GetEffects() { return m_effects; }
    const EffectList& GetEffects() const { return m_effects; }
    void AddEffect(std::unique_ptr<CGreEffectBase> effect);
    // Deletes the effect; false when this layer does not hold it.
    bool RemoveEffect(const CGreEffectBase* effect);

protected:
    explicit CGreLayerBase(int kind);

private:
    qint32 m_kind;
    QString m_name;
    qint32 m_placement{2};
    QMargins m_margins;
    float m_rotation{0};
    qint32 m_opacity{255};
    qint32 m_blending{0};
    qint32 m_kindCopy;
    bool m_sizeLayer{false};
    bool m_visible{true};
    EffectList m_effects;
    QString m_id;
};
} // namespace gre
