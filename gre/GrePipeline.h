#pragma once

#include "base/PSFactory.h"
#include "gre/GreColor.h"
#include "gre/GreImage.h"
#include "gre/GreLayerGroup.h"
#include "gre/GreRenderContext.h"

#include <QSize>
#include <QString>

#include <memory>

namespace gre
{
enum GreSizeMode
{
    SizeModeFixed = 0,
    // The size of the size layer; any value other than these two acts as fixed.
    SizeModeLayer = 1,
};

// One image effect: layers over a background, in a fixed size or the size of one layer. Its
// key is the MD5 of its content; projects and pages name it by that key.
class CGrePipeline : public CPSBase
{
    KV_PERSISTENT_CLASS()
    CGrePipeline() = default;

    void Serialize(CPSArchive& archive) override;
    virtual std::unique_ptr<CGrePipeline> Clone() const;
    // 32 lower-case hexadecimal digits. Texts and the source image are not part of it; in size
    // mode 1 the size layer's runtime id is, so such a key changes when the pipeline is read back.
    virtual QString GetHashKey() const;

    const QString& GetName() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    const QString& GetCategory() const { return m_category; }
    void SetCategory(const QString& category) { m_category = category; }
    // Carried by library files and localised with the name; nothing else reads them.
    const QString& GetExtraText1() const { return m_extraText1; }
    void SetExtraText1(const QString& text) { m_extraText1 = text; }
    const QString& GetExtraText2() const { return m_extraText2; }
    void SetExtraText2(const QString& text) { m_extraText2 = text; }
    // Copied and archived only: renders take their source image from the caller.
    CGreImage& GetSourceImage() { return m_sourceImage; }
    const CGreImage& GetSourceImage() const { return m_sourceImage; }
    CGreLayerGroup& GetRootGroup() { return m_rootGroup; }
    const CGreLayerGroup& GetRootGroup() const { return m_rootGroup; }
    CGreColor GetBackgroundColor() const { return m_background; }
    void SetBackgroundColor(const CGreColor& background) { m_background = background; }
    int GetSizeMode() const { return m_sizeMode; }
    void SetSizeMode(int sizeMode) { m_sizeMode = sizeMode; }
    QSize GetSize() const { return m_size; }
    void SetSize(const QSize& size) { m_size = size; }

    // The first top-level layer marked as size layer, else the first top-level layer; null
    // without layers.
    CGreLayerBase* GetSizeLayer() const;
    // Marks that top-level layer and unmarks every other.
    void SetSizeLayer(const CGreLayerBase* layer);

    // Draws the pipeline over the source image into the target, which gets a new bitmap when
    // its size is not the output size. Text layers keep the pictures drawn, so a pipeline is
    // rendered by one thread at a time. Always true.
    bool Render(const GreImageMap* images, const CGreImage& source, CGreImage& target);

private:
    QString m_name;
    CGreImage m_sourceImage;
    QString m_category;
    QString m_extraText1;
    QString m_extraText2;
    CGreLayerGroup m_rootGroup;
    CGreColor m_background{0xFF, 0xFF, 0xFF, 0xFF};
    qint32 m_sizeMode{SizeModeFixed};
    QSize m_size{160, 120};
};
} // namespace gre
