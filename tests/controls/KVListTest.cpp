#include "controls/KVList.h"
#include "ControlArtifacts.h"
#include "platform/ui/ScrollBars.h"

#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace
{
// The recipient window's part: records what the list tells its parent.
class CListOwner : public CWnd
{
public:
    struct Note
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Note> notes;

    int Count(UINT message) const
    {
        return int(
            std::count_if(notes.begin(), notes.end(), [&](const Note& n) { return n.message == message; }));
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= CKVList::NotifyDoubleClick && message <= CKVList::NotifyMarking)
        {
            notes.push_back({message, wParam, lParam});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

struct Person
{
    const char* name;
    const char* mail;
    const char* icon;
    const char* check;
};

const Person People[] = {
    {"Miller", "anna.miller@example.com", "1", "1"},  {"abbott", "ben@abbott.example", "0", "0"},
    {"Zimmer", "carla.zimmer@example.org", "2", "1"}, {"Miller", "dora@example.net", "3", ""},
    {"Keller", "emil.keller@example.com", "9", "1"},  {"Abend", "AbendPost@example.com", "4", "0"},
};

class List : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 500, 300), nullptr, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(owner.GetSafeHwnd()));
        ASSERT_TRUE(list.Create(CRect(0, 0, 480, 20 + 10 * 20), &owner));
        list.AddColumn(QString(), 19);
        list.AddColumn(QString(), 19);
        list.AddColumn(QStringLiteral("Name"), 120);
        list.AddColumn(QStringLiteral("E-mail address"), 220);
        list.m_iconColumn = 0;
        ASSERT_TRUE(list.m_iconImage.LoadFromResource(307));
        list.m_iconFrameWidth = 19;
        list.EnableCheckBoxes();
        list.UpdateScrollBars(true);
    }

    void AddPeople()
    {
        for (const Person& person : People)
        {
            auto* row = new CKVListRow;
            row->m_cells[0] = QString::fromLatin1(person.icon);
            row->m_cells[1] = QString::fromLatin1(person.check);
            row->m_cells[2] = QString::fromLatin1(person.name);
            row->m_cells[3] = QString::fromLatin1(person.mail);
            row->m_data = const_cast<Person*>(&person);
            list.m_rows.push_back(row);
        }
        list.SetFilter(list.GetFilterText());
        list.UpdateScrollBars(true);
    }
    void AddNumbered(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            auto* row = new CKVListRow;
            row->m_cells[2] = QStringLiteral("r%1").arg(i, 6, 10, QLatin1Char('0'));
            list.m_rows.push_back(row);
        }
        list.SetFilter(QString());
        list.UpdateScrollBars(true);
    }
    // The visible rows by the owner's record, as the names in display order.
    QStringList Names()
    {
        QStringList names;
        for (int i = 0; i < list.GetRowCount(); ++i)
            names << QString::fromLatin1(static_cast<const Person*>(list.GetRow(i)->m_data)->mail).left(4);
        return names;
    }
    std::vector<int> Marked()
    {
        std::vector<int> rows;
        for (int i = 0; i < list.GetRowCount(); ++i)
        {
            if (list.GetRow(i)->m_checked)
                rows.push_back(i);
        }
        return rows;
    }
    QWidget* Widget() { return list.GetSafeHwnd(); }
    QPoint RowPoint(int row)
    {
        return QPoint(200, 20 + 20 * row + 10 - list.ScrollBars().GetScrollPos(SB_VERT));
    }
    void Click(int row, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(Widget(), button, keys, RowPoint(row));
    }
    void ClickHeader(int column)
    {
        int x = 0;
        for (int i = 0; i < column; ++i)
            x += list.GetColumnWidth(i);
        QWidget* header = Widget()->childAt(x + 8, 10);
        ASSERT_NE(header, nullptr);
        QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(8, 10));
    }
    void Wheel(int delta)
    {
        const QPointF at(RowPoint(1));
        QWheelEvent wheel(at, Widget()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Widget(), &wheel);
    }
    int V() { return list.ScrollBars().GetScrollPos(SB_VERT); }

    CListOwner owner;
    CKVList list;
};
} // namespace

TEST(ListRow, CellsAndFilterMatch)
{
    CKVListRow row;
    EXPECT_FALSE(row.MatchesFilter(QString())) << "a row without cells matches nothing";
    row.m_cells[3] = QStringLiteral("Abend");
    EXPECT_TRUE(row.GetCellText(1).isEmpty());
    EXPECT_EQ(row.m_cells.size(), 1u) << "reading a missing cell inserts none";
    EXPECT_TRUE(row.MatchesFilter(QStringLiteral("Ab")));
    EXPECT_FALSE(row.MatchesFilter(QStringLiteral("ab")));
    EXPECT_TRUE(row.MatchesFilter(QStringLiteral("end")));
}

TEST_F(List, FilterKeepsMatchingRowsSortedAndTheMarking)
{
    AddPeople();
    // A new list sorts by column 0 (the icon numbers) ascending.
    EXPECT_EQ(Names(), QStringList({"ben@", "anna", "carl", "dora", "Aben", "emil"}));
    EXPECT_EQ(owner.Count(CKVList::NotifyMarking), 1);

    list.GetRow(0)->m_checked = true; // ben
    list.GetRow(4)->m_checked = true; // Abend
    list.SetFilter(QStringLiteral("Ab"));
    EXPECT_EQ(Names(), QStringList({"Aben"})) << "ben@abbott has the letters only in lower case";
    EXPECT_EQ(list.GetCheckedCount(), 1) << "hidden rows keep their mark but are not counted";
    EXPECT_EQ(list.GetFilterText(), QStringLiteral("Ab"));
    EXPECT_EQ(owner.Count(CKVList::NotifyMarking), 2);

    list.SetFilter(QStringLiteral("nothing like it"));
    EXPECT_EQ(list.GetRowCount(), 0);
    list.SetFilter(QString());
    EXPECT_EQ(list.GetRowCount(), 6);
    EXPECT_EQ(list.GetCheckedCount(), 2);
}

TEST_F(List, HeaderClicksSortStablyByColumn)
{
    AddPeople();
    struct Step
    {
        int header;
        int sortColumn;
        bool ascending;
        QStringList names;
    };
    const Step steps[] = {
        // The two Millers keep their stored order in both directions.
        {2, 2, true, {"Aben", "emil", "anna", "dora", "carl", "ben@"}},
        {2, 2, false, {"ben@", "carl", "anna", "dora", "emil", "Aben"}},
        {3, 3, true, {"Aben", "anna", "ben@", "carl", "dora", "emil"}},
        {3, 3, false, {"emil", "dora", "carl", "ben@", "anna", "Aben"}},
    };
    for (const Step& step : steps)
    {
        ClickHeader(step.header);
        EXPECT_EQ(list.GetSortColumn(), step.sortColumn);
        EXPECT_EQ(list.IsSortAscending(), step.ascending);
        EXPECT_EQ(Names(), step.names) << "after a click on column " << step.header;
    }
    // The sort column and direction hold across a filter.
    list.SetFilter(QStringLiteral("example.com"));
    EXPECT_EQ(Names(), QStringList({"emil", "anna", "Aben"}));
    EXPECT_EQ(owner.Count(CKVList::NotifyMarking), 2) << "header clicks send nothing";
}

TEST_F(List, MouseMarkingFollowsTheModifierKeys)
{
    AddPeople();
    owner.notes.clear();
    Click(2);
    EXPECT_EQ(Marked(), std::vector<int>({2}));
    Click(2);
    EXPECT_TRUE(Marked().empty()) << "a plain click on the only marked row unmarks it";
    Click(1);
    Click(3, Qt::ControlModifier);
    Click(4, Qt::ControlModifier);
    EXPECT_EQ(Marked(), std::vector<int>({1, 3, 4}));
    Click(3, Qt::ControlModifier);
    EXPECT_EQ(Marked(), std::vector<int>({1, 4}));
    Click(4);
    EXPECT_EQ(Marked(), std::vector<int>({4})) << "a plain click on one of several leaves just that one";
    Click(1, Qt::ShiftModifier);
    EXPECT_EQ(Marked(), std::vector<int>({1, 2, 3, 4})) << "shift marks from the anchor";

    Click(2, {}, Qt::RightButton);
    EXPECT_EQ(Marked(), std::vector<int>({1, 2, 3, 4})) << "a right click on a marked row keeps the marking";
    Click(5, {}, Qt::RightButton);
    EXPECT_EQ(Marked(), std::vector<int>({5}));
    EXPECT_EQ(owner.Count(CKVList::NotifyRightClick), 2);

    QTest::mouseClick(Widget(), Qt::LeftButton, {}, QPoint(200, 20 + 20 * 8));
    EXPECT_TRUE(Marked().empty()) << "a click below the last row unmarks everything";
    Click(3, Qt::ShiftModifier);
    EXPECT_EQ(Marked(), std::vector<int>({0, 1, 2, 3})) << "shift after a click on no row starts at row 0";
    EXPECT_EQ(owner.Count(CKVList::NotifyMarking), 12) << "every mouse marking is reported";

    const auto right = std::find_if(owner.notes.begin(), owner.notes.end(),
                                    [](const auto& n) { return n.message == CKVList::NotifyRightClick; });
    EXPECT_EQ(right->wParam, 0u);
}

TEST_F(List, SweepingMarksTheRowsBetweenPressAndPointer)
{
    AddPeople();
    QTest::mousePress(Widget(), Qt::LeftButton, {}, RowPoint(1));
    QTest::mouseMove(Widget(), RowPoint(4));
    EXPECT_EQ(Marked(), std::vector<int>({1, 2, 3, 4}));
    QTest::mouseMove(Widget(), RowPoint(2));
    EXPECT_EQ(Marked(), std::vector<int>({1, 2})) << "moving back unmarks what the sweep left";
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, RowPoint(2));
    QTest::mouseMove(Widget(), RowPoint(5));
    EXPECT_EQ(Marked(), std::vector<int>({1, 2})) << "the sweep ends with the button";
}

TEST_F(List, DoubleClickAndCtrlAReachTheParent)
{
    AddPeople();
    owner.notes.clear();
    QTest::mouseDClick(Widget(), Qt::LeftButton, {}, RowPoint(3));
    ASSERT_EQ(owner.Count(CKVList::NotifyDoubleClick), 1);
    const auto it = std::find_if(owner.notes.begin(), owner.notes.end(),
                                 [](const auto& n) { return n.message == CKVList::NotifyDoubleClick; });
    EXPECT_EQ(it->wParam, 3u);
    EXPECT_EQ(reinterpret_cast<CKVListRow*>(it->lParam), list.GetRow(3));

    owner.notes.clear();
    QTest::keyClick(Widget(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(list.GetCheckedCount(), 6);
    EXPECT_EQ(owner.Count(CKVList::NotifyMarking), 1);
    list.SetAllChecked(false);
    QTest::keyClick(Widget(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(list.GetCheckedCount(), 0);
}

TEST_F(List, KeysWheelAndBarsScrollByRowsAndPages)
{
    AddNumbered(100);
    ASSERT_TRUE(list.ScrollBars().IsShown(SB_VERT));
    const int area = list.GetListClientRect().Height() - 20;
    ASSERT_EQ(area / 20, 10) << "ten whole rows in view";
    Widget()->setFocus();
    QTest::keyClick(Widget(), Qt::Key_PageDown);
    EXPECT_EQ(V(), 8 * 20);
    QTest::keyClick(Widget(), Qt::Key_Up);
    EXPECT_EQ(V(), 7 * 20);
    Wheel(-120);
    EXPECT_EQ(V(), 8 * 20);
    Wheel(120);
    Wheel(120);
    EXPECT_EQ(V(), 6 * 20);
    QTest::keyClick(Widget(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(V(), 100 * 20 - area);
    EXPECT_EQ(list.RowAtPoint(CPoint(RowPoint(99))), 99);
    QTest::keyClick(Widget(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(V(), 0);

    // The bar's own arrow reaches the list as SB_LINEDOWN.
    list.ScrollBars().Bar(SB_VERT)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(V(), 20);

    // With two whole rows in view a page is one row.
    list.MoveWindow(0, 0, 480, 20 + 2 * 20 + 5);
    QTest::keyClick(Widget(), Qt::Key_PageDown);
    EXPECT_EQ(V(), 40);
}

TEST_F(List, ColumnBordersDragWithinLimits)
{
    AddPeople();
    const int nameRight = 19 + 19 + 120;
    QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(nameRight + 1, 30));
    QTest::mouseMove(Widget(), QPoint(nameRight + 31, 30));
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(nameRight + 31, 30));
    EXPECT_EQ(list.GetColumnWidth(2), 150);
    EXPECT_TRUE(Marked().empty()) << "a border drag marks nothing";

    QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(nameRight + 30, 30));
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(nameRight - 200, 30));
    EXPECT_EQ(list.GetColumnWidth(2), 20);

    // The icon and check columns keep their width: a press there marks a row instead.
    QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(19, 30));
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(60, 30));
    EXPECT_EQ(list.GetColumnWidth(0), 19);
    EXPECT_EQ(list.GetColumnWidth(1), 19);
    EXPECT_EQ(Marked(), std::vector<int>({0}));
}

TEST_F(List, RowsPaintTheirMarkingCellsAndFrames)
{
    AddPeople();
    ClickHeader(2);
    list.GetRow(1)->m_checked = true;
    Widget()->clearFocus();
    QImage image = Grab(list);
    // Row 1 (Keller, odd, marked, no focus) in the sort column and outside it.
    EXPECT_EQ(image.pixel(300, RowPoint(1).y()), QRgb(0xFFB4BFD0));
    EXPECT_EQ(image.pixel(40 + 110, RowPoint(1).y() + 8), QRgb(0xFFA2AEC1));
    EXPECT_EQ(image.pixel(300, RowPoint(2).y()), QRgb(0xFFFFFFFF));
    EXPECT_EQ(image.pixel(300, RowPoint(9).y()), QRgb(0xFFF1F3F6)) << "stripes go on below the rows";
    // Check column: Abend's "0" shows no box, anna's "1" the ticked frame.
    const QImage check(QStringLiteral(":/images/308.png"));
    EXPECT_EQ(image.pixel(19 + 9, RowPoint(2).y()), check.pixel(19 + 9, 10));
    EXPECT_EQ(image.pixel(19 + 9, RowPoint(0).y()), QRgb(0xFFFFFFFF));
    // Icon column: Keller's "9" draws nothing, anna's "1" draws frame 1.
    EXPECT_EQ(image.pixel(9, RowPoint(1).y()), QRgb(0xFFB4BFD0));
    const QImage icons(QStringLiteral(":/images/307.png"));
    EXPECT_EQ(image.pixel(9, RowPoint(2).y()), icons.pixel(19 + 9, 10));

    Widget()->setFocus();
    image = Grab(list);
    EXPECT_EQ(image.pixel(300, RowPoint(1).y()), QRgb(0xFF828D9E)) << "marked rows darken with the focus";
    SaveControlArtifact(list, "list.png");
}

TEST_F(List, ToolTipsShowTheCellUnderThePoint)
{
    AddPeople();
    list.GetRow(0)->m_cells[3] = QString(90, QLatin1Char('m'));
    CRect rect;
    const INT_PTR id = list.OnToolHitTest(CPoint(200, 30), &rect);
    ASSERT_NE(id, -1);
    EXPECT_EQ(rect, CRect(158, 20, 378, 40));
    EXPECT_EQ(list.GetToolTipText(id), QString(79, QLatin1Char('m')));
    EXPECT_EQ(list.OnToolHitTest(CPoint(200, 10), &rect), -1) << "the header strip";
    EXPECT_EQ(list.OnToolHitTest(CPoint(460, 30), &rect), -1) << "right of the last column";
    EXPECT_EQ(list.OnToolHitTest(CPoint(200, 20 + 20 * 7), &rect), -1) << "below the last row";
}

TEST_F(List, HundredThousandRowsKeepOrderAndMarkingThroughSortAndFilter)
{
    AddNumbered(100000);
    for (int i = 0; i < list.GetRowCount(); i += 1000)
        list.GetRow(i)->m_checked = true;
    ClickHeader(2);
    ClickHeader(2);
    ASSERT_EQ(list.GetRowCount(), 100000);
    EXPECT_EQ(list.GetRow(0)->GetCellText(2), QStringLiteral("r099999"));
    EXPECT_EQ(list.GetCheckedCount(), 100);
    list.SetFilter(QStringLiteral("r099"));
    EXPECT_EQ(list.GetRowCount(), 1000);
    EXPECT_EQ(list.GetRow(999)->GetCellText(2), QStringLiteral("r099000"));
    EXPECT_TRUE(list.GetRow(999)->m_checked);
    EXPECT_EQ(list.GetCheckedCount(), 1);
    list.SetFilter(QString());
    list.UpdateScrollBars(true);
    QTest::keyClick(Widget(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(V(), 100000 * 20 - (list.GetListClientRect().Height() - 20)) << "beyond 16 bits of position";
    EXPECT_EQ(list.RowAtPoint(CPoint(RowPoint(99999))), 99999);
    list.ScrollBars().Bar(SB_VERT)->setSliderPosition(1500000);
    EXPECT_EQ(V(), 1500000) << "dragging the thumb past 65535 pixels";
    EXPECT_FALSE(Grab(list).isNull());
}

TEST_F(List, HomeAndEndScrollTheColumnsWithTheirHeaders)
{
    list.AddColumn(QStringLiteral("City"), 300);
    AddPeople();
    ASSERT_TRUE(list.ScrollBars().IsShown(SB_HORZ));
    const int width = list.GetListClientRect().Width();
    Widget()->setFocus();
    QTest::keyClick(Widget(), Qt::Key_End);
    EXPECT_EQ(list.ScrollBars().GetScrollPos(SB_HORZ), 678 - width);
    EXPECT_EQ(V(), 0) << "End without Ctrl stays on the rows in view";
    QWidget* last = Widget()->childAt(width - 10, 10);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->geometry().right() + 1, width) << "the last header ends at the right edge";
    CRect rect;
    EXPECT_NE(list.OnToolHitTest(CPoint(width - 10, 30), &rect), -1);
    EXPECT_EQ(rect.right, width);
    QTest::keyClick(Widget(), Qt::Key_Home);
    EXPECT_EQ(list.ScrollBars().GetScrollPos(SB_HORZ), 0);
    EXPECT_EQ(Widget()->childAt(5, 10)->geometry().left(), 0);
}
