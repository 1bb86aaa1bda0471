#include "ChartTestSupport.h"

#include "charts/GraphData.h"

#include <climits>
#include <limits>
#include <vector>

using ChartTest::Column;

TEST(GraphData, KeepsEveryListAtTheSizeOfTheTable)
{
    CGraphData table(2, 3);
    EXPECT_EQ(table.GetColumnCount(), 2);
    EXPECT_EQ(table.GetRowCount(), 3);
    EXPECT_EQ(table.GetScale(), 100);

    EXPECT_TRUE(table.SetRowLabel(2, QStringLiteral("Last"), 0x123456));
    EXPECT_TRUE(table.SetValue(2, 1, 7.5f));
    EXPECT_FALSE(table.SetRowLabel(3, QStringLiteral("Past the end"), 1));
    EXPECT_FALSE(table.SetRowLabel(-1, QStringLiteral("Before the start"), 1));
    EXPECT_FALSE(table.SetValue(0, 2, 1.0f));
    EXPECT_FALSE(table.SetValue(3, 0, 1.0f));
    EXPECT_FALSE(table.SetValue(0, -1, 1.0f));

    EXPECT_EQ(table.GetRowLabel(2), QStringLiteral("Last"));
    EXPECT_EQ(table.GetRowColor(2), 0x123456);
    EXPECT_EQ(table.GetValue(2, 1), 7.5f);
    EXPECT_EQ(table.GetRowLabel(0), QString());
    EXPECT_EQ(table.GetRowColor(0), 0);
    EXPECT_EQ(table.GetValue(0, 0), 0.0f);

    table.SetSize(1, 2);
    EXPECT_EQ(table.GetRowLabel(1), QString()) << "a new size starts empty";
    for (const auto& [columns, rows] : std::vector<std::pair<int, int>>{{0, 5}, {5, 0}, {-1, 3}, {3, -1}})
    {
        table.SetSize(columns, rows);
        EXPECT_EQ(table.GetColumnCount(), 0) << columns << " x " << rows;
        EXPECT_EQ(table.GetRowCount(), 0) << columns << " x " << rows;
        EXPECT_FALSE(table.SetValue(0, 0, 1.0f));
    }
}

TEST(GraphData, PiePercentagesAddUpToAHundredWithTheLastRowTakingTheRounding)
{
    struct Case
    {
        std::vector<float> values;
        std::vector<int> percents;
    };
    const std::vector<Case> cases = {
        {{1, 1, 1}, {33, 33, 34}},
        {{2, 1, 1}, {50, 25, 25}},
        {{1, 1}, {50, 50}},
        {{0, 0, 0}, {0, 0, 0}},
        {{3, 1}, {75, 25}},
        {{5}, {100}},
        {{0, 4, 0}, {0, 100, 0}},
        // Six rows rounding up to 17 would reach 102 before the last row, which would then read -2.
        {{1, 1, 1, 1, 1, 1, 0}, {17, 17, 17, 17, 17, 15, 0}},
        // Counts cannot be negative: such a value takes no share of the pie.
        {{-5, 5}, {0, 100}},
    };
    for (const Case& c : cases)
    {
        CGraphData table(1, int(c.values.size()));
        for (size_t row = 0; row < c.values.size(); ++row)
            table.SetValue(int(row), 0, c.values[row]);
        std::vector<int> percents;
        for (size_t row = 0; row < c.values.size(); ++row)
            percents.push_back(table.GetPiePercent(int(row)));
        EXPECT_EQ(percents, c.percents) << "values " << testing::PrintToString(c.values);
    }

    const CGraphData thirds = Column({1, 1, 1});
    EXPECT_EQ(thirds.GetPiePercent(3), thirds.GetPiePercent(2)) << "past the last row reads as the last row";
    EXPECT_EQ(thirds.GetPiePercent(100), 34);
    EXPECT_EQ(CGraphData().GetPiePercent(0), 0);
}

TEST(GraphData, PiePercentagesReadColumnZeroOnly)
{
    CGraphData table(2, 2);
    table.SetValue(0, 0, 1);
    table.SetValue(1, 0, 3);
    table.SetValue(0, 1, 1000);
    EXPECT_EQ(table.GetPiePercent(0), 25);
    EXPECT_EQ(table.GetPiePercent(1), 75);
}

TEST(GraphData, AxisMaximumIsTheFirstStepAboveTheRoundedUpMaximum)
{
    struct Case
    {
        float largest;
        int maximum;
        int axis;
    };
    const Case cases[] = {
        {0, 0, 10},
        {3, 3, 10},
        {9.2f, 10, 20},
        {10, 10, 20},
        {10.5f, 11, 20},
        {12, 12, 20},
        {29, 29, 30},
        {30, 30, 50},
        {49, 49, 50},
        {50, 50, 100},
        {450, 450, 500},
        {3000, 3000, 5000},
        {9999999, 9999999, 10000000},
        {10000000, 10000000, 10000001},
        {-4, 0, 10},
    };
    for (const Case& c : cases)
    {
        CGraphData table(2, 2);
        table.SetValue(0, 1, c.largest / 2);
        table.SetValue(1, 1, c.largest);
        EXPECT_EQ(table.GetMaxValue(), c.maximum) << c.largest;
        EXPECT_EQ(table.GetAxisMaximum(), c.axis) << c.largest;
    }
}

TEST(GraphData, ValuesBeyondAnyCountNeitherOverflowNorPoisonTheAxis)
{
    CGraphData table(1, 3);
    table.SetValue(0, 0, std::numeric_limits<float>::quiet_NaN());
    table.SetValue(1, 0, 5);
    EXPECT_EQ(table.GetMaxValue(), 5);
    EXPECT_EQ(table.GetPiePercent(0), 0);
    EXPECT_EQ(table.GetPiePercent(2), 0);
    EXPECT_EQ(table.GetPiePercent(1), 100);

    table.SetValue(2, 0, std::numeric_limits<float>::infinity());
    EXPECT_EQ(table.GetMaxValue(), INT_MAX - 1);
    EXPECT_EQ(table.GetAxisMaximum(), INT_MAX);
    EXPECT_EQ(table.GetPiePercent(2), 0) << "an endless count takes no share";
    table.SetValue(2, 0, 3e38f);
    EXPECT_EQ(table.GetAxisMaximum(), INT_MAX);
    EXPECT_EQ(table.GetPiePercent(1), 0);
    EXPECT_EQ(table.GetPiePercent(2), 100);
}
