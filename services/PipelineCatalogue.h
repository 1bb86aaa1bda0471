#pragma once

#include "services/ConceptTemplateFolder.h"

#include <QString>

// The catalogue of image effects the effect library gallery shows: the store's list, else the
// installed library, and always the user's own effects. An effect library file is a project
// file whose first pipeline, in key order, is the effect.

// The system data folder + "library/pipelines/".
QString GetPipelineLibraryFolder();

// The store's list ("/kv/pl.asp"); true when it was read completely into the root.
bool LoadOnlinePipelineList(CConceptTemplateFolder& root);
// One entry per readable ".kvnlp" file of the folder, each in the top-level folder named after
// its category (made when missing); false only for an empty path.
bool LoadPipelineLibraryFolder(CConceptTemplateFolder& root, const QString& folder);
// The user's own effect library, where Save To Library writes and the gallery reads: the folder
// of the setting "PipelinesCustomPath" (the user's value, else the machine's) ending in "/", else
// (absent or empty) the user's documents folder.
QString GetCustomPipelineFolder();
bool LoadCustomPipelineLibrary(CConceptTemplateFolder& root);

// The first top-level entry whose name is exactly the name, or null.
CConceptTemplateBase* FindChildByName(const CConceptTemplateFolder& folder, const QString& name);
