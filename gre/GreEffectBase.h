#pragma once

#include "base/PSFactory.h"

#include <QtGlobal>

#include <memory>

class CMd5Digest;
class QPainter;

namespace gre
{
class CGreImage;

enum GreEffectKind
{
    EffectKindBase = 0,
    EffectKindDropShadow = 100,
};

// An effect of a layer. The bare class does nothing; code tells effects apart by the kind.
class CGreEffectBase : public CPSBase
{
    KV_PERSISTENT_CLASS()
    CGreEffectBase() : CGreEffectBase(EffectKindBase, 0) {}

    void Serialize(CPSArchive& archive) override;
    virtual std::unique_ptr<CGreEffectBase> Clone() const;
    virtual void AddToHash(CMd5Digest& digest) const;
    // Draws the effect of a layer picture on a painter that carries the layer's transform.
    virtual void Apply(QPainter& painter, const CGreImage& picture) const;

    int GetKind() const { return m_kind; }
    // Effects are applied in ascending order of this key; a negative key goes below the layer.
    int GetOrderKey() const { return m_orderKey; }
    void SetOrderKey(int orderKey) { m_orderKey = orderKey; }
    int GetBlending() const { return m_blending; }
    void SetBlending(int blending) { m_blending = blending; }
    int GetOpacity() const { return m_opacity; }
    void SetOpacity(int opacity) { m_opacity = opacity; }
    bool IsEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }

protected:
    CGreEffectBase(int kind, int orderKey) : m_kind(kind), m_orderKey(orderKey) {}
    CGreEffectBase(const CGreEffectBase&) = default;
    CGreEffectBase& operator=(const CGreEffectBase&) = default;

    void SerializeBase(CPSArchive& archive);

private:
    qint32 m_kind;
    qint32 m_orderKey;
    qint32 m_blending{0};
    qint32 m_opacity{255};
    bool m_enabled{true};
};
} // namespace gre
