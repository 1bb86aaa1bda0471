#pragma once

#include "charts/ChartQuery.h"
#include "charts/GraphData.h"

#include <QImage>
#include <QMap>
#include <QRgb>
#include <QString>
#include <QUrlQuery>

#include <cstdlib>
#include <initializer_list>

#include <gtest/gtest.h>

namespace ChartTest
{
// The parameters of a request as the page service sees them: a decoded query string and,
// optionally, a decoded form body.
inline ChartParameterLookup Parameters(const QString& query, const QString& form = {})
{
    auto decode = [](const QString& text)
    {
        QMap<QString, QString> map;
        for (const auto& [name, value] : QUrlQuery(text).queryItems(QUrl::FullyDecoded))
            map.insert(name, value);
        return map;
    };
    return [query = decode(query), form = decode(form)](const QString& name, QString& value)
    {
        if (query.contains(name))
            value = query.value(name);
        else if (form.contains(name))
            value = form.value(name);
        else
            return false;
        return true;
    };
}

// A one-column table with the values, labels "Row <n>" and the colours given in turn.
inline CGraphData Column(std::initializer_list<float> values, std::initializer_list<int> colors = {})
{
    CGraphData table(1, int(values.size()));
    int row = 0;
    for (const float value : values)
    {
        const int color = row < int(colors.size()) ? colors.begin()[row] : 0x808080;
        table.SetRowLabel(row, QStringLiteral("Row %1").arg(row), color);
        table.SetValue(row, 0, value);
        ++row;
    }
    return table;
}

inline bool Near(QRgb actual, QRgb expected, int tolerance)
{
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(actual) - qBlue(expected)) <= tolerance && qAlpha(actual) == qAlpha(expected);
}

inline QString Hex(QRgb color)
{
    return QStringLiteral("%1").arg(color, 8, 16, QLatin1Char('0'));
}

#define EXPECT_PIXEL(image, x, y, expected, tolerance)                                                       \
    EXPECT_TRUE(ChartTest::Near((image).pixel((x), (y)), (expected), (tolerance)))                           \
        << "pixel (" << (x) << ", " << (y) << ") is " << qPrintable(ChartTest::Hex((image).pixel((x), (y)))) \
        << ", expected " << qPrintable(ChartTest::Hex(expected))

inline bool EveryPixelOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 255)
                return false;
    return true;
}
} // namespace ChartTest
