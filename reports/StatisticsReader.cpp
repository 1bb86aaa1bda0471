#include "reports/StatisticsReader.h"

#include "base/TextHelpers.h"
#include "services/QorxInstaller.h"
#include "x2/X2Validator.h"

QString CStatisticsReader::MakeAddress(const QString& command) const
{
    // The channel id is encoded like the credentials: it is the newsletter's own text and could
    // otherwise add parameters to the query.
    return QStringLiteral("%1?adminusername=%2&adminpassword=%3&type=stats&cmd=%4&channelid=%5")
        .arg(m_source.serviceUrl, UrlEncodeUtf8(m_source.user), UrlEncodeUtf8(m_source.password), command,
             UrlEncodeUtf8(m_source.channelId));
}

bool CStatisticsReader::Fetch(CX2Validator& reply, const QString& command, const QString& parameters) const
{
    CQorxInstaller client;
    return client.FetchXml(reply, MakeAddress(command) + parameters) == QorxResult::Success;
}

bool CStatisticsReader::FetchOverview(int& opened, int& uniqueClicks, int& clicks, int& forwards) const
{
    CX2Validator reply;
    return Fetch(reply, QStringLiteral("channelgetoverview")) &&
           StatisticsReply::ReadOverview(reply, opened, uniqueClicks, clicks, forwards);
}

bool CStatisticsReader::FetchReadLog(ReadLogMap& days) const
{
    CX2Validator reply;
    return Fetch(reply, QStringLiteral("channelgetreadlog")) && StatisticsReply::ReadReadLog(reply, days);
}

bool CStatisticsReader::FetchAllTrackers(LinkCountMap& links) const
{
    CX2Validator reply;
    return Fetch(reply, QStringLiteral("channelgetalltrackers")) &&
           StatisticsReply::ReadAllTrackers(reply, links);
}

bool CStatisticsReader::FetchUserTrackers(StatisticsRowList& rows) const
{
    CX2Validator reply;
    return Fetch(reply, QStringLiteral("channelusergetalltrackers")) &&
           StatisticsReply::ReadUserTrackers(reply, rows);
}

bool CStatisticsReader::FetchSummary(int& readCount, StatisticsRowList& readers, LinkCountMap& linkCounts,
                                     LinkUsersMap& linkUsers, int readLogUsers, int trackerUsers) const
{
    CX2Validator reply;
    const QString limits =
        QStringLiteral("&readlognumusers=%1&trackernumusers=%2").arg(readLogUsers).arg(trackerUsers);
    return Fetch(reply, QStringLiteral("channelgetsummary"), limits) &&
           StatisticsReply::ReadSummary(reply, readCount, readers, linkCounts, linkUsers);
}
