#pragma once

#include <QtGlobal>

namespace ndb
{
class CNdbRgba;

// Hue in degrees (0 to 360, or -1 for a grey that has none), saturation and value from 0 to 1,
// and alpha: the model of the colour pickers.
class CNdbHsv
{
public:
    // Saturation and value are clamped into 0 to 1; the hue is kept as given.
    explicit CNdbHsv(double hue = -1, double saturation = 0, double value = 0, quint8 alpha = 255);
    explicit CNdbHsv(const CNdbRgba& rgba);

    double hue{-1};
    double saturation{0};
    double value{0};
    quint8 alpha{255};
};
} // namespace ndb
