#include "ControlArtifacts.h"
#include "ToolbarTestSupport.h"
#include "controls/CommandIds.h"
#include "controls/ToolbarHelp.h"
#include "controls/ToolbarSummary.h"
#include "controls/ToolbarUsers.h"
#include "editor/LayoutCommandIds.h"

#include <gtest/gtest.h>

namespace
{
class SmallToolbars : public ToolbarFixture
{
};

// The field's place inside its toolbar.
CRect FieldPlace(const CWnd& toolbar, const CWnd& field)
{
    CRect rect;
    field.GetWindowRect(&rect);
    toolbar.ScreenToClient(&rect);
    return rect;
}
} // namespace

TEST_F(SmallToolbars, HelpToolbarSendsItsCommandsAndLeavesTheSearchTextToTheHelpWindow)
{
    CToolbarHelp toolbar;
    ASSERT_TRUE(CreateToolbar(toolbar, 700, 25));
    const std::vector<UINT> ids = {ID_HELP_BACK, ID_HELP_FORWARD, 0, ID_HELP_START_PAGE, 0, UINT(-1),
                                   4711,         ID_HELP_SEARCH};
    EXPECT_EQ(ShownIds(toolbar), ids);
    const CRect field = FieldPlace(toolbar, *toolbar.GetSearchField());
    EXPECT_EQ(field.top, 3);
    EXPECT_EQ(field.Width(), 200);

    QWidget* edit = toolbar.GetSearchField()->GetSafeHwnd();
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClicks(edit, QStringLiteral("merge field"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(mainWnd.commands.empty());
    EXPECT_EQ(toolbar.GetSearchText(), QStringLiteral("merge field"));

    for (UINT id : {32953u, 32954u, 32955u, 32956u})
        ClickItem(toolbar, id);
    EXPECT_EQ(mainWnd.CommandIds(),
              (std::vector<UINT>{ID_HELP_BACK, ID_HELP_FORWARD, ID_HELP_START_PAGE, ID_HELP_SEARCH}));

    mainWnd.states[ID_HELP_BACK] = {false, 0};
    toolbar.SendMessage(UM_IDLE, 0, 0);
    EXPECT_EQ(mainWnd.updates, (std::vector<UINT>{ID_HELP_BACK, ID_HELP_FORWARD}));
    EXPECT_FALSE(Item(toolbar, ID_HELP_BACK)->IsWindowEnabled());
    SaveControlArtifact(toolbar, "toolbar_help.png");
}

TEST_F(SmallToolbars, SummaryToolbarSendsItsPagesAndRefreshesThem)
{
    CToolbarSummary toolbar;
    ASSERT_TRUE(CreateToolbar(toolbar, 600, 25));
    EXPECT_EQ(ShownIds(toolbar),
              (std::vector<UINT>{ID_VIEW_REPORT_OVERVIEW, ID_VIEW_REPORT_TRACKING, 0, ID_LAYOUT_HELP}));
    for (UINT id : {32985u, 32986u, 32783u})
        ClickItem(toolbar, id);
    EXPECT_EQ(mainWnd.CommandIds(),
              (std::vector<UINT>{ID_VIEW_REPORT_OVERVIEW, ID_VIEW_REPORT_TRACKING, ID_LAYOUT_HELP}));
    mainWnd.states[ID_VIEW_REPORT_TRACKING] = {true, 1};
    const QImage unchecked = Grab(*Item(toolbar, ID_VIEW_REPORT_TRACKING));
    toolbar.SendMessage(UM_IDLE, 0, 0);
    EXPECT_EQ(mainWnd.updates, (std::vector<UINT>{ID_VIEW_REPORT_OVERVIEW, ID_VIEW_REPORT_TRACKING}));
    EXPECT_NE(Grab(*Item(toolbar, ID_VIEW_REPORT_TRACKING)), unchecked) << "checked shows the pressed face";
    SaveControlArtifact(toolbar, "toolbar_summary.png");
}

TEST_F(SmallToolbars, RecipientsToolbarHasTheButtonsOfItsDocumentKind)
{
    struct Case
    {
        BYTE mailingList;
        std::vector<UINT> ids;
        std::vector<UINT> updated;
        const char* artifact;
    };
    const Case cases[] = {
        {1,
         {ID_RECIPIENTS_ADD, ID_RECIPIENTS_PROPERTIES, ID_RECIPIENTS_DELETE, 0, ID_RECIPIENTS_IMPORT, 0,
          ID_MAILING_LIST_SETTINGS, ID_MAILING_LIST_UPDATE, ID_LAYOUT_HELP, UINT(-1), 50000},
         {ID_RECIPIENTS_ADD, ID_RECIPIENTS_PROPERTIES, ID_RECIPIENTS_DELETE, ID_RECIPIENTS_IMPORT,
          ID_MAILING_LIST_UPDATE},
         "toolbar_users_list.png"},
        {0,
         {ID_RECIPIENTS_ADD, ID_RECIPIENTS_PROPERTIES, ID_RECIPIENTS_DELETE, 0, ID_RECIPIENTS_IMPORT,
          ID_TEST_SEND, ID_SEND, 0, ID_LAYOUT_HELP, UINT(-1), 50000},
         {ID_RECIPIENTS_ADD, ID_RECIPIENTS_PROPERTIES, ID_RECIPIENTS_DELETE, ID_RECIPIENTS_IMPORT},
         "toolbar_users_newsletter.png"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.artifact);
        mainWnd.commands.clear();
        mainWnd.updates.clear();
        CToolbarUsers toolbar(c.mailingList);
        ASSERT_TRUE(CreateToolbar(toolbar, 700, 56));
        EXPECT_EQ(ShownIds(toolbar), c.ids);
        EXPECT_EQ(toolbar.CalcHeight(), 56);
        // The filter field fills the second row up to the right margin.
        EXPECT_EQ(FieldPlace(toolbar, *toolbar.GetFilterField()).right, 695);
        EXPECT_EQ(FieldPlace(toolbar, *toolbar.GetFilterField()).top, 34);
        std::vector<UINT> clicked;
        for (UINT id : c.ids)
        {
            if (id != 0 && id != UINT(-1) && id != 50000)
            {
                ClickItem(toolbar, id);
                clicked.push_back(id);
            }
        }
        EXPECT_EQ(mainWnd.CommandIds(), clicked);
        toolbar.SendMessage(UM_IDLE, 0, 0);
        EXPECT_EQ(mainWnd.updates, c.updated);
        QTest::keyClicks(toolbar.GetFilterField()->GetSafeHwnd(), QStringLiteral("ann"));
        SaveControlArtifact(toolbar, c.artifact);
    }
}

TEST_F(SmallToolbars, FilterFieldReportsEveryChangeToTheParent)
{
    CToolbarUsers toolbar(0);
    ASSERT_TRUE(CreateToolbar(toolbar, 700, 56));
    toolbar.ClearFilter();
    EXPECT_TRUE(mainWnd.messages.empty());

    QWidget* field = toolbar.GetFilterField()->GetSafeHwnd();
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClicks(field, QStringLiteral("bo"));
    QTest::keyClick(field, Qt::Key_Backspace);
    toolbar.ClearFilter();
    const std::vector<std::pair<UINT, QString>> expected = {
        {UM_FILTER_CHANGED, QStringLiteral("b")},
        {UM_FILTER_CHANGED, QStringLiteral("bo")},
        {UM_FILTER_CHANGED, QStringLiteral("b")},
        {UM_FILTER_CHANGED, QString()},
    };
    EXPECT_EQ(mainWnd.messages, expected);
    EXPECT_TRUE(mainWnd.commands.empty());
}
