#include "ReportFixture.h"
#include "webserver/PageGeneratorXhtmlSupport.h"

#include <gtest/gtest.h>

namespace
{
QString ClickUser(const QString& address, int clicks, const QString& time = QStringLiteral("2008,4,1,8,0,0"))
{
    return QStringLiteral("<user email=\"%1\" lastclickdate=\"%2\" clickcount=\"%3\"/>")
        .arg(address, time)
        .arg(clicks);
}

class TrackingBodyTest : public testing::Test, protected ReportFixture
{
protected:
    void SetUp() override
    {
        SetStatisticsOn();
        ndb::CNdbUser& ann =
            AddRecipient(QStringLiteral("ann@x.se"), 10, QStringLiteral("Ann"), QStringLiteral("Alm"));
        ann.SetField(ndb::UserBusinessPhone, ndb::CNdbFieldValue(QStringLiteral("555")));
        ann.SetField(ndb::UserMobilePhone, ndb::CNdbFieldValue(QStringLiteral("777")));
        AddRecipient(QStringLiteral("bo&<b>@x.se"), 10, QStringLiteral("<script>x</script>"));
        AddRecipient(QStringLiteral("never@x.se"));
        m_settings.view = ReportSettings::Tracking;
    }
    QString Render()
    {
        CReportPage page = Page(m_settings);
        const QString html = page.Render();
        m_shown = page.GetShownAddresses();
        m_links = page.GetLinkAddresses();
        return html;
    }

    ReportSettings m_settings;
    QStringList m_shown;
    QStringList m_links;
};
} // namespace

TEST_F(TrackingBodyTest, HotListJoinsRecipientsAndDrawsBarsAgainstTheLargestCount)
{
    Answer(QStringLiteral("channelusergetalltrackers"),
           ClickUser(QStringLiteral("ann@x.se"), 1) + ClickUser(QStringLiteral("stranger@x.se"), 9) +
               ClickUser(QStringLiteral("bo&amp;&lt;b&gt;@x.se"), 4) +
               ClickUser(QStringLiteral("never@x.se"), 2));
    const QString html = Render();

    EXPECT_TRUE(
        html.contains(QStringLiteral("<p>4 recipients have clicked on a link in this newsletter</p>")));
    EXPECT_EQ(m_shown, (QStringList{QStringLiteral("bo&<b>@x.se"), QStringLiteral("ann@x.se")}));
    EXPECT_TRUE(
        html.contains(QStringLiteral("style=\"width:100px;\"></div></div></td><td class=\"td_graph_2\" "
                                     "style=\"\">4 clicks</td>")));
    EXPECT_TRUE(
        html.contains(QStringLiteral("style=\"width:25px;\"></div></div></td><td class=\"td_graph_2\" "
                                     "style=\"\">1 clicks</td>")));
    EXPECT_TRUE(html.contains(
        QStringLiteral("<tr class=\"bgodd\">\r\n\t\t\t<td class=\"td\">bo&amp;&lt;b&gt;@x.se</td>")));
    EXPECT_TRUE(html.contains(
        QStringLiteral("<tr class=\"bgeven\">\r\n\t\t\t<td class=\"td_border\">ann@x.se</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral(">555 (Business)<br />777 (Mobile)</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("&lt;script&gt;x&lt;/script&gt;")));
    EXPECT_TRUE(html.contains(
        QStringLiteral("href=\"__SORT__.htm?sorthotlist=6\" style=\"text-decoration:underline;\">"
                       "Clicks</a>")));
    EXPECT_TRUE(html.contains(QStringLiteral(">04/01/2008 08:00:00</td>")));
    EXPECT_EQ(XhtmlValidationErrors(html.toUtf8()).toStdString(), "");
}

TEST_F(TrackingBodyTest, EmptyViewsShowTheirMessage)
{
    struct Case
    {
        int view;
        bool statistics;
        const char* message;
    };
    const Case cases[] = {
        {ReportSettings::HotList, true, "No links have been clicked."},
        {ReportSettings::RecentlyOpened, true, "No emails have been opened."},
        {ReportSettings::HotList, false, "cmd=ACTIVATE_STATISTICS"},
        {ReportSettings::OneLink, true, "An error occurred when retrieving recipients"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.message);
        SetStatisticsOn(c.statistics);
        m_settings.trackingView = c.view;
        const QString html = Render();
        EXPECT_TRUE(html.contains(QString::fromUtf8(c.message)));
        EXPECT_TRUE(m_shown.isEmpty());
        EXPECT_EQ(XhtmlValidationErrors(html.toUtf8()).toStdString(), "");
    }
}

TEST_F(TrackingBodyTest, RecentlyOpenedCountsWhatTheServiceSays)
{
    Answer(QStringLiteral("channelgetsummary"),
           QStringLiteral("<readlog><count>1</count><user email=\"ann@x.se\" datelog=\"2008,4,1,8,0,0\"/>"
                          "<user email=\"bo&amp;&lt;b&gt;@x.se\" datelog=\"2008,4,2,8,0,0\"/></readlog>"));
    m_settings.trackingView = ReportSettings::RecentlyOpened;
    const QString html = Render();
    EXPECT_TRUE(html.contains(QStringLiteral("<p>1 recipient has read this newsletter</p>")));
    EXPECT_TRUE(html.contains(QStringLiteral(">Last Read</a></td>")));
    // Latest first by default.
    EXPECT_EQ(m_shown, (QStringList{QStringLiteral("bo&<b>@x.se"), QStringLiteral("ann@x.se")}));
    EXPECT_TRUE(
        m_server.Requests().last().endsWith(QStringLiteral("&readlognumusers=999999&trackernumusers=0")));
}

TEST_F(TrackingBodyTest, OneLinkMarksOnlyTheChosenLinkAndListsItsUsers)
{
    Answer(QStringLiteral("channelgetalltrackers"),
           QStringLiteral("<tracker trackerurl=\"http://a\" trackercount=\"1\"/>"
                          "<tracker trackerurl=\"http://ab\" trackercount=\"2\"/>"
                          "<tracker trackerurl=\"http://x/&quot;&gt;&lt;/option&gt;\" trackercount=\"2\"/>"));
    Answer(QStringLiteral("channelgetsummary"),
           QStringLiteral("<tracker trackerurl=\"http://ab\"><count>2</count>"
                          "<user email=\"ann@x.se\" datelog=\"2008,4,1,8,0,0\"/>"
                          "<user email=\"stranger@x.se\" datelog=\"2008,4,1,8,0,0\"/></tracker>"));
    m_settings.trackingView = ReportSettings::OneLink;
    m_settings.chosenLink = QStringLiteral("http://ab");
    const QString html = Render();

    EXPECT_EQ(m_links.size(), 3);
    EXPECT_EQ(html.count(QStringLiteral("selected=\"selected\"")), 1);
    EXPECT_TRUE(html.contains(QStringLiteral(
        "<option value=\"trackingmodeLinks_1\" selected=\"selected\">Link:  http://ab</option>")));
    EXPECT_TRUE(html.contains(QStringLiteral("font-weight:bold;\">http://ab</p>")));
    EXPECT_TRUE(html.contains(QStringLiteral("http://x/&quot;&gt;&lt;/option&gt;</option>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<p>2 recipients have clicked this link</p>")));
    EXPECT_EQ(m_shown, QStringList{QStringLiteral("ann@x.se")});
    EXPECT_TRUE(html.contains(QStringLiteral("\t\t</table>\r\n</td>")));
    EXPECT_EQ(XhtmlValidationErrors(html.toUtf8()).toStdString(), "");

    m_settings.chosenLink = QStringLiteral("http://a");
    EXPECT_TRUE(Render().contains(QStringLiteral("No clicks registered for this link")));
}
