#pragma once

#include "services/ConceptTemplateFile.h"
#include "services/ConceptTemplateFolder.h"

#include <QString>

class CX2Element;
class CX2Validator;

// The catalogue of newsletter templates (and, with another root element, of effect pipelines):
// read from the maker's store, else from the offline file of the template library, plus the
// user's own ".kvnlt" files.

// "file:///" followed by the absolute path without its leading "/", and back.
QString PathToFileUrl(const QString& path);
QString FileUrlToPath(const QString& url);

// The system data folder + "library/newsletters/" and its "img/" folder.
QString GetTemplateLibraryFolder();
QString GetTemplateImageFolder();

// Replaces every "$root_ct$" by the address of the template library folder.
QString ExpandCatalogueRootToken(const QString& value);

// Reads one child node of a catalogue into the parent; false when a folder below fails.
bool ReadConceptTemplateTree(CX2Validator& document, CX2Element* element, CConceptTemplateFolder& parent);
// Reads every child of the root element ("kvconcepttemplates" or "kvpipelines") whose "status"
// is exactly "ok".
bool ReadCatalogueDocument(CX2Validator& document, const QString& rootName, CConceptTemplateFolder& root);

// The store's catalogue of templates (kind 0) or effects (kind 1); true when it was read completely.
bool LoadOnlineCatalogue(int catalogueKind, CConceptTemplateFolder& root);
bool LoadOnlineTemplateCatalogue(CConceptTemplateFolder& root);
bool LoadOfflineTemplateCatalogue(CConceptTemplateFolder& root);
// Adds the folder of the user's own templates; false when there is no folder to search.
bool AddCustomTemplates(CConceptTemplateFolder& root);

// Reads the store's reply about one file of the catalogue (kind 0 templates, others pipelines)
// into the entry; the entry is left as it was on any failure.
bool ReadCatalogueFileInfo(CX2Validator& reply, CConceptTemplateFile& file, int catalogueKind);
bool FetchCatalogueFileInfo(CConceptTemplateFile& file, int catalogueKind);
