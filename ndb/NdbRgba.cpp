#include "ndb/NdbRgba.h"

#include "ndb/NdbHsv.h"

#include <cmath>

namespace ndb
{
namespace
{
// Truncates towards zero into a byte. Hues outside 0 to 360 can push a channel below 0, which a
// plain conversion would turn into undefined behaviour.
quint8 TruncateToByte(double channel)
{
    if (!(channel > 0))
        return 0;
    if (channel >= 255)
        return 255;
    return static_cast<quint8>(channel);
}
} // namespace

CNdbRgba::CNdbRgba(const CNdbHsv& hsv) : alpha(hsv.alpha)
{
    if (hsv.hue == -1)
    {
        red = green = blue = TruncateToByte(hsv.value * 255);
        return;
    }
    const double sector = std::trunc(hsv.hue / 60);
    double f = hsv.hue / 60 - sector;
    if (std::fmod(sector, 2) == 0)
        f = 1 - f;
    const quint8 M = TruncateToByte(hsv.value * 255);
    const quint8 m = TruncateToByte(hsv.value * (1 - hsv.saturation) * 255);
    const quint8 t = TruncateToByte(hsv.value * (1 - f * hsv.saturation) * 255);
    auto set = [this](quint8 r, quint8 g, quint8 b)
    {
        red = r;
        green = g;
        blue = b;
    };
    if (sector == 1)
        set(t, M, m);
    else if (sector == 2)
        set(m, M, t);
    else if (sector == 3)
        set(m, t, M);
    else if (sector == 4)
        set(t, m, M);
    else if (sector == 5)
        set(M, m, t);
    else
        set(M, t, m);
}

quint32 CNdbRgba::ToPacked() const
{
    return quint32(red) | quint32(green) << 8 | quint32(blue) << 16 | quint32(alpha) << 24;
}

CNdbRgba CNdbRgba::FromPacked(quint32 packed)
{
    return CNdbRgba(quint8(packed), quint8(packed >> 8), quint8(packed >> 16), quint8(packed >> 24));
}
} // namespace ndb
