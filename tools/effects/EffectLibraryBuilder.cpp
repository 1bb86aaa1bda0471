// Builds the effect library that ships with the program, with the program's own engine:
//   data/library/pipelines/<name>.kvnlp and <name>_en.png (96 x 96 thumbnail); the gallery takes
//   each effect's category from its pipeline,
//   data/library/pipelines/img/select_frame.gif (the frame of a selected gallery cell),
//   res/images/258.png (the category icon of the gallery).
// Usage: kv_effect_library_builder <repository root>. Run it again after changing an effect;
// the files are committed, and the golden pictures of the tests change only through this run.
#include "effects/EffectLibraryFiles.h"
#include "gre/GreEffectDropShadow.h"
#include "gre/GreLayerImage.h"
#include "gre/GreLayerText.h"
#include "gre/GreProject.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <functional>
#include <numbers>

using namespace gre;

namespace
{
std::unique_ptr<CGreLayerImage> SourceLayer()
{
    auto layer = std::make_unique<CGreLayerImage>();
    layer->SetName(QStringLiteral("Source Image Layer"));
    layer->SetUseSource(true);
    layer->SetPlacement(14);
    layer->SetSizeLayer(true);
    return layer;
}

std::unique_ptr<CGreLayerText> Caption(const QString& text, int placement, quint32 argb, float size)
{
    auto layer = std::make_unique<CGreLayerText>();
    layer->SetName(text);
    layer->SetText(text);
    layer->SetFontName(QStringLiteral("Verdana"));
    layer->SetSize(size);
    layer->SetBold(true);
    CGreColor color;
    color.SetValue(argb);
    layer->SetColor(color);
    layer->SetPlacement(placement);
    layer->SetMargins(QMargins(8, 8, 8, 8));
    return layer;
}

std::unique_ptr<CGreEffectDropShadow> Shadow(float distance, float degrees, int opacity)
{
    auto shadow = std::make_unique<CGreEffectDropShadow>();
    shadow->SetDistance(distance);
    shadow->SetAngle(float(degrees * std::numbers::pi / 180.0));
    shadow->SetOpacity(opacity);
    return shadow;
}

struct LibraryEffect
{
    const char* category;
    const char* name;
    std::function<void(CGrePipeline&, CGreProject&)> build;
};

// A picture layer of its own: a white rounded badge kept in the project's images.
void AddBadge(CGrePipeline& pipeline, CGreProject& project)
{
    auto badge = std::make_unique<CGreImage>();
    badge->Create(48, 48);
    QPainter painter(&badge->GetBitmap());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0xFF, 0xFF, 0xFF, 0xE0));
    painter.setPen(QPen(QColor(0xBD, 0x20, 0x18), 3));
    painter.drawEllipse(QRect(3, 3, 42, 42));
    painter.end();
    const QString id = QStringLiteral("badge");
    project.SetImage(id, std::move(badge));
    auto layer = std::make_unique<CGreLayerImage>();
    layer->SetName(QStringLiteral("Badge"));
    layer->SetUseSource(false);
    layer->SetImageId(id);
    layer->SetPlacement(4);
    layer->SetMargins(QMargins(6, 6, 6, 6));
    layer->AddEffect(Shadow(3, 45, 160));
    pipeline.GetRootGroup().AddLayer(std::move(layer));
}

const LibraryEffect Effects[] = {
    {"Shadows", "Soft Shadow",
     [](CGrePipeline& p, CGreProject&)
     {
         auto source = SourceLayer();
         source->SetMargins(QMargins(4, 4, 12, 12));
         source->AddEffect(Shadow(6, 45, 150));
         p.GetRootGroup().AddLayer(std::move(source));
     }},
    {"Shadows", "Long Shadow",
     [](CGrePipeline& p, CGreProject&)
     {
         auto source = SourceLayer();
         source->SetMargins(QMargins(2, 2, 18, 18));
         source->AddEffect(Shadow(14, 45, 110));
         p.GetRootGroup().AddLayer(std::move(source));
     }},
    {"Text", "Headline",
     [](CGrePipeline& p, CGreProject&)
     {
         p.GetRootGroup().AddLayer(SourceLayer());
         auto caption = Caption(QStringLiteral("Headline"), 3, 0xFFFFFFFF, 20);
         caption->AddEffect(Shadow(2, 45, 200));
         p.GetRootGroup().AddLayer(std::move(caption));
     }},
    {"Text", "Caption",
     [](CGrePipeline& p, CGreProject&)
     {
         p.GetRootGroup().AddLayer(SourceLayer());
         p.GetRootGroup().AddLayer(Caption(QStringLiteral("Caption"), 6, 0xFF202020, 14));
     }},
    {"Text", "Sale",
     [](CGrePipeline& p, CGreProject& project)
     {
         p.GetRootGroup().AddLayer(SourceLayer());
         AddBadge(p, project);
         auto caption = Caption(QStringLiteral("Sale!"), 8, 0xFFBD2018, 18);
         caption->AddEffect(Shadow(2, 45, 180));
         p.GetRootGroup().AddLayer(std::move(caption));
     }},
    {"Text", "Framed Title",
     [](CGrePipeline& p, CGreProject&)
     {
         auto source = SourceLayer();
         source->SetMargins(QMargins(6, 6, 6, 6));
         p.GetRootGroup().AddLayer(std::move(source));
         p.GetRootGroup().AddLayer(Caption(QStringLiteral("Welcome"), 9, 0xFFFFFFFF, 22));
         CGreColor frame(0x33, 0x66, 0x99, 0xFF);
         p.SetBackgroundColor(frame);
     }},
};

bool WriteEffect(const QString& folder, const LibraryEffect& effect, const CGreImage& sample)
{
    CGreProject project;
    auto pipeline = std::make_unique<CGrePipeline>();
    // The picture's own layer gives the size: an effect keeps the size of the picture it is
    // put on, plus the room its own margins ask for.
    pipeline->SetSizeMode(SizeModeLayer);
    effect.build(*pipeline, project);
    pipeline->SetName(QLatin1String(effect.name));
    pipeline->SetCategory(QLatin1String(effect.category));
    CGrePipeline* kept = pipeline.get();
    const QString key = pipeline->GetHashKey();
    project.SetPipeline(key, std::move(pipeline));
    const QString base = QString::fromLatin1(effect.name).remove(u' ');
    const CGreImage thumbnail = EffectLibraryFiles::MakeThumbnail(*kept, &project.GetImages(), sample);
    return project.SaveToFile(EffectLibraryFiles::ProjectPath(folder, base), QString()) &&
           thumbnail.SaveToFile(folder + base + QStringLiteral("_en.png"), QStringLiteral("image/png"));
}

bool WriteSelectFrame(const QString& path)
{
    CGreImage frame;
    frame.Create(106, 106);
    QPainter painter(&frame.GetBitmap());
    painter.setPen(QPen(QColor(0x33, 0x66, 0x99), 3));
    painter.setBrush(QColor(0xDF, 0xE8, 0xF5));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 103, 103), 6, 6);
    painter.end();
    return frame.SaveToFile(path, QStringLiteral("image/gif"));
}

// A folder with a sparkle: the gallery's category icon, drawn on white.
bool WriteCategoryIcon(const QString& path)
{
    QImage icon(64, 48, QImage::Format_ARGB32);
    icon.fill(Qt::white);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x9A, 0x6B, 0x10), 1.5));
    painter.setBrush(QColor(0xF2, 0xC1, 0x4E));
    painter.drawRoundedRect(QRectF(10, 10, 20, 8), 2, 2);
    painter.drawRoundedRect(QRectF(10, 14, 44, 28), 3, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xBD, 0x20, 0x18));
    const QPointF star[] = {{44, 6},  {47, 13}, {54, 14}, {48, 18}, {50, 25},
                            {44, 21}, {38, 25}, {40, 18}, {34, 14}, {41, 13}};
    painter.drawPolygon(star, 10);
    painter.end();
    return icon.save(path, "PNG");
}
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <repository root>\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]) + u'/';
    const QString library = root + QStringLiteral("data/library/pipelines/");
    QDir().mkpath(library + QStringLiteral("img"));
    const CGreImage sample = EffectLibraryFiles::SamplePicture();
    bool ok = WriteSelectFrame(library + QStringLiteral("img/select_frame.gif")) &&
              WriteCategoryIcon(root + QStringLiteral("res/images/258.png"));
    for (const LibraryEffect& effect : Effects)
        ok = WriteEffect(library, effect, sample) && ok;
    if (!ok)
        std::fprintf(stderr, "some files could not be written\n");
    return ok ? 0 : 1;
}
