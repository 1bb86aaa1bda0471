#pragma once

#include <QString>

class CConceptTemplateFile;
namespace gre
{
class CGreProject;
}

// An effect chosen in the effect library gallery, on its way into a newsletter's image project.
namespace EffectLibraryFile
{
// Effect files are small; a bigger download is refused.
constexpr qint64 MaxEffectFileSize = qint64(16) * 1024 * 1024;

// Loads the entry's project: a library file in place, a store file through a temporary file of
// its own that is gone afterwards. Answers 0, or the id of the message that says why the file
// could not be fetched; a file that is fetched but does not load answers 0 with an empty
// project, and the caller says nothing.
quint32 Load(CConceptTemplateFile& entry, gre::CGreProject& project);
// The effect of a library file: its first pipeline in key order; empty without pipelines.
QString EffectKey(const gre::CGreProject& project);
// Fills the tokens of the entry's localisation data into every pipeline, when it has data, and
// answers the effect's key afterwards: the texts are part of the keys, so the effect may no
// longer be the first pipeline.
QString Localise(const CConceptTemplateFile& entry, gre::CGreProject& project);
// Moves the pipelines and images the target lacks into it; the others are dropped.
void MoveInto(gre::CGreProject& loaded, gre::CGreProject& target);
} // namespace EffectLibraryFile
