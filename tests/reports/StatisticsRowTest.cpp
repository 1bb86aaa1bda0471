#include "reports/StatisticsRow.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace
{
StatisticsRow Row(const QString& address, const QString& first, const QString& last, qint64 time, int clicks,
                  const QString& company = {}, const QString& phones = {})
{
    StatisticsRow row;
    row.address = address;
    row.firstName = first;
    row.lastName = last;
    row.time = time;
    row.clicks = clicks;
    row.company = company;
    row.phones = phones;
    return row;
}

QStringList Addresses(const StatisticsRowList& rows)
{
    QStringList addresses;
    for (const StatisticsRow& row : rows)
        addresses << row.address;
    return addresses;
}
} // namespace

TEST(StatisticsRowTest, EachKeyOrdersTheListAndTiesKeepTheServiceOrder)
{
    const StatisticsRowList rows{
        Row(QStringLiteral("d"), QStringLiteral("Eva"), QStringLiteral("Berg"), 300, 3, QStringLiteral("Z"),
            QStringLiteral("2")),
        Row(QStringLiteral("a"), QStringLiteral("Eva"), QStringLiteral("Alm"), 100, 5, QStringLiteral("Y"),
            QStringLiteral("1")),
        Row(QStringLiteral("c"), QStringLiteral("Ann"), QStringLiteral("Berg"), 300, 3, QStringLiteral("Y"),
            QStringLiteral("3")),
        Row(QStringLiteral("b"), QStringLiteral("Bo"), QStringLiteral("Alm"), 200, 3, QStringLiteral("X"),
            QStringLiteral("0")),
    };
    struct Case
    {
        int key;
        QStringList order;
    };
    const Case cases[] = {
        {SortByAddress, {"a", "b", "c", "d"}},         {SortByFirstName, {"c", "b", "a", "d"}},
        {SortByLastName, {"b", "a", "c", "d"}},        {SortByCompany, {"b", "a", "c", "d"}},
        {SortByPhones, {"b", "a", "d", "c"}},          {SortByTimeLatestFirst, {"d", "c", "b", "a"}},
        {SortByClicksMostFirst, {"a", "d", "c", "b"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.key);
        StatisticsRowList sorted = rows;
        SortStatisticsRows(sorted, c.key);
        EXPECT_EQ(Addresses(sorted), c.order);
    }
}

TEST(StatisticsRowTest, EqualTimesCompareEqualBothWays)
{
    const StatisticsRow first = Row(QStringLiteral("a"), {}, {}, 5, 1);
    const StatisticsRow second = Row(QStringLiteral("b"), {}, {}, 5, 1);
    for (int key : {SortByTimeLatestFirst, SortByClicksMostFirst})
    {
        EXPECT_EQ(CompareStatisticsRows(first, second, key), 0);
        EXPECT_EQ(CompareStatisticsRows(second, first, key), 0);
    }
    EXPECT_FALSE(IsStatisticsSortKey(7));
    EXPECT_FALSE(IsStatisticsSortKey(-1));
    EXPECT_TRUE(IsStatisticsSortKey(6));
}
