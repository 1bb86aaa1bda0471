#include "controls/HorizontalSplitterWnd.h"
#include "ControlTestSupport.h"
#include "platform/ui/PaintDC.h"

#include <gtest/gtest.h>

namespace
{
constexpr UINT SharedCommand = 100;
constexpr UINT SecondOnlyCommand = 101;
constexpr UINT SplitterOnlyCommand = 102;

// A pane that paints a caption and records the commands it handles.
class CTestPane : public CWnd
{
public:
    CTestPane(QString caption, COLORREF color, bool handlesSecond)
        : m_caption(std::move(caption)), m_color(color), m_handlesSecond(handlesSecond)
    {
    }
    std::vector<UINT> handled;

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnMessage(WM_PAINT, &CTestPane::OnPaint),
            OnCommand(SharedCommand, &CTestPane::OnShared),
        };
        static const MessageMap map{CWnd::GetMessageMap(), entries};
        return &map;
    }
    bool OnCmdMsg(UINT id, UINT code) override
    {
        if (id == SecondOnlyCommand && m_handlesSecond)
        {
            handled.push_back(id);
            return true;
        }
        return CWnd::OnCmdMsg(id, code);
    }
    LRESULT OnShared(WPARAM wParam, LPARAM)
    {
        handled.push_back(LOWORD(wParam));
        return 0;
    }
    LRESULT OnPaint(WPARAM, LPARAM)
    {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(client, m_color);
        CRect text(12, 10, client.right - 12, 40);
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(m_caption, &text, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        return 0;
    }

private:
    QString m_caption;
    COLORREF m_color;
    bool m_handlesSecond;
};

class CTestSplitter : public CHorizontalSplitterWnd
{
public:
    std::vector<UINT> handled;

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnCommand(SharedCommand, &CTestSplitter::OnAny),
            OnCommand(SecondOnlyCommand, &CTestSplitter::OnAny),
            OnCommand(SplitterOnlyCommand, &CTestSplitter::OnAny),
        };
        static const MessageMap map{CHorizontalSplitterWnd::GetMessageMap(), entries};
        return &map;
    }
    LRESULT OnAny(WPARAM wParam, LPARAM)
    {
        handled.push_back(LOWORD(wParam));
        return 0;
    }
};

class HorizontalSplitter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.CreateShown(480, 260));
        ASSERT_TRUE(
            splitter.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 480, 260), &frame, 1));
        ASSERT_TRUE(
            first.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &splitter, 2));
        ASSERT_TRUE(
            second.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &splitter, 3));
        splitter.m_firstPane = &first;
        splitter.m_secondPane = &second;
        splitter.RecalcLayout();
    }

    QWidget* Widget() { return splitter.GetSafeHwnd(); }
    CRect PaneRect(CWnd& pane) { return CRect::FromQRect(pane.GetSafeHwnd()->geometry()); }
    QPoint GripPoint(int dx = 0)
    {
        const CRect grip = splitter.GetGripRect();
        return QPoint(grip.left + 4 + dx, grip.top + grip.Height() / 2);
    }
    void Drag(QPoint from, QPoint to)
    {
        QTest::mousePress(Widget(), Qt::LeftButton, {}, from);
        QTest::mouseMove(Widget(), to);
        QTest::mouseRelease(Widget(), Qt::LeftButton, {}, to);
    }

    CCommandRecorder frame;
    CTestSplitter splitter;
    CTestPane first{QStringLiteral("Navigation"), RGB(250, 250, 250), false};
    CTestPane second{QStringLiteral("Newsletter"), RGB(255, 255, 255), true};
};

void SaveArtifact(CWnd& wnd, const char* name)
{
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
    Grab(wnd).save(QStringLiteral(KV_ARTIFACT_DIR "/") + QLatin1String(name));
}
} // namespace

TEST_F(HorizontalSplitter, PanesSitBesideTheBarOfTheGripImage)
{
    EXPECT_EQ(splitter.GetBarWidth(), 9);
    EXPECT_EQ(PaneRect(first), CRect(0, 0, 200, 260));
    EXPECT_EQ(PaneRect(second), CRect(209, 0, 480, 260));
    EXPECT_EQ(splitter.GetGripRect(), CRect(200, 105, 209, 154));
    const QImage image = Grab(splitter);
    EXPECT_EQ(image.pixel(204, 2), qRgb(0xC9, 0xD0, 0xD8)) << "the bar takes the grip's corner colour";
    SaveArtifact(splitter, "splitter-expanded.png");
}

TEST_F(HorizontalSplitter, NarrowClientPutsTheBarAtItsRightEdge)
{
    splitter.MoveWindow(0, 0, 150, 260);
    EXPECT_EQ(PaneRect(first), CRect(0, 0, 141, 260));
    EXPECT_EQ(PaneRect(second), CRect(150, 0, 150, 260));
}

TEST_F(HorizontalSplitter, ClickOnTheGripCollapsesAndASecondClickExpands)
{
    QTest::mouseClick(Widget(), Qt::LeftButton, {}, GripPoint());
    EXPECT_TRUE(splitter.IsCollapsed());
    EXPECT_EQ(PaneRect(first).Width(), 0);
    EXPECT_EQ(PaneRect(second), CRect(9, 0, 480, 260));
    SaveArtifact(splitter, "splitter-collapsed.png");
    QTest::mouseClick(Widget(), Qt::LeftButton, {}, GripPoint());
    EXPECT_FALSE(splitter.IsCollapsed());
    EXPECT_EQ(PaneRect(first), CRect(0, 0, 200, 260));
}

TEST_F(HorizontalSplitter, DroppingMovesTheBarOnlyOnRelease)
{
    QTest::mousePress(Widget(), Qt::LeftButton, {}, GripPoint());
    QTest::mouseMove(Widget(), GripPoint(-80));
    EXPECT_EQ(PaneRect(first).Width(), 200) << "the panes wait for the release";
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, GripPoint(-80));
    EXPECT_EQ(splitter.GetSplitPosition(), 120);
    EXPECT_EQ(PaneRect(first), CRect(0, 0, 120, 260));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(HorizontalSplitter, DropAtOnePixelStaysExpandedAtTheLeftEdgeCollapses)
{
    Drag(GripPoint(), GripPoint(-199));
    EXPECT_FALSE(splitter.IsCollapsed());
    EXPECT_EQ(splitter.GetSplitPosition(), 1);
    Drag(GripPoint(), GripPoint(-1));
    EXPECT_TRUE(splitter.IsCollapsed()) << "dropped at 0";
    EXPECT_EQ(splitter.GetSplitPosition(), 50) << "expanding never starts below 50";
    Drag(GripPoint(), GripPoint(3));
    EXPECT_FALSE(splitter.IsCollapsed());
    EXPECT_EQ(splitter.GetSplitPosition(), 3) << "a drag of three pixels expands at the drop";
}

TEST_F(HorizontalSplitter, SmallNudgeFromTheCollapsedStateToggles)
{
    for (const int nudge : {1, 2})
    {
        QTest::mouseClick(Widget(), Qt::LeftButton, {}, GripPoint());
        ASSERT_TRUE(splitter.IsCollapsed());
        Drag(GripPoint(), GripPoint(nudge));
        EXPECT_FALSE(splitter.IsCollapsed()) << nudge;
        EXPECT_EQ(splitter.GetSplitPosition(), 200) << nudge;
    }
}

TEST_F(HorizontalSplitter, PressOnTheBarOutsideTheGripStartsNothing)
{
    const CRect grip = splitter.GetGripRect();
    for (const QPoint point : {QPoint(grip.left + 4, grip.top - 5), QPoint(grip.left + 4, grip.bottom + 5)})
    {
        QTest::mousePress(Widget(), Qt::LeftButton, {}, point);
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
        QTest::mouseRelease(Widget(), Qt::LeftButton, {}, point);
        EXPECT_FALSE(splitter.IsCollapsed());
        EXPECT_EQ(splitter.GetSplitPosition(), 200);
    }
}

TEST_F(HorizontalSplitter, CancelledDragChangesNothing)
{
    QTest::mousePress(Widget(), Qt::LeftButton, {}, GripPoint());
    QTest::mouseMove(Widget(), GripPoint(-50));
    splitter.SendMessage(WM_CANCELMODE);
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, GripPoint(-50));
    EXPECT_EQ(splitter.GetSplitPosition(), 200);
    EXPECT_FALSE(splitter.IsCollapsed());

    QTest::mousePress(Widget(), Qt::LeftButton, {}, GripPoint());
    first.SetCapture();
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, GripPoint(-50));
    CWnd::ReleaseCapture();
    EXPECT_EQ(splitter.GetSplitPosition(), 200) << "losing the capture ends the drag";
}

TEST_F(HorizontalSplitter, DragBarFollowsThePointerWithinTheSplitter)
{
    QTest::mousePress(Widget(), Qt::LeftButton, {}, GripPoint());
    QWidget* bar = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->width() == 10 && window != frame.GetSafeHwnd())
            bar = window;
    ASSERT_NE(bar, nullptr);
    const QPoint origin = Widget()->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(bar->geometry(), QRect(origin.x() + 200, origin.y(), 10, 260));
    QTest::mouseMove(Widget(), QPoint(-300, 100));
    EXPECT_EQ(bar->x(), origin.x()) << "never left of the splitter";
    QTest::mouseMove(Widget(), QPoint(900, 100));
    EXPECT_EQ(bar->x(), origin.x() + 470) << "never right of it";
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(900, 100));
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(HorizontalSplitter, CommandsGoToTheFirstPaneThenTheSecondThenTheSplitter)
{
    splitter.SendMessage(WM_COMMAND, SharedCommand);
    splitter.SendMessage(WM_COMMAND, SecondOnlyCommand);
    splitter.SendMessage(WM_COMMAND, SplitterOnlyCommand);
    EXPECT_EQ(first.handled, std::vector<UINT>{SharedCommand});
    EXPECT_EQ(second.handled, std::vector<UINT>{SecondOnlyCommand});
    EXPECT_EQ(splitter.handled, std::vector<UINT>{SplitterOnlyCommand});
    first.DestroyWindow();
    splitter.SendMessage(WM_COMMAND, SharedCommand);
    EXPECT_EQ(second.handled, (std::vector<UINT>{SecondOnlyCommand, SharedCommand}))
        << "a pane without window is skipped";
    EXPECT_EQ(splitter.handled, std::vector<UINT>{SplitterOnlyCommand});
}
