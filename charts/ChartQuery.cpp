#include "charts/ChartQuery.h"

#include "base/TextHelpers.h"
#include "charts/ChartPainters.h"
#include "gre/GreImage.h"

namespace
{
enum ChartType
{
    BarChart = 0,
    LineChart = 1,
    PieChart = 2,
};

bool ReadInt(const ChartParameterLookup& lookup, const QString& name, int& value)
{
    value = 0;
    QString text;
    if (!lookup(name, text))
        return false;
    value = ParseIntText(text.trimmed());
    return true;
}
} // namespace

bool CChartQuery::IsChartPath(const QString& path)
{
    return QStringView(path).left(path.indexOf(u'?')).contains(QLatin1String("kvgraph"));
}

CChartQuery::Outcome CChartQuery::Refuse(const QString& error)
{
    m_error = error;
    m_data.SetSize(0, 0);
    return Refused;
}

CChartQuery::Outcome CChartQuery::Parse(const ChartParameterLookup& lookup)
{
    m_type = -1;
    m_data = CGraphData();
    m_barStyle = CBarChartStyle();
    m_lineStyle = CLineChartStyle();
    m_error.clear();

    int type = 0;
    int columns = 0;
    int rows = 0;
    const bool complete = ReadInt(lookup, QStringLiteral("type"), type) &&
                          ReadInt(lookup, QStringLiteral("cols"), columns) &&
                          ReadInt(lookup, QStringLiteral("rows"), rows);
    if (!complete || columns <= 0 || rows <= 0 || type < BarChart || type > PieChart)
        return NotAChart;
    if (rows > MaxRows)
        return Refuse(
            QStringLiteral("A chart has at most %1 rows; this one asks for %2.").arg(MaxRows).arg(rows));
    if (columns > MaxColumns)
        return Refuse(QStringLiteral("A chart has at most %1 columns; this one asks for %2.")
                          .arg(MaxColumns)
                          .arg(columns));
    m_type = type;

    const Outcome options = ReadOptions(lookup, rows);
    if (options != Chart)
        return options;
    return ReadRows(lookup, columns, rows);
}

CChartQuery::Outcome CChartQuery::ReadOptions(const ChartParameterLookup& lookup, int rows)
{
    int option = 0;
    if (m_type == BarChart)
    {
        if (ReadInt(lookup, QStringLiteral("widthtotal"), option))
            m_barStyle.imageWidth = option;
        if (ReadInt(lookup, QStringLiteral("widthbar"), option))
            m_barStyle.barAreaWidth = option;
        if (m_barStyle.imageWidth < 1 || m_barStyle.imageWidth > MaxImageWidth)
            return Refuse(QStringLiteral("A chart is 1 to %1 pixels wide; this one asks for %2.")
                              .arg(MaxImageWidth)
                              .arg(m_barStyle.imageWidth));
        if (m_barStyle.barAreaWidth < 0 || m_barStyle.GetLabelWidth() < 0)
            return Refuse(QStringLiteral("A bar area of %1 pixels does not fit into a chart %2 pixels wide.")
                              .arg(m_barStyle.barAreaWidth)
                              .arg(m_barStyle.imageWidth));
        if (m_barStyle.imageWidth * m_barStyle.GetImageHeight(rows) > MaxImagePixels)
            return Refuse(QStringLiteral("A bar chart of %1 rows, %2 pixels wide, would be too large.")
                              .arg(rows)
                              .arg(m_barStyle.imageWidth));
    }
    else if (m_type == LineChart)
    {
        if (ReadInt(lookup, QStringLiteral("numbetweendivisor"), option))
            m_lineStyle.labelSpacing = option;
    }
    return Chart;
}

CChartQuery::Outcome CChartQuery::ReadRows(const ChartParameterLookup& lookup, int columns, int rows)
{
    m_data.SetSize(columns, rows);
    int scale = 0;
    ReadInt(lookup, QStringLiteral("maxvalue"), scale);
    m_data.SetScale(scale);

    for (int row = 0; row < rows; ++row)
    {
        QString label;
        lookup(QStringLiteral("i_%1").arg(row), label);
        if (label.size() > MaxLabelLength)
            return Refuse(QStringLiteral("The label of row %1 is longer than %2 characters.")
                              .arg(row)
                              .arg(MaxLabelLength));
        int color = 0;
        ReadInt(lookup, QStringLiteral("y_%1").arg(row), color);
        m_data.SetRowLabel(row, label, color);
    }
    // Values are counts; the column comes first in the name: d_1_0 is row 0, column 1.
    for (int row = 0; row < rows; ++row)
    {
        for (int column = 0; column < columns; ++column)
        {
            int value = 0;
            ReadInt(lookup, QStringLiteral("d_%1_%2").arg(column).arg(row), value);
            if (value < 0)
                return Refuse(
                    QStringLiteral("The value of row %1, column %2 is negative.").arg(row).arg(column));
            m_data.SetValue(row, column, float(value));
        }
    }
    return Chart;
}

bool CChartQuery::Paint(gre::CGreImage& image) const
{
    switch (m_type)
    {
    case BarChart:
        return DrawBarGraph(m_data, image, &m_barStyle);
    case LineChart:
        return DrawLineGraph(m_data, image, &m_lineStyle);
    case PieChart:
        return DrawPieGraph(image, m_data);
    default:
        return false;
    }
}

CChartQuery::Outcome CChartQuery::Answer(const ChartParameterLookup& lookup, QByteArray& png)
{
    png.clear();
    const Outcome outcome = Parse(lookup);
    if (outcome != Chart)
        return outcome;
    gre::CGreImage image;
    if (!Paint(image) || !image.SaveToBytes(QStringLiteral("image/png"), png))
    {
        png.clear();
        return NotAChart;
    }
    return Chart;
}
