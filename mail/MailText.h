#pragma once

#include <QString>

// Character-range tests that choose a message's charsets, and the escaping that keeps an HTML
// body in ASCII.

// True when every character is at most 126 or lies between 160 and 255: text that ISO-8859-1
// carries and whose bytes agree with the program's code page.
bool IsLatin1Text(const QString& text);

// True when every character lies between 32 and 127.
bool IsPrintableAscii(const QString& text);

// True for an address that can stand on the wire as it is: something before and after its last
// "@", and no control character, blank, "<", ">" or non-ASCII character that could end or start
// a line or header.
bool IsPlainMailAddress(const QString& address);

// Every character above 126 as "&#N;", one reference per code point; a surrogate without its
// partner becomes the replacement character.
QString EscapeHtmlNonAscii(const QString& text);
