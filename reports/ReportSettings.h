#pragma once

#include "reports/StatisticsRow.h"

#include <QString>

#include <array>

// What the report window remembers for the shown newsletter: which page and tracking view,
// the chosen link, the period of the read statistics and the order of each list.
struct ReportSettings
{
    enum View
    {
        Overview = 0,
        Tracking = 1,
    };
    enum TrackingView
    {
        HotList = 0,
        RecentlyOpened = 1,
        OneLink = 2,
    };

    int view = Overview;
    int trackingView = HotList;
    QString chosenLink;
    int displayDays = 7;
    int hotListSortKey = SortByClicksMostFirst;
    int readLogSortKey = SortByTimeLatestFirst;
    int linkListSortKey = SortByTimeLatestFirst;
};

// The periods of the read statistics, in the order the page offers them, and their labels.
inline constexpr std::array<int, 7> DisplayDayChoices{7, 14, 21, 28, 84, 168, 336};
inline constexpr int FirstDisplayDayLabel = 15200;

inline bool IsDisplayDayChoice(int days)
{
    for (int choice : DisplayDayChoices)
    {
        if (choice == days)
            return true;
    }
    return false;
}
