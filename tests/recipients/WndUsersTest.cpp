#include "RecipientsTestSupport.h"
#include "base/TextHelpers.h"
#include "controls/CommandIds.h"
#include "editor/LayoutCommandIds.h"
#include "platform/core/AppStrings.h"
#include "recipients/RecipientFields.h"
#include "res/dialogs/UserAdd.h"

#include <QClipboard>
#include <QCollator>
#include <QGuiApplication>

using namespace DialogTest;

namespace
{
constexpr int StatusColumn = 2;
constexpr int EmailColumn = 3;
constexpr int FirstNameColumn = 5;
constexpr int HtmlColumn = 25;

QWidget* FilterField(CWndUsers& window)
{
    return window.GetToolbar().GetFilterField()->GetSafeHwnd();
}

QWidget* EmailHeader(CWndUsers& window)
{
    int left = 0;
    for (int c = 0; c < EmailColumn; ++c)
        left += window.GetList().GetColumnWidth(c);
    return window.GetList().GetSafeHwnd()->childAt(QPoint(left + 20, CKVList::HeaderHeight / 2));
}

void ClickButtonWhenShown(QWidget* window, const QString& caption)
{
    EXPECT_TRUE(ClickButton(window, caption)) << caption.toStdString();
}
} // namespace

using WndUsers = UsersWindowFixture;

TEST_F(WndUsers, CellsShowSendStatusFlagsAndLabels)
{
    FakeUsersContext context;
    ndb::CNdbNewsletter& newsletter = OpenNewsletter(context);
    const char* addresses[] = {"sent@x.com", "failed@x.com", "once@x.com", "thrice@x.com", "new@x.com"};
    for (const char* address : addresses)
        newsletter.Users().AddUser(MakeUser(QString::fromLatin1(address)));
    newsletter.Log().SetStatus(10, QStringLiteral("sent@x.com"));
    newsletter.Log().SetStatus(30, QStringLiteral("failed@x.com"));
    newsletter.Log().SetStatus(40, QStringLiteral("once@x.com"));
    newsletter.Log().CountAttempt(QStringLiteral("once@x.com"));
    newsletter.Log().SetStatus(40, QStringLiteral("thrice@x.com"));
    for (int i = 0; i < 3; ++i)
        newsletter.Log().CountAttempt(QStringLiteral("thrice@x.com"));
    ndb::CNdbUser& last = *newsletter.Users().GetUserAt(4);
    last.SetField(ndb::UserHtmlMail, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
    last.SetField(ndb::UserEnabled, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
    last.SetField(ndb::UserColorLabel, ndb::CNdbFieldValue(ndb::NdbValueColorLabel, 5));

    CWndUsers& window = MakeWindow(context, 0);
    const QStringList cells = window.BuildRowCells(last);
    EXPECT_EQ(cells[0], QStringLiteral("5"));
    EXPECT_EQ(cells[1], QStringLiteral("1"));
    EXPECT_EQ(cells[HtmlColumn], QStringLiteral("No"));
    EXPECT_EQ(window.BuildRowCells(*newsletter.Users().GetUserAt(0))[HtmlColumn], QString());
    // Reloaded rows stand in the order of the label column: unlabelled first.
    EXPECT_EQ(Column(window, EmailColumn).back(), QStringLiteral("new@x.com"));
    EXPECT_EQ(Column(window, StatusColumn),
              QStringList({"Sent", "Failed", "Pending", "Pending (3 attempts)", ""}));
    SaveArtifact(window, QStringLiteral("recipients-list-window.png"));
}

TEST_F(WndUsers, MailingListHasNoStatusAndDynamicListIsReadOnly)
{
    FakeUsersContext context;
    OpenMailingList(context, true).Users().AddUser(MakeUser(QStringLiteral("a@x.com")));
    CWndUsers& window = MakeWindow(context, 1);
    EXPECT_TRUE(window.IsReadOnly());
    EXPECT_EQ(Column(window, StatusColumn), QStringList({""}));

    window.SendMessage(CWndUsers::UM_LIST_ROW_DBLCLICK, 0, 0);
    Command(window, ID_RECIPIENTS_SELECT_ALL);
    Command(window, ID_RECIPIENTS_DELETE);
    app.answers = {IDYES};
    Command(window, ID_EDIT_CUT);
    EXPECT_EQ(app.messages, QStringList({LoadAppString(15324), LoadAppString(15324), LoadAppString(15339),
                                         LoadAppString(15324)}));
    EXPECT_EQ(static_cast<ndb::CNdbMailGroup*>(context.document.get())->Users().GetCount(), 1);
}

TEST_F(WndUsers, FilterTypedIntoTheFieldAndStatusLine)
{
    FakeUsersContext context;
    ndb::CNdbNewsletter& newsletter = OpenNewsletter(context);
    newsletter.Users().AddUser(MakeUser(QStringLiteral("ann@x.com"), QStringLiteral("Ann")));
    newsletter.Users().AddUser(MakeUser(QStringLiteral("bob@x.com"), QStringLiteral("Bob")));
    newsletter.Users().AddUser(MakeUser(QStringLiteral("cid@x.com"), QStringLiteral("Cid")));
    newsletter.Users().AddUser(MakeUser(QStringLiteral("dan@x.com"), QStringLiteral("dan")));
    newsletter.Users().AddUser(MakeUser(QStringLiteral("eve@x.com"), QStringLiteral("Eve")));
    newsletter.Users().GetUserAt(1)->SetField(ndb::UserEnabled, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
    CWndUsers& window = MakeWindow(context, 0);
    window.GetSafeHwnd()->activateWindow();

    TypeOver(FilterField(window), QStringLiteral("1"));
    EXPECT_EQ(Column(window, EmailColumn), QStringList({"bob@x.com"}));
    TypeOver(FilterField(window), QStringLiteral("Dan"));
    EXPECT_TRUE(Column(window, EmailColumn).isEmpty());
    TypeOver(FilterField(window), QStringLiteral("n@"));
    EXPECT_EQ(Column(window, EmailColumn), QStringList({"ann@x.com", "dan@x.com"}));

    window.GetList().GetRow(1)->m_checked = true;
    window.SendMessage(CWndUsers::UM_LIST_SELECTION_CHANGED, 0, 0);
    EXPECT_EQ(window.GetStatusText(), QStringLiteral("5 recipients   2 visible   1 selected"));
    Command(window, ID_RECIPIENTS_SELECT_ALL);
    EXPECT_EQ(window.GetStatusText(), QStringLiteral("5 recipients   2 visible   2 selected"));
}

TEST_F(WndUsers, HeaderClicksSortAndReverse)
{
    FakeUsersContext context;
    ndb::CNdbNewsletter& newsletter = OpenNewsletter(context);
    for (const char* name : {"b@x.com", "c@x.com", "a@x.com"})
        newsletter.Users().AddUser(MakeUser(QString::fromLatin1(name)));
    CWndUsers& window = MakeWindow(context, 0);
    QWidget* header = EmailHeader(window);
    ASSERT_TRUE(header);
    QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(Column(window, EmailColumn), QStringList({"a@x.com", "b@x.com", "c@x.com"}));
    QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(Column(window, EmailColumn), QStringList({"c@x.com", "b@x.com", "a@x.com"}));
}

TEST_F(WndUsers, CopyInANewsletterPasteIntoAMailingListKeepsEveryField)
{
    FakeUsersContext newsletterContext;
    ndb::CNdbNewsletter& newsletter = OpenNewsletter(newsletterContext);
    auto user = MakeUser(QStringLiteral("full@x.com"));
    for (const RecipientField& field : GetRecipientFields())
    {
        if (field.code > 110 && field.code < 700)
            user->SetField(field.code, ndb::CNdbFieldValue(field.name + QStringLiteral(";\"x\"")));
    }
    user->SetField(ndb::UserColorLabel, ndb::CNdbFieldValue(ndb::NdbValueColorLabel, 3));
    user->SetField(ndb::UserBlocked, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
    user->SetField(ndb::UserHtmlMail, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
    const ndb::CNdbUser original = *user;
    newsletter.Users().AddUser(std::move(user));
    newsletter.Users().AddUser(MakeUser(QStringLiteral("other@x.com")));
    CWndUsers& from = MakeWindow(newsletterContext, 0);
    // Rows stand in label order: the labelled recipient comes last.
    ASSERT_EQ(Column(from, EmailColumn), QStringList({"other@x.com", "full@x.com"}));
    from.GetList().GetRow(1)->m_checked = true;
    Command(from, ID_EDIT_COPY);

    FakeUsersContext listContext;
    ndb::CNdbMailGroup& list = OpenMailingList(listContext);
    CWndUsers& to = MakeWindow(listContext, 1);
    ModalScript script;
    script.ThenTitled(QStringLiteral("Select Recipients"),
                      [](QWidget* w) { ClickButtonWhenShown(w, QStringLiteral("Import Selected")); });
    script.Start();
    Command(to, ID_EDIT_PASTE);
    EXPECT_TRUE(script.Finished());
    ASSERT_EQ(list.Users().GetCount(), 1);
    const ndb::CNdbUser& pasted = *list.Users().GetUserAt(0);
    for (const auto& [id, value] : original.GetFields())
    {
        ndb::CNdbFieldValue got;
        ASSERT_TRUE(pasted.GetField(id, got)) << id;
        EXPECT_EQ(got.GetType(), value.GetType()) << id;
        EXPECT_EQ(got.GetString(), value.GetString()) << id;
        EXPECT_EQ(got.GetInt(), value.GetInt()) << id;
    }
    EXPECT_EQ(app.messages.back(), FormatResourceText(LoadAppString(15330), {"1", "0", "0"}));
    EXPECT_EQ(Column(to, EmailColumn), QStringList({"full@x.com"}));
    EXPECT_TRUE(to.GetList().GetRow(0)->m_checked);
    EXPECT_NE(std::find(main.commands.begin(), main.commands.end(), 32889u), main.commands.end());
}

TEST_F(WndUsers, PastedSingleAddressAddsThatRecipient)
{
    FakeUsersContext context;
    ndb::CNdbNewsletter& newsletter = OpenNewsletter(context);
    newsletter.Users().AddUser(MakeUser(QStringLiteral("Known@X.com")));
    CWndUsers& window = MakeWindow(context, 0);
    for (const char* text : {"new@x.com", "known@x.com"})
    {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
        ModalScript script;
        script.ThenTitled(QStringLiteral("Select Recipients"),
                          [](QWidget* w) { ClickButtonWhenShown(w, QStringLiteral("Import Selected")); });
        script.Start();
        Command(window, ID_EDIT_PASTE);
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(newsletter.Users().GetCount(), 2);
    EXPECT_EQ(app.messages.back(), FormatResourceText(LoadAppString(15330), {"0", "1", "0"}));
}

TEST_F(WndUsers, HundredThousandRecipientsFilterAndSortByRealEvents)
{
    constexpr int Count = 100000;
    FakeUsersContext context;
    ndb::CNdbNewsletter& newsletter = OpenNewsletter(context);
    QStringList expected;
    for (int i = 0; i < Count; ++i)
    {
        const int key = (i * 7919) % Count;
        const QString address = QStringLiteral("p%1@x.com").arg(key);
        auto user = MakeUser(address);
        user->SetField(ndb::UserCity, ndb::CNdbFieldValue(QStringLiteral("City %1").arg(key % 97)));
        if (key % 97 == 42)
            expected << address;
        newsletter.Users().AddUser(std::move(user));
    }
    CWndUsers& window = MakeWindow(context, 0);
    window.GetSafeHwnd()->activateWindow();
    TypeOver(FilterField(window), QStringLiteral("City 42"));
    QStringList shown = Column(window, EmailColumn);
    EXPECT_EQ(shown.size(), expected.size());

    QWidget* header = EmailHeader(window);
    ASSERT_TRUE(header);
    QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(20, 5));
    QCollator collator;
    std::stable_sort(expected.begin(), expected.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    EXPECT_EQ(Column(window, EmailColumn), expected);
    QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(20, 5));
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(Column(window, EmailColumn), expected);
    EXPECT_EQ(window.GetStatusText().left(16), QStringLiteral("100000 recipient"));
}

TEST_F(WndUsers, AddRefusesAKnownAddressInOtherCaseAndReopens)
{
    FakeUsersContext context;
    ndb::CNdbNewsletter& newsletter = OpenNewsletter(context);
    newsletter.Users().AddUser(MakeUser(QStringLiteral("Ann@X.com")));
    CWndUsers& window = MakeWindow(context, 0);
    ModalScript script;
    script
        .ThenTitled(QStringLiteral("Add recipient"),
                    [](QWidget* w)
                    {
                        TypeOver(CWnd::FromHandle(w)->GetDlgItem(IDC_EMAIL)->GetSafeHwnd(),
                                 QStringLiteral("ann@x.com"));
                        ClickButtonWhenShown(w, QStringLiteral("OK"));
                    })
        .ThenTitled(QStringLiteral("Add recipient"),
                    [](QWidget* w)
                    {
                        EXPECT_EQ(CWnd::FromHandle(w)->GetDlgItem(IDC_EMAIL)->GetWindowText(),
                                  QStringLiteral("ann@x.com"));
                        TypeOver(CWnd::FromHandle(w)->GetDlgItem(IDC_EMAIL)->GetSafeHwnd(),
                                 QStringLiteral("bob@x.com"));
                        ClickButtonWhenShown(w, QStringLiteral("OK"));
                    });
    script.Start();
    Command(window, ID_RECIPIENTS_ADD);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(app.messages, QStringList({LoadAppString(15334)}));
    ASSERT_EQ(newsletter.Users().GetCount(), 2);
    EXPECT_EQ(newsletter.Users().GetUserAt(1)->GetString(ndb::UserEmail), QStringLiteral("bob@x.com"));
    EXPECT_FALSE(newsletter.Users().GetUserAt(1)->GetString(ndb::UserId).isEmpty());
    EXPECT_EQ(Column(window, EmailColumn), QStringList({"Ann@X.com", "bob@x.com"}));
}

TEST_F(WndUsers, EditingSeveralComparesAbsentFlagsByTheirMeaning)
{
    FakeUsersContext context;
    ndb::CNdbNewsletter& newsletter = OpenNewsletter(context);
    newsletter.Users().AddUser(MakeUser(QStringLiteral("a@x.com"), QStringLiteral("Ann")));
    newsletter.Users().AddUser(MakeUser(QStringLiteral("b@x.com"), QStringLiteral("Bob")));
    newsletter.Users().GetUserAt(0)->SetField(ndb::UserHtmlMail, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
    newsletter.Users().GetUserAt(0)->SetField(ndb::UserEnabled, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
    CWndUsers& window = MakeWindow(context, 0);
    Command(window, ID_RECIPIENTS_SELECT_ALL);
    ModalScript script;
    script.ThenTitled(QStringLiteral("Edit multiple recipient information"),
                      [](QWidget* w)
                      {
                          CWnd* dialog = CWnd::FromHandle(w);
                          // The first names differ: the field is empty; the HTML flags differ (absent is
                          // true); the enabled flags agree (absent is true).
                          EXPECT_EQ(dialog->GetDlgItem(IDC_FIRST)->GetWindowText(), QString());
                          EXPECT_EQ(dialog->GetDlgItem(IDC_HTML_MAIL)->GetWindowText(),
                                    QStringLiteral("Yes"));
                          TypeOver(dialog->GetDlgItem(IDC_LAST)->GetSafeHwnd(), QStringLiteral("Same"));
                          ClickButtonWhenShown(w, QStringLiteral("OK"));
                      });
    script.Start();
    Command(window, ID_RECIPIENTS_PROPERTIES);
    EXPECT_TRUE(script.Finished());
    for (const auto& user : newsletter.Users().GetUsers())
        EXPECT_EQ(user->GetString(ndb::UserLastName), QStringLiteral("Same"));
    EXPECT_EQ(newsletter.Users().GetUserAt(0)->GetString(ndb::UserFirstName), QStringLiteral("Ann"));
    EXPECT_EQ(newsletter.Users().GetUserAt(1)->GetString(ndb::UserFirstName), QStringLiteral("Bob"));
    EXPECT_FALSE(newsletter.Users().GetUserAt(0)->GetBool(ndb::UserHtmlMail, true));
    EXPECT_EQ(newsletter.Users().GetUserAt(1)->GetFields().find(ndb::UserHtmlMail),
              newsletter.Users().GetUserAt(1)->GetFields().end());
}

TEST_F(WndUsers, DeleteKeyAsksAndTabMovesToTheFilter)
{
    FakeUsersContext context;
    ndb::CNdbNewsletter& newsletter = OpenNewsletter(context);
    newsletter.Users().AddUser(MakeUser(QStringLiteral("a@x.com")));
    newsletter.Users().AddUser(MakeUser(QStringLiteral("b@x.com")));
    CWndUsers& window = MakeWindow(context, 0);
    QWidget* list = window.GetList().GetSafeHwnd();
    list->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor(
        [list]
        {
            list->setFocus();
            return list->hasFocus();
        }));
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_TRUE(FilterField(window)->hasFocus());
    QTest::keyClick(FilterField(window), Qt::Key_Tab);
    EXPECT_TRUE(list->hasFocus());

    window.GetList().GetRow(1)->m_checked = true;
    app.answers = {IDYES};
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_TRUE(QTest::qWaitFor([&app = app] { return !app.messages.isEmpty(); }, 2000));
    EXPECT_EQ(app.messages, QStringList({LoadAppString(15336)}));
    ASSERT_EQ(newsletter.Users().GetCount(), 1);
    EXPECT_EQ(newsletter.Users().GetUserAt(0)->GetString(ndb::UserEmail), QStringLiteral("a@x.com"));
    EXPECT_EQ(Column(window, EmailColumn), QStringList({"a@x.com"}));
}
