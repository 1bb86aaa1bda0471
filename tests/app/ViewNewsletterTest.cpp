#include "ShellTestSupport.h"

#include "app/KVContext.h"
#include "controls/CommandIds.h"
#include "editor/LayoutCommandIds.h"
#include "mailui/DlgSpamCheck.h"

#include <QTimer>

using namespace ShellTest;

namespace
{
QStringList ShownAddresses(CWndUsers& users)
{
    QStringList addresses;
    for (int row = 0; row < users.GetList().GetRowCount(); ++row)
        addresses << static_cast<const ndb::CNdbUser*>(users.GetList().GetRow(row)->m_data)
                         ->GetString(ndb::UserEmail);
    return addresses;
}

// Watches for the spam check dialog while a command runs: notes its caption and how many words it
// lists, and closes it with Escape.
class SpamCheckWatch
{
public:
    SpamCheckWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(20);
    }

    int shown = 0;
    QString caption;

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = modal ? dynamic_cast<CDlgSpamCheck*>(CWnd::FromHandle(modal)) : nullptr;
        if (!dialog)
            return;
        ++shown;
        caption = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    }

    QTimer m_timer;
};
} // namespace

// Saves the letter as "June.kvnl" beside a plain "July.kvnl", starts the program and opens June.
class ViewPages : public ShellProgram
{
protected:
    CMainWnd& OpenJuneBesideJuly(ndb::CNdbNewsletter& letter)
    {
        EXPECT_TRUE(letter.Save(Document("June.kvnl"), QStringLiteral("Kelvora"), 2007, 1));
        EXPECT_TRUE(WriteNewsletter(Document("July.kvnl"), QStringLiteral("July")));
        CMainWnd& window = StartProgram();
        window.MoveWindow(0, 0, 1000, 700);
        EXPECT_TRUE(window.OpenNewsletter(Document("June.kvnl")));
        return window;
    }
};

// Ctrl+2 shows the newsletter's recipients, and commands then reach the recipient list: Ctrl+A
// selects every row. Opening another newsletter goes back to the layout editor with that
// newsletter's recipients loaded behind it.
TEST_F(ViewPages, RecipientsPageShowsTheNewsletterRecipientsOnCtrl2)
{
    ndb::CNdbNewsletter letter(QStringLiteral("June"));
    letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    for (const char* address : {"ann@example.org", "bo@example.org", "cy@example.org"})
    {
        auto user = std::make_unique<ndb::CNdbUser>();
        user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QString::fromLatin1(address)));
        letter.Users().AddUser(std::move(user));
    }
    CMainWnd& window = OpenJuneBesideJuly(letter);
    CViewNewsletter& view = window.GetNewsletterView();
    CWndUsers& users = view.GetUsersWindow();
    EXPECT_FALSE(users.IsWindowVisible());

    PressKey(window, Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(view.GetVisiblePage(), 2);
    EXPECT_TRUE(users.IsWindowVisible());
    EXPECT_FALSE(view.GetLayout().IsWindowVisible());
    EXPECT_GT(users.GetSafeHwnd()->width(), 500);
    EXPECT_EQ(ShownAddresses(users), (QStringList{"ann@example.org", "bo@example.org", "cy@example.org"}));

    PressKey(window, Qt::Key_A, Qt::ControlModifier);
    CWndUsers::SelectedUsers selected;
    users.GetSelectedUsers(selected);
    EXPECT_EQ(selected.size(), 3u);

    PressKey(window, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(view.GetVisiblePage(), 1);
    EXPECT_FALSE(users.IsWindowVisible());
    EXPECT_TRUE(view.GetLayout().IsWindowVisible());

    PressKey(window, Qt::Key_2, Qt::ControlModifier);
    {
        ModalAnswers answers;
        ASSERT_TRUE(window.OpenNewsletter(Document("July.kvnl")));
    }
    EXPECT_EQ(view.GetVisiblePage(), 1);
    EXPECT_FALSE(users.IsWindowVisible());
    EXPECT_TRUE(ShownAddresses(users).isEmpty());
}

// The toolbar's Spam Check rates the edited page: it opens the dialog while editing, and the same
// command does nothing while the page is only shown.
// Ctrl+3 shows the report window of the open newsletter with its delivery overview; the View
// menu's Tracking shows the tracking page from another page; opening another newsletter resets
// the report to its overview.
TEST_F(ViewPages, StatisticsPageShowsTheReportOfTheOpenNewsletter)
{
    ndb::CNdbNewsletter letter(QStringLiteral("June"));
    letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    letter.Log().SetStatus(100, QStringLiteral("ann@example.org"));
    letter.Log().SetStatus(30, QStringLiteral("bo@example.org"));
    CMainWnd& window = OpenJuneBesideJuly(letter);
    CViewNewsletter& view = window.GetNewsletterView();
    CWndSummary& report = view.GetReportWindow();
    EXPECT_FALSE(report.IsWindowVisible());
    CKVContext& context = *m_app->GetContext();

    PressKey(window, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(view.GetVisiblePage(), 3);
    EXPECT_TRUE(report.IsWindowVisible());
    EXPECT_FALSE(view.GetLayout().IsWindowVisible());
    EXPECT_GT(report.GetSafeHwnd()->width(), 500);
    const auto page = context.FindInWebStore(QStringLiteral("wndsummary.htm"));
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->bytes.contains("June"));
    EXPECT_EQ(report.GetSettings().view, ReportSettings::Overview);

    PressKey(window, Qt::Key_1, Qt::ControlModifier);
    window.SendMessage(WM_COMMAND, ID_VIEW_REPORT_TRACKING);
    EXPECT_EQ(view.GetVisiblePage(), 3);
    EXPECT_EQ(report.GetSettings().view, ReportSettings::Tracking);
    window.SendMessage(WM_COMMAND, ID_VIEW_REPORT_OVERVIEW);
    EXPECT_EQ(report.GetSettings().view, ReportSettings::Overview);
    window.SendMessage(WM_COMMAND, ID_VIEW_REPORT_TRACKING);

    {
        ModalAnswers answers;
        ASSERT_TRUE(window.OpenNewsletter(Document("July.kvnl")));
    }
    EXPECT_EQ(view.GetVisiblePage(), 1);
    EXPECT_FALSE(report.IsWindowVisible());
    EXPECT_EQ(report.GetSettings().view, ReportSettings::Overview);
}

TEST_F(ShellProgram, SpamCheckOfTheEditedNewsletter)
{
    ASSERT_TRUE(WriteNewsletter(Document("June.kvnl"), QStringLiteral("June")));
    CMainWnd& window = StartProgram();
    ASSERT_TRUE(window.OpenNewsletter(Document("June.kvnl")));
    ASSERT_TRUE(ShownPageText(window).contains(LetterText));
    {
        SpamCheckWatch watch;
        // The spam check is a modal window: it would have come and gone within the command.
        window.SendMessage(WM_COMMAND, ID_SPAM_CHECK);
        EXPECT_EQ(watch.shown, 0) << "no spam check while the page is only shown";
    }

    PressKey(window, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(window.GetNewsletterView().IsEditing());
    SpamCheckWatch watch;
    ASSERT_TRUE(ChooseMenuItem(window, {"&Format", "Spam Check..."}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return watch.shown == 1; }, 10000));
    EXPECT_EQ(watch.caption, "Spam Check (content screening)");
}

// Email Settings from the main window runs the settings sheet over the open newsletter; Cancel
// leaves the newsletter unmodified.
TEST_F(ShellProgram, EmailSettingsCommandRunsTheSheetOverTheOpenNewsletter)
{
    ASSERT_TRUE(WriteNewsletter(Document("June.kvnl"), QStringLiteral("June")));
    CMainWnd& window = StartProgram();
    ASSERT_TRUE(window.OpenNewsletter(Document("June.kvnl")));
    int shown = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout,
                     [&shown]
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (!modal || !modal->windowTitle().contains(QStringLiteral("Settings")))
                             return;
                         ++shown;
                         QTest::keyClick(modal, Qt::Key_Escape);
                     });
    watch.start(20);
    window.SendMessage(WM_COMMAND, 32780);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(m_app->GetContext()->GetCurrentNewsletter()->IsModified());
}
