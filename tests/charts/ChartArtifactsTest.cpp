// Paints the charts of a report page from the addresses the page writes and keeps them as PNG
// files in the artefact folder, for a person to look at.
#include "ChartTestSupport.h"

#include "base/TextHelpers.h"
#include "charts/ChartQuery.h"

#include <QDir>
#include <QFile>
#include <QImage>

namespace
{
struct Row
{
    QString label;
    int color;
    int value;
};

QString Address(int type, const QString& options, const std::vector<Row>& rows)
{
    QString query = QStringLiteral("type=%1&cols=1&rows=%2").arg(type).arg(rows.size()) + options;
    for (size_t r = 0; r < rows.size(); ++r)
    {
        const QString index = QString::number(r);
        query += QLatin1String("&i_") + index + QLatin1Char('=') + UrlEncodeUtf8(rows[r].label) +
                 QLatin1String("&y_") + index + QLatin1Char('=') + QString::number(rows[r].color) +
                 QLatin1String("&d_0_") + index + QLatin1Char('=') + QString::number(rows[r].value);
    }
    return query;
}

void SaveChart(const QString& name, const QString& query, const QSize& size)
{
    CChartQuery chart;
    QByteArray png;
    ASSERT_EQ(chart.Answer(ChartTest::Parameters(query), png), CChartQuery::Chart) << qPrintable(name);
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(png, "PNG"));
    EXPECT_EQ(decoded.size(), size) << qPrintable(name);

    const QDir folder(QStringLiteral(KV_ARTIFACT_DIR "/reports"));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(png), png.size());
}
} // namespace

TEST(ChartArtifacts, WritesTheReportPagesChartsAsPng)
{
    SaveChart(QStringLiteral("delivery_pie.png"),
              Address(2, {},
                      {{QStringLiteral("Delivered"), 1093244, 182},
                       {QStringLiteral("Pending"), 57567, 23},
                       {QStringLiteral("Failed"), 3952078, 41}}),
              QSize(308, 191));

    SaveChart(QStringLiteral("overview_bar.png"),
              Address(0, QStringLiteral("&widthbar=520"),
                      {{QStringLiteral("Delivered"), 1093244, 182},
                       {QStringLiteral("Opened"), 12949068, 97},
                       {QStringLiteral("Unique Clicks"), 9013641, 45},
                       {QStringLiteral("Clicks"), 10315316, 71},
                       {QStringLiteral("Forwards"), 10437063, 6}}),
              QSize(700, 310));

    std::vector<Row> days;
    const int opens[] = {0, 14, 31, 22, 9, 5, 3, 12, 18, 7, 4, 2, 1, 0,
                         6, 9,  11, 4,  2, 1, 0, 0,  3,  5, 2, 1, 0, 1};
    for (int day = 0; day < 28; ++day)
        days.push_back(
            {QDate(2026, 11, 13).addDays(day).toString(QStringLiteral("MM/dd/yyyy")), 12949068, opens[day]});
    SaveChart(QStringLiteral("read_statistics_line.png"), Address(1, {}, days), QSize(700, 300));

    SaveChart(
        QStringLiteral("link_report_bar.png"),
        Address(0, QStringLiteral("&widthbar=350"),
                {{QStringLiteral("http://www.example.com/offers/winter-sale-2026/index.html?src=newsletter"),
                  10315316, 38},
                 {QStringLiteral("http://www.example.com/"), 10315316, 12},
                 {QStringLiteral("Unsubscribe page"), 10315316, 0}}),
        QSize(700, 210));
}
