#pragma once

#include "reports/StatisticsReply.h"

#include <QString>

// Where the statistics of one newsletter are asked for: the statistics service's script, the
// framework administrator's credentials and the newsletter's channel id.
struct StatisticsSource
{
    QString serviceUrl;
    QString user;
    QString password;
    QString channelId;
};

// The five queries of the statistics service: each sends one GET and reads its reply with
// StatisticsReply. Any failure answers false and leaves the caller's containers as they were.
class CStatisticsReader
{
public:
    explicit CStatisticsReader(StatisticsSource source) : m_source(std::move(source)) {}

    bool FetchOverview(int& opened, int& uniqueClicks, int& clicks, int& forwards) const;
    bool FetchReadLog(ReadLogMap& days) const;
    bool FetchAllTrackers(LinkCountMap& links) const;
    // Appends the recipients who clicked, with their clicks and last click.
    bool FetchUserTrackers(StatisticsRowList& rows) const;
    // The limits say how many readers and how many users per link the service lists.
    bool FetchSummary(int& readCount, StatisticsRowList& readers, LinkCountMap& linkCounts,
                      LinkUsersMap& linkUsers, int readLogUsers, int trackerUsers) const;

private:
    QString MakeAddress(const QString& command) const;
    bool Fetch(CX2Validator& reply, const QString& command, const QString& parameters = {}) const;

    StatisticsSource m_source;
};
