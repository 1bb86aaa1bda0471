#pragma once

#include <QString>
#include <QStringList>

// The value of a CSS font-family property: font names in order, then at most one generic family
// that a browser uses when it has none of the fonts.
struct FontFamilyList
{
    QStringList names;
    int genericCode = 0;
};

// 1 sans-serif, 2 serif, 3 monospace, 4 cursive, 5 fantasy (ignoring case); 0 for any other name.
int GenericFontFamilyCode(const QString& name);
// The family's name; empty for 0 and unknown codes.
QString GenericFontFamilyName(int code);

// Quotation marks are dropped and the rest is split at every comma, so a quoted name with a
// comma falls apart; names are trimmed, and an empty segment is an empty name. The first
// generic family found is kept; later ones are dropped.
FontFamilyList ParseFontFamilyList(const QString& text);
// Names joined by commas without blanks, a name with a blank in quotation marks; generic names
// among them are left out, and the generic family of the code goes last.
QString WriteFontFamilyList(const QStringList& names, int genericCode);
