#pragma once

#include "charts/BarChartStyle.h"
#include "charts/LineChartStyle.h"

#include <QRgb>

class CGraphData;
namespace gre
{
class CGreImage;
}

// The chart painters recreate the image's bitmap at the size of their layout and paint the whole
// of it opaque. They keep no state and use only objects of their own call, so the local server's
// connection threads run them side by side; text needs a QGuiApplication to exist, and without
// one they paint nothing and return false. They also return false when the bitmap cannot be made
// or the layout does not fit into it.

// Horizontal bars with a three-dimensional look; a missing style means the defaults.
bool DrawBarGraph(const CGraphData& table, gre::CGreImage& image, const CBarChartStyle* style = nullptr);
// A line with a filled area over a series of dates; false also for a table without rows.
bool DrawLineGraph(const CGraphData& table, gre::CGreImage& image, const CLineChartStyle* style = nullptr);
// A pie with its legend, in a fixed layout; false also for a table without rows.
bool DrawPieGraph(gre::CGreImage& image, const CGraphData& table);

// Adds the amount to red, green and blue, each kept within 0 .. 255; the result is opaque.
QRgb ShiftColor(QRgb color, int amount);
