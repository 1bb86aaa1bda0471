#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// Quoted-printable as messages carry it. Letters, the blank and ' ( ) + , - / : ? stand for
// themselves; every other byte, digits and "." included, is escaped, so no line can start a
// command; a blank that ends a line is escaped too. Characters become bytes of the program's
// code page when ansi is set, of UTF-8 otherwise (a surrogate without its partner as "?").
namespace QuotedPrintable
{
// The text as one line: after every maximum counted characters the line break is inserted.
void AppendLine(QByteArray& output, QStringView text, bool ansi, int maximum, QByteArrayView lineBreak);
// Every line of the text encoded on its own with breaks after 70 counted characters and ended
// by CR LF, whether CR LF, LF or CR ended it in the text; blank lines are kept.
void AppendBody(QByteArray& output, QStringView text, bool ansi);
// The HTML as AppendBody writes it in UTF-8 once every character above 126 has become a
// character reference ("&#233;"), without making that text first.
void AppendHtmlBody(QByteArray& output, QStringView html);
} // namespace QuotedPrintable
