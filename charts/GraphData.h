#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The table behind a chart: per row a label and a colour (a COLORREF, 0x00BBGGRR), and a grid
// of float values stored row by row. The painters and the pie shares read column 0 only; further
// columns are carried but not drawn.
class CGraphData
{
public:
    CGraphData(int columns = 0, int rows = 0) { SetSize(columns, rows); }

    // Empties the table; when both counts are positive, makes that many rows and columns with
    // empty labels, colour 0 and values 0.
    void SetSize(int columns, int rows);
    bool SetRowLabel(int row, const QString& label, int color);
    bool SetValue(int row, int column, float value);

    int GetRowCount() const { return m_rows; }
    int GetColumnCount() const { return m_columns; }
    // Empty, colour 0 and 0 outside the table.
    QString GetRowLabel(int row) const;
    int GetRowColor(int row) const;
    float GetValue(int row, int column) const;

    // The "maxvalue" of a chart address; kept, but the axis follows GetAxisMaximum.
    int GetScale() const { return m_scale; }
    void SetScale(int scale) { m_scale = scale; }

    // The row's share of column 0 in whole percent; the shares add up to 100 (the last row takes
    // the rounding), or are all 0 when nothing is there to share. An index past the last row
    // reads as the last row.
    int GetPiePercent(int row) const;
    // The smallest whole number not below any value; 0 when none is above 0.
    int GetMaxValue() const;
    // The first step of 10, 20, 30, 50, 100, ... 10,000,000 above the maximum; past the last
    // step, the maximum plus 1.
    int GetAxisMaximum() const;

private:
    bool IsRow(int row) const { return row >= 0 && row < m_rows; }
    // What a row contributes to a pie: a count, so nothing negative or undefined.
    double PieValue(int row) const;

    int m_columns = 0;
    int m_rows = 0;
    QStringList m_labels;
    std::vector<int> m_colors;
    std::vector<float> m_values;
    int m_scale = 100;
};
