#include "reports/StatisticsRow.h"

#include <algorithm>

namespace
{
int CompareTexts(const QString& first, const QString& second)
{
    return QString::localeAwareCompare(first, second);
}

int CompareLatestFirst(qint64 first, qint64 second)
{
    return first > second ? -1 : (first < second ? 1 : 0);
}
} // namespace

int CompareStatisticsRows(const StatisticsRow& first, const StatisticsRow& second, int key)
{
    switch (key)
    {
    case SortByFirstName:
        if (const int names = CompareTexts(first.firstName, second.firstName))
            return names;
        return CompareTexts(first.lastName, second.lastName);
    case SortByLastName:
        if (const int names = CompareTexts(first.lastName, second.lastName))
            return names;
        return CompareTexts(first.firstName, second.firstName);
    case SortByCompany:
        return CompareTexts(first.company, second.company);
    case SortByPhones:
        return CompareTexts(first.phones, second.phones);
    case SortByTimeLatestFirst:
        return CompareLatestFirst(first.time, second.time);
    case SortByClicksMostFirst:
        if (first.clicks != second.clicks)
            return first.clicks > second.clicks ? -1 : 1;
        return CompareLatestFirst(first.time, second.time);
    default:
        return CompareTexts(first.address, second.address);
    }
}

void SortStatisticsRows(StatisticsRowList& rows, int key)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [key](const StatisticsRow& first, const StatisticsRow& second)
                     { return CompareStatisticsRows(first, second, key) < 0; });
}
