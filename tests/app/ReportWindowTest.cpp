#include "ScreenPicture.h"
#include "controls/CommandIds.h"
#include "editor/PageClicks.h"
#include "services/QorxReplies.h"
#include "support/NoProxy.h"
#include "support/ScriptedHttpServer.h"

#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbUser.h"
#include "reports/ReportContext.h"
#include "reports/WndSummary.h"
#include "support/PageAnswer.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

using namespace QorxReplies;

namespace
{
const QString AdminPath = QStringLiteral("/site/admin/qorx_2_services_lamp.php");
const QString StatsPath = QStringLiteral("/site/admin/ws_stats_newsletter_services_lamp.php");

// The report window's view of the program's context.
class ContextReports : public IReportContext
{
public:
    explicit ContextReports(CKVContext& context) : m_context(context) {}
    ndb::CNdbNewsletter* GetCurrentNewsletter() const override { return m_context.GetCurrentNewsletter(); }
    void PutPageInWebStore(const QString& name, const QString& page) override
    {
        m_context.PutPageInWebStore(name, page);
    }
    QString MakeServerUrl(const QString& path) const override { return m_context.MakeServerUrl(path); }

private:
    CKVContext& m_context;
};

QString Stats(const QString& command, const QString& inner)
{
    return QStringLiteral("<ws_stats_newsletter_stats_%1 status=\"ok\">%2</ws_stats_newsletter_stats_%1>")
        .arg(command, inner);
}

class ReportWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        ClearProxyEnvironment();
        auto newsletter = std::make_unique<ndb::CNdbNewsletter>(QStringLiteral("June <News> & more"));
        newsletter->SetField(ndb::NewsletterId, ndb::CNdbFieldValue(QStringLiteral("{JUNE}")));
        ndb::CNdbSender& sender = newsletter->Sender();
        sender.SetField(ndb::SenderTracking, ndb::CNdbFieldValue(ndb::NdbValueBool, true));
        sender.SetField(ndb::SenderDynamicServices, ndb::CNdbFieldValue(ndb::NdbValueBool, true));
        sender.SetField(ndb::SenderSiteAccess650, ndb::CNdbFieldValue(m_site.Url(AdminPath)));
        sender.SetField(ndb::SenderFromName, ndb::CNdbFieldValue(QStringLiteral("Eva Berg")));
        sender.SetField(ndb::SenderFromAddress, ndb::CNdbFieldValue(QStringLiteral("eva@example.org")));
        const char* people[][3] = {{"ann@example.org", "Ann", "Alm"},
                                   {"bo@example.org", "Bo", "<b>Berg</b>"},
                                   {"cy@example.org", "Cy", "Cole"}};
        const int statuses[] = {10, 10, 20};
        for (int i = 0; i < 3; ++i)
        {
            auto user = std::make_unique<ndb::CNdbUser>();
            user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QString::fromLatin1(people[i][0])));
            user->SetField(ndb::UserFirstName, ndb::CNdbFieldValue(QString::fromLatin1(people[i][1])));
            user->SetField(ndb::UserLastName, ndb::CNdbFieldValue(QString::fromLatin1(people[i][2])));
            user->SetField(ndb::UserBusinessPhone, ndb::CNdbFieldValue(QStringLiteral("555 123")));
            newsletter->Log().SetStatus(statuses[i], QString::fromLatin1(people[i][0]));
            newsletter->Users().AddUser(std::move(user));
        }
        m_context.SetCurrentDocument(std::move(newsletter));
        ASSERT_NE(m_server.Start(), 0);

        m_site.SetReply(AdminPath + "?cmd=getstatus", Status("qorxsystem"));
        m_site.SetReply(
            AdminPath + "?cmd=getinstalledpackages",
            InstalledPackages(Package("ws_stats_newsletter", "ws_stats_newsletter_services_lamp.php")));
        m_site.SetReply(StatsPath + "?cmd=getstatus", Status("ws_stats_newsletter"));
        Answer("channelgetoverview",
               "<overview opened=\"2\" uniqueclicks=\"2\" clicks=\"5\" forwards=\"1\"/>");
        Answer("channelgetalltrackers",
               "<tracker trackerurl=\"http://example.org/offer\" trackercount=\"3\"/>"
               "<tracker trackerurl=\"http://example.org/&lt;img src=x onerror=alert(1)&gt;\" "
               "trackercount=\"2\"/>");
        Answer("channelgetreadlog", "<logdate opened=\"1\" date=\"28\" month=\"3\" year=\"2026\"/>"
                                    "<logdate opened=\"3\" date=\"30\" month=\"3\" year=\"2026\"/>");
        Answer("channelusergetalltrackers",
               "<user email=\"ann@example.org\" lastclickdate=\"2026,3,30,10,0,0\" clickcount=\"4\"/>"
               "<user email=\"bo@example.org\" lastclickdate=\"2026,3,31,9,0,0\" clickcount=\"1\"/>");
        Answer("channelgetsummary",
               "<readlog><count>2</count><user email=\"ann@example.org\" datelog=\"2026,3,28,8,0,0\"/>"
               "<user email=\"bo@example.org\" datelog=\"2026,3,30,8,0,0\"/></readlog>"
               "<tracker trackerurl=\"http://example.org/offer\"><count>3</count>"
               "<user email=\"ann@example.org\" datelog=\"2026,3,30,10,0,0\"/></tracker>");

        ASSERT_TRUE(m_host.CreateEx(0, QString(), QStringLiteral("Report"), WS_OVERLAPPEDWINDOW,
                                    CRect(0, 0, 900, 700), nullptr, 0));
        ASSERT_TRUE(m_window.CreateSummaryWindow(&m_host));
        m_host.ShowWindow(SW_SHOW);
        m_window.MoveWindow(0, 0, 900, 700);
        m_window.ShowWindow(SW_SHOW);
    }
    void Answer(const char* command, const char* inner)
    {
        m_site.SetReply(StatsPath + "?cmd=" + command,
                        Stats(QString::fromLatin1(command), QString::fromUtf8(inner)));
    }
    QVariant Run(const QString& script)
    {
        auto* view = qobject_cast<QWebEngineView*>(m_window.GetBrowser().GetSafeHwnd());
        const std::optional<QVariant> answer = PageAnswer(view->page(), script);
        EXPECT_TRUE(answer.has_value()) << script.toStdString();
        return answer.value_or(QVariant());
    }
    // Waits until the page has loaded and every image is decoded; their sizes in page order.
    QStringList LoadedImageSizes()
    {
        const QString script =
            QStringLiteral("(function () { if (!document.location.href.includes('wndsummary.htm') || "
                           "document.readyState !== 'complete') return null;"
                           " const images = Array.from(document.images);"
                           " if (images.some(i => !i.complete || i.naturalWidth === 0)) return null;"
                           " return images.map(i => i.naturalWidth + 'x' + i.naturalHeight).join(' '); })()");
        QStringList sizes;
        EXPECT_TRUE(QTest::qWaitFor(
            [&]
            {
                const QVariant value = Run(script);
                sizes = value.toString().split(u' ', Qt::SkipEmptyParts);
                return value.isValid() && !value.isNull();
            },
            60000))
            << "the summary page never finished loading";
        return sizes;
    }
    void SavePicture(const QString& name)
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        // The report's text and charts drawn in the page's area, below the window's own toolbar.
        const QRect report = AreaInWindow(m_window.GetBrowser().GetSafeHwnd());
        QImage picture;
        const bool shown = GrabWhenShown(
            m_host.GetSafeHwnd(), [&](const QImage& grab) { return DarkPixels(grab, report) > 200; },
            picture);
        QDir().mkpath(KV_ARTIFACT_DIR);
        EXPECT_TRUE(picture.save(QStringLiteral(KV_ARTIFACT_DIR "/") + name));
        EXPECT_TRUE(shown) << name.toStdString() << " never showed the report";
    }

    ScriptedHttpServer m_site;
    CKVContext m_context;
    CKVWebServer m_server{&m_context};
    ContextReports m_reports{m_context};
    CWnd m_host;
    CWndSummary m_window{m_reports};
};
} // namespace

TEST_F(ReportWindow, OverviewFromTheLocalServerDrawsEveryChartAtItsSize)
{
    // Showing the window rendered the Overview; the onload swap gives the line chart its days.
    const QStringList sizes = LoadedImageSizes();
    EXPECT_EQ(sizes, (QStringList{"308x191", "700x310", "700x300", "700x160"}));
    const QString lineSource = Run("document.getElementById('linegraphimage').src").toString();
    EXPECT_TRUE(lineSource.contains("rows=7&")) << lineSource.toStdString();
    EXPECT_TRUE(lineSource.contains("d_0_2=3")) << lineSource.toStdString();
    // The hostile tracker address is a chart label, never markup of the page.
    EXPECT_EQ(Run("document.querySelectorAll('img').length").toInt(), 4);
    EXPECT_EQ(Run("document.title").toString(), "June <News> & more");
    SavePicture("report-overview.png");
}

TEST_F(ReportWindow, TrackingViewsShowTheRecipientsBehindTheNumbers)
{
    struct Case
    {
        const char* command;
        const char* picture;
        int rows;
        const char* countText;
    };
    const Case cases[] = {
        {"__trackingmode__.htm?trackingmode_sel=trackingmodeHotList", "report-hotlist.png", 2,
         "2 recipients have clicked on a link"},
        {"__trackingmode__.htm?trackingmode_sel=trackingmodeOpened", "report-opened.png", 2,
         "2 recipients have read this newsletter"},
        {"__trackingmode__.htm?trackingmode_sel=trackingmodeLinks_1", "report-link.png", 1,
         "1 recipient has clicked this link"},
    };
    m_window.SendMessage(WM_COMMAND, ID_VIEW_REPORT_TRACKING);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(m_window.OnPageCommand(QString::fromLatin1(c.command)), 1);
        // The page of the same name loads anew: wait for this view's own text.
        EXPECT_TRUE(QTest::qWaitFor(
            [&]
            {
                return Run(QStringLiteral("document.readyState === 'complete' && document.body && "
                                          "document.body.innerText.includes('%1')")
                               .arg(QString::fromLatin1(c.countText)))
                    .toBool();
            },
            60000));
        EXPECT_EQ(Run("document.querySelectorAll('tr.bgodd, tr.bgeven').length").toInt(), c.rows);
        EXPECT_EQ(Run("document.querySelectorAll('b, img[src=x]').length").toInt(), 0);
        SavePicture(QString::fromLatin1(c.picture));
    }
    EXPECT_EQ(m_window.GetSettings().chosenLink, "http://example.org/offer");
}

// The report's own menu on a right click, with Shift or Ctrl alone too; both together give the
// engine's menu instead.
TEST_F(ReportWindow, ShiftAndCtrlTogetherGiveTheEnginesMenu)
{
    LoadedImageSizes();
    const struct
    {
        Qt::KeyboardModifiers modifiers;
        bool ours;
    } cases[] = {
        {Qt::NoModifier, true},
        {Qt::ShiftModifier, true},
        {Qt::ControlModifier, true},
        {Qt::ShiftModifier | Qt::ControlModifier, false},
    };
    for (const auto& c : cases)
    {
        const QStringList texts = ContextMenuAt(m_window.GetBrowser(), QPoint(20, 20), {}, c.modifiers);
        EXPECT_FALSE(texts.isEmpty()) << int(c.modifiers);
        EXPECT_EQ(texts.contains("&Refresh\tF5"), c.ours) << texts.join('|').toStdString();
    }
}
