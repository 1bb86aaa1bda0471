#include "editor/ToolbarLayout.h"
#include "app/KVContext.h"
#include "controls/CommandIds.h"
#include "controls/ControlArtifacts.h"
#include "controls/ToolbarTestSupport.h"
#include "editor/LayoutCommandIds.h"
#include "ndb/NdbMailGroup.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbStyle.h"

#include <gtest/gtest.h>

namespace
{
class LayoutToolbar : public ToolbarFixture
{
protected:
    void SetUp() override
    {
        ToolbarFixture::SetUp();
        auto newsletter = std::make_unique<ndb::CNdbNewsletter>();
        newsletter->EnsureDefaultStyles();
        context.SetCurrentDocument(std::move(newsletter));
        ASSERT_TRUE(CreateToolbar(toolbar, 900, 56));
    }
    ndb::CNdbNewsletter* Newsletter() { return context.GetCurrentNewsletter(); }
    void EditMode()
    {
        toolbar.SetEditMode();
        QCoreApplication::processEvents();
    }

    CKVContext context;
    CToolbarLayout toolbar{&context};
};
} // namespace

TEST_F(LayoutToolbar, ViewModeShowsItsSixItemsAndEditModeItsTwoRows)
{
    const std::vector<UINT> viewMode = {ID_LAYOUT_EDIT, ID_EMAIL_SETTINGS, ID_TEST_SEND, ID_SEND, 0,
                                        ID_LAYOUT_HELP};
    EXPECT_EQ(ShownIds(toolbar), viewMode);
    EXPECT_EQ(toolbar.CalcHeight(), 25);
    SaveControlArtifact(toolbar, "toolbar_layout_view.png");

    EditMode();
    const std::vector<UINT> editMode = {ID_LAYOUT_SAVE,      ID_LAYOUT_CANCEL,
                                        ID_INSERT_LINK,      ID_INSERT_IMAGE,
                                        ID_FORMAT_PALETTE,   ID_INSERT_TABLE,
                                        ID_INSERT_BOX,       ID_INSERT_RULE,
                                        ID_OUTDENT,          ID_INDENT,
                                        ID_ORDERED_LIST,     ID_UNORDERED_LIST,
                                        ID_TEXT_COLOR,       ID_SELECT_TEXT_COLOR,
                                        ID_FILL_COLOR,       ID_SELECT_FILL_COLOR,
                                        ID_SPAM_CHECK,       0,
                                        ID_LAYOUT_HELP,      ID_FORMAT_STYLES,
                                        ID_LAYOUT_STYLES,    ID_LAYOUT_FONT_FAMILY,
                                        ID_LAYOUT_FONT_SIZE, ID_BOLD,
                                        ID_ITALIC,           ID_ALIGN_LEFT,
                                        ID_ALIGN_CENTER,     ID_ALIGN_RIGHT,
                                        ID_ALIGN_FULL};
    EXPECT_EQ(ShownIds(toolbar), editMode);
    EXPECT_EQ(toolbar.CalcHeight(), 56);
    EXPECT_EQ(toolbar.GetTextColorButton()->GetDlgCtrlID(), ID_TEXT_COLOR);
    EXPECT_EQ(toolbar.GetFillColorButton()->GetDlgCtrlID(), ID_FILL_COLOR);
    // The pickers sit one pixel below the top of the second row, 120, 160 and 100 wide.
    struct Case
    {
        CWnd* box;
        int width;
    };
    const Case cases[] = {
        {toolbar.GetStyleCombo(), 120}, {toolbar.GetFontCombo(), 160}, {toolbar.GetSizeCombo(), 100}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.width);
        const CRect place = PlaceIn(toolbar, *c.box);
        EXPECT_EQ(place.top, 33);
        EXPECT_EQ(place.Width(), c.width);
    }
    toolbar.FillStyleCombo();
    toolbar.ShowStyleOf(QStringLiteral("h1"));
    toolbar.ShowFontName(QStringLiteral("DejaVu Sans"));
    toolbar.ShowFontSize(12);
    SaveControlArtifact(toolbar, "toolbar_layout_edit.png");

    // Save or Cancel: the editor stores set 0 and shows it again.
    toolbar.m_currentSet = 0;
    toolbar.ShowCurrentSet();
    EXPECT_EQ(ShownIds(toolbar), viewMode);
}

TEST_F(LayoutToolbar, ButtonsSendTheirCommandsToTheMainWindow)
{
    for (UINT id : {32775u, 32780u, 32781u, 32782u, 32783u})
        ClickItem(toolbar, id);
    EditMode();
    for (UINT id : {32776u, 32797u, 32815u, 32967u, 32817u, 32887u, 32786u, 32808u})
        ClickItem(toolbar, id);
    const std::vector<UINT> expected = {ID_LAYOUT_EDIT, ID_EMAIL_SETTINGS, ID_TEST_SEND,
                                        ID_SEND,        ID_LAYOUT_HELP,    ID_LAYOUT_SAVE,
                                        ID_INSERT_LINK, ID_TEXT_COLOR,     ID_SELECT_FILL_COLOR,
                                        ID_SPAM_CHECK,  ID_FORMAT_STYLES,  ID_BOLD,
                                        ID_ALIGN_FULL};
    EXPECT_EQ(mainWnd.CommandIds(), expected);
    for (const auto& [wParam, lParam] : mainWnd.commands)
        EXPECT_EQ(lParam, 0);
}

TEST_F(LayoutToolbar, StyleComboListsTheNewslettersStylesByDisplayName)
{
    toolbar.FillStyleCombo();
    CComboBox* box = toolbar.GetStyleCombo();
    ASSERT_EQ(box->GetCount(), int(Newsletter()->Styles().size()));
    ASSERT_GT(box->GetCount(), 1);
    for (int i = 0; i < box->GetCount(); ++i)
    {
        const auto* style = reinterpret_cast<const ndb::CNdbStyle*>(box->GetItemData(i));
        ASSERT_NE(style, nullptr);
        EXPECT_EQ(box->GetLBText(i), style->GetString(ndb::StyleDisplayName));
        if (i > 0)
        {
            EXPECT_LE(QString::compare(box->GetLBText(i - 1), box->GetLBText(i), Qt::CaseInsensitive), 0);
        }
    }
    EXPECT_EQ(toolbar.GetSelectedStyle(), nullptr);

    // A mailing list has no styles: the box is emptied.
    context.SetCurrentDocument(std::make_unique<ndb::CNdbMailGroup>());
    toolbar.FillStyleCombo();
    EXPECT_EQ(box->GetCount(), 0);
}

TEST_F(LayoutToolbar, ChoosingInAPickerSendsItsIdAndTheEditorReadsTheChoice)
{
    toolbar.FillStyleCombo();
    EditMode();
    struct Case
    {
        CComboBox* box;
        UINT id;
    };
    const Case cases[] = {{toolbar.GetStyleCombo(), ID_LAYOUT_STYLES},
                          {toolbar.GetFontCombo(), ID_LAYOUT_FONT_FAMILY},
                          {toolbar.GetSizeCombo(), ID_LAYOUT_FONT_SIZE}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.id);
        ASSERT_GT(c.box->GetCount(), 0);
        mainWnd.commands.clear();
        QTest::mouseClick(c.box->GetSafeHwnd(), Qt::LeftButton, {}, QPoint(5, 5));
        ClosePopups();
        QTest::keyClick(c.box->GetSafeHwnd(), Qt::Key_Down);
        ASSERT_EQ(mainWnd.CommandIds(), std::vector<UINT>{c.id});
        EXPECT_EQ(mainWnd.commands[0].second, 0);
    }
    EXPECT_EQ(toolbar.GetSelectedStyle(),
              reinterpret_cast<ndb::CNdbStyle*>(
                  toolbar.GetStyleCombo()->GetItemData(toolbar.GetStyleCombo()->GetCurSel())));
    EXPECT_NE(toolbar.GetSelectedStyle(), nullptr);
    EXPECT_EQ(toolbar.GetSelectedFont(),
              toolbar.GetFontCombo()->GetLBText(toolbar.GetFontCombo()->GetCurSel()));
    EXPECT_FALSE(toolbar.GetSelectedFont().isEmpty());
    // The first size entry is "Default", which reads as 0; the next one is 6.
    EXPECT_EQ(toolbar.GetSizeCombo()->GetCurSel(), 0);
    EXPECT_EQ(toolbar.GetSelectedFontSize(), 0);
    mainWnd.commands.clear();
    QTest::keyClick(toolbar.GetSizeCombo()->GetSafeHwnd(), Qt::Key_Down);
    EXPECT_EQ(mainWnd.CommandIds(), std::vector<UINT>{ID_LAYOUT_FONT_SIZE});
    EXPECT_EQ(toolbar.GetSelectedFontSize(), 6);
}

TEST_F(LayoutToolbar, SizeBoxHoldsItsEntriesAndTypedTextReportsNothing)
{
    CComboBox* box = toolbar.GetSizeCombo();
    const QStringList entries = {"Default", "6",  "7",  "8",  "9",  "10", "11", "12", "14", "16",
                                 "18",      "20", "22", "24", "26", "28", "32", "36", "48", "72"};
    ASSERT_EQ(box->GetCount(), entries.size());
    for (int i = 0; i < box->GetCount(); ++i)
    {
        EXPECT_EQ(box->GetLBText(i), entries[i]);
        EXPECT_EQ(box->GetItemData(i), UINT_PTR(i == 0 ? 0 : entries[i].toInt()));
    }
    EXPECT_EQ(box->GetWindowText(), QStringLiteral("10"));
    EXPECT_EQ(box->GetCurSel(), -1);
    EXPECT_EQ(toolbar.GetSelectedFontSize(), 0);

    EditMode();
    box->SetCurSel(7);
    QTest::mouseClick(box->GetSafeHwnd(), Qt::LeftButton, {}, QPoint(10, 5));
    ClosePopups();
    QTest::keyClick(box->GetSafeHwnd(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box->GetSafeHwnd(), QStringLiteral("13"));
    QTest::mouseClick(toolbar.GetFontCombo()->GetSafeHwnd(), Qt::LeftButton, {}, QPoint(10, 5));
    ClosePopups();
    EXPECT_TRUE(mainWnd.commands.empty());
    EXPECT_EQ(box->GetWindowText(), QStringLiteral("13"));
    EXPECT_EQ(box->GetCurSel(), 7);
    EXPECT_EQ(toolbar.GetSelectedFontSize(), 12);
}

TEST_F(LayoutToolbar, ShowOperationsFollowTheCaret)
{
    toolbar.FillStyleCombo();
    CComboBox* styles = toolbar.GetStyleCombo();
    ndb::CNdbStyle* h1 = Newsletter()->FindStyleByTag(QStringLiteral("h1"));
    ASSERT_NE(h1, nullptr);
    toolbar.ShowStyleOf(QStringLiteral("h1"));
    EXPECT_EQ(toolbar.GetSelectedStyle(), h1);

    // A style the box does not list yet leaves the selection as it is.
    auto late = std::make_unique<ndb::CNdbStyle>();
    ASSERT_TRUE(late->SetField(ndb::StyleRuleName, ndb::CNdbFieldValue(QStringLiteral("c1005"))));
    ASSERT_TRUE(late->SetField(ndb::StyleDisplayName, ndb::CNdbFieldValue(QStringLiteral("Late"))));
    Newsletter()->SetStyle(QStringLiteral("late"), std::move(late));
    toolbar.ShowStyleOf(QStringLiteral("c1005"));
    EXPECT_EQ(toolbar.GetSelectedStyle(), h1);
    // A tag without style clears it.
    toolbar.ShowStyleOf(QStringLiteral("blink"));
    EXPECT_EQ(styles->GetCurSel(), -1);

    CKVFontSelectCB* fonts = toolbar.GetFontCombo();
    ASSERT_GT(fonts->GetCount(), 0);
    const QString first = fonts->GetLBText(fonts->GetCount() - 1);
    toolbar.ShowFontName(first.left(3).toLower());
    EXPECT_EQ(toolbar.GetSelectedFont().left(3).toLower(), first.left(3).toLower());
    toolbar.ShowFontName(QStringLiteral("No Such Font At All"));
    EXPECT_EQ(fonts->GetCurSel(), -1);

    struct SizeCase
    {
        int size;
        const char* text;
    };
    for (const SizeCase& c :
         {SizeCase{14, "14"}, SizeCase{0, "Default"}, SizeCase{-3, "Default"}, SizeCase{13, "13"}})
    {
        toolbar.ShowFontSize(c.size);
        EXPECT_EQ(toolbar.GetSizeCombo()->GetWindowText(), QString::fromLatin1(c.text));
    }
    EXPECT_TRUE(mainWnd.commands.empty());
}

TEST_F(LayoutToolbar, FirstIdlePassRefreshesMarkedItemsButNotABoxInUse)
{
    EditMode();
    mainWnd.states[ID_BOLD] = {false, 0};
    mainWnd.states[ID_OUTDENT] = {true, 1};
    mainWnd.states[ID_LAYOUT_EDIT] = {false, 0}; // not marked for updates
    const QImage unchecked = Grab(*Item(toolbar, ID_OUTDENT));
    toolbar.SendMessage(UM_IDLE, 0, 3);
    EXPECT_TRUE(mainWnd.updates.empty());
    toolbar.SendMessage(UM_IDLE, 0, 0);
    EXPECT_FALSE(Item(toolbar, ID_BOLD)->IsWindowEnabled());
    EXPECT_NE(Grab(*Item(toolbar, ID_OUTDENT)), unchecked) << "checked shows the pressed face";
    const std::vector<UINT> marked = {ID_OUTDENT,
                                      ID_INDENT,
                                      ID_ORDERED_LIST,
                                      ID_UNORDERED_LIST,
                                      ID_SELECT_TEXT_COLOR,
                                      ID_SELECT_FILL_COLOR,
                                      ID_LAYOUT_STYLES,
                                      ID_LAYOUT_FONT_FAMILY,
                                      ID_LAYOUT_FONT_SIZE,
                                      ID_BOLD,
                                      ID_ITALIC,
                                      ID_ALIGN_LEFT,
                                      ID_ALIGN_CENTER,
                                      ID_ALIGN_RIGHT,
                                      ID_ALIGN_FULL};
    EXPECT_EQ(mainWnd.updates, marked);

    // While the font box has the focus the idle pass leaves it alone; afterwards it refreshes it again.
    QTest::mouseClick(toolbar.GetFontCombo()->GetSafeHwnd(), Qt::LeftButton, {}, QPoint(10, 5));
    ClosePopups();
    mainWnd.updates.clear();
    toolbar.SendMessage(UM_IDLE, 0, 0);
    EXPECT_EQ(std::count(mainWnd.updates.begin(), mainWnd.updates.end(), 32893u), 0);
    QTest::mouseClick(toolbar.GetSizeCombo()->GetSafeHwnd(), Qt::LeftButton, {}, QPoint(10, 5));
    ClosePopups();
    mainWnd.updates.clear();
    toolbar.SendMessage(UM_IDLE, 0, 0);
    EXPECT_EQ(std::count(mainWnd.updates.begin(), mainWnd.updates.end(), 32893u), 1);
    EXPECT_EQ(std::count(mainWnd.updates.begin(), mainWnd.updates.end(), 32894u), 0);
}

TEST_F(ToolbarTooltips, EveryLayoutButtonTellsItsCommand)
{
    CToolbarLayout layout(nullptr);
    ASSERT_TRUE(CreateToolbar(layout, 900, 56));
    Expect(layout, {{ID_LAYOUT_EDIT, "Edit Layout"},
                    {ID_EMAIL_SETTINGS, "Email Settings"},
                    {ID_TEST_SEND, "Test Send Newsletter"},
                    {ID_SEND, "Send Newsletter"},
                    {ID_LAYOUT_HELP, "Help"}});
    layout.SetEditMode();
    Expect(layout, {{ID_LAYOUT_SAVE, "Save Layout"},
                    {ID_LAYOUT_CANCEL, "Cancel Layout"},
                    {ID_INSERT_LINK, "Insert Link"},
                    {ID_INSERT_IMAGE, "Insert Image"},
                    {ID_FORMAT_PALETTE, "Organize Color Palette"},
                    {ID_INSERT_TABLE, "Insert Table"},
                    {ID_INSERT_BOX, "Insert Box"},
                    {ID_INSERT_RULE, "Insert Horzontal Line"},
                    {ID_OUTDENT, "Outdent"},
                    {ID_INDENT, "Increase Indent"},
                    {ID_ORDERED_LIST, "Ordered List"},
                    {ID_UNORDERED_LIST, "Unordered List"},
                    {ID_TEXT_COLOR, "Use Text Color"},
                    {ID_SELECT_TEXT_COLOR, "Select Text Color"},
                    {ID_FILL_COLOR, "Use fill color"},
                    {ID_SELECT_FILL_COLOR, "Select Fill Color"},
                    {ID_SPAM_CHECK, "Content Screening"},
                    {ID_LAYOUT_HELP, "Help"},
                    {ID_FORMAT_STYLES, "Manage Styles"},
                    {ID_BOLD, "Bold"},
                    {ID_ITALIC, "Italic"},
                    {ID_ALIGN_LEFT, "Align Text Left"},
                    {ID_ALIGN_CENTER, "Align Text Center"},
                    {ID_ALIGN_RIGHT, "Align Text Right"},
                    {ID_ALIGN_FULL, "Justify"}});
}

TEST_F(ToolbarTooltips, LayoutTextButtonsShowTheirTexts)
{
    const TextCase cases[] = {
        {[] { return std::make_unique<CToolbarLayout>(nullptr); },
         false,
         {"Edit Layout", "Email Settings", "Test Send", "Send"}},
        {[] { return std::make_unique<CToolbarLayout>(nullptr); }, true, {"Save", "Cancel", "Spam Check"}},
    };
    for (const TextCase& c : cases)
        ExpectTexts(c);
}
