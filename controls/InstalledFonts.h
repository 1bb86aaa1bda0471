#pragma once

#include <QString>
#include <vector>

struct FontFamilyEntry
{
    QString name;
    int cellAscent = 0;  // design units of the regular style
    int cellDescent = 0; // design units of the regular style
};

// The installed font families, sorted by name (UTF-16 code units, case-sensitive), each name once.
// False, with an empty list, when no family can be read.
bool GetInstalledFontFamilies(std::vector<FontFamilyEntry>& list);

// Sorts families by name; a later entry of a name already seen replaces its metrics.
std::vector<FontFamilyEntry> OrderFontFamilies(const std::vector<FontFamilyEntry>& families);
