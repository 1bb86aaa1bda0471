#pragma once

#include <QRgb>

#include <climits>
#include <cmath>

// Chart arithmetic works on counts that arrive from outside as floats; these conversions never
// overflow and read a value that is not a number as 0.
inline int TruncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(INT_MAX))
        return INT_MAX;
    if (value <= double(INT_MIN))
        return INT_MIN;
    return int(value);
}

// A row colour is a Windows COLORREF, 0x00BBGGRR; charts draw it opaque.
inline QRgb ColorRefToArgb(int colorRef)
{
    const auto bits = static_cast<unsigned>(colorRef);
    return qRgb(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}
