#include "platform/ui/CmdUI.h"
#include "platform/ui/Wnd.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
constexpr UINT HandledId = 32786;
constexpr UINT OtherId = 32787;

// Answers the update of HandledId (disabled and checked) and records the command itself.
class CTarget : public CWnd
{
public:
    int updates = 0;
    int commands = 0;

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnUpdateCommand(HandledId, &CTarget::OnUpdateHandled),
            OnCommand(HandledId, &CTarget::OnHandled),
        };
        static const MessageMap map{CWnd::GetMessageMap(), entries};
        return &map;
    }
    void OnUpdateHandled(CCmdUI* cmdUI)
    {
        ++updates;
        cmdUI->Enable(false);
        cmdUI->SetCheck(1);
    }
    LRESULT OnHandled(WPARAM, LPARAM)
    {
        ++commands;
        return 0;
    }
};

// Routes commands to a pane first, as the main window hands them on.
class CRouter : public CWnd
{
public:
    CWnd* pane = nullptr;
    bool OnCmdMsg(UINT id, UINT code) override
    {
        if (pane && pane->OnCmdMsg(id, code))
            return true;
        return CWnd::OnCmdMsg(id, code);
    }
};

// A window that may claim to be a button and records the checks it gets.
class CItem : public CWnd
{
public:
    bool button = true;
    std::vector<WPARAM> checks;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_GETDLGCODE)
            return button ? DLGC_BUTTON : 0;
        if (message == BM_SETCHECK)
            checks.push_back(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

bool CreateTopLevel(CWnd& wnd)
{
    return wnd.Create(QString(), QString(), 0, CRect(0, 0, 50, 50), nullptr, 0);
}
} // namespace

TEST(CmdUI, UpdateHandlerAlongTheRouteReachesTheItemWindow)
{
    CTarget target;
    CRouter router;
    router.pane = &target;
    for (const bool isButton : {true, false})
    {
        SCOPED_TRACE(isButton);
        CItem item;
        item.button = isButton;
        ASSERT_TRUE(CreateTopLevel(item));
        CCmdUI cmdUI;
        cmdUI.m_nID = HandledId;
        cmdUI.m_pOther = &item;
        EXPECT_TRUE(cmdUI.DoUpdate(&router, false));
        EXPECT_FALSE(item.IsWindowEnabled());
        EXPECT_EQ(item.checks, isButton ? std::vector<WPARAM>{1} : std::vector<WPARAM>{})
            << "only buttons are checked";
    }
    EXPECT_EQ(target.updates, 2);
    EXPECT_EQ(target.commands, 0) << "an update does not run the command";
    EXPECT_EQ(CCmdUI::InProgress(), nullptr);

    router.SendMessage(WM_COMMAND, MAKEWPARAM(HandledId, 0), 0);
    EXPECT_EQ(target.commands, 1) << "the command takes the same route";
    EXPECT_EQ(target.updates, 2) << "a command does not run the update handler";
}

TEST(CmdUI, CommandWithoutUpdateHandlerIsLeftAloneUnlessAskedToDisable)
{
    CTarget target;
    CItem item;
    ASSERT_TRUE(CreateTopLevel(item));
    CCmdUI cmdUI;
    cmdUI.m_nID = OtherId;
    cmdUI.m_pOther = &item;
    EXPECT_FALSE(cmdUI.DoUpdate(&target, false));
    EXPECT_TRUE(item.IsWindowEnabled());
    EXPECT_FALSE(cmdUI.DoUpdate(&target, true));
    EXPECT_FALSE(item.IsWindowEnabled());
    EXPECT_FALSE(cmdUI.DoUpdate(nullptr, false));
}

TEST(CmdUI, MainWindowStopsBeingOneWhenDestroyed)
{
    auto wnd = std::make_unique<CTarget>();
    ASSERT_TRUE(CreateTopLevel(*wnd));
    AfxSetMainWnd(wnd.get());
    EXPECT_EQ(AfxGetMainWnd(), wnd.get());
    wnd.reset();
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    AfxSetMainWnd(nullptr);
}

TEST(CmdUI, DescendantsGetTheMessageDownToTheirOwnChildren)
{
    CItem top;
    ASSERT_TRUE(CreateTopLevel(top));
    CItem child;
    CItem grandChild;
    ASSERT_TRUE(child.Create(QString(), QString(), WS_CHILD, CRect(0, 0, 10, 10), &top, 1));
    ASSERT_TRUE(grandChild.Create(QString(), QString(), WS_CHILD, CRect(0, 0, 5, 5), &child, 2));
    top.SendMessageToDescendants(BM_SETCHECK, 7);
    EXPECT_TRUE(top.checks.empty());
    EXPECT_EQ(child.checks, std::vector<WPARAM>{7});
    EXPECT_EQ(grandChild.checks, std::vector<WPARAM>{7});
    top.SendMessageToDescendants(BM_SETCHECK, 8, 0, false);
    EXPECT_EQ(child.checks, (std::vector<WPARAM>{7, 8}));
    EXPECT_EQ(grandChild.checks, std::vector<WPARAM>{7});
}
