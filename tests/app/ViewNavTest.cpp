#include "ShellTestSupport.h"

#include "app/ShortcutStore.h"
#include "controls/KVTreeTabCtrl.h"
#include "ndb/NdbShortcuts.h"

#include <QFileInfo>
#include <QTreeWidget>

using namespace ShellTest;

namespace
{
std::unique_ptr<ndb::CNdbShortcutLink> Link(const QString& name, const QString& target, int type)
{
    return std::make_unique<ndb::CNdbShortcutLink>(name, target, type);
}

QPoint RowCenter(int row)
{
    return {60, row * CKVTreeCtrl::RowHeight + CKVTreeCtrl::RowHeight / 2};
}

QStringList RowTexts(const CKVTreeCtrl& tree)
{
    QStringList texts;
    for (int row = 0; row < tree.CountRows(); ++row)
        texts << tree.ItemAtRow(row)->m_text;
    return texts;
}

// The newsletter group shows June, the folder Archive (May and April) and a mailing list that
// was put among the newsletters; the mailing-list group an empty folder Clubs and Members.
class NavigationPane : public ShellProgram
{
protected:
    void SetUp() override
    {
        ShellProgram::SetUp();
        for (const char* name : {"June", "May", "April"})
            ASSERT_TRUE(WriteNewsletter(Document(QString(name) + ".kvnl"), name));
        ASSERT_TRUE(WriteMailingList(Document("Members.kvmg"), "Members", {"ann@example.org"}));
        ndb::CNdbShortcuts store;
        store.Newsletters().AddItem(Link("June", Document("June.kvnl"), 1));
        auto archive = std::make_unique<ndb::CNdbFolder>("Archive");
        archive->AddItem(Link("May", Document("May.kvnl"), 1));
        archive->AddItem(Link("April", Document("April.kvnl"), 1));
        store.Newsletters().AddItem(std::move(archive));
        store.Newsletters().AddItem(Link("Members", Document("Members.kvmg"), 7));
        store.MailingLists().AddItem(std::make_unique<ndb::CNdbFolder>("Clubs"));
        store.MailingLists().AddItem(Link("Members", Document("Members.kvmg"), 7));
        ASSERT_TRUE(store.Save(StorePath(), "Kelvora"));
    }

    QString StorePath() const { return Path("store/newsletter.kvsc"); }
    CKVTreeCtrl& Tree(CMainWnd& window, UINT group)
    {
        return window.GetNavigationView().FindTreeTab(group)->GetTree();
    }
    // The store as it is on disk.
    QStringList SavedNewsletterNames()
    {
        ndb::CNdbShortcuts store;
        EXPECT_TRUE(store.Load(StorePath()));
        QStringList names;
        std::function<void(const ndb::CNdbFolder&, const QString&)> walk =
            [&](const ndb::CNdbFolder& folder, const QString& prefix)
        {
            for (const auto& item : folder.GetItems())
            {
                names << prefix + item->GetName();
                if (auto* sub = dynamic_cast<const ndb::CNdbFolder*>(item.get()))
                    walk(*sub, prefix + item->GetName() + "/");
            }
        };
        walk(store.Newsletters(), {});
        return names;
    }
};
} // namespace

TEST_F(NavigationPane, AClickOpensAShortcutOrOpensAndClosesAFolder)
{
    CMainWnd& window = StartProgram();
    CKVTreeCtrl& tree = Tree(window, CViewNav::NewsletterGroupId);
    QWidget* widget = tree.GetSafeHwnd();
    ASSERT_EQ(RowTexts(tree), QStringList({"June", "Archive", "Members"}));
    EXPECT_EQ(tree.ItemAtRow(2)->m_image, 3) << "a mailing list among the newsletters";
    EXPECT_EQ(tree.ItemAtRow(1)->m_image, 2);

    QTest::mouseClick(widget, Qt::LeftButton, {}, RowCenter(1));
    EXPECT_EQ(RowTexts(tree), QStringList({"June", "Archive", "May", "April", "Members"}));
    QTest::mouseClick(widget, Qt::LeftButton, {}, RowCenter(1));
    EXPECT_EQ(RowTexts(tree), QStringList({"June", "Archive", "Members"}));
    EXPECT_EQ(m_app->GetContext()->GetCurrentDocument(), nullptr) << "a folder opens no document";

    QTest::mouseClick(widget, Qt::LeftButton, {}, RowCenter(0));
    ASSERT_NE(m_app->GetContext()->GetCurrentNewsletter(), nullptr);
    EXPECT_EQ(m_app->GetContext()->GetCurrentNewsletter()->GetPath(), Document("June.kvnl"));
    EXPECT_EQ(tree.m_selected, tree.ItemAtRow(0)) << "the open document's shortcut is current";
    {
        // Clicking the current shortcut does nothing: no question that the document is in use.
        ModalAnswers none;
        QTest::mouseClick(widget, Qt::LeftButton, {}, RowCenter(0));
        AwaitQueuedEvents();
    }

    // A mailing list's shortcut is looked for among the mailing lists, whichever was clicked.
    QTest::mouseClick(widget, Qt::LeftButton, {}, RowCenter(2));
    ASSERT_NE(m_app->GetContext()->GetOpenMailingList(), nullptr);
    CKVTreeCtrl& lists = Tree(window, CViewNav::MailingListGroupId);
    ASSERT_NE(lists.m_selected, nullptr);
    EXPECT_EQ(lists.m_selected->m_text, "Members");
    EXPECT_EQ(tree.m_selected, nullptr);
}

TEST_F(NavigationPane, TheContextMenuDeletesWithOneQuestionAndTheStoreIsSaved)
{
    CMainWnd& window = StartProgram();
    CKVTreeCtrl& tree = Tree(window, CViewNav::NewsletterGroupId);
    {
        ModalAnswers answers;
        answers.Menu("&Delete").Box("Yes");
        QTest::mouseClick(tree.GetSafeHwnd(), Qt::RightButton, {}, RowCenter(1));
        EXPECT_TRUE(QTest::qWaitFor([&] { return answers.Done(); }, 10000));
        EXPECT_EQ(answers.boxTexts, QStringList{"Do you want to delete Archive?"});
    }
    EXPECT_EQ(RowTexts(tree), QStringList({"June", "Members"}));
    EXPECT_EQ(SavedNewsletterNames(), QStringList({"June", "Members"}))
        << "the folder went with its shortcuts";
    {
        ModalAnswers answers;
        answers.Menu("&Delete").Box("No");
        QTest::mouseClick(tree.GetSafeHwnd(), Qt::RightButton, {}, RowCenter(0));
        EXPECT_TRUE(QTest::qWaitFor([&] { return answers.Done(); }, 10000));
    }
    EXPECT_EQ(SavedNewsletterNames(), QStringList({"June", "Members"}));
    {
        // Below the items Open and Delete are grayed; Organize still works, and the store is saved
        // after it.
        QFile::remove(StorePath());
        ModalAnswers answers;
        answers.Menu("&Organize...").Escape();
        QTest::mouseClick(tree.GetSafeHwnd(), Qt::RightButton, {}, RowCenter(8));
        EXPECT_TRUE(QTest::qWaitFor([&] { return answers.Done(); }, 10000));
        ASSERT_EQ(answers.popupItems.size(), 3u);
        EXPECT_FALSE(answers.popupItems[0].enabled) << "&Open";
        EXPECT_FALSE(answers.popupItems[1].enabled) << "&Delete";
        EXPECT_TRUE(answers.popupItems[2].enabled) << "&Organize...";
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(StorePath()); }, 5000));
    }
}

TEST_F(NavigationPane, AShortcutIsDraggedIntoAFolderOfItsOwnGroup)
{
    CMainWnd& window = StartProgram();
    CKVTreeCtrl& tree = Tree(window, CViewNav::NewsletterGroupId);
    QWidget* widget = tree.GetSafeHwnd();
    auto drag = [&](QWidget* from, int fromRow, QWidget* to, int toRow)
    {
        QTest::mousePress(from, Qt::LeftButton, {}, RowCenter(fromRow));
        QTest::mouseMove(from, RowCenter(fromRow) + QPoint(0, 8));
        const QPoint target = from->mapFromGlobal(to->mapToGlobal(RowCenter(toRow)));
        QTest::mouseMove(from, target);
        QTest::mouseRelease(from, Qt::LeftButton, {}, target);
    };

    drag(widget, 2, widget, 0);
    EXPECT_EQ(SavedNewsletterNames(),
              QStringList({"June", "Archive", "Archive/May", "Archive/April", "Members"}))
        << "a drop on a shortcut moves nothing";
    drag(widget, 1, widget, 1);
    EXPECT_EQ(RowTexts(tree).size(), 5) << "the drag of a folder opened it, and moved nothing";

    drag(widget, 0, widget, 1);
    EXPECT_EQ(SavedNewsletterNames(),
              QStringList({"Archive", "Archive/May", "Archive/April", "Archive/June", "Members"}));
    EXPECT_EQ(tree.m_selected ? tree.m_selected->m_text : QString(), "June")
        << "the moved shortcut is current";

    // A shortcut of the mailing lists dropped on a folder of the newsletters stays where it was.
    CKVTreeCtrl& lists = Tree(window, CViewNav::MailingListGroupId);
    ASSERT_EQ(RowTexts(lists), QStringList({"Clubs", "Members"}));
    drag(lists.GetSafeHwnd(), 1, widget, 0);
    EXPECT_EQ(RowTexts(lists), QStringList({"Clubs", "Members"}));
    drag(lists.GetSafeHwnd(), 1, lists.GetSafeHwnd(), 0);
    EXPECT_EQ(RowTexts(lists), QStringList({"Clubs", "Members"}));
    ASSERT_EQ(m_app->GetContext()->GetShortcuts().MailingLists().GetCount(), 1);
}

TEST_F(NavigationPane, EachGroupIsOrganisedFromTheFileMenuOrItsButtonAndTheStoreIsSaved)
{
    CMainWnd& window = StartProgram();
    struct Case
    {
        const char* menuItem;
        UINT group;
        QString document;
        QStringList shown;
    };
    const Case cases[] = {
        {"&Organize Newsletters...",
         CViewNav::NewsletterGroupId,
         "June.kvnl",
         {"June", "Archive", "Members"}},
        {"&Organize Mailing Lists...", CViewNav::MailingListGroupId, "Members.kvmg", {"Clubs", "Members"}},
    };
    for (const Case& c : cases)
    {
        for (const bool byButton : {false, true})
        {
            SCOPED_TRACE(std::string(c.menuItem) + (byButton ? " by the group's button" : " from the menu"));
            CKVTreeTabCtrl& group = *window.GetNavigationView().FindTreeTab(c.group);
            CKVTreeCtrl& tree = group.GetTree();
            const int row = RowTexts(tree).indexOf(QFileInfo(c.document).completeBaseName());
            window.CloseDocument();
            QTest::mouseClick(tree.GetSafeHwnd(), Qt::LeftButton, {}, RowCenter(row));
            ASSERT_NE(tree.m_selected, nullptr) << "the opened document's shortcut is current";
            QFile::remove(StorePath());

            // The organiser shows the group's folder; the user closes it with Escape.
            QStringList shown;
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout,
                             [&]
                             {
                                 QWidget* modal = QApplication::activeModalWidget();
                                 auto* organizer = modal ? modal->findChild<QTreeWidget*>() : nullptr;
                                 if (!organizer || !shown.isEmpty())
                                     return;
                                 for (int i = 0; i < organizer->topLevelItemCount(); ++i)
                                     shown << organizer->topLevelItem(i)->text(0);
                                 QTest::keyClick(organizer, Qt::Key_Escape);
                             });
            poll.start(20);
            if (byButton)
            {
                QWidget* organize = group.GetButton(1)->GetSafeHwnd();
                QTest::mouseClick(organize, Qt::LeftButton, {}, organize->rect().center());
            }
            else
            {
                ASSERT_TRUE(ChooseMenuItem(window, {"&File", c.menuItem}));
            }
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return !shown.isEmpty() && !QApplication::activeModalWidget(); }, 10000));
            EXPECT_EQ(shown, c.shown);
            EXPECT_TRUE(QFile::exists(StorePath())) << "the store is saved whatever the organiser returned";
            EXPECT_EQ(tree.m_selected, nullptr) << "the group is shown again without a selection";
        }
    }
}
