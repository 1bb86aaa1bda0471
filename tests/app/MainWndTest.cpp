#include "ShellTestSupport.h"

#include "app/ShortcutStore.h"
#include "base/ArchiveFile.h"
#include "ndb/NdbShortcuts.h"
#include "platform/ui/CmdUI.h"

#include <QFile>
#include <QFileInfo>

using namespace ShellTest;

namespace
{
// Records what the command route decides about one command.
class RecordingCmdUI : public CCmdUI
{
public:
    void Enable(bool on = true) override
    {
        enabled = on;
        m_bEnableChanged = true;
    }
    void SetCheck(int check = 1) override { checked = check; }

    std::optional<bool> enabled;
    std::optional<int> checked;
};

RecordingCmdUI Update(CMainWnd& window, UINT id)
{
    RecordingCmdUI cmdUI;
    cmdUI.m_nID = id;
    cmdUI.DoUpdate(&window, false);
    return cmdUI;
}

bool WriteTypedMailingList(const QString& path, std::optional<int> kind)
{
    ndb::CNdbMailGroup list(QFileInfo(path).baseName());
    if (kind)
        list.SetField(ndb::MailGroupKind, ndb::CNdbFieldValue(ndb::NdbValueMailGroupKind, *kind));
    return list.Save(path, QStringLiteral("Kelvora"), 2007, 1);
}

QStringList RecentItems(CMainWnd& window)
{
    QStringList items;
    auto* bar = window.GetSafeHwnd()->findChild<QMenuBar*>();
    QMenu* file = bar->actions().first()->menu();
    file->popup(bar->mapToGlobal(QPoint(0, bar->height())));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(file));
    for (QAction* action : file->actions())
    {
        if (action->text() != "Open &Recent")
            continue;
        file->setActiveAction(action);
        QTest::keyClick(file, Qt::Key_Right);
        // An empty pop-up does not open, but it has been filled.
        (void)QTest::qWaitFor([&] { return action->menu()->isVisible(); }, 500);
        for (QAction* item : action->menu()->actions())
            items << item->text();
    }
    file->close();
    return items;
}
} // namespace

TEST_F(ShellProgram, MenuBarHoldsTheCommandsWithTheirTexts)
{
    CMainWnd& window = StartProgram();
    auto* bar = window.GetSafeHwnd()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QStringList titles;
    for (QAction* action : bar->actions())
        titles << action->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&View", "&Insert", "&Format", "&Tools", "&Help"}));

    const std::pair<UINT, const char*> items[] = {
        {32779, "&Create Newsletter..."},
        {32928, "&Organize Newsletters..."},
        {32944, "&Create Mailing List..."},
        {32927, "&Organize Mailing Lists..."},
        {32896, " &Intro Menu..."},
        {57601, "&Open..."},
        {57602, "&Close"},
        {57603, "&Save"},
        {32888, "Save &As..."},
        {32771, "&Exit"},
        {57607, "&Print..."},
        {32964, "&Print Preview..."},
        {57643, "&Undo\tCtrl+Z"},
        {57644, "&Redo\tCtrl+Y"},
        {57635, "&Cut\tCtrl+X"},
        {57634, "&Copy\tCtrl+C"},
        {57637, "&Paste\tCtrl+V"},
        {32872, "&Paste as text\tCtrl+Shift+V"},
        {32890, "Select &All\tCtrl+A"},
        {32775, "&Edit"},
        {32776, "&Save"},
        {32777, "&Cancel"},
        {32780, "&Email Settings..."},
        {32903, "&Add Recipient"},
        {32905, "&Edit Recipient(s)"},
        {32906, "Delete Recipient(s)"},
        {32902, "&Import Recipients"},
        {32987, "&Mailing List Settings..."},
        {32990, "&Update Dynamic Mailing List"},
        {32772, "&Email"},
        {32773, "&Subscribers"},
        {32985, "Overview"},
        {32986, "Tracking"},
        {32970, "&Show Navigation Pane"},
        {32843, "Email"},
        {32825, "Middle Name"},
        {32850, "Phone (Mobile)"},
        {32851, "Url"},
        {32842, "Field 4"},
        {32795, "Image..."},
        {32800, "Horisontal Line"},
        {32882, "Bookmark..."},
        {32786, "Bold\tCtrl+B"},
        {32816, "Fill Color"},
        {32808, "Align Full"},
        {32887, "&Styles..."},
        {32778, "Color &Palette..."},
        {32817, "Spam Check..."},
        {32873, "&Reset Format"},
        {32782, "&Send..."},
        {32781, "&Test Send..."},
        {32901, "&Settings for Test Send..."},
        {33030, "Manage &Quorvane..."},
        {33032, "Check for &Updates"},
        {33033, "&Automatically Check for Updates"},
        {32946, "&Contents...\tF1"},
        {32994, "View Tutorial..."},
        {32991, "View Intro Movie..."},
        {32993, "Visit Us Online..."},
        {32949, "Online Support..."},
        {32951, "About Kelvora..."},
    };
    CMenu* menu = window.GetMenu();
    ASSERT_NE(menu, nullptr);
    for (const auto& [id, text] : items)
        EXPECT_EQ(menu->GetMenuString(id, MF_BYCOMMAND), QString::fromUtf8(text)) << id;
}

TEST_F(ShellProgram, TheUpdateHandlerEnablesCommandsByWhatIsOpenAndShown)
{
    const QString letter = Document("June.kvnl");
    ASSERT_TRUE(WriteNewsletter(letter, "June"));
    ASSERT_TRUE(WriteTypedMailingList(Document("Static.kvmg"), 0));
    ASSERT_TRUE(WriteTypedMailingList(Document("Untyped.kvmg"), {}));
    ASSERT_TRUE(WriteTypedMailingList(Document("Dynamic.kvmg"), 1));
    CMainWnd& window = StartProgram();

    const UINT ids[] = {57601, 57602, 32888, 32775, 32776, 32903, 57635, 32987, 32990, 33032};
    struct Case
    {
        const char* name;
        std::function<void()> open;
        std::vector<bool> enabled;
    };
    const Case cases[] = {
        {"nothing open", [&] { window.CloseDocument(); }, {1, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"newsletter", [&] { window.OpenNewsletter(letter); }, {1, 1, 1, 1, 0, 0, 0, 0, 0, 0}},
        {"its recipients page (Ctrl+2)",
         [&] { PressKey(window, Qt::Key_2, Qt::ControlModifier); },
         {1, 1, 1, 0, 0, 1, 1, 0, 0, 0}},
        {"static mailing list",
         [&] { window.OpenMailingList(Document("Static.kvmg")); },
         {1, 1, 0, 0, 0, 1, 1, 1, 0, 0}},
        {"mailing list without a type",
         [&] { window.OpenMailingList(Document("Untyped.kvmg")); },
         {1, 1, 0, 0, 0, 1, 1, 1, 0, 0}},
        {"dynamic mailing list",
         [&] { window.OpenMailingList(Document("Dynamic.kvmg")); },
         {1, 1, 0, 0, 0, 0, 0, 1, 1, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        c.open();
        for (std::size_t i = 0; i < std::size(ids); ++i)
            EXPECT_EQ(Update(window, ids[i]).enabled, std::optional<bool>(c.enabled[i])) << ids[i];
    }
    EXPECT_EQ(Update(window, 32815).enabled, std::nullopt)
        << "a command the table does not name keeps its state";

    // The same in the menu the user opens.
    window.CloseDocument();
    EXPECT_FALSE(FindMenuItem(window, "&File", "&Close").enabled);
    EXPECT_TRUE(FindMenuItem(window, "&File", "&Open...").enabled);
}

TEST_F(ShellProgram, AutomaticUpdateIsCheckedAndToggledInTheSettings)
{
    CMainWnd& window = StartProgram();
    EXPECT_EQ(Update(window, 33033).checked, 1) << "absent counts as on";
    ASSERT_TRUE(ChooseMenuItem(window, {"&Tools", "&Automatically Check for Updates"}));
    quint32 value = 1;
    ASSERT_TRUE(ReadAppSettingDword(HKEY_LOCAL_MACHINE, "UpdateOnStart", value));
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(Update(window, 33033).checked, 0);
}

TEST_F(ShellProgram, TheToolsMenuRunsItsDialogsAndAnUpdateMayEndTheProgram)
{
    CMainWnd& window = StartProgram();
    std::vector<std::pair<CWnd*, bool>> updates;
    bool endProgram = false;
    ShellHooks::Get().runUpdate = [&](CWnd* parent, bool automatic)
    {
        updates.emplace_back(parent, automatic);
        return endProgram;
    };
    CWnd* accountsParent = nullptr;
    ShellHooks::Get().runSiteAccounts = [&](CWnd* parent) { accountsParent = parent; };

    ASSERT_TRUE(ChooseMenuItem(window, {"&Tools", "Manage &Quorvane..."}));
    EXPECT_EQ(accountsParent, &window);

    ASSERT_TRUE(ChooseMenuItem(window, {"&Tools", "Check for &Updates"}));
    AwaitQueuedEvents();
    EXPECT_TRUE(window.IsWindow()) << "an update that needs no end keeps the program";
    endProgram = true;
    ASSERT_TRUE(ChooseMenuItem(window, {"&Tools", "Check for &Updates"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_app->GetMainWnd()->IsWindow(); }, 5000))
        << "the update ends the program";
    const std::vector<std::pair<CWnd*, bool>> manual(2, {&window, false});
    EXPECT_EQ(updates, manual) << "a manual check with the main window as parent";
}

TEST_F(ShellProgram, OpenRecentListsTheFiveNewestFilesNewestFirst)
{
    QStringList paths;
    for (int i = 1; i <= 6; ++i)
    {
        paths << Document(QStringLiteral("Letter%1.kvnl").arg(i));
        ASSERT_TRUE(WriteNewsletter(paths.last(), QStringLiteral("Letter %1").arg(i)));
    }
    CMainWnd& window = StartProgram();
    EXPECT_TRUE(RecentItems(window).isEmpty());
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(window.OpenNewsletter(paths[i]));
    EXPECT_EQ(RecentItems(window), QStringList({paths[2], paths[1], paths[0]}));
    for (int i = 3; i < 6; ++i)
        ASSERT_TRUE(window.OpenNewsletter(paths[i]));
    EXPECT_EQ(RecentItems(window), QStringList({paths[5], paths[4], paths[3], paths[2], paths[1]}));

    // Choosing the third newest moves it to the top without a second entry.
    ASSERT_TRUE(ChooseMenuItem(window, {"&File", "Open &Recent", paths[3]}));
    EXPECT_EQ(m_app->GetContext()->GetCurrentNewsletter()->GetPath(), paths[3]);
    EXPECT_EQ(RecentItems(window), QStringList({paths[3], paths[5], paths[4], paths[2], paths[1]}));
    EXPECT_EQ(m_app->GetContext()->GetShortcuts().Newsletters().GetCount(), 6) << "one shortcut per document";

    // A file deleted on disk is gone at the next start, from the list and from the folders.
    window.CloseDocument();
    StopProgram();
    ASSERT_TRUE(QFile::remove(paths[4]));
    CMainWnd& again = StartProgram();
    EXPECT_EQ(RecentItems(again), QStringList({paths[3], paths[5], paths[2], paths[1]}));
    EXPECT_EQ(
        ndb::CNdbShortcuts::FindLinkByTarget(paths[4], m_app->GetContext()->GetShortcuts().Newsletters()),
        nullptr);
}

TEST_F(ShellProgram, CommandsReachTheDocumentViewBeforeTheMainWindow)
{
    const QString letter = Document("June.kvnl");
    ASSERT_TRUE(WriteNewsletter(letter, "June"));
    CMainWnd& window = StartProgram();
    CViewNewsletter& view = window.GetNewsletterView();
    EXPECT_EQ(view.GetVisiblePage(), 0);
    ASSERT_TRUE(window.OpenNewsletter(letter));
    EXPECT_EQ(view.GetVisiblePage(), 1);
    PressKey(window, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(view.GetVisiblePage(), 3);
    EXPECT_TRUE(view.GetLayout().GetSafeHwnd()->isHidden());
    PressKey(window, Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(view.GetVisiblePage(), 2);
    EXPECT_EQ(view.GetTabStrip().m_currentTab->commandId, ID_VIEW_SUBSCRIBERS);
    PressKey(window, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(view.GetVisiblePage(), 1);
    EXPECT_FALSE(view.GetLayout().GetSafeHwnd()->isHidden());
    EXPECT_EQ(view.GetTabStrip().m_currentTab->commandId, ID_VIEW_EMAIL);
    PressKey(window, Qt::Key_3, Qt::ControlModifier);
    ASSERT_TRUE(ChooseMenuItem(window, {"&View", "&Subscribers"}));
    EXPECT_EQ(view.GetVisiblePage(), 2);
    EXPECT_EQ(view.GetTabStrip().m_currentTab->commandId, ID_VIEW_SUBSCRIBERS);
    // A click on a tab sends its command the same way.
    const CKVTabButtonList& strip = view.GetTabStrip();
    QTest::mouseClick(strip.GetSafeHwnd(), Qt::LeftButton, {}, strip.GetTab(0)->rect.ToQRect().center());
    EXPECT_EQ(view.GetVisiblePage(), 1);
    EXPECT_FALSE(view.GetLayout().GetSafeHwnd()->isHidden());

    // A document change shows the first page again.
    PressKey(window, Qt::Key_2, Qt::ControlModifier);
    window.CloseDocument();
    ASSERT_TRUE(window.OpenNewsletter(letter));
    EXPECT_EQ(view.GetVisiblePage(), 1);
    EXPECT_EQ(view.GetTabStrip().m_currentTab->commandId, ID_VIEW_EMAIL);
}

TEST_F(ShellProgram, NavigationPaneIsCollapsedAndShownAgainAtLeastFiftyWide)
{
    CMainWnd& window = StartProgram();
    CHorizontalSplitterWnd& splitter = window.GetSplitter();
    EXPECT_TRUE(FindMenuItem(window, "&View", "&Show Navigation Pane").checked);
    ASSERT_TRUE(ChooseMenuItem(window, {"&View", "&Show Navigation Pane"}));
    EXPECT_TRUE(splitter.IsCollapsed());
    EXPECT_EQ(window.GetNavigationView().GetSafeHwnd()->width(), 0);
    EXPECT_FALSE(FindMenuItem(window, "&View", "&Show Navigation Pane").checked);

    splitter.SetSplitPosition(20);
    ASSERT_TRUE(ChooseMenuItem(window, {"&View", "&Show Navigation Pane"}));
    EXPECT_FALSE(splitter.IsCollapsed());
    EXPECT_EQ(splitter.GetSplitPosition(), 50);
    EXPECT_EQ(window.GetNavigationView().GetSafeHwnd()->width(), 50);
}

TEST_F(ShellProgram, HelpOpensOnF1AndJoinsTheCommandRouteWhileItIsOpen)
{
    CMainWnd& window = StartProgram();
    EXPECT_EQ(window.GetHelpWindow(), nullptr);
    EXPECT_EQ(Update(window, 32953).enabled, std::nullopt) << "no window handles the help's Back yet";

    PressKey(window, Qt::Key_F1);
    CWndHelp* help = window.GetHelpWindow();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->IsWindow());
    EXPECT_TRUE(QTest::qWaitForWindowExposed(help->GetSafeHwnd()));
    EXPECT_EQ(help->GetWindowText(), "Kelvora Help");
    EXPECT_EQ(Update(window, 32953).enabled, std::optional<bool>(false))
        << "the help window cannot go back yet";

    // Closing it destroys only the window; the next request makes a new one.
    help->SendMessage(WM_CLOSE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !help->IsWindow(); }, 5000));
    EXPECT_EQ(Update(window, 32953).enabled, std::nullopt);
    ASSERT_TRUE(ChooseMenuItem(window, {"&Help", "View Tutorial..."}));
    ASSERT_NE(window.GetHelpWindow(), nullptr);
    EXPECT_TRUE(window.GetHelpWindow()->IsWindow());
}
