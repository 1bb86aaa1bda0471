#include "controls/CommandIds.h"
#include "reports/ReportFixture.h"
#include "services/QorxReplies.h"

#include "recipients/UserClipboard.h"
#include "reports/ReportContext.h"
#include "reports/ReportText.h"
#include "reports/WndSummary.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <gtest/gtest.h>

using namespace QorxReplies;

namespace
{
const QString AdminPath = QStringLiteral("/site/admin/qorx_2_services_lamp.php");

// Keeps the last page the window stored; the server address leads nowhere.
class StoringContext : public IReportContext
{
public:
    ndb::CNdbNewsletter* GetCurrentNewsletter() const override { return newsletter; }
    void PutPageInWebStore(const QString& name, const QString& page) override
    {
        pageName = name;
        pageText = page;
        ++stored;
    }
    QString MakeServerUrl(const QString& path) const override
    {
        return QStringLiteral("http://127.0.0.1:9/") + path;
    }

    ndb::CNdbNewsletter* newsletter = nullptr;
    QString pageName;
    QString pageText;
    int stored = 0;
};

class WndSummaryTest : public testing::Test, protected ReportFixture
{
protected:
    void SetUp() override
    {
        m_context.newsletter = &m_newsletter;
        ASSERT_TRUE(m_host.CreateEx(0, QString(), QStringLiteral("host"), WS_OVERLAPPEDWINDOW,
                                    CRect(0, 0, 800, 600), nullptr, 0));
        ASSERT_TRUE(m_window.CreateSummaryWindow(&m_host));
    }
    void InstallStatistics()
    {
        SetStatisticsOn();
        m_newsletter.Sender().SetField(ndb::SenderSiteAccess650,
                                       ndb::CNdbFieldValue(m_server.Url(AdminPath)));
        m_server.SetReply(AdminPath + "?cmd=getstatus", Status("qorxsystem"));
        m_server.SetReply(
            AdminPath + "?cmd=getinstalledpackages",
            InstalledPackages(Package("ws_stats_newsletter", "ws_stats_newsletter_services_lamp.php")));
        m_server.SetReply(ServicePath + "?cmd=getstatus", Status("ws_stats_newsletter"));
    }

    StoringContext m_context;
    CWnd m_host;
    CWndSummary m_window{m_context};
};
} // namespace

TEST(DecodeFormValue, PlusEscapesAndBrokenEscapes)
{
    struct Case
    {
        QString in;
        QString out;
    };
    const Case cases[] = {
        {QStringLiteral("a+b%20c%2"), QStringLiteral("a b c%2")},
        {QStringLiteral("%E2%82%AC"), QString::fromUtf16(u"\u20AC")},
        {QStringLiteral("%e2%zz%"), QStringLiteral("%e2%zz%")},
        {QString(), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeFormValue(c.in).toStdString(), c.out.toStdString());
}

TEST_F(WndSummaryTest, PageCommandsChangeOnlyWhatTheyMayAndCancelTheNavigation)
{
    struct Case
    {
        const char* address;
        LRESULT reply;
        int hotList;
        int readLog;
        int linkList;
        int days;
        bool rendered;
    };
    const Case cases[] = {
        {"__SORT__.htm?SORTHOTLIST=3", 1, 3, 5, 5, 7, true},
        {"__sort__.htm?sorthotlist=", 1, 0, 5, 5, 7, true},
        {"__sort__.htm?sorthotlist=2&sortlinklist=1", 1, 2, 5, 5, 7, true},
        {"__sort__.htm?sortreadloglist=6", 1, 2, 5, 5, 7, true},
        {"__sort__.htm?sortlinklist=4", 1, 2, 5, 4, 7, true},
        {"__sort__.htm", 1, 2, 5, 4, 7, false},
        {"__FORMPOST__.htm?displaydays=84", 1, 2, 5, 4, 84, true},
        {"__formpost__.htm?displaydays=85", 1, 2, 5, 4, 84, true},
        {"__formpost__.htm", 1, 2, 5, 4, 84, false},
        {"http://example.com/", 0, 2, 5, 4, 84, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.address);
        const int before = m_context.stored;
        EXPECT_EQ(m_window.OnPageCommand(QString::fromLatin1(c.address)), c.reply);
        const ReportSettings& settings = m_window.GetSettings();
        EXPECT_EQ(settings.hotListSortKey, c.hotList);
        EXPECT_EQ(settings.readLogSortKey, c.readLog);
        EXPECT_EQ(settings.linkListSortKey, c.linkList);
        EXPECT_EQ(settings.displayDays, c.days);
        EXPECT_EQ(m_context.stored > before, c.rendered);
    }
    EXPECT_EQ(m_context.pageName, QStringLiteral("wndsummary.htm"));
}

TEST_F(WndSummaryTest, TrackingModeChoosesLinksByTheirPlaceOnThePage)
{
    m_newsletter.Layout().SetField(
        ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral(
                             "<p><a href=\"http://a.se/\">A</a><a href=\"http://b.se/\">B</a></p>")));
    m_window.SendMessage(WM_COMMAND, ID_VIEW_REPORT_TRACKING);
    ASSERT_EQ(m_window.GetLinkAddresses().size(), 2);

    EXPECT_EQ(
        m_window.OnPageCommand(QStringLiteral("__TRACKINGMODE__.htm?trackingmode_sel=trackingmodeLinks_1")),
        1);
    EXPECT_EQ(m_window.GetSettings().trackingView, ReportSettings::OneLink);
    EXPECT_EQ(m_window.GetSettings().chosenLink, QStringLiteral("http://b.se/"));
    EXPECT_TRUE(
        m_context.pageText.contains(QStringLiteral("value=\"trackingmodeLinks_1\" selected=\"selected\"")));

    m_window.OnPageCommand(QStringLiteral("__trackingmode__.htm?trackingmode_sel=trackingmodeLinks_2"));
    EXPECT_EQ(m_window.GetSettings().chosenLink, QStringLiteral("http://b.se/"));
    m_window.OnPageCommand(QStringLiteral("__trackingmode__.htm?trackingmode_sel=trackingmodeOpened"));
    EXPECT_EQ(m_window.GetSettings().trackingView, ReportSettings::RecentlyOpened);
}

TEST_F(WndSummaryTest, SettingsLastForOneNewsletter)
{
    m_window.ResetReportSettings();
    m_window.OnPageCommand(QStringLiteral("__sort__.htm?sorthotlist=1"));
    m_window.ResetReportSettings();
    EXPECT_EQ(m_window.GetSettings().hotListSortKey, 1);
    m_newsletter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(QStringLiteral("{OTHER}")));
    m_window.ResetReportSettings();
    EXPECT_EQ(m_window.GetSettings().hotListSortKey, SortByClicksMostFirst);

    // Without a newsletter the page is blank and nothing is stored.
    m_context.newsletter = nullptr;
    const int before = m_context.stored;
    m_window.RenderReport();
    EXPECT_EQ(m_context.stored, before);
}

TEST_F(WndSummaryTest, CopyPutsEachListedRecipientOnTheClipboardOnce)
{
    InstallStatistics();
    AddRecipient(QStringLiteral("ann@x.se"), 10, QStringLiteral("Ann"));
    AddRecipient(QStringLiteral("bo@x.se"), 10, QStringLiteral("Bo"));
    AddRecipient(QStringLiteral("cy@x.se"), 10, QStringLiteral("Cy"));
    Answer(QStringLiteral("channelusergetalltrackers"),
           QStringLiteral("<user email=\"ann@x.se\" lastclickdate=\"2008,4,1,8,0,0\" clickcount=\"2\"/>"
                          "<user email=\"ann@x.se\" lastclickdate=\"2008,4,2,8,0,0\" clickcount=\"1\"/>"
                          "<user email=\"bo@x.se\" lastclickdate=\"2008,4,1,8,0,0\" clickcount=\"3\"/>"));
    m_window.SendMessage(WM_COMMAND, ID_VIEW_REPORT_TRACKING);
    EXPECT_EQ(m_window.GetShownAddresses().size(), 3);

    EXPECT_EQ(m_window.OnPageCommand(QStringLiteral("__COPYUSERS__.htm")), 1);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QString::fromLatin1(UserClipboard::UserListMimeType)));
    const QString text = data->text();
    EXPECT_EQ(text.count(QStringLiteral("ann@x.se")), 1);
    EXPECT_EQ(text.count(QStringLiteral("bo@x.se")), 1);
    EXPECT_FALSE(text.contains(QStringLiteral("cy@x.se")));
    // The service address was found once and kept.
    EXPECT_EQ(
        m_server.Requests().count(
            AdminPath + QStringLiteral("?adminusername=admin&adminpassword=secret&type=admin&cmd=getstatus")),
        1);
}
