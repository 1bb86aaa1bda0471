// Reads arbitrary bytes as a reply of the statistics service with each of its readers, then sorts
// what they read under every key: each sort keeps every row and leaves them in its order.
#include "reports/StatisticsReply.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    CX2Validator reply;
    if (!reply.Parse(text, CX2TransformXmlFennick()))
        return 0;
    int opened = 0, uniqueClicks = 0, clicks = 0, forwards = 0, readCount = 0;
    StatisticsReply::ReadOverview(reply, opened, uniqueClicks, clicks, forwards);
    ReadLogMap days;
    StatisticsReply::ReadReadLog(reply, days);
    LinkCountMap links;
    StatisticsReply::ReadAllTrackers(reply, links);
    StatisticsRowList rows;
    StatisticsReply::ReadUserTrackers(reply, rows);
    LinkUsersMap linkUsers;
    StatisticsReply::ReadSummary(reply, readCount, rows, links, linkUsers);
    const size_t count = rows.size();
    for (int key = SortByAddress; key <= SortByClicksMostFirst; ++key)
    {
        SortStatisticsRows(rows, key);
        if (rows.size() != count)
            std::abort();
        for (size_t i = 1; i < rows.size(); ++i)
        {
            if (CompareStatisticsRows(rows[i - 1], rows[i], key) > 0)
                std::abort();
        }
    }
    return 0;
}
