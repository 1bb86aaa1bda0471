#include "reports/StatisticsReply.h"

#include "base/TextHelpers.h"
#include "x2/X2Element.h"
#include "x2/X2Validator.h"

#include <QDateTime>

namespace
{
const QString ReplyPrefix = QStringLiteral("ws_stats_newsletter_stats_");

// The first element of that name in the subtree, in document order.
CX2Element* FindFirst(CX2Validator& document, const QString& name, CX2Element* start = nullptr)
{
    QList<CX2Element*> found;
    document.FindElementsByName(found, name, start);
    for (CX2Element* element : std::as_const(found))
    {
        if (element->GetKind() == CX2Element::Element)
            return element;
    }
    return nullptr;
}

QList<CX2Element*> FindAll(CX2Validator& document, const QString& name, CX2Element* start = nullptr)
{
    QList<CX2Element*> found;
    document.FindElementsByName(found, name, start);
    found.removeIf([](const CX2Element* element) { return element->GetKind() != CX2Element::Element; });
    return found;
}

int NumberAttribute(const CX2Element* element, const QString& name)
{
    return ParseIntText(element->GetAttributeValue(name));
}

// The number in the text of the first "name" element below the start, 0 when that element
// does not begin with text.
int NumberText(CX2Validator& document, CX2Element* start, const QString& name)
{
    const CX2Element* element = FindFirst(document, name, start);
    if (!element || element->GetChildCount() == 0 || element->GetChild(0)->GetKind() != CX2Element::Text)
        return 0;
    return ParseIntText(element->GetChild(0)->GetText());
}

// A row for a "user" element whose time attribute reads as a date and whose address is set.
bool ReadUserRow(const CX2Element* user, const QString& timeAttribute, StatisticsRow& row)
{
    QDateTime time;
    row.address = user->GetAttributeValue(QStringLiteral("email"));
    if (row.address.isEmpty() || !ParseDateTimeList(time, user->GetAttributeValue(timeAttribute)))
        return false;
    row.time = time.toSecsSinceEpoch();
    return true;
}

void CollectUserRows(const QList<CX2Element*>& users, StatisticsRowList& rows)
{
    for (const CX2Element* user : users)
    {
        StatisticsRow row;
        if (ReadUserRow(user, QStringLiteral("datelog"), row))
            rows.push_back(row);
    }
}
} // namespace

namespace StatisticsReply
{
CX2Element* FindReplyElement(CX2Validator& reply, const QString& command)
{
    CX2Element* root = FindFirst(reply, ReplyPrefix + command);
    if (!root || root->GetAttributeValue(QStringLiteral("status")) != QLatin1String("ok"))
        return nullptr;
    return root;
}

bool ReadOverview(CX2Validator& reply, int& opened, int& uniqueClicks, int& clicks, int& forwards)
{
    CX2Element* root = FindReplyElement(reply, QStringLiteral("channelgetoverview"));
    if (!root)
        return false;
    if (const CX2Element* overview = FindFirst(reply, QStringLiteral("overview"), root))
    {
        opened = NumberAttribute(overview, QStringLiteral("opened"));
        uniqueClicks = NumberAttribute(overview, QStringLiteral("uniqueclicks"));
        clicks = NumberAttribute(overview, QStringLiteral("clicks"));
        forwards = NumberAttribute(overview, QStringLiteral("forwards"));
    }
    return true;
}

bool ReadReadLog(CX2Validator& reply, ReadLogMap& days)
{
    if (!FindReplyElement(reply, QStringLiteral("channelgetreadlog")))
        return false;
    for (const CX2Element* day : FindAll(reply, QStringLiteral("logdate")))
    {
        // A day that is no date from 1900 on is skipped: the service has nothing to say about it.
        QDateTime midnight;
        const QString date = QStringLiteral("%1,%2,%3,0,0,0")
                                 .arg(NumberAttribute(day, QStringLiteral("year")))
                                 .arg(NumberAttribute(day, QStringLiteral("month")))
                                 .arg(NumberAttribute(day, QStringLiteral("date")));
        if (ParseDateTimeList(midnight, date))
            days[midnight.toSecsSinceEpoch()] = NumberAttribute(day, QStringLiteral("opened"));
    }
    return true;
}

bool ReadAllTrackers(CX2Validator& reply, LinkCountMap& links)
{
    if (!FindReplyElement(reply, QStringLiteral("channelgetalltrackers")))
        return false;
    for (const CX2Element* tracker : FindAll(reply, QStringLiteral("tracker")))
    {
        const QString address = tracker->GetAttributeValue(QStringLiteral("trackerurl"));
        if (!address.isEmpty())
            links[address] = NumberAttribute(tracker, QStringLiteral("trackercount"));
    }
    return true;
}

bool ReadUserTrackers(CX2Validator& reply, StatisticsRowList& rows)
{
    if (!FindReplyElement(reply, QStringLiteral("channelusergetalltrackers")))
        return false;
    for (const CX2Element* user : FindAll(reply, QStringLiteral("user")))
    {
        StatisticsRow row;
        if (!ReadUserRow(user, QStringLiteral("lastclickdate"), row))
            continue;
        row.clicks = NumberAttribute(user, QStringLiteral("clickcount"));
        rows.push_back(row);
    }
    return true;
}

bool ReadSummary(CX2Validator& reply, int& readCount, StatisticsRowList& readers, LinkCountMap& linkCounts,
                 LinkUsersMap& linkUsers)
{
    if (!FindReplyElement(reply, QStringLiteral("channelgetsummary")))
        return false;
    CX2Element* readLog = FindFirst(reply, QStringLiteral("readlog"));
    readCount = readLog ? NumberText(reply, readLog, QStringLiteral("count")) : 0;
    CollectUserRows(FindAll(reply, QStringLiteral("user"), readLog), readers);
    for (CX2Element* tracker : FindAll(reply, QStringLiteral("tracker")))
    {
        const QString address = tracker->GetAttributeValue(QStringLiteral("trackerurl"));
        if (address.isEmpty())
            continue;
        linkCounts[address] = NumberText(reply, tracker, QStringLiteral("count"));
        StatisticsRowList users;
        CollectUserRows(FindAll(reply, QStringLiteral("user"), tracker), users);
        linkUsers[address] = std::move(users);
    }
    return true;
}
} // namespace StatisticsReply
