#pragma once

#include "gre/GreEffectDropShadow.h"
#include "gre/GreLayerImage.h"
#include "gre/GreLayerText.h"
#include "gre/GrePipeline.h"

#include <memory>

namespace GreTest
{
// A pipeline with every kind of layer: a project image, a caption with a drop shadow and a
// group holding a layer of the source image.
inline std::unique_ptr<gre::CGrePipeline> SamplePipeline(const QString& imageId = QStringLiteral("img-a"))
{
    using namespace gre;
    auto pipeline = std::make_unique<CGrePipeline>();
    pipeline->SetSize(QSize(300, 200));
    CGreLayerGroup& root = pipeline->GetRootGroup();

    auto photo = std::make_unique<CGreLayerImage>();
    photo->SetName(QStringLiteral("Photo"));
    photo->SetUseSource(false);
    photo->SetImageId(imageId);
    photo->SetMargins(QMargins(4, 4, 4, 4));
    photo->SetPlacement(5);
    root.AddLayer(std::move(photo));

    auto caption = std::make_unique<CGreLayerText>();
    caption->SetName(QStringLiteral("Caption"));
    caption->SetText(QStringLiteral("Hello"));
    caption->SetFontName(QStringLiteral("Arial"));
    caption->SetSize(14);
    caption->SetBold(true);
    CGreColor accent(0x20, 0x40, 0x60, 0xFF);
    accent.SetName(QStringLiteral("Accent"));
    caption->SetColor(accent);
    caption->SetAlignment(AlignCentre);
    caption->AddEffect(std::make_unique<CGreEffectDropShadow>());
    root.AddLayer(std::move(caption));

    auto badge = std::make_unique<CGreLayerGroup>();
    badge->SetName(QStringLiteral("Badge"));
    badge->AddLayer(std::make_unique<CGreLayerImage>());
    root.AddLayer(std::move(badge));
    return pipeline;
}
} // namespace GreTest
