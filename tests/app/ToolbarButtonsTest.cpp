#include "CreateDialogSupport.h"
#include "ShellTestSupport.h"
#include "support/PageMouse.h"
#include "support/ScriptedHttpServer.h"
#include "support/ToolbarMouse.h"

#include "controls/CommandIds.h"
#include "editor/LayoutCommandIds.h"

#include <QPainter>
#include <QWebEngineView>

#include <functional>

using namespace ShellTest;
using namespace ToolbarMouse;

namespace
{
// What a person sees after a click.
enum class Effect
{
    Dialog,                // a modal window comes up (closed again with Escape)
    HelpWindow,            // the help window shows
    EditMode,              // the layout editor starts editing
    ViewMode,              // the layout editor stops editing
    ViewModeThenEditAgain, // as ViewMode; the Edit Layout button then starts editing again
    PageChanges,           // the edited page changes
    PopUp,                 // a pop-up window comes up (closed again)
    ReportChanges,         // the report window shows another report
    HelpBrowses,           // the help window shows another page or goes back and forth
    Greyed,                // shown greyed: the document gives it nothing to do
    RecipientsChange,      // the list shows other recipients
};

struct Row
{
    const char* window;
    UINT command;
    Effect effect;
};

// Every button of every toolbar, in the order the test reaches them: a window's buttons are
// clicked in the order of its rows.
const Row Rows[] = {
    {"newsletter", ID_EMAIL_SETTINGS, Effect::Dialog},
    {"newsletter", ID_TEST_SEND, Effect::Dialog},
    {"newsletter", ID_SEND, Effect::Dialog},
    {"newsletter", ID_LAYOUT_HELP, Effect::HelpWindow},
    {"newsletter", ID_LAYOUT_EDIT, Effect::EditMode},
    {"layout editor", ID_BOLD, Effect::PageChanges},
    {"layout editor", ID_ITALIC, Effect::PageChanges},
    {"layout editor", ID_TEXT_COLOR, Effect::PageChanges},
    {"layout editor", ID_FILL_COLOR, Effect::PageChanges},
    {"layout editor", ID_SELECT_TEXT_COLOR, Effect::Dialog},
    {"layout editor", ID_SELECT_FILL_COLOR, Effect::Dialog},
    {"layout editor", ID_ALIGN_CENTER, Effect::PageChanges},
    {"layout editor", ID_ALIGN_RIGHT, Effect::PageChanges},
    {"layout editor", ID_ALIGN_FULL, Effect::PageChanges},
    {"layout editor", ID_ALIGN_LEFT, Effect::PageChanges},
    {"layout editor", ID_INSERT_LINK, Effect::Dialog},
    {"layout editor", ID_INSERT_IMAGE, Effect::Dialog},
    {"layout editor", ID_FORMAT_PALETTE, Effect::Dialog},
    {"layout editor", ID_INSERT_TABLE, Effect::Dialog},
    {"layout editor", ID_INSERT_BOX, Effect::Dialog},
    {"layout editor", ID_INSERT_RULE, Effect::PageChanges},
    {"layout editor", ID_INDENT, Effect::PageChanges},
    {"layout editor", ID_OUTDENT, Effect::PageChanges},
    {"layout editor", ID_ORDERED_LIST, Effect::PageChanges},
    {"layout editor", ID_UNORDERED_LIST, Effect::PageChanges},
    {"layout editor", ID_SPAM_CHECK, Effect::Dialog},
    {"layout editor", ID_LAYOUT_HELP, Effect::HelpWindow},
    {"layout editor", ID_FORMAT_STYLES, Effect::Dialog},
    {"layout editor", ID_LAYOUT_CANCEL, Effect::ViewModeThenEditAgain},
    {"layout editor", ID_LAYOUT_SAVE, Effect::ViewMode},
    {"recipients", ID_RECIPIENTS_ADD, Effect::Dialog},
    {"recipients", ID_RECIPIENTS_PROPERTIES, Effect::Dialog},
    {"recipients", ID_RECIPIENTS_DELETE, Effect::Dialog},
    {"recipients", ID_RECIPIENTS_IMPORT, Effect::Dialog},
    {"recipients", ID_TEST_SEND, Effect::Dialog},
    {"recipients", ID_SEND, Effect::Dialog},
    {"recipients", ID_LAYOUT_HELP, Effect::HelpWindow},
    {"report", ID_VIEW_REPORT_TRACKING, Effect::ReportChanges},
    {"report", ID_VIEW_REPORT_OVERVIEW, Effect::ReportChanges},
    {"report", ID_LAYOUT_HELP, Effect::HelpWindow},
    {"mailing list", ID_RECIPIENTS_ADD, Effect::Dialog},
    {"mailing list", ID_RECIPIENTS_PROPERTIES, Effect::Dialog},
    {"mailing list", ID_RECIPIENTS_DELETE, Effect::Dialog},
    {"mailing list", ID_RECIPIENTS_IMPORT, Effect::Dialog},
    {"mailing list", ID_MAILING_LIST_SETTINGS, Effect::Dialog},
    {"mailing list", ID_MAILING_LIST_UPDATE, Effect::Greyed},
    {"mailing list", ID_LAYOUT_HELP, Effect::HelpWindow},
    {"dynamic list", ID_RECIPIENTS_ADD, Effect::Greyed},
    {"dynamic list", ID_RECIPIENTS_PROPERTIES, Effect::Greyed},
    {"dynamic list", ID_RECIPIENTS_DELETE, Effect::Greyed},
    {"dynamic list", ID_RECIPIENTS_IMPORT, Effect::Greyed},
    {"dynamic list", ID_MAILING_LIST_SETTINGS, Effect::Dialog},
    {"dynamic list", ID_MAILING_LIST_UPDATE, Effect::RecipientsChange},
    {"dynamic list", ID_LAYOUT_HELP, Effect::HelpWindow},
    {"help", ID_HELP_SEARCH, Effect::HelpBrowses},
    {"help", ID_HELP_BACK, Effect::HelpBrowses},
    {"help", ID_HELP_FORWARD, Effect::HelpBrowses},
    {"help", ID_HELP_START_PAGE, Effect::HelpBrowses},
};

const char* SubscribersReply = R"(<?xml version="1.0" encoding="utf-8"?>
<ws_mailinglist_list_getsubscriptionusers status="ok">
  <user email="on@x.com" subscribe="true" html="true"/>
  <user email="text@x.com" subscribe="true" html="false"/>
</ws_mailinglist_list_getsubscriptionusers>)";

// A mailing list that takes its recipients from the web service at the address.
bool WriteDynamicList(const QString& path, const QString& address)
{
    ndb::CNdbMailGroup list(QStringLiteral("Subscribers"));
    list.SetField(ndb::MailGroupId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    list.SetField(ndb::MailGroupKind,
                  ndb::CNdbFieldValue(ndb::NdbValueMailGroupKind, ndb::NdbMailGroupDynamic));
    list.SetField(ndb::MailGroupSite251, ndb::CNdbFieldValue(address));
    return list.Save(path, QStringLiteral("Kelvora"), 2007, 1);
}

class ToolbarButtons : public ShellProgram
{
protected:
    void SetUp() override
    {
        ShellProgram::SetUp();
        ndb::CNdbNewsletter letter(QStringLiteral("June"));
        letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
        letter.Layout().SetField(
            ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral("<h1>June</h1><p>%1</p>").arg(LetterText)));
        auto user = std::make_unique<ndb::CNdbUser>();
        user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("ann@example.org")));
        letter.Users().AddUser(std::move(user));
        ASSERT_TRUE(letter.Save(Document("June.kvnl"), QStringLiteral("Kelvora"), 2007, 1));
        ASSERT_TRUE(WriteMailingList(Document("List.kvmg"), QStringLiteral("List"), {"bo@example.org"}));
        m_window = &StartProgram();
        m_window->MoveWindow(0, 0, 1200, 760);
        ASSERT_TRUE(m_window->OpenNewsletter(Document("June.kvnl")));
        ASSERT_FALSE(ShownPageText(*m_window).isEmpty());
    }

    CViewNewsletter& View() { return m_window->GetNewsletterView(); }

    int ListedRecipients()
    {
        CViewMailGroup& view = m_window->GetMailGroupView();
        return view.IsWindow() ? view.GetUsersWindow().GetList().GetRowCount() : 0;
    }

    // Opens the mailing list, answering No to keeping what was open before.
    void OpenMailingList(const QString& path)
    {
        OpenedWindows answers;
        answers.closer = [](QWidget* modal) { DialogTest::ClickButton(modal, QStringLiteral("No")); };
        ASSERT_TRUE(m_window->OpenMailingList(path));
    }

    QString PageHtml()
    {
        std::unique_ptr<CHtmlDocument> document;
        QString html;
        if (View().GetLayout().GetBrowser().GetDHtmlDocument(document))
            document->GetBodyInnerHtml(html, 1 << 20);
        return html;
    }
    QString HelpAddress()
    {
        CWndHelp* help = m_window->GetHelpWindow();
        auto* view = help && help->IsWindow()
                         ? qobject_cast<QWebEngineView*>(help->GetBrowser().GetSafeHwnd())
                         : nullptr;
        return view ? view->url().toString() : QString();
    }
    bool HelpShown()
    {
        CWndHelp* help = m_window->GetHelpWindow();
        return help && help->IsWindow() && help->IsWindowVisible();
    }
    void CloseHelp()
    {
        if (HelpShown())
            m_window->GetHelpWindow()->GetSafeHwnd()->close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !HelpShown(); }, 5000)) << "the help window closes";
    }

    // Clicks every button of the window's toolbars in the order of the window's rows and checks
    // each effect; a shown button without a row fails.
    void ClickEveryButton(const char* window, const std::vector<CToolbarBase*>& toolbars)
    {
        std::vector<UINT> shown;
        for (CToolbarBase* toolbar : toolbars)
        {
            for (const Button& button : VisibleButtons(*toolbar))
                shown.push_back(button.command);
        }
        for (UINT command : shown)
        {
            EXPECT_TRUE(std::any_of(std::begin(Rows), std::end(Rows),
                                    [&](const Row& row) {
                                        return row.command == command && QLatin1String(row.window) == window;
                                    }))
                << window << " shows button " << command << " that no row names";
        }
        bool savedBefore = false;
        for (const Row& row : Rows)
        {
            if (QLatin1String(row.window) != window)
                continue;
            SCOPED_TRACE(QStringLiteral("%1 button %2").arg(window).arg(row.command).toStdString());
            CKVImageButton* button = nullptr;
            for (CToolbarBase* toolbar : toolbars)
            {
                for (const Button& found : VisibleButtons(*toolbar))
                {
                    if (found.command == row.command)
                        button = found.button;
                }
            }
            ASSERT_NE(button, nullptr) << "the button is shown";
            // The pointer comes onto the button first, and the toolbar shows its state by then.
            QTest::mouseMove(button->GetSafeHwnd(), button->GetSafeHwnd()->rect().center());
            const bool greyed = row.effect == Effect::Greyed;
            EXPECT_TRUE(WaitInEventLoop([&] { return button->IsWindowEnabled() != greyed; }, 5000))
                << (greyed ? "greyed" : "enabled");
            if (!savedBefore)
                SaveToolbars(window, toolbars, "before");
            savedBefore = true;
            if (greyed)
                continue;
            ClickAndCheck(*button, row.effect);
        }
        SaveToolbars(window, toolbars, "after");
    }

    // Pictures of the window's toolbars as the person sees them, stacked.
    static void SaveToolbars(const char* window, const std::vector<CToolbarBase*>& toolbars, const char* when)
    {
        std::vector<QPixmap> pictures;
        QSize size;
        for (CToolbarBase* toolbar : toolbars)
        {
            pictures.push_back(toolbar->GetSafeHwnd()->grab());
            size = QSize(std::max(size.width(), pictures.back().width()),
                         size.height() + pictures.back().height());
        }
        QImage sheet(size, QImage::Format_ARGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        int y = 0;
        for (const QPixmap& picture : pictures)
        {
            painter.drawPixmap(0, y, picture);
            y += picture.height();
        }
        painter.end();
        QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
        sheet.save(QStringLiteral(KV_ARTIFACT_DIR "/toolbars-%1-%2.png")
                       .arg(QString(window).replace(' ', '-'), when));
    }

    void ClickAndCheck(CKVImageButton& button, Effect effect)
    {
        const QString html = PageHtml();
        const int report = View().GetReportWindow().GetSettings().view;
        const QString address = HelpAddress();
        const int listed = ListedRecipients();
        OpenedWindows opened;
        if (effect == Effect::ViewModeThenEditAgain)
            opened.closer = [](QWidget* modal) { DialogTest::ClickButton(modal, QStringLiteral("Yes")); };
        Click(button);
        switch (effect)
        {
        case Effect::Dialog:
            EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.modalTitles.isEmpty(); }, 10000));
            break;
        case Effect::HelpWindow:
            EXPECT_TRUE(QTest::qWaitFor([&] { return HelpShown(); }, 10000));
            CloseHelp();
            break;
        case Effect::EditMode:
            EXPECT_TRUE(QTest::qWaitFor([&] { return View().IsEditing(); }, 10000));
            break;
        case Effect::ViewMode:
            EXPECT_TRUE(QTest::qWaitFor([&] { return !View().IsEditing(); }, 10000));
            break;
        case Effect::ViewModeThenEditAgain:
            EXPECT_TRUE(QTest::qWaitFor([&] { return !View().IsEditing(); }, 10000));
            EXPECT_TRUE(ClickCommand(ID_LAYOUT_EDIT));
            EXPECT_TRUE(QTest::qWaitFor([&] { return View().IsEditing(); }, 10000));
            break;
        case Effect::PageChanges:
            EXPECT_TRUE(QTest::qWaitFor([&] { return PageHtml() != html; }, 10000)) << html.toStdString();
            break;
        case Effect::PopUp:
            EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.NewWindows().empty(); }, 10000));
            for (QWidget* popup : opened.NewWindows())
                QTest::keyClick(popup, Qt::Key_Escape);
            break;
        case Effect::ReportChanges:
            EXPECT_TRUE(QTest::qWaitFor([&] { return View().GetReportWindow().GetSettings().view != report; },
                                        10000));
            break;
        case Effect::Greyed:
            ADD_FAILURE() << "a greyed button is not clicked";
            break;
        case Effect::RecipientsChange:
            EXPECT_TRUE(QTest::qWaitFor([&] { return ListedRecipients() != listed; }, 10000));
            break;
        case Effect::HelpBrowses:
            EXPECT_TRUE(QTest::qWaitFor([&] { return HelpAddress() != address; }, 10000))
                << address.toStdString();
            break;
        }
        for (QWidget* window : opened.NewWindows())
        {
            if (!window->isModal())
                window->close();
        }
    }

    CMainWnd* m_window = nullptr;
};
} // namespace

// Every toolbar button of every window, clicked with the mouse, runs its command.
TEST_F(ToolbarButtons, EveryButtonOfEveryToolbarRunsItsCommandWhenClicked)
{
    ClickEveryButton("newsletter", VisibleToolbars(View().GetLayout().GetSafeHwnd()));
    ASSERT_TRUE(View().IsEditing());
    // The text is selected in the page, so that the formatting buttons act on it.
    auto* view = qobject_cast<QWebEngineView*>(View().GetLayout().GetBrowser().GetSafeHwnd());
    ASSERT_TRUE(PageMouse::Click(view, QPoint(40, 40))) << "the page takes the click";
    PressKey(*m_window, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor(
        [&]
        {
            return RunScript(View().GetLayout().GetBrowser(), "document.getSelection().toString().length > 0")
                .toBool();
        },
        10000))
        << "Ctrl+A selects the page's text";
    ClickEveryButton("layout editor", VisibleToolbars(View().GetLayout().GetSafeHwnd()));

    PressKey(*m_window, Qt::Key_2, Qt::ControlModifier);
    PressKey(*m_window, Qt::Key_A, Qt::ControlModifier);
    ClickEveryButton("recipients", VisibleToolbars(View().GetUsersWindow().GetSafeHwnd()));
    PressKey(*m_window, Qt::Key_3, Qt::ControlModifier);
    ClickEveryButton("report", VisibleToolbars(View().GetReportWindow().GetSafeHwnd()));

    OpenMailingList(Document("List.kvmg"));
    PressKey(*m_window, Qt::Key_A, Qt::ControlModifier);
    ClickEveryButton("mailing list", VisibleToolbars(m_window->GetMailGroupView().GetSafeHwnd()));

    ScriptedHttpServer subscribers;
    subscribers.SetReply(QStringLiteral("*"), QString::fromUtf8(SubscribersReply));
    ASSERT_TRUE(WriteDynamicList(Document("Dynamic.kvmg"), subscribers.Url(QStringLiteral("/ml.php"))));
    OpenMailingList(Document("Dynamic.kvmg"));
    ClickEveryButton("dynamic list", VisibleToolbars(m_window->GetMailGroupView().GetSafeHwnd()));

    ASSERT_TRUE(ChooseMenuItem(*m_window, {"&Help", "&Contents...\tF1"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return HelpShown() && !HelpAddress().isEmpty(); }, 10000));
    m_window->GetHelpWindow()->GetToolbar().GetDlgItem(CToolbarHelp::SearchFieldId)->SetWindowText("send");
    ClickEveryButton("help", {&m_window->GetHelpWindow()->GetToolbar()});
}
