#include "controls/KVTreeCtrl.h"
#include "ControlArtifacts.h"

#include <gtest/gtest.h>

namespace
{
constexpr UINT TreeId = 77;

QRgb Rgb(COLORREF c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The navigation pane's part: records the tree's notifications and, when asked, acts on a left
// press the way the pane does: select the row and toggle its folder.
class CTreeOwner : public CWnd
{
public:
    struct Note
    {
        UINT message;
        WPARAM wParam;
        CKVTreeItem* item;
    };
    std::vector<Note> notes;
    CKVTreeCtrl* tree = nullptr;
    bool actOnPress = false;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != CKVTreeCtrl::NotifyLeftDown && message != CKVTreeCtrl::NotifyRightUp)
            return CWnd::WindowProc(message, wParam, lParam);
        auto* item = reinterpret_cast<CKVTreeItem*>(lParam);
        notes.push_back({message, wParam, item});
        if (actOnPress && message == CKVTreeCtrl::NotifyLeftDown && item)
        {
            tree->m_selected = item;
            item->m_expanded = !item->m_expanded;
            tree->UpdateScrollRange();
            tree->Invalidate();
        }
        return 0;
    }
};

CKVTreeItem* Add(CKVTreeItem* parent, const char* text, int folder = 0, int image = 2)
{
    auto* item = new CKVTreeItem(QString::fromLatin1(text), folder, image, 0);
    parent->m_children.push_back(item);
    return item;
}

class TreeCtrl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 260, 300), nullptr, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(owner.GetSafeHwnd()));
        ASSERT_TRUE(tree.Create(CRect(0, 0, 240, 200), &owner, TreeId));
        ASSERT_TRUE(tree.LoadIcons());
        owner.tree = &tree;
    }

    // Newsletters (Spring, Summer (Draft)), Mailing lists (Customers), Recent.
    void Fill()
    {
        letters = Add(&tree.m_root, "Newsletters", 1, 0);
        spring = Add(letters, "Spring offers");
        summer = Add(letters, "Summer", 1, 0);
        draft = Add(summer, "Draft of the summer newsletter with a long name");
        lists = Add(&tree.m_root, "Mailing lists", 1, 0);
        customers = Add(lists, "Customers", 0, 3);
        recent = Add(&tree.m_root, "Recent", 1, 4);
        tree.UpdateScrollRange();
    }

    QWidget* Widget() { return tree.GetSafeHwnd(); }
    QPoint RowPoint(int row) { return QPoint(60, 1 + 19 * row + 9 - tree.GetScrollOffset()); }
    void SetHeight(int height)
    {
        tree.MoveWindow(0, 0, 240, height);
        tree.UpdateScrollRange();
    }

    CTreeOwner owner;
    CKVTreeCtrl tree;
    CKVTreeItem* letters = nullptr;
    CKVTreeItem* spring = nullptr;
    CKVTreeItem* summer = nullptr;
    CKVTreeItem* draft = nullptr;
    CKVTreeItem* lists = nullptr;
    CKVTreeItem* customers = nullptr;
    CKVTreeItem* recent = nullptr;
};
} // namespace

TEST(TreeItem, FindsByRecordAndParentAndDeletesItsChildren)
{
    CKVTreeItem root(QString(), 1, 0, 0);
    int records[3] = {};
    CKVTreeItem* a = Add(&root, "a");
    CKVTreeItem* b = Add(a, "b");
    CKVTreeItem* c = Add(&root, "c");
    a->m_data = &records[0];
    b->m_data = &records[1];
    c->m_data = &records[1];

    EXPECT_EQ(root.FindByData(&records[1]), b) << "pre-order: the deeper b comes before c";
    EXPECT_EQ(root.FindByData(&records[2]), nullptr);
    EXPECT_EQ(root.FindByData(nullptr), &root);
    EXPECT_EQ(root.FindParent(b), a);
    EXPECT_EQ(root.FindParent(c), &root);
    EXPECT_EQ(root.FindParent(&root), nullptr);

    root.DeleteChildren();
    EXPECT_EQ(root.GetChildCount(), 0);
    EXPECT_EQ(root.FindByData(&records[0]), nullptr);
}

TEST_F(TreeCtrl, RowsFollowTheExpandedFlags)
{
    Fill();
    EXPECT_EQ(tree.CountRows(), 3);
    EXPECT_EQ(tree.ItemAtRow(1), lists);
    letters->m_expanded = true;
    EXPECT_EQ(tree.CountRows(), 5);
    EXPECT_EQ(tree.ItemAtRow(2), summer);
    EXPECT_EQ(tree.ItemAtRow(3), lists);
    EXPECT_EQ(tree.ItemAtRow(5), nullptr);
    summer->m_expanded = true;
    EXPECT_EQ(tree.GetRowOf(draft), 3);
    EXPECT_EQ(tree.GetRowOf(recent), 5);
}

TEST_F(TreeCtrl, ClicksAreReportedAndChangeNothingInside)
{
    // An empty tree: a press reports only while something is selected.
    QTest::mouseClick(Widget(), Qt::LeftButton, {}, RowPoint(0));
    EXPECT_TRUE(owner.notes.empty());
    Fill();
    tree.m_selected = letters;
    QTest::mouseClick(Widget(), Qt::LeftButton, {}, RowPoint(0));
    EXPECT_TRUE(owner.notes.empty()) << "a press on the selected row sends nothing";

    QTest::mouseClick(Widget(), Qt::LeftButton, {}, RowPoint(1));
    QTest::mouseClick(Widget(), Qt::LeftButton, {}, RowPoint(7));
    QTest::mouseClick(Widget(), Qt::RightButton, {}, RowPoint(2));
    QTest::mouseClick(Widget(), Qt::RightButton, {}, RowPoint(8));
    ASSERT_EQ(owner.notes.size(), 4u);
    EXPECT_EQ(owner.notes[0].message, 0x5501u);
    EXPECT_EQ(owner.notes[0].wParam, TreeId);
    EXPECT_EQ(owner.notes[0].item, lists);
    EXPECT_EQ(owner.notes[1].message, 0x5501u);
    EXPECT_EQ(owner.notes[1].item, nullptr);
    EXPECT_EQ(owner.notes[2].message, 0x5505u);
    EXPECT_EQ(owner.notes[2].item, recent);
    EXPECT_EQ(owner.notes[3].message, 0x5505u);
    EXPECT_EQ(owner.notes[3].item, nullptr);
    EXPECT_EQ(tree.m_selected, letters);
    EXPECT_FALSE(lists->m_expanded);
}

TEST_F(TreeCtrl, OwnerExpandsAndCollapsesOnPressAndThePaintFollows)
{
    Fill();
    owner.actOnPress = true;
    QTest::mouseClick(Widget(), Qt::LeftButton, {}, RowPoint(0));
    EXPECT_TRUE(letters->m_expanded);
    EXPECT_EQ(tree.m_selected, letters);
    EXPECT_EQ(tree.CountRows(), 5);
    QTest::mouseClick(Widget(), Qt::LeftButton, {}, RowPoint(2));
    EXPECT_EQ(tree.m_selected, summer);
    EXPECT_EQ(tree.HitTest(CPoint(RowPoint(3))), draft);

    const QImage image = Grab(tree);
    EXPECT_EQ(image.pixel(200, RowPoint(2).y()), Rgb(0x806B5D)) << "the selected row is filled";
    EXPECT_EQ(image.pixel(200, RowPoint(0).y()), Rgb(0x4D433E));
    EXPECT_EQ(image.pixel(0, 50), Rgb(0x908987)) << "the frame";
    // Summer's child Draft starts at x 1 + 34 + 34; its connector runs from Summer's line at
    // 35 + 17 to 69 at Draft's middle, and Letters' line at 18 reaches Summer's middle.
    const int draftMiddle = 1 + 19 * 3 + 9;
    EXPECT_EQ(image.pixel(60, draftMiddle), Rgb(0xA19B99));
    EXPECT_EQ(image.pixel(52, draftMiddle - 5), Rgb(0xA19B99));
    EXPECT_EQ(image.pixel(18, 1 + 19 * 1 + 2), Rgb(0xA19B99));
    EXPECT_EQ(image.pixel(18, 1 + 19 * 3 + 5), Rgb(0x4D433E)) << "no line below the last child";
    SaveControlArtifact(tree, "tree.png");

    QTest::mouseClick(Widget(), Qt::LeftButton, {}, RowPoint(0));
    EXPECT_FALSE(letters->m_expanded);
    EXPECT_EQ(tree.CountRows(), 3);
}

TEST_F(TreeCtrl, ScrollBarShowsExactlyWhenTheRowsDoNotFit)
{
    Fill();
    letters->m_expanded = summer->m_expanded = lists->m_expanded = true;
    ASSERT_EQ(tree.CountRows(), 7);
    SetHeight(7 * 19 + 2);
    EXPECT_FALSE(tree.IsScrollBarShown());
    SetHeight(7 * 19 + 1);
    EXPECT_TRUE(tree.IsScrollBarShown());
    CKVScrollBar& bar = tree.GetScrollBar();
    EXPECT_EQ(bar.m_max, 7 * 19 - 1);
    EXPECT_EQ(bar.m_page, 7 * 19 - 1);
    EXPECT_EQ(CRect::FromQRect(bar.GetSafeHwnd()->geometry()), CRect(228, 1, 239, 1 + 7 * 19 - 1));
}

TEST_F(TreeCtrl, ThumbAndArrowsScrollTheRows)
{
    Fill();
    for (int i = 0; i < 20; ++i)
        Add(recent, "old newsletter");
    recent->m_expanded = true;
    SetHeight(100);
    CKVScrollBar& bar = tree.GetScrollBar();
    ASSERT_TRUE(tree.IsScrollBarShown());
    const int range = 23 * 19;
    ASSERT_EQ(bar.m_page, 98);

    const CRect track = bar.GetTrackRect();
    CRect thumb = bar.GetThumbRect();
    EXPECT_EQ(thumb.Height(), int(double(track.Height()) * 98 / range));
    EXPECT_EQ(thumb.top, track.top);

    // Drag the thumb by the whole free track: the position runs over the whole span.
    QWidget* barWidget = bar.GetSafeHwnd();
    const QPoint grip(5, thumb.top + 2);
    QTest::mousePress(barWidget, Qt::LeftButton, {}, grip);
    QTest::mouseMove(barWidget, grip + QPoint(0, track.Height() - thumb.Height()));
    QTest::mouseRelease(barWidget, Qt::LeftButton, {}, grip + QPoint(0, track.Height() - thumb.Height()));
    EXPECT_EQ(bar.m_pos, range - 1 - 97);
    thumb = bar.GetThumbRect();
    EXPECT_EQ(thumb.bottom, track.bottom - (track.Height() - thumb.Height() - (thumb.top - track.top)));
    EXPECT_GE(thumb.bottom, track.bottom - 1);
    EXPECT_EQ(tree.HitTest(CPoint(60, 90)), tree.ItemAtRow((90 + bar.m_pos) / 19));

    // The up arrow repeats; its press alone moves one pixel.
    const int before = bar.m_pos;
    QWidget* up = barWidget->childAt(5, 5);
    ASSERT_NE(up, nullptr);
    QTest::mousePress(up, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(up, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(bar.m_pos, before - 1);

    // A press in the track above the thumb pages up.
    QTest::mouseClick(barWidget, Qt::LeftButton, {}, QPoint(5, track.top + 1));
    EXPECT_EQ(bar.m_pos, before - 1 - 98);
    EXPECT_TRUE(owner.notes.empty()) << "presses on the bar are not the tree's";
}

TEST_F(TreeCtrl, EnsureVisibleOpensTheFoldersAndScrollsTheItemIntoView)
{
    Fill();
    for (int i = 0; i < 12; ++i)
        Add(spring, "issue");
    for (int i = 0; i < 12; ++i)
        Add(summer, "issue");
    CKVTreeItem* deep = Add(summer, "deep");
    SetHeight(80);
    tree.EnsureVisible(deep);
    EXPECT_TRUE(letters->m_expanded);
    EXPECT_TRUE(summer->m_expanded);
    EXPECT_FALSE(spring->m_expanded);
    const int top = 1 + 19 * tree.GetRowOf(deep) - tree.GetScrollOffset();
    EXPECT_GE(top, 0);
    EXPECT_LE(top + 19, 80);

    // Back up to the first row: it becomes the top row.
    tree.EnsureVisible(letters);
    EXPECT_EQ(tree.GetScrollOffset(), 0);
}

TEST_F(TreeCtrl, ToolTipsShowTheTextOfTheRecordUnderThePoint)
{
    Fill();
    letters->m_expanded = true;
    int record = 0;
    spring->m_data = &record;
    spring->m_text = QString(100, QLatin1Char('x'));
    CRect rect;
    const INT_PTR id = tree.OnToolHitTest(CPoint(RowPoint(1)), &rect);
    EXPECT_EQ(id, INT_PTR(&record));
    EXPECT_EQ(rect, CRect(0, 19, 240, 38));
    EXPECT_EQ(tree.GetToolTipText(id), QString(79, QLatin1Char('x')));
    EXPECT_EQ(tree.OnToolHitTest(CPoint(60, 190), &rect), -1);
    // A row without a record finds the root, whose text is empty.
    const INT_PTR none = tree.OnToolHitTest(CPoint(RowPoint(0)), &rect);
    EXPECT_EQ(none, 0);
    EXPECT_TRUE(tree.GetToolTipText(none).isEmpty());
}
