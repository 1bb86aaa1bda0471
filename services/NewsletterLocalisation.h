#pragma once

#include "services/TemplateLocalisation.h"

namespace ndb
{
class CNdbNewsletter;
}

// Fills the tokens of a newsletter made from a template: its name, the texts of its effects (whose
// keys change with their texts, so the page and the styles follow the new keys), the page, the
// style names and the palette. The built-in styles take the user interface's names. Always true.
bool LocaliseNewsletter(ndb::CNdbNewsletter& newsletter, const LocalisationMap& map);
