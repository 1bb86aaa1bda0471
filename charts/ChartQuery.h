#pragma once

#include "charts/BarChartStyle.h"
#include "charts/GraphData.h"
#include "charts/LineChartStyle.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace gre
{
class CGreImage;
}

// Looks a parameter of the request up by name (case-sensitive), in the query string first and
// then in a form body, already percent- and UTF-8-decoded; false when it is in neither.
using ChartParameterLookup = std::function<bool(const QString& name, QString& value)>;

// The chart address of the local web server: a path containing "kvgraph" with "type" (0 bar,
// 1 line, 2 pie), "cols", "rows", per row "i_<row>" (label), "y_<row>" (COLORREF colour) and
// "d_<column>_<row>" (value), "maxvalue", and the options "widthbar" and "widthtotal" (bar) and
// "numbetweendivisor" (line). Integers read like C's atoi (white space, sign, leading digits),
// whatever the locale.
class CChartQuery
{
public:
    enum Outcome
    {
        // Not a complete chart address: the request is served like any other.
        NotAChart,
        // A chart address the server will not paint (too large, negative counts): GetError says
        // why.
        Refused,
        Chart,
    };

    // Limits that keep a chart address from asking for a huge picture or table. Report pages
    // write one column and, within an address of 2083 characters, far fewer rows.
    static constexpr int MaxRows = 500;
    static constexpr int MaxColumns = 64;
    static constexpr int MaxLabelLength = 2083;
    static constexpr int MaxImageWidth = 4096;
    static constexpr long long MaxImagePixels = 4096LL * 4096;

    // Whether the path asks for a chart: "kvgraph" anywhere before its query; the query itself
    // does not count, so no page, resource or web-store address turns into a chart by what it
    // carries after "?".
    static bool IsChartPath(const QString& path);

    // Reads the parameters into the table and the chart's style.
    Outcome Parse(const ChartParameterLookup& lookup);
    // Paints the parsed chart; false when its painter failed.
    bool Paint(gre::CGreImage& image) const;
    // Parses, paints and encodes as PNG. A chart whose painter or encoder fails is not a chart.
    Outcome Answer(const ChartParameterLookup& lookup, QByteArray& png);

    int GetType() const { return m_type; }
    const CGraphData& GetData() const { return m_data; }
    const CBarChartStyle& GetBarStyle() const { return m_barStyle; }
    const CLineChartStyle& GetLineStyle() const { return m_lineStyle; }
    const QString& GetError() const { return m_error; }

private:
    Outcome Refuse(const QString& error);
    Outcome ReadRows(const ChartParameterLookup& lookup, int columns, int rows);
    Outcome ReadOptions(const ChartParameterLookup& lookup, int rows);

    int m_type = -1;
    CGraphData m_data;
    CBarChartStyle m_barStyle;
    CLineChartStyle m_lineStyle;
    QString m_error;
};
