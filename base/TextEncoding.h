#pragma once

#include <QByteArray>

namespace TextEncoding
{
// Whether text bytes that carry no byte-order mark are UTF-8 rather than ANSI text: an XML
// declaration's encoding decides when there is one, else whether the bytes are valid UTF-8.
// Our shipped files are UTF-8 without a mark, and ANSI text with any letter beyond ASCII is
// almost never valid UTF-8.
bool IsUtf8Text(const QByteArray& bytes);
} // namespace TextEncoding
