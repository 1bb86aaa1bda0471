#pragma once

#include "gre/GreImage.h"
#include "gre/GrePipeline.h"

#include <QRect>
#include <QString>
#include <QStringList>

// The files of the user's effect library: for an effect with the base name B, the project file
// B.kvnlp and its 96 x 96 thumbnail B_<language>.png beside it.
namespace EffectLibraryFiles
{
constexpr int ThumbnailSide = 96;

// The name as the user typed it; in debug mode without "_(" and ")_" and reduced to an
// identifier.
QString BaseName(const QString& name);
// Whether the base name names a file inside the folder: not empty, no "/" or NUL, not "." or
// "..", and short enough for its longest file name.
bool IsUsableBaseName(const QString& baseName);
QString ProjectPath(const QString& folder, const QString& baseName);
// The thumbnail files: "_sv" and "_en" in debug mode, else the program's language.
QStringList ThumbnailPaths(const QString& folder, const QString& baseName);
// Where a rendered picture of that size lies in the thumbnail, its aspect ratio kept.
QRect ThumbnailRect(QSize rendered);
// The effect drawn over the source, shrunk or grown into a transparent 96 x 96 picture.
gre::CGreImage MakeThumbnail(gre::CGrePipeline& pipeline, const gre::GreImageMap* images,
                             const gre::CGreImage& source);
// The picture under each effect of the shipped library's thumbnails: a sky over a hill.
gre::CGreImage SamplePicture();
} // namespace EffectLibraryFiles
