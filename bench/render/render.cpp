// Rendering of effect pipelines: a usual newsletter effect, and the worst a crafted pipeline
// can ask for within the render bounds.
#include "gre/GreEffectDropShadow.h"
#include "gre/GreLayerImage.h"
#include "gre/GreLayerText.h"
#include "gre/GrePipeline.h"
#include "gre/GreRenderGeometry.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace gre;

namespace
{
CGreImage Photo(const QSize& size)
{
    CGreImage photo;
    photo.Create(size);
    QImage& bitmap = photo.GetBitmap();
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            bitmap.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x + y) & 0xFF));
    return photo;
}

std::unique_ptr<CGreLayerImage> PhotoLayer(int placement, float rotation, int opacity)
{
    auto layer = std::make_unique<CGreLayerImage>();
    layer->SetPlacement(placement);
    layer->SetMargins(QMargins(10, 10, 10, 10));
    layer->SetRotation(rotation);
    layer->SetOpacity(opacity);
    layer->AddEffect(std::make_unique<CGreEffectDropShadow>());
    return layer;
}

std::unique_ptr<CGreLayerText> Caption(float size)
{
    auto caption = std::make_unique<CGreLayerText>();
    caption->SetText(QStringLiteral("Autumn sale this week only"));
    caption->SetFontName(QStringLiteral("Arial"));
    caption->SetSize(size);
    caption->SetPlacement(PlacementBottom);
    caption->AddEffect(std::make_unique<CGreEffectDropShadow>());
    return caption;
}

void Run(benchmark::State& state, CGrePipeline& pipeline, const CGreImage& source)
{
    for (auto _ : state)
    {
        CGreImage target;
        pipeline.Render(nullptr, source, target);
        benchmark::DoNotOptimize(target.GetBitmap().constBits());
    }
}
} // namespace

// A photo of a newsletter with a shadow and a caption, sized by the photo.
void BM_RenderNewsletterEffect(benchmark::State& state)
{
    const CGreImage source = Photo(QSize(400, 300));
    CGrePipeline pipeline;
    pipeline.SetSizeMode(SizeModeLayer);
    pipeline.GetRootGroup().AddLayer(PhotoLayer(PlacementTopLeft, 0, 255));
    pipeline.GetRootGroup().AddLayer(Caption(18));
    Run(state, pipeline, source);
}
BENCHMARK(BM_RenderNewsletterEffect)->Unit(benchmark::kMillisecond);

// The largest output with the largest source stretched, turned and faded over it, state.range(0)
// times: a crafted pipeline cannot ask for more drawing per layer.
void BM_RenderLargestTarget(benchmark::State& state)
{
    const CGreImage source = Photo(QSize(MaxRenderSide, MaxRenderSide));
    CGrePipeline pipeline;
    pipeline.SetSize(QSize(MaxRenderSide, MaxRenderSide));
    for (int i = 0; i < state.range(0); ++i)
        pipeline.GetRootGroup().AddLayer(PhotoLayer(PlacementStretch, 0.3f, 200));
    pipeline.GetRootGroup().AddLayer(Caption(MaxRenderSide / 8));
    Run(state, pipeline, source);
    state.counters["layers"] = double(state.range(0));
}
// 1000 such layers: the work bound leaves out what lies beyond it.
BENCHMARK(BM_RenderLargestTarget)->Arg(1)->Arg(4)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
