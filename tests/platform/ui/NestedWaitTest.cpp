#include "platform/ui/NestedWait.h"
#include "platform/ui/IdleLoop.h"
#include "platform/ui/Wnd.h"

#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{
constexpr UINT UM_POSTED = WM_USER + 7;
constexpr UINT_PTR TimerId = 3;

// Writes down what reaches it, and whether a wait was running then.
class CRecorder : public CWnd
{
public:
    QStringList seen;
    bool reachedInsideWait = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        QString what;
        if (message == WM_CHAR)
            what = QChar(char16_t(wParam));
        else if (message == UM_POSTED)
            what = QStringLiteral("posted %1").arg(wParam);
        else if (message == WM_TIMER)
            what = QStringLiteral("timer");
        if (!what.isEmpty())
        {
            seen << what;
            reachedInsideWait = reachedInsideWait || CNestedWait::IsActive();
            if (message == WM_TIMER)
                KillTimer(TimerId);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
} // namespace

// Keys, a posted message, a timer tick and a report that arrive while a wait runs reach the
// window only after the wait, all of them and in the order they came; no idle pass runs inside.
TEST(NestedWait, HoldsInputMessagesTimersAndReportsUntilItIsOver)
{
    CRecorder wnd;
    ASSERT_TRUE(wnd.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 100, 60), nullptr, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wnd.GetSafeHwnd()));
    long passesInside = 0;
    CIdleLoop idle(
        [&](long)
        {
            passesInside += CNestedWait::IsActive() ? 1 : 0;
            return false;
        });
    QWidget* widget = wnd.GetSafeHwnd();
    widget->setFocus();

    CNestedWait wait;
    QTimer::singleShot(0,
                       [&]
                       {
                           QTest::keyClicks(widget, "ab");
                           wnd.PostMessage(UM_POSTED, 1);
                       });
    QTimer::singleShot(50, [&] { wnd.SetTimer(TimerId, 1); });
    QTimer::singleShot(100,
                       [&]
                       {
                           CNestedWait::RunOutside([&] { wnd.seen << "report"; });
                           QTest::keyClick(widget, Qt::Key_C);
                       });
    QTimer::singleShot(200, [&] { wait.Quit(); });
    EXPECT_TRUE(wait.Run(5000));
    EXPECT_TRUE(wnd.seen.isEmpty()) << wnd.seen.join(' ').toStdString();
    EXPECT_FALSE(CNestedWait::IsActive());

    ASSERT_TRUE(QTest::qWaitFor([&] { return wnd.seen.size() == 6; }, 5000))
        << wnd.seen.join(' ').toStdString();
    EXPECT_EQ(wnd.seen, (QStringList{"a", "b", "posted 1", "timer", "report", "c"}));
    EXPECT_FALSE(wnd.reachedInsideWait);
    EXPECT_EQ(passesInside, 0);
    // With no wait running, a report runs at once.
    CNestedWait::RunOutside([&] { wnd.seen << "now"; });
    EXPECT_EQ(wnd.seen.last(), "now");
}

// A wait inside a wait counts as two levels; a quit before the run ends the wait at once; the
// time-out ends it as not answered.
TEST(NestedWait, CountsItsNestingAndEndsByQuitOrTimeOut)
{
    CNestedWait::ResetDeepestNesting();
    CNestedWait early;
    early.Quit();
    EXPECT_TRUE(early.Run(5000));
    EXPECT_EQ(CNestedWait::DeepestNesting(), 0);

    CNestedWait outer;
    bool innerAnswered = true;
    QTimer::singleShot(0,
                       [&]
                       {
                           CNestedWait inner;
                           innerAnswered = inner.Run(20);
                           outer.Quit();
                       });
    EXPECT_TRUE(outer.Run(5000));
    EXPECT_FALSE(innerAnswered);
    EXPECT_EQ(CNestedWait::DeepestNesting(), 2);
}
