#include "app/DlgAbout.h"
#include "ScreenPicture.h"
#include "app/DlgEasterEgg.h"
#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "controls/ControlArtifacts.h"
#include "platform/ui/HtmlDocument.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

namespace
{
constexpr int LoadTimeoutMs = 60000;

// The About box, run modally with a check while it is up; the credits it would open are recorded
// and only run when a test asks for them.
class CTestAbout : public CDlgAbout
{
public:
    using CDlgAbout::CDlgAbout;

    std::function<void(CTestAbout&)> whileUp;
    std::vector<int> credits;
    bool runCredits = false;
    QStringList completed;
    std::vector<LRESULT> menuReplies;

    CIEBrowser* Browser() { return dynamic_cast<CIEBrowser*>(GetDlgItem(BrowserId)); }

    bool WaitForPage()
    {
        return QTest::qWaitFor(
            [&] { return !completed.isEmpty() && completed.last().endsWith("dlgabout.htm"); }, LoadTimeoutMs);
    }

    QString BodyText()
    {
        std::unique_ptr<CHtmlDocument> document;
        QString body;
        if (Browser()->GetDHtmlDocument(document))
            document->GetBodyInnerHtml(body, 1 << 20);
        return body;
    }

    void Stroke(QPoint from, QPoint to)
    {
        QTest::mousePress(GetSafeHwnd(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseRelease(GetSafeHwnd(), Qt::LeftButton, Qt::NoModifier, to);
    }

protected:
    bool OnInitDialog() override
    {
        const bool result = CDlgAbout::OnInitDialog();
        QTimer::singleShot(0,
                           [this]
                           {
                               EXPECT_TRUE(QTest::qWaitForWindowExposed(GetSafeHwnd()));
                               whileUp(*this);
                               if (IsWindowVisible())
                                   EndDialog(IDOK);
                           });
        return result;
    }
    void RunCredits(BYTE variant) override
    {
        credits.push_back(variant);
        if (runCredits)
            CDlgAbout::RunCredits(variant);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == UM_BROWSER_DOCUMENT_COMPLETE)
            completed.append(*reinterpret_cast<const QString*>(lParam));
        const LRESULT reply = CDlgAbout::WindowProc(message, wParam, lParam);
        if (message == UM_BROWSER_CONTEXT_MENU)
            menuReplies.push_back(reply);
        return reply;
    }
};

struct ServedContext
{
    CKVContext context;
    CKVWebServer server{&context};
    ServedContext() { EXPECT_NE(server.Start(), 0); }
};
} // namespace

TEST(DlgAbout, ThePageListsTheComponentsWithTheirNamesAsText)
{
    ServedContext served;
    CTestAbout about(&served.context);
    about.m_components = {
        {"<b>Bold</b> & \"quoted\" 'it'", "x < y & y > z", true},
        {"Plain", "No version here", false},
    };
    QString body;
    about.whileUp = [&](CTestAbout& dialog)
    {
        ASSERT_TRUE(dialog.WaitForPage());
        body = dialog.BodyText();

        CRect client;
        dialog.GetClientRect(&client);
        EXPECT_EQ(client, CRect(0, 0, 450, 560));
        EXPECT_EQ(dialog.Browser()->GetSafeHwnd()->geometry(), QRect(10, 120, 430, 400));
        const QRect ok = dialog.GetDlgItem(IDOK)->GetSafeHwnd()->geometry();
        EXPECT_EQ(ok.right() + 1, 450 - 15);
        EXPECT_EQ(ok.top(), 531);
        EXPECT_EQ(dialog.GetWindowText(), "About Kelvora");
        EXPECT_TRUE(AwaitPaintedPage(dialog.Browser()->GetSafeHwnd()));
        SaveControlArtifact(dialog, "about-box-escaped-names.png");
    };
    EXPECT_EQ(about.DoModal(), IDOK);

    // The names are text of the page, not markup.
    EXPECT_TRUE(body.contains("&lt;b&gt;Bold&lt;/b&gt; &amp; \"quoted\" 'it'")) << body.toStdString();
    EXPECT_TRUE(body.contains("x &lt; y &amp; y &gt; z (2007.5.1)")) << body.toStdString();
    EXPECT_TRUE(body.contains("No version here</p>")) << body.toStdString();
    EXPECT_FALSE(body.contains("<b>"));
    EXPECT_TRUE(body.contains("<h1>Your current configuration</h1>"));

    // The page stays in the web store as it was written.
    const auto entry = served.context.FindInWebStore("dlgabout.htm");
    ASSERT_NE(entry, nullptr);
    const QString page = QString::fromUtf8(entry->bytes);
    EXPECT_TRUE(page.startsWith("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\""));
    EXPECT_TRUE(page.contains("&lt;b&gt;Bold&lt;/b&gt; &amp; &quot;quoted&quot; &apos;it&apos;"));
    EXPECT_TRUE(page.contains("<td class=\"titleleft\">Plain</td></tr>\r\n"));
    EXPECT_TRUE(page.endsWith("</body>\r\n</html>\r\n"));
}

TEST(DlgAbout, StrokesAcrossTheBannerOpenTheCredits)
{
    ServedContext served;
    struct Case
    {
        QPoint from;
        QPoint to;
        std::vector<int> credits;
    };
    const Case cases[] = {
        {{50, 60}, {300, 60}, {0}},  // left to right
        {{300, 60}, {50, 60}, {1}},  // right to left
        {{223, 60}, {226, 60}, {0}}, // the innermost pixels of both halves
        {{449, 0}, {0, 119}, {1}},   // the outermost ones
        {{50, 60}, {100, 60}, {}},   // within one half
        {{224, 60}, {300, 60}, {}},  // from the gap
        {{50, 60}, {225, 60}, {}},   // into the gap
        {{50, 60}, {300, 120}, {}},  // below the banner
    };
    CTestAbout about(&served.context);
    about.whileUp = [&](CTestAbout& dialog)
    {
        for (const Case& c : cases)
        {
            dialog.credits.clear();
            dialog.Stroke(c.from, c.to);
            EXPECT_EQ(dialog.credits, c.credits)
                << c.from.x() << "," << c.from.y() << " to " << c.to.x() << "," << c.to.y();
        }
        ASSERT_TRUE(dialog.WaitForPage());
        EXPECT_TRUE(AwaitPaintedPage(dialog.Browser()->GetSafeHwnd()));
        SaveControlArtifact(dialog, "about-box.png");
    };
    about.DoModal();
}

TEST(DlgAbout, TheCreditsDropInAndComeToRestInTheMiddle)
{
    ServedContext served;
    CTestAbout about(&served.context);
    about.runCredits = true;
    int variant = -1;
    QSize size;
    QList<int> tops;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         auto* credits = dynamic_cast<CDlgEasterEgg*>(
                             CWnd::FromHandle(QApplication::activeModalWidget()));
                         if (!credits)
                             return;
                         variant = credits->GetVariant();
                         size = credits->GetSafeHwnd()->size();
                         tops.append(credits->GetSafeHwnd()->y());
                         // 36 steps of 50 ms, and some time to spare.
                         if (tops.size() * poll.interval() > 2500)
                         {
                             SaveControlArtifact(*credits, "about-credits.png");
                             QTest::keyClick(credits->GetSafeHwnd(), Qt::Key_Escape);
                         }
                     });
    poll.start(20);
    about.whileUp = [&](CTestAbout& dialog) { dialog.Stroke({300, 60}, {40, 60}); };
    about.DoModal();

    EXPECT_EQ(variant, 1);
    EXPECT_EQ(size, QSize(500, 300));
    ASSERT_FALSE(tops.isEmpty());
    const QSize screen = QApplication::primaryScreen()->size();
    const int rest = (screen.height() - 300) / 2;
    EXPECT_EQ(tops.last(), rest);
    EXPECT_LT(*std::min_element(tops.begin(), tops.end()), rest) << "it comes down from above";
    EXPECT_GT(*std::max_element(tops.begin(), tops.end()), rest) << "and swings past its rest";
}

TEST(DlgAbout, TheCreditsSwingIsDamped)
{
    const int rest = 150;
    const float amplitude = 600;
    EXPECT_EQ(CDlgEasterEgg::TopAtStep(rest, 0, 35, amplitude), rest - 600);
    EXPECT_GT(CDlgEasterEgg::TopAtStep(rest, 10, 35, amplitude * 0.3486784f), rest) << "past the rest";
    EXPECT_EQ(CDlgEasterEgg::TopAtStep(rest, 35, 35, 0), rest);
}

TEST(DlgAbout, CreditsWithoutTheirPictureEndAtOnce)
{
    ScopedResourceModule module;
    module.AddFile("dialogs/201.json",
                   R"({"caption": "Kelvora", "size": [100, 50], "style": ["popup", "caption"],
                                           "font": ["MS Shell Dlg", 8], "controls": []})");
    ASSERT_TRUE(module.Load());
    CDlgEasterEgg credits(0);
    EXPECT_EQ(credits.DoModal(), IDCANCEL);
}

TEST(DlgAbout, ThePageShowsNoMenuUnlessShiftAndCtrlAreHeld)
{
    ServedContext served;
    CTestAbout about(&served.context);
    int engineMenus = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
                         {
                             ++engineMenus;
                             menu->close();
                         }
                     });
    poll.start(20);
    about.whileUp = [&](CTestAbout& dialog)
    {
        ASSERT_TRUE(dialog.WaitForPage());
        QWidget* page = dialog.Browser()->GetSafeHwnd()->focusProxy();
        ASSERT_NE(page, nullptr);
        QTest::mouseClick(page, Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.menuReplies.empty(); }, 10000));
        // The engine's menu would come up in the same step as the reply.
        EXPECT_EQ(dialog.menuReplies, std::vector<LRESULT>{0});
        EXPECT_EQ(engineMenus, 0);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        QTest::mouseClick(page, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(100, 100));
        EXPECT_TRUE(QTest::qWaitFor([&] { return engineMenus == 1; }, 10000));
    };
    about.DoModal();
}
