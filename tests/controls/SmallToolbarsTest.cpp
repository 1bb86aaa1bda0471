#include "ControlArtifacts.h"
#include "ToolbarTestSupport.h"
#include "controls/ToolbarHelp.h"
#include "controls/ToolbarSummary.h"
#include "controls/ToolbarUsers.h"

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
    const std::vector<UINT> ids = {32953, 32954, 0, 32955, 0, UINT(-1), 4711, 32956};
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
    EXPECT_EQ(mainWnd.CommandIds(), (std::vector<UINT>{32953, 32954, 32955, 32956}));

    mainWnd.states[32953] = {false, 0};
    toolbar.SendMessage(UM_IDLE, 0, 0);
    EXPECT_EQ(mainWnd.updates, (std::vector<UINT>{32953, 32954}));
    EXPECT_FALSE(Item(toolbar, 32953)->IsWindowEnabled());
    SaveControlArtifact(toolbar, "toolbar_help.png");
}

TEST_F(SmallToolbars, SummaryToolbarSendsItsPagesAndRefreshesThem)
{
    CToolbarSummary toolbar;
    ASSERT_TRUE(CreateToolbar(toolbar, 600, 25));
    EXPECT_EQ(ShownIds(toolbar), (std::vector<UINT>{32985, 32986, 0, 32783}));
    for (UINT id : {32985u, 32986u, 32783u})
        ClickItem(toolbar, id);
    EXPECT_EQ(mainWnd.CommandIds(), (std::vector<UINT>{32985, 32986, 32783}));
    mainWnd.states[32986] = {true, 1};
    const QImage unchecked = Grab(*Item(toolbar, 32986));
    toolbar.SendMessage(UM_IDLE, 0, 0);
    EXPECT_EQ(mainWnd.updates, (std::vector<UINT>{32985, 32986}));
    EXPECT_NE(Grab(*Item(toolbar, 32986)), unchecked) << "checked shows the pressed face";
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
         {32903, 32905, 32906, 0, 32902, 0, 32987, 32990, 32783, UINT(-1), 50000},
         {32903, 32905, 32906, 32902, 32990},
         "toolbar_users_list.png"},
        {0,
         {32903, 32905, 32906, 0, 32902, 32781, 32782, 0, 32783, UINT(-1), 50000},
         {32903, 32905, 32906, 32902},
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
