#pragma once

#include "reports/StatisticsRow.h"

#include <QString>

#include <map>

class CX2Element;
class CX2Validator;

using ReadLogMap = std::map<qint64, int>;                  // local midnight of a day -> opens that day
using LinkCountMap = std::map<QString, int>;               // link address -> clicks
using LinkUsersMap = std::map<QString, StatisticsRowList>; // link address -> who clicked it

// Reads the parsed replies of the statistics service. Each reader first finds the command's
// reply element and wants its status exactly "ok"; without it the reader answers false and
// leaves its outputs as they were. Rows without an address or a readable time are skipped,
// and numbers that are not numbers read as 0.
namespace StatisticsReply
{
// The element "ws_stats_newsletter_stats_" + command with status "ok", else null.
CX2Element* FindReplyElement(CX2Validator& reply, const QString& command);

bool ReadOverview(CX2Validator& reply, int& opened, int& uniqueClicks, int& clicks, int& forwards);
bool ReadReadLog(CX2Validator& reply, ReadLogMap& days);
bool ReadAllTrackers(CX2Validator& reply, LinkCountMap& links);
bool ReadUserTrackers(CX2Validator& reply, StatisticsRowList& rows);
bool ReadSummary(CX2Validator& reply, int& readCount, StatisticsRowList& readers, LinkCountMap& linkCounts,
                 LinkUsersMap& linkUsers);
} // namespace StatisticsReply
