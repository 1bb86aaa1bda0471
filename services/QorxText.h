#pragma once

#include <QString>

// Small text rules shared by the framework client and the package manifest.
namespace QorxText
{
// The leading decimal digits after blanks, 0 when there are none; capped at the int range.
int LeadingNumber(const QString& text);
// Upper case character by character, so that a placeholder key keeps its length.
QString UpperKey(const QString& key);
// False for a text holding a line break or a NUL: such a value could end a line of a package
// file and start one of its own.
bool IsSingleLine(const QString& text);
} // namespace QorxText
