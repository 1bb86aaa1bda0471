#pragma once

#include <QString>

namespace ndb
{
// The CSS keyword enumerations of the style fields (value types 300 to 750 of NdbValueType):
// each stores its keyword as a small int code.

// The keyword of a code; empty for a code outside the enumeration's list, for the codes that
// stand for no keyword (border style 1, float 0) and for a type that is no enumeration.
QString KeywordToText(int valueType, int code);

// The code of the first keyword, in the enumeration's parse order, that occurs anywhere in the
// text, compared in lower case. A substring test: longer keywords that contain shorter ones are
// tested first ("text-top" before "top"), and "solid 1px #000000" is a border style.
// False when none occurs or the enumeration is only ever written, never parsed.
bool ParseKeyword(int valueType, const QString& text, int& code);
} // namespace ndb
