#include "ndb/NdbHsv.h"

#include "ndb/NdbRgba.h"

#include <algorithm>

namespace ndb
{
CNdbHsv::CNdbHsv(double hue, double saturation, double value, quint8 alpha)
    : hue(hue), saturation(std::clamp(saturation, 0.0, 1.0)), value(std::clamp(value, 0.0, 1.0)), alpha(alpha)
{
}

CNdbHsv::CNdbHsv(const CNdbRgba& rgba)
{
    const double r = rgba.red / 255.0;
    const double g = rgba.green / 255.0;
    const double b = rgba.blue / 255.0;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double d = max - min;
    double h = -1;
    double s = 0;
    // Measured from the channel that is lowest, so pure red lands on 360 rather than 0.
    if (d != 0)
    {
        if (min == r)
            h = (3 - (g - b) / d) * 60;
        else if (min == g)
            h = (5 - (b - r) / d) * 60;
        else
            h = (1 - (r - g) / d) * 60;
        s = d / max;
    }
    *this = CNdbHsv(h, s, max, rgba.alpha);
}
} // namespace ndb
