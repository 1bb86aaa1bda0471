#pragma once

#include <QString>

#include <vector>

// One recipient in a list of the report: what the statistics service says about the address,
// and the names and phones the tracking tables join from the recipient with that address.
struct StatisticsRow
{
    QString address;
    qint64 time = 0; // seconds since 1970
    int clicks = 0;
    QString phones;
    QString company;
    QString firstName;
    QString lastName;
};

using StatisticsRowList = std::vector<StatisticsRow>;

// The orders of the report's lists, by the key the page's sort links carry.
enum StatisticsSortKey
{
    SortByAddress = 0,
    SortByFirstName = 1,
    SortByLastName = 2,
    SortByCompany = 3,
    SortByPhones = 4,
    SortByTimeLatestFirst = 5,
    SortByClicksMostFirst = 6,
};

constexpr bool IsStatisticsSortKey(int key)
{
    return key >= SortByAddress && key <= SortByClicksMostFirst;
}

// Three-way comparison of two rows under a key (negative when the first comes first). Texts
// compare by the locale's collation; rows that tie compare equal, so a sort keeps the service's
// order among them. An unknown key orders by address.
int CompareStatisticsRows(const StatisticsRow& first, const StatisticsRow& second, int key);

// Stable sort in place under a key.
void SortStatisticsRows(StatisticsRowList& rows, int key);
