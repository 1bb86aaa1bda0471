#pragma once

#include <QByteArray>
#include <QString>

// The "ANSI code page" of the program is Windows-1252 on every machine: archives written with
// the UTF-8 flag off and the MD5 keys over texts depend on these exact bytes.
namespace AnsiCodePage
{
// Characters that Windows-1252 lacks become the code page's default character '?'.
constexpr char DefaultCharacter = '?';

// The byte of one UTF-16 unit; a surrogate has none and gives the default character.
char FromUnit(char16_t unit);
QByteArray FromText(const QString& text);
QString ToText(const QByteArray& bytes);
QString ToText(const char* bytes, qsizetype count);
} // namespace AnsiCodePage
