#pragma once

#include <QString>

// Reads a decimal integer the way the C library's atoi does: leading white space, an optional
// sign, then digits up to the first other character; no digits give 0.
int ReadLeadingInt(const QString& text);
