#include "platform/ui/Menu.h"
#include "platform/ui/Wnd.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
constexpr UINT OpenId = 57601;
constexpr UINT SaveId = 57603;
constexpr UINT RecentId = 32801;

// File: Open, separator, Save; Recent: one entry.
std::unique_ptr<CMenu> MakeMenu()
{
    auto file = std::make_unique<CMenu>();
    file->CreatePopupMenu();
    file->AppendMenu(MF_STRING, OpenId, "&Open...\tCtrl+O");
    file->AppendMenu(MF_SEPARATOR);
    file->AppendMenu(MF_STRING, SaveId, "&Save\tCtrl+S");
    auto recent = std::make_unique<CMenu>();
    recent->CreatePopupMenu();
    recent->AppendMenu(MF_STRING, RecentId, "1 letter.kvnl");
    file->AppendPopup("Open &Recent", std::move(recent));
    auto bar = std::make_unique<CMenu>();
    bar->CreatePopupMenu();
    bar->AppendPopup("&File", std::move(file));
    return bar;
}

// Records WM_INITMENUPOPUP and the commands it gets; can remove an item while its pop-up opens.
class COwner : public CWnd
{
public:
    std::vector<CMenu*> initialised;
    std::vector<UINT> commands;
    UINT removeOnInit = 0;

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnMessage(WM_INITMENUPOPUP, &COwner::OnInitMenuPopup),
            OnCommand(OpenId, &COwner::OnOpen),
            OnCommand(SaveId, &COwner::OnSave),
        };
        static const MessageMap map{CWnd::GetMessageMap(), entries};
        return &map;
    }
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM)
    {
        auto* menu = reinterpret_cast<CMenu*>(wParam);
        initialised.push_back(menu);
        if (removeOnInit)
            menu->RemoveMenu(removeOnInit, MF_BYCOMMAND);
        return 0;
    }
    LRESULT OnOpen(WPARAM, LPARAM)
    {
        commands.push_back(OpenId);
        return 0;
    }
    LRESULT OnSave(WPARAM, LPARAM)
    {
        commands.push_back(SaveId);
        return 0;
    }
};

// Chooses the action with that text in the pop-up menu that is showing, once it shows.
void ChooseWhenShown(const QString& text)
{
    QTimer::singleShot(0,
                       [text]
                       {
                           auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                           ASSERT_NE(menu, nullptr);
                           for (QAction* action : menu->actions())
                               if (action->text() == text)
                                   action->trigger();
                           menu->close();
                       });
}
} // namespace

TEST(Menu, ItemsAreFoundByCommandThroughPopupsAndByPosition)
{
    const auto bar = MakeMenu();
    CMenu* file = bar->GetSubMenu(0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetMenuItemCount(), 4);
    EXPECT_EQ(file->GetMenuItemID(0), OpenId);
    EXPECT_EQ(file->GetMenuItemID(1), 0u);
    EXPECT_EQ(file->GetMenuItemID(3), static_cast<UINT>(-1));
    EXPECT_EQ(bar->GetMenuString(RecentId, MF_BYCOMMAND), "1 letter.kvnl");
    EXPECT_EQ(bar->GetMenuState(1, MF_BYPOSITION), static_cast<UINT>(-1));

    EXPECT_EQ(bar->EnableMenuItem(SaveId, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(bar->CheckMenuItem(SaveId, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(file->GetMenuState(2, MF_BYPOSITION), MF_GRAYED | MF_CHECKED);

    EXPECT_TRUE(bar->RemoveMenu(RecentId, MF_BYCOMMAND));
    EXPECT_EQ(file->GetSubMenu(3)->GetMenuItemCount(), 0);
    EXPECT_FALSE(bar->RemoveMenu(RecentId, MF_BYCOMMAND));
    EXPECT_EQ(bar->EnableMenuItem(RecentId, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST(Menu, TrackingReturnsTheChosenCommandAfterTheOwnerChangedThePopup)
{
    COwner owner;
    ASSERT_TRUE(owner.Create({}, {}, WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    const auto bar = MakeMenu();
    CMenu* file = bar->GetSubMenu(0);
    owner.removeOnInit = OpenId;

    ChooseWhenShown("&Save\tCtrl+S");
    EXPECT_EQ(file->TrackPopupMenu(TPM_RETURNCMD, 10, 10, &owner), SaveId);
    ASSERT_EQ(owner.initialised.size(), 1u);
    EXPECT_EQ(owner.initialised[0], file);
    EXPECT_EQ(file->GetMenuItemID(0), 0u) << "the owner's removal is what the menu shows";
    EXPECT_TRUE(owner.commands.empty()) << "a returned command is not also sent";
}

TEST(Menu, TrackingWithoutReturnPostsTheCommandToTheOwner)
{
    COwner owner;
    ASSERT_TRUE(owner.Create({}, {}, WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    const auto bar = MakeMenu();

    ChooseWhenShown("&Open...\tCtrl+O");
    EXPECT_NE(bar->GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN, 10, 10, &owner), 0u);
    EXPECT_TRUE(owner.commands.empty()) << "posted, not sent";
    QApplication::processEvents();
    EXPECT_EQ(owner.commands, std::vector<UINT>{OpenId});

    QTimer::singleShot(0, [] { QApplication::activePopupWidget()->close(); });
    EXPECT_EQ(bar->GetSubMenu(0)->TrackPopupMenu(TPM_RETURNCMD, 10, 10, &owner), 0u);
}

TEST(Menu, MissingMenuResourceFailsToLoad)
{
    CMenu menu;
    EXPECT_FALSE(menu.LoadMenu(1));
    CAcceleratorTable table;
    EXPECT_FALSE(table.Load(1));
}
