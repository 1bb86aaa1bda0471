#pragma once

#include <QString>

// The editor's facts about an element that HTML cannot hold (the resource an image shows, the
// palette colour of a fill, the kind of a link) travel in its "name" attribute as key:value;
// pairs. Keys are fixed identifiers compared exactly; a key counts only at the start of the text
// or right after a ";" (spaces in front of it tolerated), so "border" is never found inside
// "src_border". Values are escaped so that ":" and ";" cannot break the list.

// Keeps ASCII letters, digits and " _#{}[]|-()"; every other UTF-16 unit becomes "%" and its
// upper-case hexadecimal code, at least two digits.
QString EscapeMetadataValue(const QString& value);
// Turns each "%XX" (two upper-case hexadecimal digits) that the escape would have written back
// into its character, once: a decoded "%" never starts another code.
QString UnescapeMetadataValue(const QString& value);

// The unescaped value of the key's pair in a name text; empty when there is no pair or it is
// empty.
QString GetNameMetadataText(const QString& name, const QString& key);
// The name text with the key's pair replaced by key:escaped value; put in front of the other
// pairs; an empty value only removes the pair.
QString SetNameMetadataText(const QString& name, const QString& key, const QString& value);
