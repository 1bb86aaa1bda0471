#pragma once

#include <QtGlobal>

namespace ndb
{
class CNdbHsv;

// Four colour bytes; alpha 255 is opaque, 0 fully transparent.
class CNdbRgba
{
public:
    CNdbRgba() = default;
    CNdbRgba(quint8 red, quint8 green, quint8 blue, quint8 alpha = 255)
        : red(red), green(green), blue(blue), alpha(alpha)
    {
    }
    explicit CNdbRgba(const CNdbHsv& hsv);

    // Red in the low byte, then green, blue and alpha: the bytes in archive order.
    quint32 ToPacked() const;
    static CNdbRgba FromPacked(quint32 packed);

    bool operator==(const CNdbRgba&) const = default;

    quint8 red{0};
    quint8 green{0};
    quint8 blue{0};
    quint8 alpha{255};
};
} // namespace ndb
