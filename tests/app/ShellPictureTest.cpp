#include "ScreenPicture.h"
#include "ShellTestSupport.h"

#include <QGuiApplication>
#include <QScreen>

using namespace ShellTest;

// The main window with its navigation pane and an open newsletter, as it looks on a screen. The
// page is drawn by the web engine, which only an X display shows: the build runs this case on a
// virtual one, and skips it everywhere else.
TEST_F(ShellProgram, PictureOfTheMainWindowWithAnOpenNewsletter)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X display";
    for (const char* name : {"June", "May"})
        ASSERT_TRUE(WriteNewsletter(Document(QString(name) + ".kvnl"), name));
    ASSERT_TRUE(WriteMailingList(Document("Members.kvmg"), "Members", {"ann@example.org"}));
    CMainWnd& window = StartProgram();
    ASSERT_TRUE(window.OpenMailingList(Document("Members.kvmg")));
    ASSERT_TRUE(window.OpenNewsletter(Document("May.kvnl")));
    ASSERT_TRUE(window.OpenNewsletter(Document("June.kvnl")));
    window.MoveWindow(0, 0, 1024, 700);
    ASSERT_TRUE(ShownPageText(window).contains(LetterText));
    // The page's heading and text drawn in its area.
    const QRect page = AreaInWindow(window.GetNewsletterView().GetLayout().GetBrowser().GetSafeHwnd());
    QImage picture;
    const bool shown = GrabWhenShown(
        window.GetSafeHwnd(), [&](const QImage& grab) { return DarkPixels(grab, page) > 200; }, picture);
    QDir().mkpath(KV_ARTIFACT_DIR);
    ASSERT_TRUE(picture.save(QStringLiteral(KV_ARTIFACT_DIR "/main-window.png")));
    EXPECT_TRUE(shown) << "the page's text never showed";
    // The page is white where the navigation pane is dark.
    EXPECT_GT(qGray(picture.pixel(page.center())), 200);
    const QPoint inPane =
        window.GetNavigationView().GetSafeHwnd()->mapTo(window.GetSafeHwnd(), QPoint(10, 300));
    EXPECT_LT(qGray(picture.pixel(inPane)), 160);
}
