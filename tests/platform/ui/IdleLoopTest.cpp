#include "platform/ui/IdleLoop.h"
#include "platform/ui/Wnd.h"

#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

namespace
{
// Runs the event loop until the handler asked for it to end, or a while without that.
void RunLoop(QEventLoop& loop, int ms)
{
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class CIdleRecorder : public CWnd
{
public:
    std::vector<LPARAM> counts;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == UM_IDLE)
            counts.push_back(lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST(IdleLoop, PassesCountUpWhileWantedAndStartAgainAtZeroAfterInput)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 100, 60), nullptr, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wnd.GetSafeHwnd()));
    QEventLoop loop;
    std::vector<long> counts;
    CIdleLoop idle(
        [&](long count)
        {
            counts.push_back(count);
            if (count == 2)
                loop.quit();
            return count < 2;
        });
    RunLoop(loop, 5000);
    EXPECT_EQ(counts, (std::vector<long>{0, 1, 2}));

    RunLoop(loop, 100);
    EXPECT_EQ(counts.size(), 3u) << "no pass without new input";

    QTest::mouseClick(wnd.GetSafeHwnd(), Qt::LeftButton, {}, QPoint(10, 10));
    RunLoop(loop, 5000);
    EXPECT_EQ(counts, (std::vector<long>{0, 1, 2, 0, 1, 2}));
}

TEST(IdleLoop, MainWindowPassReachesEveryDescendantOnTheFirstTwoPasses)
{
    CIdleRecorder mainWnd;
    ASSERT_TRUE(mainWnd.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 100, 60), nullptr, 0));
    CIdleRecorder child;
    CIdleRecorder grandChild;
    ASSERT_TRUE(child.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &mainWnd, 1));
    ASSERT_TRUE(grandChild.Create(QString(), QString(), WS_CHILD, CRect(0, 0, 5, 5), &child, 2));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWnd.GetSafeHwnd()));
    AfxSetMainWnd(&mainWnd);
    QEventLoop loop;
    CIdleLoop idle(
        [&](long count)
        {
            const bool more = CIdleLoop::SendIdleToMainWindow(count);
            if (!more)
                loop.quit();
            return more;
        });
    RunLoop(loop, 5000);
    AfxSetMainWnd(nullptr);
    EXPECT_TRUE(mainWnd.counts.empty());
    EXPECT_EQ(child.counts, (std::vector<LPARAM>{0, 1}));
    EXPECT_EQ(grandChild.counts, (std::vector<LPARAM>{0, 1})) << "hidden windows get it too";
}
