#include "ChartTestSupport.h"

#include "base/TextHelpers.h"
#include "charts/ChartQuery.h"

#include <QImage>
#include <QLocale>

#include <climits>

using ChartTest::Parameters;

namespace
{
const char* OutcomeName(CChartQuery::Outcome outcome)
{
    switch (outcome)
    {
    case CChartQuery::NotAChart:
        return "not a chart";
    case CChartQuery::Refused:
        return "refused";
    case CChartQuery::Chart:
        return "chart";
    }
    return "?";
}

// One row of each kind of value, as the report page writes them.
const QString Rows = QStringLiteral("&i_0=Delivered&y_0=1093244&d_0_0=12&i_1=Opened&y_1=12949068&d_0_1=5");
} // namespace

TEST(ChartQuery, TellsChartAddressesByTheirPathAlone)
{
    EXPECT_TRUE(CChartQuery::IsChartPath(QStringLiteral("kvgraph")));
    EXPECT_TRUE(CChartQuery::IsChartPath(QStringLiteral("reports/mykvgraphs.png")));
    EXPECT_FALSE(CChartQuery::IsChartPath(QStringLiteral("KVGraph")));
    EXPECT_FALSE(CChartQuery::IsChartPath(QStringLiteral("kv_graph")));
    EXPECT_FALSE(CChartQuery::IsChartPath(QString()));
    EXPECT_TRUE(CChartQuery::IsChartPath(QStringLiteral("kvgraph?type=0&cols=1&rows=1")));
    EXPECT_FALSE(CChartQuery::IsChartPath(QStringLiteral("spring.kvnl?kvgraph&type=0&cols=1&rows=1")));
    EXPECT_FALSE(CChartQuery::IsChartPath(QStringLiteral("img/a.png?pid=kvgraph")));
}

TEST(ChartQuery, SortsAddressesIntoChartsRefusalsAndOtherRequests)
{
    struct Case
    {
        const char* what;
        QString query;
        CChartQuery::Outcome outcome;
    };
    const QString bar = QStringLiteral("type=0&cols=1&rows=2") + Rows;
    const Case cases[] = {
        {"bar chart", bar, CChartQuery::Chart},
        {"line chart", QStringLiteral("type=1&cols=1&rows=2") + Rows, CChartQuery::Chart},
        {"pie chart", QStringLiteral("type=2&cols=1&rows=2") + Rows, CChartQuery::Chart},
        {"rows without values", QStringLiteral("type=2&cols=1&rows=3"), CChartQuery::Chart},
        {"no type", QStringLiteral("cols=1&rows=2") + Rows, CChartQuery::NotAChart},
        {"no cols", QStringLiteral("type=0&rows=2") + Rows, CChartQuery::NotAChart},
        {"no rows", QStringLiteral("type=0&cols=1") + Rows, CChartQuery::NotAChart},
        {"no parameters", QString(), CChartQuery::NotAChart},
        {"cols 0", QStringLiteral("type=0&cols=0&rows=2"), CChartQuery::NotAChart},
        {"rows below 0", QStringLiteral("type=0&cols=1&rows=-2"), CChartQuery::NotAChart},
        {"unknown type", QStringLiteral("type=3&cols=1&rows=2") + Rows, CChartQuery::NotAChart},
        {"negative type", QStringLiteral("type=-1&cols=1&rows=2"), CChartQuery::NotAChart},
        {"rows that are no number", QStringLiteral("type=0&cols=1&rows=many"), CChartQuery::NotAChart},
        {"most rows", QStringLiteral("type=1&cols=1&rows=500"), CChartQuery::Chart},
        {"too many rows", QStringLiteral("type=1&cols=1&rows=501"), CChartQuery::Refused},
        {"rows past int", QStringLiteral("type=1&cols=1&rows=99999999999"), CChartQuery::Refused},
        {"most columns", QStringLiteral("type=1&cols=64&rows=2"), CChartQuery::Chart},
        {"too many columns", QStringLiteral("type=1&cols=65&rows=2"), CChartQuery::Refused},
        {"tall bar chart", QStringLiteral("type=0&cols=1&rows=400"), CChartQuery::Chart},
        {"bar chart of too many pixels", QStringLiteral("type=0&cols=1&rows=500"), CChartQuery::Refused},
        {"widest bar chart", QStringLiteral("type=0&cols=1&rows=2&widthtotal=4096"), CChartQuery::Chart},
        {"too wide", QStringLiteral("type=0&cols=1&rows=2&widthtotal=4097"), CChartQuery::Refused},
        {"no width", QStringLiteral("type=0&cols=1&rows=2&widthtotal=0"), CChartQuery::Refused},
        {"bar area wider than the chart", QStringLiteral("type=0&cols=1&rows=2&widthbar=661"),
         CChartQuery::Refused},
        {"bar area filling the chart", QStringLiteral("type=0&cols=1&rows=2&widthbar=660"),
         CChartQuery::Chart},
        {"negative bar area", QStringLiteral("type=0&cols=1&rows=2&widthbar=-5"), CChartQuery::Refused},
        {"bar area past int", QStringLiteral("type=0&cols=1&rows=2&widthtotal=3&widthbar=2147483646"),
         CChartQuery::Refused},
        {"bar options on a line chart", QStringLiteral("type=1&cols=1&rows=2&widthtotal=99999"),
         CChartQuery::Chart},
        {"negative count", bar + QStringLiteral("&d_0_1=-1"), CChartQuery::Refused},
        {"long label", QStringLiteral("type=0&cols=1&rows=1&i_0=") + QString(2084, u'x'),
         CChartQuery::Refused},
        {"longest label", QStringLiteral("type=0&cols=1&rows=1&i_0=") + QString(2083, u'x'),
         CChartQuery::Chart},
    };
    for (const Case& c : cases)
    {
        CChartQuery query;
        const CChartQuery::Outcome outcome = query.Parse(Parameters(c.query));
        EXPECT_STREQ(OutcomeName(outcome), OutcomeName(c.outcome)) << c.what;
        EXPECT_EQ(query.GetError().isEmpty(), outcome != CChartQuery::Refused) << c.what;
        if (outcome == CChartQuery::Refused)
        {
            EXPECT_EQ(query.GetData().GetRowCount(), 0) << c.what << ": a refused table is dropped";
        }
    }
}

TEST(ChartQuery, ReadsNumbersLikeAtoiWhateverTheLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::pair<QString, float> cases[] = {
        {QStringLiteral("7"), 7},    {QStringLiteral("%20%207%09"), 7},
        {QStringLiteral("+3"), 3},   {QStringLiteral("12abc"), 12},
        {QStringLiteral("abc"), 0},  {QString(), 0},
        {QStringLiteral("-"), 0},    {QStringLiteral("1.500"), 1},
        {QStringLiteral("1,5"), 1},  {QStringLiteral("2e3"), 2},
        {QStringLiteral("0x1F"), 0}, {QStringLiteral("99999999999"), float(INT_MAX)},
    };
    for (const auto& [text, value] : cases)
    {
        CChartQuery query;
        ASSERT_EQ(query.Parse(Parameters(QStringLiteral("type=0&cols=1&rows=1&d_0_0=") + text)),
                  CChartQuery::Chart)
            << qPrintable(text);
        EXPECT_EQ(query.GetData().GetValue(0, 0), value) << qPrintable(text);
    }
    QLocale::setDefault(previous);

    CChartQuery query;
    ASSERT_EQ(query.Parse(Parameters(QStringLiteral("type=%201%20&cols=1x&rows=%202rows&maxvalue=250.7"))),
              CChartQuery::Chart);
    EXPECT_EQ(query.GetType(), 1);
    EXPECT_EQ(query.GetData().GetColumnCount(), 1);
    EXPECT_EQ(query.GetData().GetRowCount(), 2);
    EXPECT_EQ(query.GetData().GetScale(), 250);
}

TEST(ChartQuery, FillsTheTableFromRowAndCellParameters)
{
    const QString label = QStringLiteral("Gr\u00fc\u00dfe & mehr / \u20ac 5");
    CChartQuery query;
    ASSERT_EQ(query.Parse(Parameters(QStringLiteral("type=2&cols=2&rows=3&i_0=") + UrlEncodeUtf8(label) +
                                     QStringLiteral("&y_0=255&d_0_0=4&d_1_0=9"))),
              CChartQuery::Chart);
    const CGraphData& table = query.GetData();
    EXPECT_EQ(table.GetRowLabel(0), label) << "the report page's encoding comes back unchanged";
    EXPECT_EQ(table.GetRowColor(0), 255);
    EXPECT_EQ(table.GetValue(0, 0), 4.0f);
    EXPECT_EQ(table.GetValue(0, 1), 9.0f) << "the column comes first in d_<column>_<row>";
    EXPECT_EQ(table.GetScale(), 0) << "no maxvalue";
    for (int row = 1; row < 3; ++row)
    {
        EXPECT_EQ(table.GetRowLabel(row), QString()) << row;
        EXPECT_EQ(table.GetRowColor(row), 0) << row;
        EXPECT_EQ(table.GetValue(row, 0), 0.0f) << row;
    }
}

TEST(ChartQuery, LooksInTheQueryStringBeforeTheFormBody)
{
    CChartQuery query;
    ASSERT_EQ(
        query.Parse(Parameters(QStringLiteral("type=0&d_0_0=5"),
                               QStringLiteral("type=1&cols=1&rows=2&d_0_0=8&d_0_1=6&i_1=From%20the%20form"))),
        CChartQuery::Chart);
    EXPECT_EQ(query.GetType(), 0);
    EXPECT_EQ(query.GetData().GetValue(0, 0), 5.0f);
    EXPECT_EQ(query.GetData().GetValue(1, 0), 6.0f);
    EXPECT_EQ(query.GetData().GetRowLabel(1), QStringLiteral("From the form"));
}

TEST(ChartQuery, OptionsChangeTheStyleWhenPresentWhateverTheirValue)
{
    struct Case
    {
        const char* options;
        int imageWidth;
        int labelWidth;
    };
    const Case cases[] = {
        {"", 700, 110},
        {"&widthbar=520", 700, 140},
        {"&widthbar=350", 700, 310},
        {"&widthtotal=800", 800, 210},
        {"&widthbar=0", 700, 660},
        {"&numbetweendivisor=4", 700, 110},
    };
    for (const Case& c : cases)
    {
        CChartQuery query;
        ASSERT_EQ(query.Parse(Parameters(QStringLiteral("type=0&cols=1&rows=3") + QLatin1String(c.options))),
                  CChartQuery::Chart)
            << c.options;
        EXPECT_EQ(query.GetBarStyle().imageWidth, c.imageWidth) << c.options;
        EXPECT_EQ(query.GetBarStyle().GetLabelWidth(), c.labelWidth) << c.options;
    }

    CChartQuery line;
    ASSERT_EQ(line.Parse(Parameters(QStringLiteral("type=1&cols=1&rows=3"))), CChartQuery::Chart);
    EXPECT_EQ(line.GetLineStyle().labelSpacing, 7);
    ASSERT_EQ(line.Parse(Parameters(QStringLiteral("type=1&cols=1&rows=3&numbetweendivisor=0"))),
              CChartQuery::Chart);
    EXPECT_EQ(line.GetLineStyle().labelSpacing, 0);
}

TEST(ChartQuery, AnswersWithAPngOfTheChartsSize)
{
    struct Case
    {
        QString query;
        QSize size;
    };
    const Case cases[] = {
        {QStringLiteral("type=0&cols=1&rows=3") + Rows, QSize(700, 210)},
        {QStringLiteral("type=0&cols=1&rows=3&widthtotal=900&widthbar=520") + Rows, QSize(900, 210)},
        {QStringLiteral("type=1&cols=1&rows=2") + Rows, QSize(700, 300)},
        {QStringLiteral("type=2&cols=1&rows=2") + Rows, QSize(308, 191)},
    };
    for (const Case& c : cases)
    {
        CChartQuery query;
        QByteArray png;
        ASSERT_EQ(query.Answer(Parameters(c.query), png), CChartQuery::Chart) << qPrintable(c.query);
        EXPECT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n"));
        QImage decoded;
        ASSERT_TRUE(decoded.loadFromData(png, "PNG"));
        EXPECT_EQ(decoded.size(), c.size) << qPrintable(c.query);
        EXPECT_TRUE(decoded.hasAlphaChannel()) << "an ARGB picture, painted opaque";
    }

    for (const char* refused : {"type=0&cols=1&rows=501", "type=5&cols=1&rows=2"})
    {
        CChartQuery query;
        QByteArray png = "left over";
        EXPECT_NE(query.Answer(Parameters(QLatin1String(refused)), png), CChartQuery::Chart) << refused;
        EXPECT_TRUE(png.isEmpty()) << refused;
    }
}
