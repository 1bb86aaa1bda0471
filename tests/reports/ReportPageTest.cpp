#include "ReportFixture.h"
#include "webserver/PageGeneratorXhtmlSupport.h"

#include "charts/ChartQuery.h"

#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace
{
// The parameters of a chart address as the local server reads them.
QUrlQuery ChartParameters(const QString& address)
{
    return QUrlQuery(QUrl(address).query(QUrl::FullyEncoded));
}

class ReportPageTest : public testing::Test, protected ReportFixture
{
protected:
    void SetUp() override
    {
        for (int status : {10, 10, 20, 30, 40, -1, 0})
            AddRecipient(QStringLiteral("u%1@x.se").arg(m_newsletter.Users().GetCount()), status);
    }
};
} // namespace

TEST_F(ReportPageTest, OverviewWithoutStatisticsSummarisesTheSendLog)
{
    m_newsletter.Sender().SetField(ndb::SenderFromName, ndb::CNdbFieldValue(QStringLiteral("Eva <Berg>")));
    SetFirstAttempt(QStringLiteral("u0@x.se"), QDateTime(QDate(2008, 3, 29), QTime(23, 0)));
    SetFirstAttempt(QStringLiteral("u1@x.se"), QDateTime(QDate(2008, 3, 31), QTime(1, 0)));
    CReportPage page = Page();
    const QString html = page.Render();

    EXPECT_TRUE(html.contains(QStringLiteral("<title>Spring &amp; Summer News</title>")));
    EXPECT_TRUE(html.contains(QStringLiteral(">Eva &lt;Berg&gt;</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral(">03/29/2008 - 03/31/2008</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral(">5 &nbsp; (See Delivery Report)</td>")));
    EXPECT_TRUE(html.contains(
        QStringLiteral("Not sent</td>\r\n\t\t<td style=\"vertical-align:middle;padding:7px 12px 7px "
                       "0px;width:100%;border-top:solid 1px #d6d7da;\">2</td>")));
    // No statistics: no script, the activation message and the empty link report.
    EXPECT_FALSE(html.contains(QStringLiteral("RenderGraph(7)")));
    EXPECT_TRUE(html.contains(QStringLiteral("cmd=ACTIVATE_STATISTICS")));
    EXPECT_TRUE(m_server.Requests().isEmpty());
    EXPECT_EQ(XhtmlValidationErrors(html.toUtf8()).toStdString(), "");
}

TEST_F(ReportPageTest, OverviewWithStatisticsDrawsTheServiceFiguresAndTheReadScript)
{
    SetStatisticsOn();
    Answer(QStringLiteral("channelgetoverview"),
           QStringLiteral("<overview opened=\"4\" uniqueclicks=\"3\" clicks=\"9\" forwards=\"1\"/>"));
    Answer(QStringLiteral("channelgetalltrackers"),
           QStringLiteral("<tracker trackerurl=\"http://a/?x=&quot;&lt;/script&gt;\" trackercount=\"7\"/>"));
    Answer(QStringLiteral("channelgetreadlog"),
           QStringLiteral("<logdate opened=\"2\" date=\"29\" month=\"3\" year=\"2008\"/>"
                          "<logdate opened=\"5\" date=\"31\" month=\"3\" year=\"2008\"/>"));
    CReportPage page = Page();
    const QString html = page.Render();

    EXPECT_TRUE(html.contains(QStringLiteral("<body onload=\"try { RenderGraph(7); } catch(e) {}\">")));
    EXPECT_TRUE(html.contains(QStringLiteral(" selected =\"selected\">1 week</option>")));
    EXPECT_FALSE(html.contains(QStringLiteral("</script>\"")));
    EXPECT_EQ(XhtmlValidationErrors(html.toUtf8()).toStdString(), "");

    // The seven-day chart counts the day after the clock change.
    const QRegularExpression sevenDays(
        QStringLiteral("nDisplayDays == 7\\) \\{\r\n\t\t\tdocument.all\\[\"linegraphimage\"\\]"
                       "\\.src = \"([^\"]*)\""));
    const QRegularExpressionMatch match = sevenDays.match(html);
    ASSERT_TRUE(match.hasMatch());
    const QUrlQuery chart = ChartParameters(match.captured(1));
    SCOPED_TRACE(match.captured(1).toStdString());
    EXPECT_EQ(chart.queryItemValue(QStringLiteral("rows")), QStringLiteral("7"));
    EXPECT_EQ(chart.queryItemValue(QStringLiteral("d_0_0")), QStringLiteral("2"));
    EXPECT_EQ(chart.queryItemValue(QStringLiteral("d_0_2")), QStringLiteral("5"));
}

TEST_F(ReportPageTest, ReadStatisticsStepByCalendarDaysAndWeeks)
{
    const qint64 start = QDateTime(QDate(2008, 3, 24), QTime(0, 0)).toSecsSinceEpoch();
    ReadLogMap readLog{{start, 1}};
    for (int day : {6, 7, 13, 83})
        readLog[QDateTime(QDate(2008, 3, 24).addDays(day), QTime(0, 0)).toSecsSinceEpoch()] = 10;

    const CGraphData daily = CReportPage::MakeReadStatistics(readLog, 28);
    ASSERT_EQ(daily.GetRowCount(), 28);
    EXPECT_EQ(daily.GetValue(7, 0), 10.0f); // after the change to summer time
    EXPECT_EQ(daily.GetRowLabel(7), QStringLiteral("03/31/2008"));
    EXPECT_EQ(daily.GetRowLabel(8), QString());

    const CGraphData weekly = CReportPage::MakeReadStatistics(readLog, 84);
    ASSERT_EQ(weekly.GetRowCount(), 12);
    EXPECT_EQ(weekly.GetValue(0, 0), 11.0f);
    EXPECT_EQ(weekly.GetValue(1, 0), 20.0f);
    EXPECT_EQ(weekly.GetValue(11, 0), 10.0f);
    EXPECT_EQ(weekly.GetRowLabel(1), QStringLiteral("03/31/2008"));
}

TEST_F(ReportPageTest, ChartAddressesStayWithinTheCapAndSayHowManyRowsTheyHold)
{
    CGraphData links(1, 120);
    for (int row = 0; row < 120; ++row)
        links.SetRowLabel(row, QStringLiteral("http://example.com/a-rather-long-link/%1").arg(row), 10315316);
    CReportPage page = Page();
    const QString address = page.BuildGraphUrl(0, links, QStringLiteral("&widthbar=350"));
    EXPECT_LE(address.size(), CReportPage::MaxChartAddress);
    const QUrlQuery chart = ChartParameters(address);
    const int rows = chart.queryItemValue(QStringLiteral("rows")).toInt();
    EXPECT_GT(rows, 10);
    EXPECT_LT(rows, 120);
    EXPECT_TRUE(chart.hasQueryItem(QStringLiteral("i_%1").arg(rows - 1)));
    EXPECT_FALSE(chart.hasQueryItem(QStringLiteral("i_%1").arg(rows)));
    EXPECT_TRUE(address.startsWith(QStringLiteral("http://localhost:8123/kvgraph?type=0&cols=1&rows=")));

    // The chart query of the local server reads it back as a full chart.
    CChartQuery query;
    const QUrlQuery decoded(QUrl(address).query(QUrl::FullyDecoded));
    EXPECT_EQ(query.Parse(
                  [&](const QString& name, QString& value)
                  {
                      if (!chart.hasQueryItem(name))
                          return false;
                      value = chart.queryItemValue(name, QUrl::FullyDecoded);
                      return true;
                  }),
              CChartQuery::Chart);
    EXPECT_EQ(query.GetData().GetRowCount(), rows);
}

TEST_F(ReportPageTest, LayoutLinksStandInWhileTheServiceHasNone)
{
    m_newsletter.Layout().SetField(
        ndb::LayoutHtml,
        ndb::CNdbFieldValue(QStringLiteral(
            "<p><a href=\"http://a.se/\">A</a><a href=\"https://b.se/\" name=\"src_action_type:ext\">B</a>"
            "<a href=\"http://c.se/\" name=\"src_action_type:page\">C</a><a href=\"http://d.se/\"></a>"
            "<a href=\"mailto:e@x.se\">E</a></p>")));
    ReportSettings settings;
    settings.view = ReportSettings::Tracking;
    CReportPage page = Page(settings);
    page.Render();
    EXPECT_EQ(page.GetLinkAddresses(),
              (QStringList{QStringLiteral("http://a.se/"), QStringLiteral("https://b.se/")}));
}
