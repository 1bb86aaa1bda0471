#include "ToolbarTestSupport.h"
#include "controls/ToolbarHelp.h"
#include "controls/ToolbarSummary.h"
#include "controls/ToolbarUsers.h"

#include <gtest/gtest.h>

TEST_F(ToolbarTooltips, EveryButtonTellsItsCommand)
{
    CToolbarHelp help;
    ASSERT_TRUE(CreateToolbar(help, 700, 25));
    Expect(help, {{32953, "Back"}, {32954, "Forward"}, {32955, "Goto Start"}, {32956, "Search"}});

    CToolbarSummary summary;
    ASSERT_TRUE(CreateToolbar(summary, 700, 25));
    Expect(summary, {{32985, "Overview"}, {32986, "Tracking"}, {32783, "Help"}});

    CToolbarUsers list(1);
    ASSERT_TRUE(CreateToolbar(list, 700, 56));
    Expect(list, {{32903, "Add Recipient"},
                  {32905, "Edit Recipient(s)"},
                  {32906, "Delete Recipient(s)"},
                  {32902, "Import Recipients (emails) from source"},
                  {32987, "Mailing List Settings"},
                  {32990, "Update Dynamic Mailing List"},
                  {32783, "Help"}});
    CToolbarUsers recipients(0);
    ASSERT_TRUE(CreateToolbar(recipients, 700, 56));
    Expect(recipients, {{32903, "Add Recipient"},
                        {32905, "Edit Recipient(s)"},
                        {32906, "Delete Recipient(s)"},
                        {32902, "Import Recipients (emails) from source"},
                        {32781, "Test Send Newsletter"},
                        {32782, "Send Newsletter"},
                        {32783, "Help"}});
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
