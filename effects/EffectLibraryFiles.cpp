#include "effects/EffectLibraryFiles.h"

#include "base/AppSettings.h"
#include "base/TextHelpers.h"
#include "platform/core/AppStrings.h"

#include <QPainter>

namespace EffectLibraryFiles
{
namespace
{
const QString ProjectExtension = QStringLiteral(".kvnlp");
// File names are limited to 255 bytes; the longest one made from a base name is the thumbnail's.
constexpr int MaxFileNameBytes = 255;
constexpr int LongestSuffixBytes = 8; // "_xx.png" and a margin
} // namespace

QString BaseName(const QString& name)
{
    if (!IsDebugMode())
        return name;
    QString base = name;
    base.remove(QStringLiteral("_(")).remove(QStringLiteral(")_"));
    return MakeIdentifier(base);
}

bool IsUsableBaseName(const QString& baseName)
{
    return !baseName.isEmpty() && baseName != QLatin1String(".") && baseName != QLatin1String("..") &&
           !baseName.contains(u'/') && !baseName.contains(QChar(0)) &&
           baseName.toUtf8().size() + LongestSuffixBytes <= MaxFileNameBytes;
}

QString ProjectPath(const QString& folder, const QString& baseName)
{
    return folder + baseName + ProjectExtension;
}

QStringList ThumbnailPaths(const QString& folder, const QString& baseName)
{
    if (IsDebugMode())
        return {folder + baseName + QStringLiteral("_sv.png"), folder + baseName + QStringLiteral("_en.png")};
    return {folder + baseName + u'_' + GetLanguageCode() + QStringLiteral(".png")};
}

// The scales are single precision and the products double, as the stored thumbnails were made:
// 200 x 100 gives 47 pixels of height, since 96 / 200 lies just below 0.48 there.
QRect ThumbnailRect(QSize rendered)
{
    const float scaleX = float(ThumbnailSide) / float(rendered.width());
    const float scaleY = float(ThumbnailSide) / float(rendered.height());
    QSize size(ThumbnailSide, ThumbnailSide);
    if (scaleY > scaleX)
        size.setHeight(int(double(rendered.height()) * double(scaleX)));
    else
        size.setWidth(int(double(rendered.width()) * double(scaleY)));
    return QRect(QPoint((ThumbnailSide - size.width()) / 2, (ThumbnailSide - size.height()) / 2), size);
}

gre::CGreImage SamplePicture()
{
    gre::CGreImage picture;
    picture.Create(160, 120);
    QPainter painter(&picture.GetBitmap());
    QLinearGradient sky(0, 0, 0, 120);
    sky.setColorAt(0, QColor(0x4A, 0x90, 0xD9));
    sky.setColorAt(1, QColor(0xD8, 0xEC, 0xFA));
    painter.fillRect(0, 0, 160, 120, sky);
    painter.setBrush(QColor(0x3F, 0x8F, 0x4A));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRect(-40, 70, 240, 120));
    painter.setBrush(QColor(0xF5, 0xC2, 0x3C));
    painter.drawEllipse(QRect(112, 14, 28, 28));
    return picture;
}

gre::CGreImage MakeThumbnail(gre::CGrePipeline& pipeline, const gre::GreImageMap* images,
                             const gre::CGreImage& source)
{
    gre::CGreImage thumbnail;
    thumbnail.Create(ThumbnailSide, ThumbnailSide);
    gre::CGreImage rendered;
    pipeline.Render(images, source, rendered);
    if (rendered.GetWidth() <= 0 || rendered.GetHeight() <= 0)
        return thumbnail;
    QPainter painter(&thumbnail.GetBitmap());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    rendered.DrawRegion(painter, QRect(QPoint(0, 0), rendered.GetSize()), ThumbnailRect(rendered.GetSize()));
    return thumbnail;
}
} // namespace EffectLibraryFiles
