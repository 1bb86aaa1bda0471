#include "platform/ui/Wnd.h"

#include "QueuedEvents.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace
{
constexpr UINT UM_FIRST = WM_USER + 10;
constexpr UINT UM_SECOND = WM_USER + 11;

struct Received
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Received&) const = default;
};

class CBaseWindow : public CWnd
{
public:
    std::vector<Received> received;
    bool closeByDefault = false;

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnMessage(UM_FIRST, &CBaseWindow::OnFirst),
            OnMessage(UM_SECOND, &CBaseWindow::OnSecond),
            OnMessage(WM_TIMER, &CBaseWindow::OnTimer),
            OnMessage(WM_CAPTURECHANGED, &CBaseWindow::OnCaptureChanged),
            OnMessage(WM_CLOSE, &CBaseWindow::OnClose),
        };
        static const MessageMap map{CWnd::GetMessageMap(), entries};
        return &map;
    }
    LRESULT Record(UINT message, WPARAM wParam, LPARAM lParam)
    {
        received.push_back({message, wParam, lParam});
        return 0;
    }
    LRESULT OnFirst(WPARAM w, LPARAM l)
    {
        Record(UM_FIRST, w, l);
        return 1;
    }
    LRESULT OnSecond(WPARAM w, LPARAM l) { return Record(UM_SECOND, w, l); }
    LRESULT OnTimer(WPARAM w, LPARAM l) { return Record(WM_TIMER, w, l); }
    LRESULT OnCaptureChanged(WPARAM w, LPARAM l) { return Record(WM_CAPTURECHANGED, w, l); }
    LRESULT OnClose(WPARAM w, LPARAM l)
    {
        Record(WM_CLOSE, w, l);
        return closeByDefault ? Default() : 0;
    }
};

// Overrides one handler of its base; the rest of the base's map still applies.
class CDerivedWindow : public CBaseWindow
{
protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnMessage(UM_FIRST, &CDerivedWindow::OnFirstAgain),
        };
        static const MessageMap map{CBaseWindow::GetMessageMap(), entries};
        return &map;
    }
    LRESULT OnFirstAgain(WPARAM w, LPARAM l)
    {
        Record(UM_FIRST, w + 1000, l);
        return 2;
    }
};

template <class T> bool CreateWindow(T& wnd)
{
    return wnd.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 100, 60), nullptr, 0);
}
} // namespace

TEST(Wnd, SendIsSynchronousPostArrivesLaterInOrder)
{
    CBaseWindow wnd;
    ASSERT_TRUE(CreateWindow(wnd));
    EXPECT_TRUE(wnd.PostMessage(UM_SECOND, 1, 2));
    EXPECT_TRUE(wnd.PostMessage(UM_FIRST, 3, 4));
    EXPECT_EQ(wnd.SendMessage(UM_FIRST, 5, 6), 1);
    EXPECT_EQ(wnd.received, (std::vector<Received>{{UM_FIRST, 5, 6}}));
    QCoreApplication::processEvents();
    EXPECT_EQ(wnd.received, (std::vector<Received>{{UM_FIRST, 5, 6}, {UM_SECOND, 1, 2}, {UM_FIRST, 3, 4}}));
    EXPECT_EQ(wnd.SendMessage(WM_USER + 99), 0) << "a message without handler gets the default";
}

TEST(Wnd, DerivedMapOverridesItsBaseAndKeepsTheRest)
{
    CDerivedWindow wnd;
    ASSERT_TRUE(CreateWindow(wnd));
    EXPECT_EQ(wnd.SendMessage(UM_FIRST, 1), 2);
    wnd.SendMessage(UM_SECOND, 7);
    EXPECT_EQ(wnd.received, (std::vector<Received>{{UM_FIRST, 1001, 0}, {UM_SECOND, 7, 0}}));
}

TEST(Wnd, PostToADestroyedWindowIsDropped)
{
    CBaseWindow wnd;
    ASSERT_TRUE(CreateWindow(wnd));
    wnd.PostMessage(UM_SECOND);
    wnd.DestroyWindow();
    QCoreApplication::processEvents();
    EXPECT_TRUE(wnd.received.empty());
    EXPECT_FALSE(wnd.PostMessage(UM_SECOND));
}

TEST(Wnd, TimerRestartedUnderTheSameIdRunsOnceAndStopsWhenKilled)
{
    CBaseWindow wnd;
    ASSERT_TRUE(CreateWindow(wnd));
    EXPECT_EQ(wnd.SetTimer(7, 10000), 7u);
    EXPECT_EQ(wnd.SetTimer(7, 20), 7u);
    QTRY_VERIFY_WITH_TIMEOUT(!wnd.received.empty(), 5000);
    EXPECT_EQ(wnd.received.front(), (Received{WM_TIMER, 7, 0}));
    EXPECT_TRUE(wnd.KillTimer(7));
    const std::size_t count = wnd.received.size();
    AwaitTimerPeriod(20);
    EXPECT_EQ(wnd.received.size(), count);
    EXPECT_FALSE(wnd.KillTimer(7));
}

TEST(Wnd, CaptureMovesWithNoticeToTheLoser)
{
    CBaseWindow first;
    CBaseWindow second;
    ASSERT_TRUE(CreateWindow(first));
    ASSERT_TRUE(CreateWindow(second));
    EXPECT_EQ(first.SetCapture(), nullptr);
    EXPECT_EQ(second.SetCapture(), &first);
    EXPECT_EQ(CWnd::GetCapture(), &second);
    EXPECT_EQ(first.received, (std::vector<Received>{{WM_CAPTURECHANGED, 0, LPARAM(&second)}}));
    CWnd::ReleaseCapture();
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(second.received, (std::vector<Received>{{WM_CAPTURECHANGED, 0, 0}}));
    second.SetCapture();
    second.DestroyWindow();
    EXPECT_EQ(CWnd::GetCapture(), nullptr) << "a destroyed window holds no capture";
}

TEST(Wnd, CloseOnlyClosesThroughTheDefaultHandling)
{
    CBaseWindow wnd;
    ASSERT_TRUE(CreateWindow(wnd));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wnd.GetSafeHwnd()));
    EXPECT_FALSE(wnd.GetSafeHwnd()->close());
    EXPECT_TRUE(wnd.IsWindowVisible());
    wnd.closeByDefault = true;
    EXPECT_TRUE(wnd.GetSafeHwnd()->close());
    EXPECT_FALSE(wnd.IsWindowVisible());
    EXPECT_EQ(wnd.received.size(), 2u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !wnd.IsWindow(); }, 5000))
        << "a window closed from outside is destroyed, not only hidden";
}

namespace
{
constexpr UINT HandledCommand = 100;
constexpr UINT EchoedCommand = 101;
constexpr UINT UnknownCommand = 102;

// Handles two commands; the second it sends back down to the child that handed it on.
class CCommandParent : public CWnd
{
public:
    std::vector<UINT> commands;
    CWnd* echoTo = nullptr;

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnCommand(HandledCommand, &CCommandParent::OnHandled),
            OnCommand(EchoedCommand, &CCommandParent::OnHandled),
        };
        static const MessageMap map{CWnd::GetMessageMap(), entries};
        return &map;
    }
    LRESULT OnHandled(WPARAM wParam, LPARAM)
    {
        commands.push_back(LOWORD(wParam));
        if (LOWORD(wParam) == EchoedCommand && echoTo)
            echoTo->SendMessage(WM_COMMAND, wParam, 0);
        return 0;
    }
};
} // namespace

// A command a child window does not handle climbs to the window that does, through any number of
// windows between; it never leaves a top-level window, and a handler that hands it back down does
// not start a loop.
TEST(Wnd, UnhandledCommandGoesOnToTheParentUpToTheTopLevelWindow)
{
    CCommandParent owner;
    ASSERT_TRUE(CreateWindow(owner));
    CCommandParent top;
    ASSERT_TRUE(top.Create(QString(), QString(), WS_POPUP, CRect(0, 0, 50, 50), &owner, 0));
    CWnd bar;
    ASSERT_TRUE(bar.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &top, 1));
    CWnd button;
    ASSERT_TRUE(button.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &bar, 2));

    button.SendMessage(WM_COMMAND, HandledCommand);
    EXPECT_EQ(top.commands, (std::vector<UINT>{HandledCommand}));
    top.echoTo = &bar;
    bar.SendMessage(WM_COMMAND, EchoedCommand);
    EXPECT_EQ(top.commands, (std::vector<UINT>{HandledCommand, EchoedCommand}));
    button.SendMessage(WM_COMMAND, UnknownCommand);
    EXPECT_EQ(top.commands.size(), 2u);

    CWnd plainTop;
    ASSERT_TRUE(plainTop.Create(QString(), QString(), WS_POPUP, CRect(0, 0, 50, 50), &owner, 0));
    CWnd plainChild;
    ASSERT_TRUE(
        plainChild.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 9, 9), &plainTop, 3));
    plainChild.SendMessage(WM_COMMAND, HandledCommand);
    EXPECT_TRUE(owner.commands.empty()) << "a top-level window hands nothing to its owner";
}

TEST(Wnd, ChildWindowsAreFoundByIdAndPlacedInClientCoordinates)
{
    CBaseWindow parent;
    ASSERT_TRUE(CreateWindow(parent));
    CBaseWindow child;
    ASSERT_TRUE(child.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(10, 5, 40, 25), &parent, 33));
    EXPECT_EQ(parent.GetDlgItem(33), &child);
    EXPECT_EQ(parent.GetDlgItem(34), nullptr);
    EXPECT_EQ(child.GetParent(), &parent);
    CRect client;
    child.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 30, 20));
    CRect window;
    child.GetWindowRect(&window);
    parent.ScreenToClient(&window);
    EXPECT_EQ(window, CRect(10, 5, 40, 25));
    CBaseWindow orphan;
    EXPECT_FALSE(orphan.Create(QString(), QString(), WS_CHILD, CRect(0, 0, 1, 1), nullptr, 1))
        << "a child needs a parent";
}

TEST(Wnd, ChildWithoutVisibleStyleStaysHiddenWhenItsParentShows)
{
    CBaseWindow parent;
    ASSERT_TRUE(parent.Create(QString(), QString(), 0, CRect(0, 0, 100, 60), nullptr, 0));
    CBaseWindow hidden;
    CBaseWindow shown;
    ASSERT_TRUE(hidden.Create(QString(), QString(), WS_CHILD, CRect(0, 0, 10, 10), &parent, 1));
    ASSERT_TRUE(shown.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 2));
    parent.ShowWindow(SW_SHOW);
    EXPECT_FALSE(hidden.IsWindowVisible());
    EXPECT_TRUE(shown.IsWindowVisible());
}

namespace
{
// Records the mouse messages it gets; with passOn it hands each one to the default handling.
class CMouseWindow : public CWnd
{
public:
    std::vector<UINT> received;
    bool passOn = false;

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnMessage(WM_LBUTTONDOWN, &CMouseWindow::OnLButtonDown),
            OnMessage(WM_LBUTTONUP, &CMouseWindow::OnLButtonUp),
            OnMessage(WM_RBUTTONDOWN, &CMouseWindow::OnRButtonDown),
            OnMessage(WM_RBUTTONUP, &CMouseWindow::OnRButtonUp),
            OnMessage(WM_MOUSEMOVE, &CMouseWindow::OnMouseMove),
        };
        static const MessageMap map{CWnd::GetMessageMap(), entries};
        return &map;
    }
    LRESULT Record(UINT message)
    {
        received.push_back(message);
        return passOn ? Default() : 0;
    }
    LRESULT OnLButtonDown(WPARAM, LPARAM) { return Record(WM_LBUTTONDOWN); }
    LRESULT OnLButtonUp(WPARAM, LPARAM) { return Record(WM_LBUTTONUP); }
    LRESULT OnRButtonDown(WPARAM, LPARAM) { return Record(WM_RBUTTONDOWN); }
    LRESULT OnRButtonUp(WPARAM, LPARAM) { return Record(WM_RBUTTONUP); }
    LRESULT OnMouseMove(WPARAM, LPARAM) { return Record(WM_MOUSEMOVE); }
};

struct ChildMouseCase
{
    const char* what;
    void (*act)(QWidget* child, QPoint point);
    bool childEnabled;
    std::vector<UINT> child;
    std::vector<UINT> parent;
};
} // namespace

TEST(Wnd, MouseInputOfAChildNeverReachesItsParentUnlessTheChildIsDisabled)
{
    static const ChildMouseCase cases[] = {
        {"left click",
         [](QWidget* w, QPoint p) { QTest::mouseClick(w, Qt::LeftButton, {}, p); },
         true,
         {WM_LBUTTONDOWN, WM_LBUTTONUP},
         {}},
        {"right click",
         [](QWidget* w, QPoint p) { QTest::mouseClick(w, Qt::RightButton, {}, p); },
         true,
         {WM_RBUTTONDOWN, WM_RBUTTONUP},
         {}},
        {"double click",
         [](QWidget* w, QPoint p) { QTest::mouseDClick(w, Qt::LeftButton, {}, p); },
         true,
         {WM_LBUTTONDOWN},
         {}},
        {"move",
         [](QWidget* w, QPoint p) { QTest::mouseMove(w, p + QPoint(3, 2)); },
         true,
         {WM_MOUSEMOVE},
         {}},
        // A disabled child takes no mouse input: the press is the parent's, as it is on the desktop.
        {"left click on a disabled child",
         [](QWidget* w, QPoint p) { QTest::mouseClick(w, Qt::LeftButton, {}, p); },
         false,
         {},
         {WM_LBUTTONDOWN, WM_LBUTTONUP}},
    };
    for (const ChildMouseCase& c : cases)
    {
        CMouseWindow parent;
        ASSERT_TRUE(parent.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 120, 80), nullptr, 0));
        CMouseWindow child;
        ASSERT_TRUE(
            child.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(20, 10, 80, 50), &parent, 1));
        child.passOn = true;
        child.EnableWindow(c.childEnabled);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.GetSafeHwnd()));
        const QPoint point(10, 10);
        QTest::mouseMove(child.GetSafeHwnd(), point);
        child.received.clear();
        parent.received.clear();
        c.act(child.GetSafeHwnd(), point);
        EXPECT_EQ(child.received, c.child) << c.what;
        EXPECT_EQ(parent.received, c.parent) << c.what;
    }
}
