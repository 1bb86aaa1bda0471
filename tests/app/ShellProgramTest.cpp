#include "ShellTestSupport.h"

#include "app/KVContext.h"
#include "controls/KVTreeTabCtrl.h"

#include <QFileInfo>

using namespace ShellTest;

namespace
{
const QString Title = QStringLiteral("Kelvora - Talvecor");
} // namespace

TEST_F(ShellProgram, OpensShowsSavesClosesAndReopensANewsletter)
{
    const QString path = Document(QStringLiteral("June.kvnl"));
    ASSERT_TRUE(WriteNewsletter(path, QStringLiteral("June")));
    CMainWnd& window = StartProgram();
    CKVContext& context = *m_app->GetContext();
    EXPECT_EQ(window.GetWindowText(), Title);
    EXPECT_NE(context.GetServerPort(), 0);

    {
        ModalAnswers answers;
        answers.File(path);
        ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Open..."}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return answers.Done(); }, 10000));
    }
    ASSERT_NE(context.GetCurrentNewsletter(), nullptr);
    EXPECT_EQ(window.GetWindowText(), "June.kvnl - " + Title);
    EXPECT_TRUE(ShownPageText(window).contains(LetterText));
    EXPECT_EQ(window.GetNewsletterView().GetLayout().GetPageUrl(),
              QStringLiteral("http://localhost:%1/June.kvnl").arg(context.GetServerPort()));
    EXPECT_TRUE(QFileInfo::exists(path + "~"));
    const CKVTreeCtrl& tree = window.GetNavigationView().FindTreeTab(CViewNav::NewsletterGroupId)->GetTree();
    ASSERT_EQ(tree.CountRows(), 1);
    EXPECT_EQ(tree.ItemAtRow(0)->m_text, "June") << "the shortcut carries the newsletter's name";
    EXPECT_EQ(tree.m_selected, tree.ItemAtRow(0));

    // A change, marked in the title, then saved with the key.
    context.GetCurrentNewsletter()->SetField(ndb::NewsletterName,
                                             ndb::CNdbFieldValue(QStringLiteral("June, revised")));
    window.SendMessage(WM_COMMAND, ID_CURBASE_CHANGED);
    EXPECT_EQ(window.GetWindowText(), "June.kvnl* - " + Title);
    PressKey(window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window.GetWindowText(), "June.kvnl - " + Title);
    EXPECT_FALSE(context.GetCurrentNewsletter()->IsModified());
    const ArchiveFileHeader saved = HeaderOf(path);
    EXPECT_EQ(saved.creator, QString()) << "Save writes no creator";
    EXPECT_EQ(saved.creatorMajor, 0);

    ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Close"}));
    EXPECT_EQ(context.GetCurrentDocument(), nullptr);
    EXPECT_EQ(window.GetWindowText(), Title);
    EXPECT_FALSE(QFileInfo::exists(path + "~")) << "closing removes the lock file";

    ASSERT_TRUE(ChooseMenuItem(window, {"&File", "Open &Recent", path}));
    ASSERT_NE(context.GetCurrentNewsletter(), nullptr);
    EXPECT_EQ(context.GetCurrentNewsletter()->GetString(ndb::NewsletterName), "June, revised");
    EXPECT_TRUE(ShownPageText(window).contains(LetterText));
}

TEST_F(ShellProgram, OpensSavesClosesAndReopensAMailingList)
{
    const QString path = Document(QStringLiteral("Members.kvmg"));
    ASSERT_TRUE(WriteMailingList(path, QStringLiteral("Members"), {"ann@example.org", "bo@example.org"}));
    CMainWnd& window = StartProgram();
    CKVContext& context = *m_app->GetContext();
    {
        ModalAnswers answers;
        answers.File(path);
        ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Open..."}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return answers.Done(); }, 10000));
    }
    ndb::CNdbMailGroup* list = context.GetOpenMailingList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(window.GetMailGroupView().IsWindowVisible());
    EXPECT_FALSE(window.GetNewsletterView().IsWindowVisible());
    EXPECT_EQ(window.GetSplitter().m_secondPane, &window.GetMailGroupView());

    auto user = std::make_unique<ndb::CNdbUser>();
    user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("cy@example.org")));
    list->Users().AddUser(std::move(user));
    window.SendMessage(WM_COMMAND, ID_CURBASE_CHANGED);
    EXPECT_EQ(window.GetWindowText(), "Members.kvmg* - " + Title);
    ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Save"}));
    EXPECT_EQ(window.GetWindowText(), "Members.kvmg - " + Title);

    ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Close"}));
    EXPECT_EQ(context.GetCurrentDocument(), nullptr);
    EXPECT_TRUE(window.GetNewsletterView().IsWindowVisible())
        << "with nothing open the newsletter view shows";

    ASSERT_TRUE(ChooseMenuItem(window, {"&File", "Open &Recent", path}));
    list = context.GetOpenMailingList();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Users().GetCount(), 3);
    EXPECT_EQ(list->Users().GetUserAt(2)->GetString(ndb::UserEmail), "cy@example.org");
}

TEST_F(ShellProgram, CancelInTheSaveQuestionKeepsTheDocumentAndTheProgram)
{
    const QString june = Document(QStringLiteral("June.kvnl"));
    const QString july = Document(QStringLiteral("July.kvnl"));
    ASSERT_TRUE(WriteNewsletter(june, QStringLiteral("June")));
    ASSERT_TRUE(WriteNewsletter(july, QStringLiteral("July")));
    CMainWnd& window = StartProgram();
    CKVContext& context = *m_app->GetContext();
    ASSERT_TRUE(window.OpenNewsletter(june));
    window.SendMessage(WM_COMMAND, ID_CURBASE_CHANGED);

    ModalAnswers answers;
    answers.Box("Cancel").Box("Cancel").File(july).Box("Cancel");
    ChooseMenuItem(window, {"&File", "&Close"});
    ChooseMenuItem(window, {"&File", "&Exit"});
    // Exit asks once the window has its close.
    EXPECT_TRUE(QTest::qWaitFor([&] { return answers.boxTexts.size() == 2; }, 10000));
    ChooseMenuItem(window, {"&File", "&Open..."});
    EXPECT_TRUE(QTest::qWaitFor([&] { return answers.Done(); }, 10000));
    EXPECT_EQ(answers.boxTexts,
              QStringList(3, QStringLiteral("Do you want to save changes to newsletter \"June\"?")));
    EXPECT_TRUE(window.IsWindowVisible());
    ASSERT_NE(context.GetCurrentNewsletter(), nullptr);
    EXPECT_EQ(context.GetCurrentNewsletter()->GetPath(), june);
    EXPECT_TRUE(context.GetCurrentNewsletter()->IsModified());
    EXPECT_TRUE(window.GetDocumentLock().IsHeld());
}

TEST_F(ShellProgram, TheSessionMayNotEndWhileTheDocumentIsModified)
{
    const QString path = Document(QStringLiteral("June.kvnl"));
    ASSERT_TRUE(WriteNewsletter(path, QStringLiteral("June")));
    CMainWnd& window = StartProgram();
    EXPECT_TRUE(m_app->QueryEndSession()) << "nothing open";
    ASSERT_TRUE(window.OpenNewsletter(path));
    EXPECT_TRUE(m_app->QueryEndSession()) << "no changes";
    window.SendMessage(WM_COMMAND, ID_CURBASE_CHANGED);
    EXPECT_FALSE(m_app->QueryEndSession()) << "unsaved changes";
    PressKey(window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(m_app->QueryEndSession()) << "saved";
}
