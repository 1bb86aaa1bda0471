#include "charts/GraphData.h"

#include "charts/ChartNumbers.h"

#include <algorithm>
#include <array>
#include <cmath>

void CGraphData::SetSize(int columns, int rows)
{
    m_labels.clear();
    m_colors.clear();
    m_values.clear();
    m_columns = 0;
    m_rows = 0;
    if (columns <= 0 || rows <= 0)
        return;
    m_columns = columns;
    m_rows = rows;
    m_labels.resize(rows);
    m_colors.assign(size_t(rows), 0);
    m_values.assign(size_t(rows) * size_t(columns), 0.0f);
}

bool CGraphData::SetRowLabel(int row, const QString& label, int color)
{
    if (!IsRow(row))
        return false;
    m_labels[row] = label;
    m_colors[size_t(row)] = color;
    return true;
}

bool CGraphData::SetValue(int row, int column, float value)
{
    if (!IsRow(row) || column < 0 || column >= m_columns)
        return false;
    m_values[size_t(row) * size_t(m_columns) + size_t(column)] = value;
    return true;
}

QString CGraphData::GetRowLabel(int row) const
{
    return IsRow(row) ? m_labels[row] : QString();
}

int CGraphData::GetRowColor(int row) const
{
    return IsRow(row) ? m_colors[size_t(row)] : 0;
}

float CGraphData::GetValue(int row, int column) const
{
    if (!IsRow(row) || column < 0 || column >= m_columns)
        return 0.0f;
    return m_values[size_t(row) * size_t(m_columns) + size_t(column)];
}

double CGraphData::PieValue(int row) const
{
    const double value = GetValue(row, 0);
    return std::isfinite(value) && value > 0.0 ? value : 0.0;
}

int CGraphData::GetPiePercent(int row) const
{
    if (m_rows == 0)
        return 0;
    double sum = 0.0;
    for (int j = 0; j < m_rows; ++j)
        sum += PieValue(j);
    if (sum == 0.0)
        return 0;
    int total = 0;
    for (int j = 0; j + 1 < m_rows; ++j)
    {
        // Rounding every row up could carry the running total past 100 and leave the last row a
        // negative share; a row takes at most what is left.
        const int percent = std::min(TruncateToInt(PieValue(j) * 100.0 / sum + 0.5), 100 - total);
        if (j == row)
            return percent;
        total += percent;
    }
    return 100 - total;
}

int CGraphData::GetMaxValue() const
{
    // Kept one below the largest int, so that the axis above it still fits.
    constexpr int Largest = INT_MAX - 1;
    int maximum = 0;
    for (const float value : m_values)
    {
        if (!(value > float(maximum)))
            continue;
        if (double(value) >= double(Largest))
            return Largest;
        maximum = int(value);
        if (double(value) - maximum > 0.0)
            ++maximum;
    }
    return maximum;
}

int CGraphData::GetAxisMaximum() const
{
    static constexpr std::array<int, 25> Steps = {10,      20,      30,      50,      100,    200,    300,
                                                  500,     1000,    2000,    3000,    5000,   10000,  20000,
                                                  30000,   50000,   100000,  200000,  300000, 500000, 1000000,
                                                  2000000, 3000000, 5000000, 10000000};
    const int maximum = GetMaxValue();
    for (const int step : Steps)
        if (step > maximum)
            return step;
    return maximum + 1;
}
