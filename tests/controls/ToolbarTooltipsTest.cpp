#include "ToolbarTestSupport.h"
#include "controls/KVStatic.h"
#include "controls/ToolbarHelp.h"
#include "controls/ToolbarLayout.h"
#include "controls/ToolbarSummary.h"
#include "controls/ToolbarUsers.h"

#include <functional>
#include <gtest/gtest.h>

namespace
{
class ToolbarTooltips : public ToolbarFixture
{
protected:
    using Tips = std::vector<std::pair<UINT, const char*>>;

    // Every shown button, in table order, with its tooltip; dividers, labels and fields are left out.
    static Tips ShownTips(const CToolbarBase& toolbar)
    {
        Tips tips;
        for (const CToolbarItem& item : toolbar.GetItems())
        {
            const auto* button = dynamic_cast<const CKVImageButton*>(item.window.get());
            if (!button || !button->IsWindowVisible() || button->GetDlgCtrlID() == 0)
                continue;
            tips.emplace_back(UINT(button->GetDlgCtrlID()), nullptr);
        }
        return tips;
    }
    void Expect(const CToolbarBase& toolbar, const Tips& expected)
    {
        const Tips shown = ShownTips(toolbar);
        ASSERT_EQ(shown.size(), expected.size());
        for (std::size_t i = 0; i < shown.size(); ++i)
        {
            SCOPED_TRACE(expected[i].first);
            EXPECT_EQ(shown[i].first, expected[i].first);
            EXPECT_EQ(TipOf(Item(toolbar, shown[i].first)), QString::fromUtf8(expected[i].second));
        }
    }
};
} // namespace

TEST_F(ToolbarTooltips, EveryButtonTellsItsCommand)
{
    CToolbarLayout layout(nullptr);
    ASSERT_TRUE(CreateToolbar(layout, 900, 56));
    Expect(layout, {{32775, "Edit Layout"},
                    {32780, "Email Settings"},
                    {32781, "Test Send Newsletter"},
                    {32782, "Send Newsletter"},
                    {32783, "Help"}});
    layout.SetEditMode();
    Expect(layout, {{32776, "Save Layout"},
                    {32777, "Cancel Layout"},
                    {32797, "Insert Link"},
                    {32795, "Insert Image"},
                    {32778, "Organize Color Palette"},
                    {32798, "Insert Table"},
                    {32799, "Insert Box"},
                    {32800, "Insert Horzontal Line"},
                    {32801, "Outdent"},
                    {32802, "Increase Indent"},
                    {32803, "Ordered List"},
                    {32804, "Unordered List"},
                    {32815, "Use Text Color"},
                    {32965, "Select Text Color"},
                    {32816, "Use fill color"},
                    {32967, "Select Fill Color"},
                    {32817, "Content Screening"},
                    {32783, "Help"},
                    {32887, "Manage Styles"},
                    {32786, "Bold"},
                    {32787, "Italic"},
                    {32805, "Align Text Left"},
                    {32806, "Align Text Center"},
                    {32807, "Align Text Right"},
                    {32808, "Justify"}});

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
    struct Case
    {
        std::function<std::unique_ptr<CToolbarBase>()> make;
        bool editMode;
        std::vector<const char*> texts;
    };
    const Case cases[] = {
        {[] { return std::make_unique<CToolbarLayout>(nullptr); },
         false,
         {"Edit Layout", "Email Settings", "Test Send", "Send"}},
        {[] { return std::make_unique<CToolbarLayout>(nullptr); }, true, {"Save", "Cancel", "Spam Check"}},
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
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.texts.front());
        std::unique_ptr<CToolbarBase> toolbar = c.make();
        ASSERT_TRUE(CreateToolbar(*toolbar, 900, 56));
        if (c.editMode)
            toolbar->SetEditMode();
        std::vector<QString> shown;
        for (const CToolbarItem& item : toolbar->GetItems())
        {
            if (!item.window || !item.window->IsWindowVisible())
                continue;
            if (const auto* button = dynamic_cast<const CKVImageButton*>(item.window.get()))
            {
                if (!button->GetText().isEmpty())
                    shown.push_back(button->GetText());
            }
            else if (const auto* label = dynamic_cast<const CKVStatic*>(item.window.get()))
            {
                shown.push_back(label->m_text);
                // The label is exactly as wide as its text.
                EXPECT_EQ(item.width,
                          const_cast<CKVStatic*>(label)->GetNormalFont().GetTextExtent(label->m_text).cx);
            }
        }
        std::vector<QString> expected;
        for (const char* text : c.texts)
            expected.push_back(QString::fromUtf8(text));
        EXPECT_EQ(shown, expected);
    }
}
