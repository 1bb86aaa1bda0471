#pragma once

#include "ImageInk.h"

#include "gre/GreEffectDropShadow.h"
#include "gre/GreImage.h"
#include "gre/GreLayerGroup.h"
#include "gre/GreLayerImage.h"
#include "gre/GreLayerText.h"
#include "gre/GrePipeline.h"
#include "gre/GreRenderGeometry.h"

#include <QColor>
#include <QDir>
#include <QRect>

#include <memory>

#include <gtest/gtest.h>

// Pictures, layers and pixel checks for the rendering tests.
namespace GreTest
{
constexpr QRgb Transparent = 0x00000000;
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Blue = 0xFF0000FF;

inline gre::CGreColor Colour(QRgb value)
{
    return gre::CGreColor(quint8(qRed(value)), quint8(qGreen(value)), quint8(qBlue(value)),
                          quint8(qAlpha(value)));
}

inline std::unique_ptr<gre::CGreImage> Picture(const QSize& size, QRgb fill)
{
    auto picture = std::make_unique<gre::CGreImage>();
    picture->Create(size);
    picture->GetBitmap().fill(fill);
    return picture;
}

// A layer of the project image under the id, placed top left inside the margins.
inline std::unique_ptr<gre::CGreLayerImage> ImageLayer(const QString& imageId, const QMargins& margins = {},
                                                       int placement = 2)
{
    auto layer = std::make_unique<gre::CGreLayerImage>();
    layer->SetUseSource(false);
    layer->SetImageId(imageId);
    layer->SetMargins(margins);
    layer->SetPlacement(placement);
    return layer;
}

inline std::unique_ptr<gre::CGreLayerText> TextLayer(const QString& text, float size, QRgb colour)
{
    auto layer = std::make_unique<gre::CGreLayerText>();
    layer->SetText(text);
    layer->SetFontName(QStringLiteral("Arial"));
    layer->SetSize(size);
    layer->SetColor(Colour(colour));
    return layer;
}

inline std::unique_ptr<gre::CGreEffectDropShadow> Shadow(QRgb colour = 0xFF808080, int orderKey = -100)
{
    auto shadow = std::make_unique<gre::CGreEffectDropShadow>();
    shadow->SetColor(Colour(colour));
    shadow->SetOrderKey(orderKey);
    return shadow;
}

// A fixed-size pipeline on the background.
inline std::unique_ptr<gre::CGrePipeline> Pipeline(const QSize& size, QRgb background)
{
    auto pipeline = std::make_unique<gre::CGrePipeline>();
    pipeline->SetSize(size);
    pipeline->SetBackgroundColor(Colour(background));
    return pipeline;
}

// The pipeline rendered with the images and no source.
inline QImage Render(gre::CGrePipeline& pipeline, const gre::GreImageMap* images = nullptr,
                     const gre::CGreImage& source = gre::CGreImage())
{
    gre::CGreImage target;
    EXPECT_TRUE(pipeline.Render(images, source, target));
    return target.GetBitmap();
}

inline int CountPixels(const QImage& image, QRgb value)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == value;
    return count;
}

// Channels may differ by one where a painter converts to premultiplied alpha and back.
inline bool IsNear(QRgb actual, QRgb expected)
{
    const auto near = [](int a, int b) { return std::abs(a - b) <= 1; };
    return near(qAlpha(actual), qAlpha(expected)) && near(qRed(actual), qRed(expected)) &&
           near(qGreen(actual), qGreen(expected)) && near(qBlue(actual), qBlue(expected));
}

inline QString ArtifactPath(const QString& name)
{
    const QString folder = QStringLiteral(KV_ARTIFACT_DIR "/gre-render");
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + name;
}
} // namespace GreTest
