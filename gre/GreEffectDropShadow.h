#pragma once

#include "gre/GreColor.h"
#include "gre/GreEffectBase.h"

#include <numbers>

namespace gre
{
// A shadow cast by the layer's picture, below it.
class CGreEffectDropShadow : public CGreEffectBase
{
    KV_PERSISTENT_CLASS()
    CGreEffectDropShadow() : CGreEffectBase(EffectKindDropShadow, -100) {}

    void Serialize(CPSArchive& archive) override;
    std::unique_ptr<CGreEffectBase> Clone() const override;
    void AddToHash(CMd5Digest& digest) const override;
    void Apply(QPainter& painter, const CGreImage& picture) const override;

    // Only red, green and blue are used when the shadow is drawn.
    CGreColor GetColor() const { return m_color; }
    void SetColor(const CGreColor& color) { m_color = color; }
    // Radians; the shadow falls that way, x to the right and y downwards.
    float GetAngle() const { return m_angle; }
    void SetAngle(float angle) { m_angle = angle; }
    float GetDistance() const { return m_distance; }
    void SetDistance(float distance) { m_distance = distance; }
    // Kept and edited, but no drawing uses them.
    float GetSpread() const { return m_spread; }
    void SetSpread(float spread) { m_spread = spread; }
    float GetSize() const { return m_size; }
    void SetSize(float size) { m_size = size; }

private:
    CGreColor m_color{0x80, 0x80, 0x80, 0xFF};
    float m_angle{std::numbers::pi_v<float> / 4};
    float m_distance{5};
    float m_spread{5};
    float m_size{5};
};
} // namespace gre
