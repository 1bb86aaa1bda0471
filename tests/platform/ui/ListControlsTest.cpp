#include "platform/ui/ListBox.h"
#include "platform/ui/ListCtrl.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <gtest/gtest.h>

namespace
{
constexpr UINT ListBoxId = 31;
constexpr UINT ListViewId = 32;

// A parent that records its controls' notifications: WM_COMMAND codes and WM_NOTIFY codes with
// the selection the list view had when it sent them.
class CRecordingParent : public CWnd
{
public:
    std::vector<UINT> commands;
    std::vector<std::pair<UINT, int>> notes;
    // The selected row at each LVN_ITEMCHANGED.
    std::vector<int> changes;
    CListCtrl* view = nullptr;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
        {
            commands.push_back(HIWORD(wParam));
            return 0;
        }
        if (message == WM_NOTIFY)
        {
            const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
            const int selected = view ? view->GetNextItem(-1, LVNI_SELECTED) : -1;
            if (code == LVN_ITEMCHANGED)
                changes.push_back(selected);
            else
                notes.emplace_back(code, selected);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

void Press(QWidget* viewport, const QPoint& at)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
    {
        QMouseEvent event(type, QPointF(at), QPointF(viewport->mapToGlobal(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
}

class ListControls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
        ASSERT_TRUE(box.Create(QString(), QString(), WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_SORT,
                               CRect(0, 0, 150, 200), &parent, ListBoxId));
        ASSERT_TRUE(view.Create(QString(), QString(),
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING,
                                CRect(200, 0, 390, 200), &parent, ListViewId));
        parent.view = &view;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.GetSafeHwnd()));
    }

    CRecordingParent parent;
    CListBox box;
    CListCtrl view;
};
} // namespace

TEST_F(ListControls, AListBoxSortsItsRowsAndReportsOnlyTheUsersChoices)
{
    for (const char* text : {"delta", "Alpha", "charlie", "Bravo"})
        box.AddString(QString::fromLatin1(text));
    EXPECT_EQ(box.GetText(0), QStringLiteral("Alpha"));
    EXPECT_EQ(box.GetText(3), QStringLiteral("delta"));
    box.SetCurSel(2);
    box.DeleteString(0);
    box.InsertString(0, QStringLiteral("zulu"));
    EXPECT_TRUE(parent.commands.empty()) << "changes by calls send nothing";
    EXPECT_EQ(box.GetCurSel(), 2);

    auto* list = qobject_cast<QListWidget*>(box.GetSafeHwnd());
    Press(list->viewport(), list->visualItemRect(list->item(3)).center());
    EXPECT_EQ(box.GetCurSel(), 3);
    EXPECT_EQ(parent.commands, std::vector<UINT>{LBN_SELCHANGE});
    box.SetCurSel(-1);
    EXPECT_EQ(box.GetCurSel(), LB_ERR);
}

TEST_F(ListControls, AListViewInsertsInOrderAndTellsOfKeysBeforeTheyMoveTheSelection)
{
    view.InsertColumn(0, QStringLiteral("Name"), LVCFMT_LEFT, 120);
    view.InsertColumn(1, QStringLiteral("System"), LVCFMT_LEFT, 60);
    for (const char* text : {"Normal", "heading 2", "Heading 1", "Boxed"})
    {
        const int item = view.InsertItem(view.GetItemCount(), QString::fromLatin1(text));
        view.SetItemText(item, 1, QStringLiteral("x"));
    }
    QStringList rows;
    for (int i = 0; i < view.GetItemCount(); ++i)
        rows << view.GetItemText(i, 0);
    EXPECT_EQ(rows, (QStringList{"Boxed", "Heading 1", "heading 2", "Normal"}));

    view.SetSelectionMark(1);
    view.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(view.GetSelectionMark(), 1);
    auto* tree = qobject_cast<QTreeWidget*>(view.GetSafeHwnd());
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(view.GetNextItem(-1, LVNI_SELECTED), 2);
    Press(tree->viewport(), tree->visualItemRect(tree->topLevelItem(3)).center());
    const std::vector<std::pair<UINT, int>> expected = {{LVN_KEYDOWN, 1}, {NM_CLICK, 3}};
    EXPECT_EQ(parent.notes, expected) << "the key is told before it moves, the click after it selects";
    ASSERT_FALSE(parent.changes.empty());
    EXPECT_NE(std::find(parent.changes.begin(), parent.changes.end(), 2), parent.changes.end());
    EXPECT_EQ(parent.changes.back(), 3) << "each move of the selection is told";

    view.DeleteItem(3);
    EXPECT_EQ(view.GetItemCount(), 3);
}

TEST_F(ListControls, ColumnsSizedToAListViewsClientAreaNeedNoScrollBar)
{
    auto* tree = qobject_cast<QTreeWidget*>(view.GetSafeHwnd());
    view.InsertColumn(0, QStringLiteral("Name"));
    view.InsertColumn(1, QStringLiteral("System"));
    for (const int rows : {3, 40})
    {
        SCOPED_TRACE(rows);
        view.DeleteAllItems();
        for (int i = 0; i < rows; ++i)
            view.InsertItem(i, QStringLiteral("Style %1").arg(i));
        // The view lays its rows out a moment later.
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return tree->verticalScrollBar()->isVisible() == (rows > 3); }, 2000));

        CRect client;
        view.GetClientRect(&client);
        EXPECT_EQ(client.Width(), tree->viewport()->width())
            << "the frame and a shown scroll bar are left out";
        view.SetColumnWidth(0, client.Width() - 60);
        view.SetColumnWidth(1, 60);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !tree->horizontalScrollBar()->isVisible(); }, 2000));
    }
}

TEST_F(ListControls, CheckBoxChangesAreToldWithTheirRowButTextChangesAreNot)
{
    std::vector<std::pair<int, UINT>> checks;
    struct CheckRecorder : CWnd
    {
        std::vector<std::pair<int, UINT>>* checks = nullptr;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == LVN_ITEMCHANGED)
            {
                const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
                if (change->uChanged & LVIF_STATE)
                    checks->emplace_back(change->iItem, change->uNewState & LVIS_STATEIMAGEMASK);
                return 0;
            }
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } owner;
    owner.checks = &checks;
    ASSERT_TRUE(owner.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 200, 200), nullptr, 0));
    CListCtrl checked;
    ASSERT_TRUE(checked.Create(QString(), QString(), WS_CHILD | WS_VISIBLE | LVS_REPORT,
                               CRect(0, 0, 190, 190), &owner, ListViewId));
    checked.SetExtendedStyle(LVS_EX_CHECKBOXES);
    checked.InsertColumn(0, QStringLiteral("Layer"), LVCFMT_LEFT, 150);
    checked.InsertItem(0, QStringLiteral("a"));
    checked.InsertItem(1, QStringLiteral("b"));
    EXPECT_TRUE(checks.empty()) << "a new row's cleared box is no change";
    checked.SetCheck(1, true);
    checked.SetItemText(1, 0, QStringLiteral("B"));
    checked.SetCheck(1, true);
    auto* tree = qobject_cast<QTreeWidget*>(checked.GetSafeHwnd());
    tree->topLevelItem(0)->setCheckState(0, Qt::Checked); // as a click on the box does
    checked.SetCheck(1, false);
    const std::vector<std::pair<int, UINT>> expected = {{1, 0x2000}, {0, 0x2000}, {1, 0x1000}};
    EXPECT_EQ(checks, expected);
    EXPECT_TRUE(checked.GetCheck(0));
}
