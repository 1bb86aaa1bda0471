#include "app/DlgOrganizeShortcuts.h"
#include "app/DlgMessageBox.h"
#include "controls/ControlTestSupport.h"
#include "ndb/NdbFolder.h"
#include "ndb/NdbShortcutLink.h"
#include "res/dialogs/MessageBox.h"
#include "res/dialogs/OrganizeShortcuts.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

using ndb::CNdbBase;
using ndb::CNdbFolder;
using ndb::CNdbShortcutLink;

namespace
{
constexpr int TreeId = IDC_TREE;
constexpr int NewFolderButton = IDC_NEW_FOLDER;
constexpr int RenameButton = IDC_RENAME;
constexpr int DeleteButton = IDC_DELETE;
constexpr int HelpButton = IDC_HELP_BUTTON;
constexpr int StillOpen = -100;
constexpr UINT ScrollTimer = 4711;
constexpr UINT ShowHelpMessage = WM_APP + 0x400;

std::unique_ptr<CNdbShortcutLink> Link(const QString& name, int type = 1)
{
    return std::make_unique<CNdbShortcutLink>(
        name, QStringLiteral("/home/ann/") + name + QStringLiteral(".kvnl"), type);
}

// Spring, Summer, Archive [Old, Deep [Older]], Members (a mailing list).
std::unique_ptr<CNdbFolder> MakeStore()
{
    auto root = std::make_unique<CNdbFolder>(QStringLiteral("Newsletters"));
    root->AddItem(Link(QStringLiteral("Spring")));
    root->AddItem(Link(QStringLiteral("Summer")));
    auto archive = std::make_unique<CNdbFolder>(QStringLiteral("Archive"));
    archive->AddItem(Link(QStringLiteral("Old")));
    auto deep = std::make_unique<CNdbFolder>(QStringLiteral("Deep"));
    deep->AddItem(Link(QStringLiteral("Older")));
    archive->AddItem(std::move(deep));
    root->AddItem(std::move(archive));
    root->AddItem(Link(QStringLiteral("Members"), 7));
    return root;
}

// The store's tree in one line, e.g. "Spring,Archive[Old]"; empty folders show "[]".
std::string Describe(const CNdbFolder& folder)
{
    QStringList parts;
    for (const auto& item : folder.GetItems())
    {
        const auto* sub = dynamic_cast<const CNdbFolder*>(item.get());
        parts << (sub ? item->GetName() + u'[' + QString::fromStdString(Describe(*sub)) + u']'
                      : item->GetName());
    }
    return parts.join(u',').toStdString();
}

// The tree the same way, but items without children show no brackets; expanded items carry a "+".
QString Describe(const QTreeWidgetItem* parent)
{
    QStringList parts;
    for (int i = 0; i < parent->childCount(); ++i)
    {
        const QTreeWidgetItem* item = parent->child(i);
        QString part = item->text(0) + (item->isExpanded() ? QStringLiteral("+") : QString());
        if (item->childCount() > 0)
            part += u'[' + Describe(item) + u']';
        parts << part;
    }
    return parts.join(u',');
}

// The dialog as a test drives it: its tree, its buttons and the pointer.
struct Organizer
{
    CDlgOrganizeShortcuts& dialog;

    QWidget* Window() const { return dialog.GetSafeHwnd(); }
    CTreeCtrl& Tree() const { return *dynamic_cast<CTreeCtrl*>(dialog.GetDlgItem(TreeId)); }
    QTreeWidget* TreeWidget() const { return static_cast<QTreeWidget*>(Tree().GetSafeHwnd()); }
    std::string TreeText() const { return Describe(TreeWidget()->invisibleRootItem()).toStdString(); }
    HTREEITEM Item(const QString& text) const
    {
        const auto found = TreeWidget()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << text.toStdString();
        return found.value(0);
    }
    void Click(int buttonId) const
    {
        QTest::mouseClick(qobject_cast<QPushButton*>(dialog.GetDlgItem(buttonId)->GetSafeHwnd()),
                          Qt::LeftButton);
    }
    void Select(const QString& text) const
    {
        Tree().EnsureVisible(Item(text));
        QTest::mouseClick(TreeWidget()->viewport(), Qt::LeftButton, {}, ViewportPoint(Centre(text)));
    }

    enum Spot
    {
        Upper,
        Middle,
        Lower
    };
    // A point of the item's row, in the tree's coordinates.
    QPoint At(const QString& text, Spot spot) const
    {
        CRect row;
        Tree().GetItemRect(Item(text), &row, false);
        const int y = spot == Upper ? row.top : (spot == Lower ? row.bottom - 1 : (row.top + row.bottom) / 2);
        return {row.left + 40, y};
    }
    QPoint Centre(const QString& text) const { return At(text, Middle); }
    QPoint ViewportPoint(QPoint treePoint) const { return treePoint - TreeWidget()->viewport()->pos(); }
    QPoint DialogPoint(QPoint treePoint) const { return TreeWidget()->mapTo(Window(), treePoint); }

    // Presses on the item and moves the pointer far enough for the tree to start a drag.
    void BeginDrag(const QString& text) const
    {
        const QPoint start = ViewportPoint(Centre(text));
        QTest::mousePress(TreeWidget()->viewport(), Qt::LeftButton, {}, start);
        QTest::mouseMove(TreeWidget()->viewport(), start + QPoint(0, QApplication::startDragDistance() + 2));
    }
    // The dialog holds the capture during a drag: the pointer's messages go to it.
    void DragTo(QPoint treePoint) const { QTest::mouseMove(Window(), DialogPoint(treePoint)); }
    void Drop(QPoint treePoint) const
    {
        DragTo(treePoint);
        QTest::mouseRelease(Window(), Qt::LeftButton, {}, DialogPoint(treePoint));
    }
    bool Shows(const char* cursorName) const
    {
        return Window()->cursor().pixmap().toImage() ==
               LoadCursorResource(QLatin1String(cursorName)).pixmap().toImage();
    }
    QLineEdit* Editor() const { return Tree().GetEditControl(); }
};

int RunOrganizer(CNdbFolder& root, const std::function<void(Organizer&)>& act)
{
    CDlgOrganizeShortcuts dialog(&root);
    QTimer::singleShot(0,
                       [&]
                       {
                           EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.GetSafeHwnd()));
                           Organizer organizer{dialog};
                           act(organizer);
                           if (dialog.IsWindowVisible())
                               dialog.EndDialog(StillOpen);
                       });
    return int(dialog.DoModal());
}

// Answers the next message box with the button of that id once it shows, and hands over its text.
void AnswerMessageBox(int buttonId, QString* text)
{
    QTimer::singleShot(
        0,
        [=]
        {
            auto* box = dynamic_cast<CDlgMessageBox*>(CWnd::FromHandle(QApplication::activeModalWidget()));
            ASSERT_TRUE(box);
            *text = box->m_text;
            QTest::mouseClick(qobject_cast<QPushButton*>(box->GetDlgItem(buttonId)->GetSafeHwnd()),
                              Qt::LeftButton);
        });
}
} // namespace

TEST(DlgOrganizeShortcuts, ShowsTheFolderTreeCollapsedWithAnImagePerKind)
{
    auto root = MakeStore();
    root->AddItem(std::make_unique<CNdbBase>());
    RunOrganizer(*root,
                 [](Organizer& o)
                 {
                     EXPECT_EQ(o.TreeText(), "Spring,Summer,Archive[Old,Deep[Older]],Members")
                         << "a record that is neither folder nor link is left out";
                     const std::pair<const char*, int> images[] = {
                         {"Spring", 0}, {"Archive", 2}, {"Deep", 2}, {"Members", 3}};
                     for (const auto& [text, expected] : images)
                     {
                         int image = -1;
                         int selected = -1;
                         o.Tree().GetItemImage(o.Item(QLatin1String(text)), image, selected);
                         EXPECT_EQ(image, expected) << text;
                         EXPECT_EQ(selected, expected) << text;
                     }
                     EXPECT_FALSE(o.TreeWidget()->topLevelItem(0)->icon(0).isNull());
                 });
}

TEST(DlgOrganizeShortcuts, DropPlacesByTheQuarterOfTheRow)
{
    struct Case
    {
        const char* dragged;
        const char* target;
        Organizer::Spot spot;
        bool allowed;
        const char* store;
    };
    const char* unchanged = "Spring,Summer,Archive[Old,Deep[Older]],Members";
    const Case cases[] = {
        {"Members", "Spring", Organizer::Upper, true, "Members,Spring,Summer,Archive[Old,Deep[Older]]"},
        {"Members", "Spring", Organizer::Lower, true, "Spring,Members,Summer,Archive[Old,Deep[Older]]"},
        {"Spring", "Members", Organizer::Lower, true, "Summer,Archive[Old,Deep[Older]],Members,Spring"},
        {"Members", "Archive", Organizer::Middle, true, "Spring,Summer,Archive[Old,Deep[Older],Members]"},
        {"Old", "Spring", Organizer::Upper, true, "Old,Spring,Summer,Archive[Deep[Older]],Members"},
        {"Deep", "Summer", Organizer::Lower, true, "Spring,Summer,Deep[Older],Archive[Old],Members"},
        // The middle of a shortcut is no place to drop.
        {"Spring", "Summer", Organizer::Middle, false, unchanged},
        // A drop on the dragged item itself leaves everything where it is.
        {"Summer", "Summer", Organizer::Upper, false, unchanged},
        {"Summer", "Summer", Organizer::Lower, false, unchanged},
        {"Archive", "Archive", Organizer::Middle, false, unchanged},
        // A folder cannot go into itself or any folder below it.
        {"Archive", "Deep", Organizer::Middle, false, unchanged},
        {"Archive", "Old", Organizer::Upper, false, unchanged},
        {"Archive", "Older", Organizer::Lower, false, unchanged},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.dragged) + " onto " + c.target + " " + std::to_string(c.spot));
        auto root = MakeStore();
        RunOrganizer(*root,
                     [&](Organizer& o)
                     {
                         o.Tree().EnsureVisible(o.Item(QStringLiteral("Older")));
                         o.BeginDrag(QLatin1String(c.dragged));
                         ASSERT_EQ(CWnd::GetCapture(), &o.dialog);
                         const QPoint target = o.At(QLatin1String(c.target), c.spot);
                         o.DragTo(target);
                         EXPECT_TRUE(o.Shows(c.allowed ? "IDC_DRAGMOVE" : "IDC_DRAGNODROP"));
                         o.Drop(target);
                         EXPECT_EQ(CWnd::GetCapture(), nullptr);
                         EXPECT_EQ(o.Tree().GetSelectedItem(), o.Item(QLatin1String(c.dragged)))
                             << "the dragged item ends selected";
                         std::string tree = o.TreeText();
                         std::erase(tree, '+');
                         EXPECT_EQ(tree, c.store) << "the tree mirrors the store";
                     });
        EXPECT_EQ(Describe(*root), c.store);
    }
}

TEST(DlgOrganizeShortcuts, MovedFolderKeepsItsContentAndExpansion)
{
    auto root = MakeStore();
    RunOrganizer(*root,
                 [](Organizer& o)
                 {
                     o.Tree().EnsureVisible(o.Item(QStringLiteral("Older")));
                     ASSERT_EQ(o.TreeText(), "Spring,Summer,Archive+[Old,Deep+[Older]],Members");
                     o.BeginDrag(QStringLiteral("Archive"));
                     o.Drop(o.At(QStringLiteral("Members"), Organizer::Lower));
                     EXPECT_EQ(o.TreeText(), "Spring,Summer,Members,Archive+[Old,Deep+[Older]]");
                 });
    EXPECT_EQ(Describe(*root), "Spring,Summer,Members,Archive[Old,Deep[Older]]");
}

TEST(DlgOrganizeShortcuts, CancelledDragMovesNothing)
{
    auto root = MakeStore();
    RunOrganizer(*root,
                 [](Organizer& o)
                 {
                     o.BeginDrag(QStringLiteral("Members"));
                     o.DragTo(o.At(QStringLiteral("Spring"), Organizer::Upper));
                     o.dialog.SendMessage(WM_CANCELMODE);
                     EXPECT_EQ(CWnd::GetCapture(), nullptr);
                     EXPECT_EQ(o.Tree().GetDropHilightItem(), nullptr);
                     QTest::mouseRelease(o.Window(), Qt::LeftButton, {},
                                         o.DialogPoint(o.At(QStringLiteral("Spring"), Organizer::Upper)));
                 });
    EXPECT_EQ(Describe(*root), "Spring,Summer,Archive[Old,Deep[Older]],Members");
}

TEST(DlgOrganizeShortcuts, HoldingADragBeyondTheTreeScrollsItALine)
{
    CNdbFolder root(QStringLiteral("Newsletters"));
    for (int i = 0; i < 60; ++i)
        root.AddItem(Link(QStringLiteral("Issue %1").arg(i)));
    RunOrganizer(root,
                 [](Organizer& o)
                 {
                     QScrollBar* bar = o.TreeWidget()->verticalScrollBar();
                     ASSERT_GT(bar->maximum(), 2);
                     bar->setValue(1);
                     o.BeginDrag(QStringLiteral("Issue 3"));
                     const QRect viewport = o.TreeWidget()->viewport()->geometry();
                     const std::pair<int, int> holds[] = {{viewport.bottom() + 4, 2},
                                                          {viewport.bottom() + 4, 3},
                                                          {viewport.center().y(), 3},
                                                          {viewport.top() - 4, 2}};
                     for (const auto& [y, value] : holds)
                     {
                         QCursor::setPos(o.TreeWidget()->mapToGlobal(QPoint(viewport.center().x(), y)));
                         o.dialog.SendMessage(WM_TIMER, ScrollTimer);
                         EXPECT_EQ(bar->value(), value) << "held at " << y;
                     }
                     o.dialog.SendMessage(WM_CANCELMODE);
                 });
}

TEST(DlgOrganizeShortcuts, NewFolderTakesTheFirstFreeNameInTheSelectedPlace)
{
    auto root = MakeStore();
    root->AddItem(std::make_unique<CNdbFolder>(QStringLiteral("New Folder")));
    auto* archive = dynamic_cast<CNdbFolder*>(root->GetItemAt(2));
    dynamic_cast<CNdbFolder*>(archive->GetItemAt(1))
        ->AddItem(std::make_unique<CNdbFolder>(QStringLiteral("new folder 2")));
    root->AddItem(Link(QStringLiteral("New Folder 3")));
    RunOrganizer(*root,
                 [](Organizer& o)
                 {
                     o.Select(QStringLiteral("Old"));
                     o.Click(NewFolderButton);
                     ASSERT_TRUE(o.Editor()) << "the new folder's label is being edited";
                     EXPECT_EQ(o.Editor()->text(), QStringLiteral("New Folder 3"));
                     QTest::keyClick(o.Editor(), Qt::Key_Escape);
                     EXPECT_EQ(o.Editor(), nullptr);
                     EXPECT_TRUE(o.dialog.IsWindowVisible());
                 });
    EXPECT_EQ(Describe(*root), "Spring,Summer,Archive[Old,Deep[Older,new folder 2[]],New Folder "
                               "3[]],Members,New Folder[],New Folder 3");

    CNdbFolder empty(QStringLiteral("Newsletters"));
    RunOrganizer(empty,
                 [](Organizer& o)
                 {
                     o.Click(NewFolderButton);
                     QTest::keyClick(o.Editor(), Qt::Key_Return);
                     QTRY_COMPARE(o.Editor(), nullptr);
                     o.Tree().SelectItem(nullptr);
                     o.Click(NewFolderButton);
                     QTest::keyClick(o.Editor(), Qt::Key_Return);
                     QTRY_COMPARE(o.Editor(), nullptr);
                     EXPECT_EQ(o.TreeText(), "New Folder,New Folder 2");
                 });
    EXPECT_EQ(Describe(empty), "New Folder[],New Folder 2[]");
}

TEST(DlgOrganizeShortcuts, LabelKeysEditWithoutClosingTheDialog)
{
    auto root = MakeStore();
    const int result = RunOrganizer(
        *root,
        [](Organizer& o)
        {
            o.Select(QStringLiteral("Spring"));
            QTest::keyClick(o.TreeWidget(), Qt::Key_F2);
            ASSERT_TRUE(o.Editor());
            o.Editor()->selectAll();
            QTest::keyClicks(o.Editor(), QStringLiteral("Spring 2025"));
            QTest::keyClick(o.Editor(), Qt::Key_Return);
            QTRY_COMPARE(o.Editor(), nullptr);
            EXPECT_TRUE(o.dialog.IsWindowVisible()) << "Enter ends the edit only";

            // F2 works wherever the focus is in the dialog; Esc then cancels the edit only.
            o.dialog.GetDlgItem(DeleteButton)->SetFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
            ASSERT_TRUE(o.Editor());
            EXPECT_EQ(o.Editor()->text(), QStringLiteral("Spring 2025"));
            QTest::keyClicks(o.Editor(), QStringLiteral("X"));
            QTest::keyClick(o.Editor(), Qt::Key_Escape);
            EXPECT_EQ(o.Editor(), nullptr);
            EXPECT_TRUE(o.dialog.IsWindowVisible());
            EXPECT_EQ(o.Tree().GetItemText(o.Tree().GetSelectedItem()), QStringLiteral("Spring 2025"));

            // Rename, then an empty name is a name too.
            o.Select(QStringLiteral("Archive"));
            o.Click(RenameButton);
            ASSERT_TRUE(o.Editor());
            o.Editor()->clear();
            QTest::keyClick(o.Editor(), Qt::Key_Return);
            QTRY_COMPARE(o.Editor(), nullptr);

            QTest::keyClick(o.TreeWidget(), Qt::Key_Return);
            EXPECT_TRUE(o.dialog.IsWindowVisible()) << "Enter never closes the dialog";
            QTest::keyClick(o.TreeWidget(), Qt::Key_Escape);
            EXPECT_FALSE(o.dialog.IsWindowVisible()) << "Esc outside an edit closes it";
        });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(Describe(*root), "Spring 2025,Summer,[Old,Deep[Older]],Members");
    EXPECT_EQ(root->GetItemAt(0)->GetPath(), QStringLiteral("/home/ann/Spring.kvnl"));
}

TEST(DlgOrganizeShortcuts, DeleteAsksAndRemovesFromStoreAndTree)
{
    auto root = MakeStore();
    RunOrganizer(
        *root,
        [](Organizer& o)
        {
            QString question;
            o.Select(QStringLiteral("Archive"));
            AnswerMessageBox(IDC_BUTTON1, &question);
            o.Click(DeleteButton);
            EXPECT_EQ(question,
                      QStringLiteral("Do you want to delete folder \"Archive\" and all its children?"));
            EXPECT_EQ(o.TreeText(), "Spring,Summer,Archive[Old,Deep[Older]],Members") << "No keeps it";

            AnswerMessageBox(IDC_BUTTON2, &question);
            o.Click(DeleteButton);
            o.Select(QStringLiteral("Members"));
            AnswerMessageBox(IDC_BUTTON2, &question);
            o.Click(DeleteButton);
            EXPECT_EQ(question, QStringLiteral("Do you want to delete the shortcut to \"Members\"?"));
            EXPECT_EQ(o.TreeText(), "Spring,Summer");

            o.Tree().SelectItem(nullptr);
            o.Click(DeleteButton);
            EXPECT_EQ(QApplication::activeModalWidget(), o.Window()) << "nothing selected, nothing asked";
        });
    EXPECT_EQ(Describe(*root), "Spring,Summer");
}

TEST(DlgOrganizeShortcuts, HelpAsksTheMainWindowForItsPage)
{
    class CHelpRecorder : public CWnd
    {
    public:
        std::vector<WPARAM> topics;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == ShowHelpMessage)
                topics.push_back(wParam);
            return CWnd::WindowProc(message, wParam, lParam);
        }
    };
    CHelpRecorder mainWnd;
    ASSERT_TRUE(mainWnd.Create(QString(), QString(), 0, CRect(0, 0, 10, 10), nullptr, 0));
    AfxSetMainWnd(&mainWnd);
    auto root = MakeStore();
    RunOrganizer(*root, [](Organizer& o) { o.Click(HelpButton); });
    QCoreApplication::processEvents();
    AfxSetMainWnd(nullptr);
    EXPECT_EQ(mainWnd.topics, std::vector<WPARAM>{278});
}

TEST(DlgOrganizeShortcuts, PictureDuringADrag)
{
    auto root = MakeStore();
    RunOrganizer(*root,
                 [](Organizer& o)
                 {
                     o.Tree().EnsureVisible(o.Item(QStringLiteral("Old")));
                     o.BeginDrag(QStringLiteral("Members"));
                     o.DragTo(o.At(QStringLiteral("Old"), Organizer::Upper));
                     QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
                     o.Window()->grab().save(QStringLiteral(KV_ARTIFACT_DIR "/organize-shortcuts-drag.png"));
                     o.DragTo(o.At(QStringLiteral("Archive"), Organizer::Middle));
                     o.Window()->grab().save(
                         QStringLiteral(KV_ARTIFACT_DIR "/organize-shortcuts-drop-into.png"));
                     o.dialog.SendMessage(WM_CANCELMODE);
                 });
}
