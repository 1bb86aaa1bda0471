#pragma once

#include <QString>

// Markup characters and everything outside ASCII as entities, so the text survives any page
// encoding: "&", double quote, "<", ">" by name, characters from 128 up as "&#<code>;".
QString EncodeHtmlEntities(const QString& text);
