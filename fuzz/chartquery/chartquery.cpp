// Reads arbitrary bytes as the query string of a chart address (the first line) and a form body
// (the rest), parses the chart from them, works out its pie shares and axis and paints it.
#include "charts/ChartQuery.h"
#include "fuzz/GuiFuzzerInitialize.h"
#include "gre/GreImage.h"

#include <QMap>
#include <QUrlQuery>

#include <cstddef>
#include <cstdint>

namespace
{
QMap<QString, QString> Decode(const QString& text)
{
    QMap<QString, QString> map;
    for (const auto& [name, value] : QUrlQuery(text).queryItems(QUrl::FullyDecoded))
        if (!map.contains(name))
            map.insert(name, value);
    return map;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype lineEnd = input.indexOf(QLatin1Char('\n'));
    const QMap<QString, QString> query = Decode(input.left(lineEnd));
    const QMap<QString, QString> form =
        lineEnd < 0 ? QMap<QString, QString>() : Decode(input.mid(lineEnd + 1));
    const ChartParameterLookup lookup = [&](const QString& name, QString& value)
    {
        const auto found = query.find(name);
        if (found != query.end())
        {
            value = *found;
            return true;
        }
        const auto inForm = form.find(name);
        if (inForm == form.end())
            return false;
        value = *inForm;
        return true;
    };

    CChartQuery chart;
    CChartQuery::IsChartPath(input);
    if (chart.Parse(lookup) != CChartQuery::Chart)
        return 0;
    const CGraphData& table = chart.GetData();
    if (table.GetRowCount() < 1 || table.GetRowCount() > CChartQuery::MaxRows)
        __builtin_trap();
    int total = 0;
    for (int row = 0; row < table.GetRowCount(); ++row)
    {
        const int percent = table.GetPiePercent(row);
        if (percent < 0 || percent > 100)
            __builtin_trap();
        total += percent;
    }
    if (total != 0 && total != 100)
        __builtin_trap();
    if (table.GetAxisMaximum() <= table.GetMaxValue())
        __builtin_trap();
    gre::CGreImage image;
    if (chart.Paint(image) &&
        (image.IsEmpty() || qint64(image.GetWidth()) * image.GetHeight() > CChartQuery::MaxImagePixels))
        __builtin_trap();
    return 0;
}
