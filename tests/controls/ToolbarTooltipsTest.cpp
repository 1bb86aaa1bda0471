#include "ToolbarTestSupport.h"
#include "controls/CommandIds.h"
#include "controls/ToolbarHelp.h"
#include "controls/ToolbarSummary.h"
#include "controls/ToolbarUsers.h"
#include "editor/LayoutCommandIds.h"

#include <gtest/gtest.h>

TEST_F(ToolbarTooltips, EveryButtonTellsItsCommand)
{
    CToolbarHelp help;
    ASSERT_TRUE(CreateToolbar(help, 700, 25));
    Expect(help, {{ID_HELP_BACK, "Back"},
                  {ID_HELP_FORWARD, "Forward"},
                  {ID_HELP_START_PAGE, "Goto Start"},
                  {ID_HELP_SEARCH, "Search"}});

    CToolbarSummary summary;
    ASSERT_TRUE(CreateToolbar(summary, 700, 25));
    Expect(summary, {{ID_VIEW_REPORT_OVERVIEW, "Overview"},
                     {ID_VIEW_REPORT_TRACKING, "Tracking"},
                     {ID_LAYOUT_HELP, "Help"}});

    CToolbarUsers list(1);
    ASSERT_TRUE(CreateToolbar(list, 700, 56));
    Expect(list, {{ID_RECIPIENTS_ADD, "Add Recipient"},
                  {ID_RECIPIENTS_PROPERTIES, "Edit Recipient(s)"},
                  {ID_RECIPIENTS_DELETE, "Delete Recipient(s)"},
                  {ID_RECIPIENTS_IMPORT, "Import Recipients (emails) from source"},
                  {ID_MAILING_LIST_SETTINGS, "Mailing List Settings"},
                  {ID_MAILING_LIST_UPDATE, "Update Dynamic Mailing List"},
                  {ID_LAYOUT_HELP, "Help"}});
    CToolbarUsers recipients(0);
    ASSERT_TRUE(CreateToolbar(recipients, 700, 56));
    Expect(recipients, {{ID_RECIPIENTS_ADD, "Add Recipient"},
                        {ID_RECIPIENTS_PROPERTIES, "Edit Recipient(s)"},
                        {ID_RECIPIENTS_DELETE, "Delete Recipient(s)"},
                        {ID_RECIPIENTS_IMPORT, "Import Recipients (emails) from source"},
                        {ID_TEST_SEND, "Test Send Newsletter"},
                        {ID_SEND, "Send Newsletter"},
                        {ID_LAYOUT_HELP, "Help"}});
}

TEST_F(ToolbarTooltips, TextButtonsAndLabelsShowTheirTexts)
{
    const TextCase cases[] = {
        {[] { return std::make_unique<CToolbarHelp>(); }, false, {" Search:"}},
        {[] { return std::make_unique<CToolbarSummary>(); },
         false,
         {"Overview", "Recipient Activity Tracking"}},
        {[] { return std::make_unique<CToolbarUsers>(1); },
         false,
         {"Add", "Edit", "Delete", "Import", "Settings", "Update", " Filter:"}},
        {[] { return std::make_unique<CToolbarUsers>(0); },
         false,
         {"Add", "Edit", "Delete", "Import", "Test Send", "Send", " Filter:"}},
    };
    for (const TextCase& c : cases)
        ExpectTexts(c);
}
