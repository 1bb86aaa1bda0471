#pragma once

#include <QString>

// Escapes a text for an HTML page: & " < > as entities and every UTF-16 code unit from 128 up
// as a decimal character reference (a character beyond the BMP becomes two, one per surrogate),
// so the page survives any encoding it is read in.
QString EncodeHtmlEntities(const QString& text);
