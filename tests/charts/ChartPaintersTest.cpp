#include "ChartTestSupport.h"

#include "charts/ChartNumbers.h"
#include "charts/ChartPainters.h"
#include "charts/ChartQuery.h"
#include "gre/GreImage.h"

#include <QDir>

#include <climits>
#include <functional>
#include <thread>
#include <vector>

using ChartTest::Column;
using gre::CGreImage;

namespace
{
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Blue = 0xFF0000FF;
constexpr int RedRef = 0x0000FF;
constexpr int BlueRef = 0xFF0000;
constexpr int GreenRef = 0x00A000;

// Whether any pixel of the area is much darker than the background: where text was drawn.
bool HasInk(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                return true;
    return false;
}
} // namespace

TEST(ChartPainters, ShiftColorClampsEachChannelAndMakesItOpaque)
{
    struct Case
    {
        QRgb color;
        int amount;
        QRgb shifted;
    };
    const Case cases[] = {
        {0xFF0A0A0A, -25, 0xFF000000}, {0xFFF0F0F0, 40, 0xFFFFFFFF},      {0x00102030, 5, 0xFF152535},
        {0x80FF0080, -35, 0xFFDC005D}, {0xFF123456, INT_MAX, 0xFFFFFFFF}, {0xFF123456, INT_MIN, 0xFF000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShiftColor(c.color, c.amount), c.shifted)
            << std::hex << c.color << " by " << std::dec << c.amount;
}

TEST(ChartPainters, BarChartGrowsWithItsRowsAndPaintsTheFixedColours)
{
    const CBarChartStyle s;
    CGraphData table = Column({5, 0, 3}, {RedRef, BlueRef, GreenRef});
    CGreImage image;
    ASSERT_TRUE(DrawBarGraph(table, image));
    const QImage& picture = image.GetBitmap();
    ASSERT_EQ(picture.size(), QSize(700, 210));
    EXPECT_TRUE(ChartTest::EveryPixelOpaque(picture));

    // Axis 10 over 550 pixels: a value of 5 is 275 pixels long.
    const int barLeft = 130;
    const int top = 20 + (10 + 50 - 30) / 2;
    const int x1 = barLeft + 275;
    EXPECT_PIXEL(picture, 0, 0, s.backgroundTopColor, 1);
    EXPECT_PIXEL(picture, 0, 209, s.backgroundBottomColor, 1);
    EXPECT_PIXEL(picture, 22, 22, s.labelColumnColor, 0);
    EXPECT_PIXEL(picture, barLeft + 5, 22, s.barAreaColor, 0);
    EXPECT_PIXEL(picture, barLeft + 55 + 5, 22, s.stripeColor, 0);
    EXPECT_PIXEL(picture, barLeft + 5, top - 5, ShiftColor(Red, 40), 0);
    EXPECT_PIXEL(picture, x1 + 5, top + 10, ShiftColor(Red, -35), 0);
    EXPECT_PIXEL(picture, barLeft + 100, top + 1, Red, 3);
    EXPECT_PIXEL(picture, barLeft + 100, top + 29, ShiftColor(Red, -25), 3);
    EXPECT_PIXEL(picture, x1 - 1, top + 15, ShiftColor(Red, -12), 4);
    EXPECT_PIXEL(picture, x1 + 12, top + 1, s.stripeColor, 0) << "nothing past the side face";
    EXPECT_PIXEL(picture, barLeft, 25, s.axisColor, 0);
    EXPECT_PIXEL(picture, barLeft + 550, 25, s.axisColor, 0);
    EXPECT_PIXEL(picture, barLeft + 2 * 55, 170 + 3, s.axisColor, 0);
    EXPECT_PIXEL(picture, barLeft + 300, 70, s.barAreaSeparatorColor, 0);
    EXPECT_PIXEL(picture, 30, 70, s.labelColumnSeparatorColor, 0);

    // Row 1 has the value 0: no faces, but its 0 right of the depth and half the label gap.
    const int rowTop = 70;
    EXPECT_PIXEL(picture, barLeft + 2, rowTop + 25, s.barAreaColor, 0);
    EXPECT_PIXEL(picture, barLeft + 2, rowTop + 10, s.barAreaColor, 0);
    EXPECT_FALSE(HasInk(picture, QRect(barLeft + 1, rowTop + 5, 13, 40)));
    EXPECT_TRUE(HasInk(picture, QRect(barLeft + 15, rowTop + 15, 12, 20)));
    EXPECT_TRUE(HasInk(picture, QRect(20, rowTop + 15, 100, 20))) << "the row label";
}

TEST(ChartPainters, BarChartWidthsFollowTheStyle)
{
    CBarChartStyle style;
    style.imageWidth = 900;
    style.barAreaWidth = 350;
    CGreImage image;
    ASSERT_TRUE(DrawBarGraph(Column({1, 2}), image, &style));
    EXPECT_EQ(image.GetSize(), QSize(900, 160));
    const int barLeft = 20 + 510;
    EXPECT_PIXEL(image.GetBitmap(), barLeft - 2, 22, style.labelColumnColor, 0);
    EXPECT_PIXEL(image.GetBitmap(), barLeft, 22, style.axisColor, 0);
    EXPECT_PIXEL(image.GetBitmap(), barLeft + 350, 22, style.axisColor, 0);

    ASSERT_TRUE(DrawBarGraph(CGraphData(), image)) << "an empty table draws an empty scale";
    EXPECT_EQ(image.GetSize(), QSize(700, 60));

    style.barAreaWidth = 900;
    EXPECT_FALSE(DrawBarGraph(Column({1}), image, &style)) << "no room for the label column";
}

TEST(ChartPainters, LineChartPutsPointsAreaAndGridWhereTheValuesSay)
{
    const CLineChartStyle s;
    CGreImage image;
    ASSERT_TRUE(DrawLineGraph(Column({0, 5}), image));
    const QImage& picture = image.GetBitmap();
    ASSERT_EQ(picture.size(), QSize(700, 300));
    EXPECT_TRUE(ChartTest::EveryPixelOpaque(picture));

    // Plot from (60, 20) to (640, 260); axis 10, so 5 rises 120 of its 240 pixels.
    EXPECT_PIXEL(picture, 0, 0, s.backgroundTopColor, 1);
    EXPECT_PIXEL(picture, 620, 100, s.plotColor, 0);
    EXPECT_PIXEL(picture, 620, 240, qRgb(236, 246, 251), 2) << "the area, half over the plot";
    EXPECT_PIXEL(picture, 200, 164, s.gridColor, 0);
    EXPECT_PIXEL(picture, 640, 140, s.axisColor, 0) << "the frame over the last marker";
    EXPECT_PIXEL(picture, 638, 138, s.lineColor, 0) << "inside the last marker";
    EXPECT_PIXEL(picture, 636, 140, s.plotColor, 0) << "the last marker's border, over the line";
    EXPECT_PIXEL(picture, 62, 258, s.lineColor, 0) << "inside the first marker";
    EXPECT_PIXEL(picture, 60, 100, s.axisColor, 0);
    EXPECT_PIXEL(picture, 30, 260, s.axisColor, 0) << "side tick";
    EXPECT_PIXEL(picture, 60, 265, s.axisColor, 0) << "long tick under row 0";
    EXPECT_PIXEL(picture, 640, 265, s.backgroundBottomColor, 3) << "short tick under row 1";
}

TEST(ChartPainters, LineChartOfOneRowStillDrawsItsPoint)
{
    CGraphData table = Column({4});
    table.SetRowLabel(0, QString(), 0);
    CGreImage image;
    ASSERT_TRUE(DrawLineGraph(table, image));
    // 4 of axis 10 rises 96 pixels from the bottom at 260, on the plot's left edge.
    const QImage& picture = image.GetBitmap();
    EXPECT_PIXEL(picture, 62, 164 + 2, CLineChartStyle().lineColor, 0);
    EXPECT_PIXEL(picture, 57, 164 - 3, CLineChartStyle().lineColor, 0);
    EXPECT_PIXEL(picture, 63, 164, CLineChartStyle().plotColor, 0) << "the marker's white border";
}

TEST(ChartPainters, LineChartLabelsEveryRowOfTheSpacing)
{
    struct Case
    {
        int spacing;
        std::vector<int> labelled;
    };
    const Case cases[] = {{7, {0, 7, 14}}, {0, {}}, {1, {}}, {25, {0}}};
    for (const Case& c : cases)
    {
        CGraphData table(1, 20);
        CLineChartStyle style;
        style.labelSpacing = c.spacing;
        CGreImage image;
        ASSERT_TRUE(DrawLineGraph(table, image, &style));
        // Row 0 and row 19 lie on the plot's frame.
        for (int row = 1; row < 19; ++row)
        {
            const bool labelled = c.labelled.empty() ||
                                  std::find(c.labelled.begin(), c.labelled.end(), row) != c.labelled.end();
            const int x = 60 + row * 580 / 19;
            const QRgb grid = image.GetBitmap().pixel(x, 30);
            EXPECT_EQ(grid == style.gridColor, labelled) << "spacing " << c.spacing << ", row " << row;
            const QRgb tick = image.GetBitmap().pixel(x, 264);
            EXPECT_EQ(tick == style.axisColor, labelled) << "spacing " << c.spacing << ", row " << row;
        }
    }
}

TEST(ChartPainters, PieSlicesRunCounterClockwiseFromThreeOclock)
{
    CGreImage image;
    ASSERT_TRUE(DrawPieGraph(image, Column({3, 1}, {RedRef, BlueRef})));
    const QImage& picture = image.GetBitmap();
    ASSERT_EQ(picture.size(), QSize(308, 191));
    EXPECT_TRUE(ChartTest::EveryPixelOpaque(picture));

    const int cx = 92;
    const int cy = 92;
    EXPECT_PIXEL(picture, cx + 30, cy - 30, Red, 0) << "270 degrees: up,";
    EXPECT_PIXEL(picture, cx - 30, cy - 30, Red, 0) << "left";
    EXPECT_PIXEL(picture, cx - 30, cy + 30, Red, 0) << "and down";
    EXPECT_PIXEL(picture, cx + 30, cy + 30, Blue, 0) << "then 90 degrees back to three o'clock";
    EXPECT_GT(qGray(picture.pixel(cx + 40, cy)), 100) << "a white edge between the slices";
    EXPECT_PIXEL(picture, 5, 5, 0xFFFFFFFF, 0);
    EXPECT_PIXEL(picture, 5, 185, 0xFFFFFFFF, 0);
    EXPECT_PIXEL(picture, 305, 0, 0xFFF6F7F7, 1);
    EXPECT_PIXEL(picture, 305, 190, 0xFFECEDEE, 1);
    EXPECT_PIXEL(picture, 184 + 12 + 5, 12 + 5, Red, 0) << "first swatch";
    EXPECT_PIXEL(picture, 184 + 12 + 5, 12 + 35 + 5, Blue, 0) << "second swatch";
    EXPECT_TRUE(HasInk(picture, QRect(218, 10, 80, 14))) << "first label";
    EXPECT_TRUE(HasInk(picture, QRect(218, 24, 80, 14))) << "first value line";
}

TEST(ChartPainters, PieOfZerosShowsAWhiteAreaAndTheFullLegend)
{
    CGreImage image;
    ASSERT_TRUE(DrawPieGraph(image, Column({0, 0, 0}, {RedRef, BlueRef, GreenRef})));
    const QImage& picture = image.GetBitmap();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < 184; ++x)
            ASSERT_EQ(picture.pixel(x, y), 0xFFFFFFFF) << x << ", " << y;
    EXPECT_PIXEL(picture, 201, 17 + 2 * 35, ColorRefToArgb(GreenRef), 0);
    EXPECT_TRUE(HasInk(picture, QRect(218, 24 + 2 * 35, 80, 14))) << "the third value line";
}

TEST(ChartPainters, LineAndPieRefuseATableWithoutRows)
{
    CGreImage image;
    EXPECT_FALSE(DrawLineGraph(CGraphData(), image));
    EXPECT_FALSE(DrawPieGraph(image, CGraphData()));
    EXPECT_FALSE(DrawPieGraph(image, CGraphData(0, 3)));
}

TEST(ChartPainters, RefuseLayoutsWhoseCoordinatesWouldNotFitAnInt)
{
    using Draw = std::function<bool(CGreImage&)>;
    const auto bar = [](void (*change)(CBarChartStyle&)) -> Draw
    {
        return [change](CGreImage& image)
        {
            CBarChartStyle style;
            change(style);
            return DrawBarGraph(Column({5, 3}), image, &style);
        };
    };
    const auto line = [](void (*change)(CLineChartStyle&)) -> Draw
    {
        return [change](CGreImage& image)
        {
            CLineChartStyle style;
            change(style);
            return DrawLineGraph(Column({5, 3}), image, &style);
        };
    };
    const struct
    {
        const char* what;
        Draw draw;
    } cases[] = {
        {"bar area past int", bar([](CBarChartStyle& s) { s.imageWidth = 3, s.barAreaWidth = INT_MAX - 1; })},
        {"bar image width at int",
         bar([](CBarChartStyle& s) { s.imageWidth = INT_MAX, s.barAreaWidth = 10; })},
        {"bar margin at int", bar([](CBarChartStyle& s) { s.leftMargin = INT_MAX; })},
        {"negative bar margin", bar([](CBarChartStyle& s) { s.rightMargin = INT_MIN; })},
        {"row height at int", bar([](CBarChartStyle& s) { s.rowHeight = INT_MAX; })},
        {"bar thickness at int", bar([](CBarChartStyle& s) { s.barThickness = INT_MAX; })},
        {"bar depth at int", bar([](CBarChartStyle& s) { s.depthWidth = INT_MAX; })},
        {"label gap at int", bar([](CBarChartStyle& s) { s.labelGap = INT_MIN; })},
        {"line right margin at int", line([](CLineChartStyle& s) { s.rightMargin = INT_MIN; })},
        {"scale column at int", line([](CLineChartStyle& s) { s.scaleColumnWidth = INT_MAX; })},
        {"line height at int", line([](CLineChartStyle& s) { s.imageHeight = INT_MAX; })},
        {"marker at int", line([](CLineChartStyle& s) { s.markerSize = INT_MAX; })},
        {"tick at int", line([](CLineChartStyle& s) { s.majorTickLength = INT_MAX; })},
    };
    for (const auto& c : cases)
    {
        CGreImage image;
        EXPECT_FALSE(c.draw(image)) << c.what;
        EXPECT_TRUE(image.IsEmpty()) << c.what;
    }

    // Any label spacing is fine: it only picks rows.
    CLineChartStyle spacing;
    spacing.labelSpacing = INT_MAX;
    CGreImage image;
    EXPECT_TRUE(DrawLineGraph(Column({5, 3}), image, &spacing));
    spacing.labelSpacing = INT_MIN;
    EXPECT_TRUE(DrawLineGraph(Column({5, 3}), image, &spacing));
}

TEST(ChartPainters, PaintTheSamePicturesOnManyThreadsAtOnce)
{
    const QString queries[] = {
        QStringLiteral("type=0&cols=1&rows=3&widthbar=520&i_0=Sent&y_0=255&d_0_0=40&i_1=Opened&d_0_1=12"),
        QStringLiteral("type=1&cols=1&rows=9&numbetweendivisor=4&i_0=12/01/2026&d_0_0=3&d_0_4=8"),
        QStringLiteral(
            "type=2&cols=1&rows=3&i_0=Delivered&y_0=1093244&d_0_0=7&i_2=Failed&y_2=3952078&d_0_2=2"),
    };
    std::vector<QByteArray> expected;
    for (const QString& query : queries)
    {
        CChartQuery chart;
        QByteArray png;
        ASSERT_EQ(chart.Answer(ChartTest::Parameters(query), png), CChartQuery::Chart);
        expected.push_back(png);
    }

    constexpr int Threads = 6;
    std::vector<std::vector<QByteArray>> results(Threads);
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t)
    {
        threads.emplace_back(
            [&, t]
            {
                for (int round = 0; round < 4; ++round)
                    for (const QString& query : queries)
                    {
                        CChartQuery chart;
                        QByteArray png;
                        chart.Answer(ChartTest::Parameters(query), png);
                        results[size_t(t)].push_back(png);
                    }
            });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < Threads; ++t)
    {
        ASSERT_EQ(results[size_t(t)].size(), 12u);
        for (size_t i = 0; i < results[size_t(t)].size(); ++i)
            EXPECT_EQ(results[size_t(t)][i], expected[i % 3]) << "thread " << t << ", chart " << i;
    }
}
