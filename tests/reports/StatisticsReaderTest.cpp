#include "support/NoProxy.h"
#include "support/ScriptedHttpServer.h"

#include "reports/StatisticsReader.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <climits>

namespace
{
const QString ServicePath = QStringLiteral("/site/admin/ws_stats_newsletter_services_lamp.php");

QString Reply(const QString& command, const QString& inner, const QString& status = QStringLiteral("ok"))
{
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ws_stats_newsletter_stats_%1 status=\"%2\">%3"
               "</ws_stats_newsletter_stats_%1>")
        .arg(command, status, inner);
}

qint64 Local(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second)).toSecsSinceEpoch();
}

class StatisticsReaderTest : public testing::Test
{
protected:
    void SetUp() override { ClearProxyEnvironment(); }

    void Answer(const QString& command, const QString& body, int status = 200)
    {
        m_server.SetReply(ServicePath + QStringLiteral("?cmd=") + command, body, status);
    }
    CStatisticsReader Reader() const
    {
        return CStatisticsReader({m_server.Url(ServicePath), QStringLiteral("J\u00F6rg"),
                                  QStringLiteral("p&w=1"), QStringLiteral("{A1}&x=1")});
    }

    ScriptedHttpServer m_server;
};
} // namespace

TEST_F(StatisticsReaderTest, QueriesCarryEncodedCredentialsChannelAndLimits)
{
    Answer(QStringLiteral("channelgetsummary"), Reply(QStringLiteral("channelgetsummary"), {}));
    int readCount = 5;
    StatisticsRowList readers;
    LinkCountMap counts;
    LinkUsersMap users;
    EXPECT_TRUE(Reader().FetchSummary(readCount, readers, counts, users, 10, 999999));
    EXPECT_EQ(readCount, 0);
    ASSERT_EQ(m_server.Requests().size(), 1);
    EXPECT_EQ(m_server.Requests().first().toStdString(),
              (ServicePath + QStringLiteral("?adminusername=J%C3%B6rg&adminpassword=p%26w%3D%31&type=stats"
                                            "&cmd=channelgetsummary&channelid=%7BA%31%7D%26x%3D%31"
                                            "&readlognumusers=10&trackernumusers=999999"))
                  .toStdString());
}

TEST_F(StatisticsReaderTest, OverviewReadsItsFourCountsAndKeepsThemWithoutTheElement)
{
    Answer(QStringLiteral("channelgetoverview"),
           Reply(QStringLiteral("channelgetoverview"),
                 QStringLiteral(
                     "<overview opened=\"12\" uniqueclicks=\"x\" clicks=\"99999999999\" forwards=\"-3\"/>"
                     "<overview opened=\"77\"/>")));
    int opened = -1, unique = -1, clicks = -1, forwards = -1;
    ASSERT_TRUE(Reader().FetchOverview(opened, unique, clicks, forwards));
    EXPECT_EQ(opened, 12);
    EXPECT_EQ(unique, 0);
    EXPECT_EQ(clicks, INT_MAX);
    EXPECT_EQ(forwards, -3);

    Answer(QStringLiteral("channelgetoverview"), Reply(QStringLiteral("channelgetoverview"), {}));
    opened = unique = clicks = forwards = 4;
    ASSERT_TRUE(Reader().FetchOverview(opened, unique, clicks, forwards));
    EXPECT_EQ(opened + unique + clicks + forwards, 16);
}

TEST_F(StatisticsReaderTest, RefusedAndBrokenRepliesLeaveEveryOutputAlone)
{
    struct Case
    {
        const char* name;
        QString body;
        int status;
    };
    const QString trackers = QStringLiteral("<tracker trackerurl=\"http://a/\" trackercount=\"3\"/>");
    const Case cases[] = {
        {"status in capitals", Reply(QStringLiteral("channelgetalltrackers"), trackers, QStringLiteral("OK")),
         200},
        {"wrong root",
         QStringLiteral("<ws_stats_newsletter_stats_other status=\"ok\">%1</ws_stats_newsletter_stats_other>")
             .arg(trackers),
         200},
        {"no status",
         QStringLiteral("<ws_stats_newsletter_stats_channelgetalltrackers>%1"
                        "</ws_stats_newsletter_stats_channelgetalltrackers>")
             .arg(trackers),
         200},
        {"empty body", QString(), 200},
        {"not found", Reply(QStringLiteral("channelgetalltrackers"), trackers), 404},
        {"server error", Reply(QStringLiteral("channelgetalltrackers"), trackers), 500},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Answer(QStringLiteral("channelgetalltrackers"), c.body, c.status);
        LinkCountMap links{{QStringLiteral("kept"), 1}};
        EXPECT_FALSE(Reader().FetchAllTrackers(links));
        EXPECT_EQ(links, (LinkCountMap{{QStringLiteral("kept"), 1}}));
    }
    // Nothing listens at the address at all.
    CStatisticsReader nowhere({QStringLiteral("http://127.0.0.1:1/x.php"), {}, {}, {}});
    int opened = 7, unique = 7, clicks = 7, forwards = 7;
    EXPECT_FALSE(nowhere.FetchOverview(opened, unique, clicks, forwards));
    EXPECT_EQ(opened, 7);
    CStatisticsReader noAddress({});
    ReadLogMap days;
    EXPECT_FALSE(noAddress.FetchReadLog(days));
}

TEST_F(StatisticsReaderTest, ReadLogKeysEachDayByItsLocalMidnightAcrossTheClockChange)
{
    Answer(QStringLiteral("channelgetreadlog"),
           Reply(QStringLiteral("channelgetreadlog"),
                 QStringLiteral("<logdate opened=\"4\" date=\"29\" month=\"3\" year=\"2008\"/>"
                                "<logdate opened=\"5\" date=\"30\" month=\"3\" year=\"2008\"/>"
                                "<logdate opened=\"6\" date=\"31\" month=\"3\" year=\"2008\"/>"
                                "<logdate opened=\"9\" date=\"31\" month=\"3\" year=\"2008\"/>"
                                "<logdate opened=\"1\" date=\"30\" month=\"2\" year=\"2008\"/>"
                                "<logdate opened=\"2\" date=\"1\" month=\"13\" year=\"2008\"/>"
                                "<logdate opened=\"3\" date=\"1\" month=\"1\" year=\"1899\"/>"
                                "<logdate opened=\"3\" date=\"x\" month=\"1\" year=\"2008\"/>")));
    ReadLogMap days;
    ASSERT_TRUE(Reader().FetchReadLog(days));
    // 30 February is 1 March, as the C library counts; the impossible days are skipped.
    const ReadLogMap expected{
        {Local(2008, 3, 1), 1}, {Local(2008, 3, 29), 4}, {Local(2008, 3, 30), 5}, {Local(2008, 3, 31), 9}};
    EXPECT_EQ(days, expected);
    EXPECT_EQ(Local(2008, 3, 31) - Local(2008, 3, 30), 23 * 3600);
}

TEST_F(StatisticsReaderTest, UserTrackersKeepOnlyRowsWithAddressAndTime)
{
    Answer(QStringLiteral("channelusergetalltrackers"),
           Reply(QStringLiteral("channelusergetalltrackers"),
                 QStringLiteral("<user email=\"a@x.se\" lastclickdate=\"2008,2,30,10,0,0\" clickcount=\"5\"/>"
                                "<user email=\"b@x.se\" lastclickdate=\"2008,13,1,0,0,0\" clickcount=\"2\"/>"
                                "<user email=\"c@x.se\" lastclickdate=\"2008,1,1,0,0\" clickcount=\"2\"/>"
                                "<user email=\"\" lastclickdate=\"2008,1,1,0,0,0\" clickcount=\"2\"/>"
                                "<user email=\"&lt;b&gt;&quot;]]&gt;\" lastclickdate=\"2009,1,2,3,4,5\" "
                                "clickcount=\"-2\"/>")));
    StatisticsRowList rows(1);
    ASSERT_TRUE(Reader().FetchUserTrackers(rows));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].address, QStringLiteral("a@x.se"));
    EXPECT_EQ(rows[1].time, Local(2008, 3, 1, 10));
    EXPECT_EQ(rows[1].clicks, 5);
    EXPECT_EQ(rows[2].address, QStringLiteral("<b>\"]]>"));
    EXPECT_EQ(rows[2].time, Local(2009, 1, 2, 3, 4, 5));
    EXPECT_EQ(rows[2].clicks, -2);
}

TEST_F(StatisticsReaderTest, SummaryReadsReadersAndTheUsersOfEachLink)
{
    Answer(QStringLiteral("channelgetsummary"),
           Reply(QStringLiteral("channelgetsummary"),
                 QStringLiteral("<readlog><count>17</count>"
                                "<user email=\"r1@x.se\" datelog=\"2008,4,1,8,0,0\"/>"
                                "<user email=\"r2@x.se\" datelog=\"bad\"/></readlog>"
                                "<trackers>"
                                "<tracker trackerurl=\"http://b/\"><count>4</count>"
                                "<user email=\"u1@x.se\" datelog=\"2008,4,2,9,0,0\"/></tracker>"
                                "<tracker trackerurl=\"http://a/\"><count><b>8</b></count></tracker>"
                                "<tracker trackerurl=\"\"><count>4</count></tracker>"
                                "<tracker trackerurl=\"http://b/\"><count>6</count>"
                                "<user email=\"u2@x.se\" datelog=\"2008,4,3,9,0,0\"/></tracker>"
                                "</trackers>")));
    int readCount = 0;
    StatisticsRowList readers;
    LinkCountMap counts;
    LinkUsersMap users{{QStringLiteral("http://b/"), StatisticsRowList(3)}};
    ASSERT_TRUE(Reader().FetchSummary(readCount, readers, counts, users, 999999, 0));
    EXPECT_EQ(readCount, 17);
    ASSERT_EQ(readers.size(), 1u);
    EXPECT_EQ(readers[0].address, QStringLiteral("r1@x.se"));
    EXPECT_EQ(readers[0].clicks, 0);
    EXPECT_EQ(counts, (LinkCountMap{{QStringLiteral("http://a/"), 0}, {QStringLiteral("http://b/"), 6}}));
    ASSERT_EQ(users[QStringLiteral("http://b/")].size(), 1u);
    EXPECT_EQ(users[QStringLiteral("http://b/")][0].address, QStringLiteral("u2@x.se"));
    EXPECT_TRUE(users[QStringLiteral("http://a/")].empty());
}

TEST_F(StatisticsReaderTest, SummaryWithoutReadLogTakesEveryUserOfTheReply)
{
    Answer(QStringLiteral("channelgetsummary"),
           Reply(QStringLiteral("channelgetsummary"),
                 QStringLiteral(
                     "<user email=\"a@x.se\" datelog=\"2008,4,1,8,0,0\"/>"
                     "<tracker trackerurl=\"http://a/\"><user email=\"b@x.se\" datelog=\"2008,4,1,8,0,0\"/>"
                     "</tracker>")));
    int readCount = 3;
    StatisticsRowList readers;
    LinkCountMap counts;
    LinkUsersMap users;
    ASSERT_TRUE(Reader().FetchSummary(readCount, readers, counts, users, 1, 1));
    EXPECT_EQ(readCount, 0);
    EXPECT_EQ(readers.size(), 2u);
}

TEST_F(StatisticsReaderTest, HugeRepliesAreReadWhole)
{
    QString inner;
    for (int i = 0; i < 100000; ++i)
        inner +=
            QStringLiteral("<user email=\"u%1@x.se\" lastclickdate=\"2008,4,1,8,0,0\" clickcount=\"%1\"/>")
                .arg(i);
    Answer(QStringLiteral("channelusergetalltrackers"),
           Reply(QStringLiteral("channelusergetalltrackers"), inner));
    StatisticsRowList rows;
    ASSERT_TRUE(Reader().FetchUserTrackers(rows));
    ASSERT_EQ(rows.size(), 100000u);
    SortStatisticsRows(rows, SortByClicksMostFirst);
    EXPECT_EQ(rows.front().clicks, 99999);
}
