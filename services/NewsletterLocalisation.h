#pragma once

#include "services/TemplateLocalisation.h"

#include <map>

namespace gre
{
class CGreProject;
}
namespace ndb
{
class CNdbNewsletter;
}

// Old pipeline key to new, ascending old key.
using KeyChanges = std::map<QString, QString>;

// Fills the tokens of every pipeline's four texts and of its top-level layers' names and texts,
// and stores each pipeline again under its new key.
KeyChanges LocalisePipelines(gre::CGreProject& project, const LocalisationMap& map);

// Fills the tokens of a newsletter made from a template: its name, the texts of its effects (whose
// keys change with their texts, so the page and the styles follow the new keys), the page, the
// style names and the palette. The built-in styles take the user interface's names. Always true.
bool LocaliseNewsletter(ndb::CNdbNewsletter& newsletter, const LocalisationMap& map);
