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
    QSize GetRotatedExtent(const CGreRenderContext& context) const override;
    QSize GetExtent(const CGreRenderContext& context) const override;
    void Composite(CGreRenderContext& context) const override;
    // The render's source image (even an empty one) or the project image named by the id;
    // null when the project has no such image.
    const CGreImage* ResolveImage(const CGreRenderContext& context) const;

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
