#pragma once

#include <QRgb>

// Layout and colours of the horizontal bar chart. The label column takes what the margins and
// the bar area leave of the image width; the image height follows from the row count.
struct CBarChartStyle
{
    int leftMargin = 20;
    int topMargin = 20;
    int rightMargin = 20;
    int bottomMargin = 40;
    int imageWidth = 700;   // "widthtotal" of a chart address
    int barAreaWidth = 550; // "widthbar"
    int rowHeight = 50;
    int barThickness = 30;
    int depthHeight = 10;
    int depthWidth = 10;
    int labelGap = 10;
    int scaleDivisions = 10;
    int labelFontSize = 12;
    int scaleFontSize = 10;
    QRgb backgroundTopColor = 0xFFF6F7F7;
    QRgb backgroundBottomColor = 0xFFECEDEE;
    QRgb labelColumnColor = 0xFFD8DAE0;
    QRgb rowLabelColor = 0xFF3E434D;
    QRgb valueColor = 0xFF3E434D;
    QRgb axisColor = 0xFF3E434D;
    QRgb barAreaColor = 0xFFFFFFFF;
    QRgb stripeColor = 0xFFF1F3F5;
    QRgb barAreaSeparatorColor = 0xFFC0C0C0;
    QRgb labelColumnSeparatorColor = 0xFFECEDEF;

    // In 64 bits: widths from a chart address may be anything an int holds.
    long long GetLabelWidth() const
    {
        return static_cast<long long>(imageWidth) - leftMargin - barAreaWidth - rightMargin;
    }
    // Wide enough for any row count a chart may have.
    long long GetImageHeight(long long rows) const { return rows * rowHeight + bottomMargin + topMargin; }
};
