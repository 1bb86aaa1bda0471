#pragma once

#include <QRgb>

// Layout and colours of the line chart over a series of dates.
struct CLineChartStyle
{
    int leftMargin = 20;
    int topMargin = 20;
    int rightMargin = 20;
    int bottomMargin = 40;
    int imageWidth = 700;
    int imageHeight = 300;
    int scaleColumnWidth = 40;
    int scaleFontSize = 12;
    int dateFontSize = 10;
    bool dateFontBold = true;
    int markerSize = 6;
    int markerBorder = 2;
    int horizontalDivisions = 5;
    // Every this many rows, from row 0, gets a grid line and its date; below 1 counts as 1.
    // "numbetweendivisor" of a chart address.
    int labelSpacing = 7;
    int minorTickLength = 2;
    int majorTickLength = 6;
    QRgb backgroundTopColor = 0xFFF6F7F7;
    QRgb backgroundBottomColor = 0xFFECEDEE;
    QRgb plotColor = 0xFFFFFFFF;
    QRgb axisColor = 0xFF3E434D;
    QRgb gridColor = 0xFFC0C0C0;
    QRgb textColor = 0xFF3E434D;
    // Drawn half transparent under the line, whatever its own alpha.
    QRgb areaColor = 0xFFDAEEF8;
    QRgb lineColor = 0xFF005697;
};
