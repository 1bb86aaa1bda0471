#pragma once

#include <QString>
#include <QStringList>

// Appends the pieces of the text between occurrences of the separator: a trailing separator
// yields a final empty piece, two adjacent separators an empty piece, an empty text no piece.
void SplitText(QStringList& result, const QString& text, const QString& separator);

// One past the ";" of the character reference ("&quot;", "&#39;", "&#x27;") whose "&" stands at
// the position; -1 when none starts there.
qsizetype CharacterReferenceEnd(const QString& text, qsizetype at);

// The text with its character references replaced by their characters: numeric ones, and the
// named ones that markup copied from other programs uses (amp, lt, gt, quot, apos, nbsp and a
// few typographic ones). Unknown names, code points beyond Unicode and a NUL stay as written.
QString DecodeCharacterReferences(const QString& text);

// SplitText at ";" for a key:value; list, except that the ";" of a character reference belongs
// to its value: a style such as font-family:&quot;Nunito Sans&quot; stays one piece.
void SplitDeclarationList(QStringList& result, const QString& text);

// Looks the key up in a key:value; list held in plain text. The key must stand at the start of
// the text or directly after a ";" and match exactly; the value runs to the next ";" untrimmed.
bool FindDeclarationInText(const QString& key, const QString& text, QString& value);

// Letter case of ASCII letters only, so that the result keeps the length (and the positions) of
// the input: markup names are ASCII, and a full Unicode mapping may change a text's length.
QString AsciiLower(const QString& text);
