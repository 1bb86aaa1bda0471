#pragma once

#include "gre/GreLayerBase.h"

namespace gre
{
// A picture: the render's source image, or an image of the project named by its id.
class CGreLayerImage : public CGreLayerBase
{
    KV_PERSISTENT_CLASS()
    CGreLayerImage() : CGreLayerBase(LayerKindImage) {}

    void Serialize(CPSArchive& archive) override;
    std::unique_ptr<CGreLayerBase> Clone() const override;
    void AddToHash(CMd5Digest& digest) const override;

    bool IsUseSource() const { return m_useSource; }
    void SetUseSource(bool useSource) { m_useSource = useSource; }
    // Kept even while the source image is used, but only then left out of the key.
    const QString& GetImageId() const { return m_imageId; }
    void SetImageId(const QString& imageId) { m_imageId = imageId; }

private:
    bool m_useSource{true};
    QString m_imageId;
};
} // namespace gre
