#include "ShellTestSupport.h"

#include "app/ShortcutStore.h"
#include "base/ArchiveFile.h"
#include "controls/CommandIds.h"
#include "editor/LayoutCommandIds.h"
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
        {ID_FILE_CREATE_NEWSLETTER, "&Create Newsletter..."},
        {ID_FILE_ORGANIZE_NEWSLETTERS, "&Organize Newsletters..."},
        {ID_FILE_CREATE_MAILING_LIST, "&Create Mailing List..."},
        {ID_FILE_ORGANIZE_MAILING_LISTS, "&Organize Mailing Lists..."},
        {ID_FILE_INTRO_MENU, " &Intro Menu..."},
        {ID_FILE_OPEN, "&Open..."},
        {ID_FILE_CLOSE, "&Close"},
        {ID_FILE_SAVE, "&Save"},
        {ID_FILE_SAVE_AS, "Save &As..."},
        {ID_APP_EXIT, "&Exit"},
        {ID_FILE_PRINT, "&Print..."},
        {ID_FILE_PRINT_PREVIEW, "&Print Preview..."},
        {ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
        {ID_EDIT_REDO, "&Redo\tCtrl+Y"},
        {ID_EDIT_CUT, "&Cut\tCtrl+X"},
        {ID_EDIT_COPY, "&Copy\tCtrl+C"},
        {ID_EDIT_PASTE, "&Paste\tCtrl+V"},
        {ID_PASTE_AS_TEXT, "&Paste as text\tCtrl+Shift+V"},
        {ID_EDIT_SELECT_ALL, "Select &All\tCtrl+A"},
        {ID_LAYOUT_EDIT, "&Edit"},
        {ID_LAYOUT_SAVE, "&Save"},
        {ID_LAYOUT_CANCEL, "&Cancel"},
        {ID_EMAIL_SETTINGS, "&Email Settings..."},
        {ID_RECIPIENTS_ADD, "&Add Recipient"},
        {ID_RECIPIENTS_PROPERTIES, "&Edit Recipient(s)"},
        {ID_RECIPIENTS_DELETE, "Delete Recipient(s)"},
        {ID_RECIPIENTS_IMPORT, "&Import Recipients"},
        {ID_MAILING_LIST_SETTINGS, "&Mailing List Settings..."},
        {ID_MAILING_LIST_UPDATE, "&Update Dynamic Mailing List"},
        {ID_VIEW_EMAIL, "&Email"},
        {ID_VIEW_SUBSCRIBERS, "&Subscribers"},
        {ID_VIEW_REPORT_OVERVIEW, "Overview"},
        {ID_VIEW_REPORT_TRACKING, "Tracking"},
        {ID_VIEW_NAVIGATION_PANE, "&Show Navigation Pane"},
        {ID_MERGE_EMAIL, "Email"},
        {ID_MERGE_MIDDLE_NAME, "Middle Name"},
        {ID_MERGE_MOBILE_PHONE, "Phone (Mobile)"},
        {ID_MERGE_URL, "Url"},
        {ID_MERGE_FIELD_4, "Field 4"},
        {ID_INSERT_IMAGE, "Image..."},
        {ID_INSERT_RULE, "Horisontal Line"},
        {ID_INSERT_BOOKMARK, "Bookmark..."},
        {ID_BOLD, "Bold\tCtrl+B"},
        {ID_FILL_COLOR, "Fill Color"},
        {ID_ALIGN_FULL, "Align Full"},
        {ID_FORMAT_STYLES, "&Styles..."},
        {ID_FORMAT_PALETTE, "Color &Palette..."},
        {ID_SPAM_CHECK, "Spam Check..."},
        {ID_REMOVE_FORMAT, "&Reset Format"},
        {ID_SEND, "&Send..."},
        {ID_TEST_SEND, "&Test Send..."},
        {ID_TEST_SEND_SETTINGS, "&Settings for Test Send..."},
        {ID_TOOLS_SITE_ACCOUNTS, "Manage &Quorvane..."},
        {ID_TOOLS_CHECK_UPDATES, "Check for &Updates"},
        {ID_TOOLS_AUTO_UPDATE, "&Automatically Check for Updates"},
        {ID_HELP_CONTENTS, "&Contents...\tF1"},
        {ID_HELP_TUTORIAL, "View Tutorial..."},
        {ID_HELP_INTRO_MOVIE, "View Intro Movie..."},
        {ID_HELP_VISIT, "Visit Us Online..."},
        {ID_HELP_SUPPORT, "Online Support..."},
        {ID_HELP_ABOUT, "About Kelvora..."},
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

    const UINT ids[] = {
        ID_FILE_OPEN,           ID_FILE_CLOSE,         ID_FILE_SAVE_AS, ID_LAYOUT_EDIT,
        ID_LAYOUT_SAVE,         ID_RECIPIENTS_ADD,     ID_EDIT_CUT,     ID_MAILING_LIST_SETTINGS,
        ID_MAILING_LIST_UPDATE, ID_TOOLS_CHECK_UPDATES};
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
    EXPECT_EQ(Update(window, ID_TEXT_COLOR).enabled, std::nullopt)
        << "a command the table does not name keeps its state";

    // The same in the menu the user opens.
    window.CloseDocument();
    EXPECT_FALSE(FindMenuItem(window, "&File", "&Close").enabled);
    EXPECT_TRUE(FindMenuItem(window, "&File", "&Open...").enabled);
}

TEST_F(ShellProgram, AutomaticUpdateIsCheckedAndToggledInTheSettings)
{
    CMainWnd& window = StartProgram();
    EXPECT_EQ(Update(window, ID_TOOLS_AUTO_UPDATE).checked, 1) << "absent counts as on";
    ASSERT_TRUE(ChooseMenuItem(window, {"&Tools", "&Automatically Check for Updates"}));
    quint32 value = 1;
    ASSERT_TRUE(ReadAppSettingDword(HKEY_LOCAL_MACHINE, "UpdateOnStart", value));
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(Update(window, ID_TOOLS_AUTO_UPDATE).checked, 0);
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
    EXPECT_EQ(Update(window, ID_HELP_BACK).enabled, std::nullopt) << "no window handles the help's Back yet";

    PressKey(window, Qt::Key_F1);
    CWndHelp* help = window.GetHelpWindow();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->IsWindow());
    EXPECT_TRUE(QTest::qWaitForWindowExposed(help->GetSafeHwnd()));
    EXPECT_EQ(help->GetWindowText(), "Kelvora Help");
    EXPECT_EQ(Update(window, ID_HELP_BACK).enabled, std::optional<bool>(false))
        << "the help window cannot go back yet";

    // Closing it destroys only the window; the next request makes a new one.
    help->SendMessage(WM_CLOSE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !help->IsWindow(); }, 5000));
    EXPECT_EQ(Update(window, ID_HELP_BACK).enabled, std::nullopt);
    ASSERT_TRUE(ChooseMenuItem(window, {"&Help", "View Tutorial..."}));
    ASSERT_NE(window.GetHelpWindow(), nullptr);
    EXPECT_TRUE(window.GetHelpWindow()->IsWindow());
}
