#pragma once

#include "platform/ui/WinTypes.h"

#include <QColor>
#include <QRectF>

// The value types of the drawing calls: status, units, colours and rectangles.
namespace Gdiplus
{
using REAL = float;
using ARGB = DWORD;

enum Status
{
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
};

enum Unit
{
    UnitPixel = 2,
};

using PixelFormat = int;
constexpr PixelFormat PixelFormat32bppARGB = 0x0026200A;

class Color
{
public:
    Color() = default;
    Color(BYTE a, BYTE r, BYTE g, BYTE b) : m_argb(MakeARGB(a, r, g, b)) {}
    Color(BYTE r, BYTE g, BYTE b) : Color(255, r, g, b) {}
    explicit Color(ARGB argb) : m_argb(argb) {}

    static ARGB MakeARGB(BYTE a, BYTE r, BYTE g, BYTE b)
    {
        return (ARGB(a) << 24) | (ARGB(r) << 16) | (ARGB(g) << 8) | ARGB(b);
    }
    BYTE GetA() const { return BYTE(m_argb >> 24); }
    BYTE GetR() const { return BYTE(m_argb >> 16); }
    BYTE GetG() const { return BYTE(m_argb >> 8); }
    BYTE GetB() const { return BYTE(m_argb); }
    ARGB GetValue() const { return m_argb; }
    void SetFromCOLORREF(COLORREF c) { m_argb = MakeARGB(255, GetRValue(c), GetGValue(c), GetBValue(c)); }
    QColor ToQColor() const { return QColor(GetR(), GetG(), GetB(), GetA()); }

private:
    ARGB m_argb = 0xFF000000;
};

class RectF
{
public:
    RectF() = default;
    RectF(REAL x, REAL y, REAL width, REAL height) : X(x), Y(y), Width(width), Height(height) {}
    QRectF ToQRectF() const { return {X, Y, Width, Height}; }

    REAL X = 0;
    REAL Y = 0;
    REAL Width = 0;
    REAL Height = 0;
};

class SolidBrush
{
public:
    explicit SolidBrush(const Color& color) : m_color(color) {}
    Color GetColor() const { return m_color; }

private:
    Color m_color;
};
} // namespace Gdiplus
