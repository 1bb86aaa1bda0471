#pragma once

// The pie chart's fixed layout. Its colours are COLORREF values (0x00BBGGRR), like the row
// colours of the table.
struct CPieChartStyle
{
    int margin = 22;
    int bottomSpace = 29;
    int radius = 70;
    int legendInset = 12;
    int legendWidth = 124;
    int swatchSize = 10;
    int legendRowHeight = 35;
    int legendFontSize = 12;
    int valueLineOffset = 14;
    int pieBackground = 0xFFFFFF;
    int legendTopColor = 0xF7F7F6;
    int legendBottomColor = 0xEEEDEC;
    int legendTextColor = 0x4D433E;

    int GetPieAreaWidth() const { return 2 * (margin + radius); }
    int GetImageWidth() const { return GetPieAreaWidth() + legendWidth; }
    int GetImageHeight() const { return margin + 2 * radius + bottomSpace; }
};
