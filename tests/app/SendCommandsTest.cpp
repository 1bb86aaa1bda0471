#include "ScreenPicture.h"
#include "ShellTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "mail/SendTestSupport.h"
#include "mailui/DlgSend.h"
#include "mailui/DlgSendStatus.h"
#include "mailui/SendSummaryFixture.h"
#include "ndb/NdbResource.h"
#include "peers/AiosmtpdServer.h"
#include "peers/BounceReports.h"
#include "peers/DnsmasqServer.h"
#include "peers/DovecotServer.h"
#include "peers/PeerProcess.h"
#include "peers/SmtpSinkServer.h"
#include "peers/StrictMailCheck.h"
#include "platform/net/DnsQuery.h"
#include "recipients/DlgUserAdd.h"
#include "webserver/PageGeneratorXhtmlSupport.h"
#include "webserver/PageServerSupport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace ShellTest;
using DialogTest::ClickButton;
using DialogTest::ModalScript;

namespace
{
const QString SendItem = QStringLiteral("&Send...");
const QString TestSendItem = QStringLiteral("&Test Send...");

CDlgSend* SendDialogOf(QWidget* window)
{
    return dynamic_cast<CDlgSend*>(CWnd::FromHandle(window));
}

bool IsSendDialog(QWidget* window)
{
    return SendDialogOf(window) != nullptr;
}

bool IsStatusDialog(QWidget* window)
{
    return dynamic_cast<CDlgSendStatus*>(CWnd::FromHandle(window)) != nullptr;
}

bool IsSettingsSheet(QWidget* window)
{
    return window->windowTitle() == QStringLiteral("Email Settings");
}

// The markup of the summary as the dialog's browser shows it, once it has loaded; empty when it
// did not load.
QString ShownSummary(CDlgSend& dialog)
{
    QString markup;
    const bool loaded = QTest::qWaitFor(
        [&]
        {
            std::unique_ptr<CHtmlDocument> document;
            return dialog.GetBrowser().GetDHtmlDocument(document) &&
                   document->GetBodyInnerHtml(markup, 1 << 20) &&
                   markup.contains(QLatin1String("Number of emails"));
        },
        30000);
    return loaded ? markup : QString();
}

// The value shown for a row of the summary page.
QString SummaryValue(const QString& page, const QString& title)
{
    const QStringList lines = page.split(QStringLiteral("\r\n"));
    const qsizetype at = lines.indexOf(QStringLiteral("\t\t<td class=\"title\">%1</td>").arg(title));
    const QString cell = lines.value(at + 1);
    return cell.mid(cell.indexOf(u'>') + 1).section(QStringLiteral("</td>"), 0, 0);
}

// Waits for the send to finish and closes the status dialog.
void CloseWhenFinished(QWidget* window)
{
    auto* status = dynamic_cast<CDlgSendStatus*>(CWnd::FromHandle(window));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return status->GetCurrentLine() == QLatin1String("Finished..."); }, 30000));
    ClickButton(window, QStringLiteral("Close"));
}

class SendCommands : public ShellProgram
{
protected:
    void SetUp() override
    {
        ShellProgram::SetUp();
        ASSERT_TRUE(m_relay.IsRunning());
        CKVSmtpServer::SetTakePauseForTesting(1);
    }
    void TearDown() override
    {
        ShellProgram::TearDown();
        CKVSmtpServer::SetTakePauseForTesting(500);
    }

    // "Spring news" from news@sender.test through the relay to ann and bo, and to cy, who is
    // not enabled.
    std::unique_ptr<ndb::CNdbNewsletter> MakeLetter()
    {
        auto letter = std::make_unique<ndb::CNdbNewsletter>(QStringLiteral("Spring news"));
        letter->SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
        letter->Layout().SetField(
            ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral(
                                 "<p>Dear <span name=\"fc_130\">First name</span>, spring is here</p>")));
        SendTest::SetSender(*letter, ndb::SenderFromAddress,
                            ndb::CNdbFieldValue(QStringLiteral("news@sender.test")));
        SendTest::UseRelay(*letter, m_relay.Port());
        for (const char* name : {"Ann", "Bo", "Cy"})
        {
            auto user = std::make_unique<ndb::CNdbUser>();
            user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QString(name).toLower() + "@one.test"));
            user->SetField(ndb::UserFirstName, ndb::CNdbFieldValue(QString(name)));
            letter->Users().AddUser(std::move(user));
        }
        letter->Users().GetUserAt(2)->SetField(ndb::UserEnabled, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
        return letter;
    }

    CMainWnd& Open(ndb::CNdbNewsletter& letter)
    {
        EXPECT_TRUE(letter.Save(Document("Spring.kvnl"), QStringLiteral("Kelvora"), 2007, 1));
        CMainWnd& window = StartProgram();
        window.MoveWindow(0, 0, 1000, 700);
        EXPECT_TRUE(window.OpenNewsletter(Document("Spring.kvnl")));
        return window;
    }

    ndb::CNdbNewsletter& Shown() { return *m_app->GetContext()->GetCurrentNewsletter(); }

    // The letter's bounce mailbox, and the ids that its returned copies name: {U-ANN}, {U-BO},
    // {U-CY}.
    static void UseBounceMailbox(ndb::CNdbNewsletter& letter, const QString& newsletterId,
                                 const DovecotServer& mailbox)
    {
        letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(newsletterId));
        const char* ids[] = {"{U-ANN}", "{U-BO}", "{U-CY}"};
        for (int i = 0; i < 3; ++i)
            letter.Users().GetUserAt(i)->SetField(ndb::UserId, ndb::CNdbFieldValue(QString(ids[i])));
        ndb::CNdbSender& sender = letter.Sender();
        sender.SetField(ndb::SenderBounceEnabled, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
        sender.SetField(ndb::SenderPop3Server, ndb::CNdbFieldValue(QStringLiteral("127.0.0.1")));
        sender.SetField(ndb::SenderPop3Port, ndb::CNdbFieldValue(ndb::NdbValueInt, mailbox.Port()));
        sender.SetField(ndb::SenderPop3User, ndb::CNdbFieldValue(QStringLiteral("bounces")));
        sender.SetField(ndb::SenderPop3Password, ndb::CNdbFieldValue(QStringLiteral("pa55word")));
    }

    // Chooses the item of the Tools menu while the script answers the windows that follow.
    // A window the script does not expect within the time fails the test and is closed, so a
    // wrong turn cannot hang the run.
    static void Run(CMainWnd& window, const QString& item, ModalScript& script)
    {
        QElapsedTimer since;
        since.start();
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout,
                         [&since]
                         {
                             QWidget* modal = QApplication::activeModalWidget();
                             if (!modal || since.elapsed() < 30000)
                                 return;
                             auto* box = dynamic_cast<CDlgMessageBox*>(CWnd::FromHandle(modal));
                             ADD_FAILURE() << "left open: " << modal->windowTitle().toStdString() << " "
                                           << (box ? box->m_text.toStdString() : std::string());
                             if (auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandle(modal)))
                                 dialog->EndDialog(IDCANCEL);
                         });
        watchdog.start(250);
        script.Start();
        EXPECT_TRUE(ChooseMenuItem(window, {QStringLiteral("&Tools"), item}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return script.Finished(); }, 30000));
    }

    // A message box that starts with the text, answered with the button.
    static ModalScript& Box(ModalScript& script, const QString& text, const QString& button)
    {
        return script.Then(
            [text](QWidget* w)
            {
                auto* box = dynamic_cast<CDlgMessageBox*>(CWnd::FromHandle(w));
                return box && box->m_text.startsWith(text);
            },
            [button](QWidget* w) { EXPECT_TRUE(ClickButton(w, button)); });
    }

    AiosmtpdServer m_relay;
};
} // namespace

// Send from the Tools menu: the Send dialog sums up the send, its Send button hands over to the
// status dialog, and each enabled recipient gets one copy with its own fields merged. The send
// log is saved with the newsletter at once.
TEST_F(SendCommands, SendMailsEachEnabledRecipientAndSavesTheLog)
{
    auto letter = MakeLetter();
    CMainWnd& window = Open(*letter);
    ModalScript script;
    script
        .Then(IsSendDialog,
              [](QWidget* w)
              {
                  const QString page = SendDialogOf(w)->BuildSummaryPage();
                  EXPECT_EQ(SummaryValue(page, QStringLiteral("Number of emails")), QStringLiteral("2"));
                  EXPECT_EQ(SummaryValue(page, QStringLiteral("Send mode")),
                            QStringLiteral("Relaying Server"));
                  EXPECT_TRUE(ShownSummary(*SendDialogOf(w)).contains(QLatin1String("Spring news")));
                  ClickButton(w, QStringLiteral("Send"));
              })
        .Then(IsStatusDialog, CloseWhenFinished);
    Run(window, SendItem, script);

    const QByteArrayList messages = m_relay.Messages();
    ASSERT_EQ(messages.size(), 2);
    std::map<QString, SendTest::ReceivedCopy> copies;
    for (const QByteArray& message : messages)
    {
        const SendTest::ReceivedCopy copy = SendTest::ReadCopy(message);
        copies[copy.to] = copy;
    }
    ASSERT_EQ(copies.size(), 2u);
    const SendTest::ReceivedCopy& ann = copies.begin()->second;
    const SendTest::ReceivedCopy& bo = std::next(copies.begin())->second;
    EXPECT_TRUE(copies.begin()->first.contains(QLatin1String("ann@one.test")));
    EXPECT_TRUE(ann.html.contains(QLatin1String("Dear Ann, spring"))) << ann.html.toStdString();
    EXPECT_TRUE(bo.html.contains(QLatin1String("Dear Bo, spring"))) << bo.html.toStdString();
    EXPECT_FALSE(ann.trackingId.isEmpty());
    EXPECT_NE(ann.trackingId, bo.trackingId);

    EXPECT_FALSE(Shown().IsModified());
    ndb::CNdbNewsletter saved;
    ASSERT_TRUE(saved.Load(Document("Spring.kvnl")));
    for (const char* address : {"ann@one.test", "bo@one.test"})
    {
        const ndb::CNdbLogEntry* entry = saved.Log().FindEntry(address);
        ASSERT_NE(entry, nullptr) << address;
        EXPECT_EQ(entry->GetInt(ndb::LogEntryStatus), ndb::NdbSendSent);
    }
    EXPECT_EQ(saved.Log().FindEntry(QStringLiteral("cy@one.test")), nullptr);
}

// Test Send without a test recipient asks for one; the address is offered without the blanks
// typed around it, mailed whatever the send log holds, and offered again after a restart.
TEST_F(SendCommands, TestSendAsksForTheTestRecipientAndKeepsIt)
{
    auto letter = MakeLetter();
    letter->Log().SetStatus(ndb::NdbSendSent, QStringLiteral("tester@example.org"));
    CMainWnd& window = Open(*letter);
    const QString question = QStringLiteral("Do you wish to test send the newsletter to "
                                            "tester@example.org?\n\nThe test recipient settings can be "
                                            "edited from the main menu:\nTools - Settings for Test Send...");
    ModalScript script;
    Box(script, QStringLiteral("The Email address for the test recipient has not been filled out."),
        QStringLiteral("OK"))
        .Then([](QWidget* w) { return dynamic_cast<CDlgUserAdd*>(CWnd::FromHandle(w)) != nullptr; },
              [](QWidget* w)
              {
                  DialogTest::TypeOver(CWnd::FromHandle(w)->GetDlgItem(1037)->GetSafeHwnd(),
                                       QStringLiteral("  tester@example.org  "));
                  ClickButton(w, QStringLiteral("OK"));
              });
    Box(script, question, QStringLiteral("Yes"))
        .Then(IsSendDialog,
              [](QWidget* w)
              {
                  EXPECT_EQ(
                      SummaryValue(SendDialogOf(w)->BuildSummaryPage(), QStringLiteral("Number of emails")),
                      QStringLiteral("1"));
                  ClickButton(w, QStringLiteral("Send"));
              })
        .Then(IsStatusDialog, CloseWhenFinished);
    Run(window, TestSendItem, script);
    const QByteArrayList messages = m_relay.Messages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(SendTest::ReadCopy(messages.front()).to, QStringLiteral("tester@example.org"));
    // A test send leaves the send log as it was.
    EXPECT_EQ(Shown().Log().FindEntry(QStringLiteral("ann@one.test")), nullptr);

    StopProgram();
    CMainWnd& again = StartProgram();
    ASSERT_TRUE(again.OpenNewsletter(Document("Spring.kvnl")));
    ModalScript later;
    Box(later, question, QStringLiteral("No"));
    Run(again, TestSendItem, later);
    EXPECT_EQ(m_relay.Messages().size(), 1);
}

// Direct delivery where nothing answers on port 25: the send is refused with the offer to set
// up a relay; No only closes, Yes opens the e-mail settings.
TEST_F(SendCommands, DirectDeliveryRefusedOffersTheDeliverySettings)
{
    const int closedPort = PeerProcess::FreePort();
    WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("DirectTestServer"),
                          QStringLiteral("127.0.0.1"));
    WriteAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("DirectTestPort"), quint32(closedPort));
    auto letter = MakeLetter();
    letter->Sender().RemoveField(ndb::SenderDelivery);
    CMainWnd& window = Open(*letter);
    const QString refused =
        QStringLiteral("Direct delivery of emails is not allowed. Please use a Relaying Mail "
                       "Server (SMTP).\n\nDo you want to specify the Relaying Mail Server now?");
    for (const QString& answer : {QStringLiteral("No"), QStringLiteral("Yes")})
    {
        ModalScript script;
        script.Then(IsSendDialog,
                    [](QWidget* w)
                    {
                        EXPECT_EQ(
                            SummaryValue(SendDialogOf(w)->BuildSummaryPage(), QStringLiteral("Send mode")),
                            QStringLiteral("Direct"));
                        ClickButton(w, QStringLiteral("Send"));
                    });
        Box(script, refused, answer);
        if (answer == QLatin1String("Yes"))
            script.Then(IsSettingsSheet, [](QWidget* w) { ClickButton(w, QStringLiteral("Cancel")); });
        Run(window, SendItem, script);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_TRUE(m_relay.Messages().isEmpty());
    EXPECT_EQ(Shown().Log().FindEntry(QStringLiteral("ann@one.test")), nullptr);
}

// The summary is a page of the local server: fetched over HTTP it is the expected page of the
// fixture and valid XHTML; the browser shows the subject's markup as text, and goes nowhere but
// to blank pages and the server's own web store.
TEST_F(SendCommands, SummaryComesFromTheLocalServerAndStaysPut)
{
    auto letter = SendSummaryFixture::MakeFixture();
    letter->SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    CMainWnd& window = Open(*letter);
    const int port = m_app->GetContext()->GetServerPort();
    ModalScript script;
    script.Then(IsSendDialog,
                [port](QWidget* w)
                {
                    CDlgSend& dialog = *SendDialogOf(w);
                    const QString shown = ShownSummary(dialog);
                    EXPECT_TRUE(shown.contains(
                        QLatin1String("Spring &lt;script&gt;alert(1)&lt;/script&gt; &amp; more")))
                        << shown.toStdString();
                    EXPECT_FALSE(shown.contains(QLatin1String("<script")));

                    const PageServerTest::Fetched fetched =
                        PageServerTest::Fetch(port, QStringLiteral("/webstore/dlgsend.htm"));
                    EXPECT_EQ(fetched.exitCode, 0);
                    EXPECT_EQ(QString::fromUtf8(fetched.response.body), SendSummaryFixture::ExpectedPage());
                    EXPECT_EQ(XhtmlValidationErrors(fetched.response.body), QString());

                    const QString base = QStringLiteral("http://localhost:%1/").arg(port);
                    const std::pair<QString, LRESULT> addresses[] = {
                        {"about:blank", 0},
                        {base + "webstore/dlgsend.htm", 0},
                        {base + "webstore/other.htm?x=1", 0},
                        {"about:blank#webstore/", 0},
                        {"about:srcdoc", 1},
                        {base + "webstore/../img/logo.png", 1},
                        {base + "webstore/%2e%2e/logo.png", 1},
                        {base + "img/webstore/x.htm", 1},
                        {QStringLiteral("http://localhost:%1/webstore/dlgsend.htm").arg(port + 1), 1},
                        {"http://example.org/webstore/dlgsend.htm", 1},
                        {"http://localhost.example.org:" + QString::number(port) + "/webstore/", 1},
                        {"http://user@localhost:" + QString::number(port) + "/webstore/dlgsend.htm", 1},
                        {"file:///tmp/webstore/dlgsend.htm", 1},
                        {"javascript:alert(1)//webstore/", 1},
                    };
                    for (const auto& [address, reply] : addresses)
                        EXPECT_EQ(dialog.SendMessage(UM_BROWSER_BEFORE_NAVIGATE, CDlgSend::BrowserId,
                                                     reinterpret_cast<LPARAM>(&address)),
                                  reply)
                            << address.toStdString();

                    // A page that tries to go elsewhere stays where it is, once the engine has
                    // ended the refused load.
                    auto* view = qobject_cast<QWebEngineView*>(dialog.GetBrowser().GetSafeHwnd());
                    ASSERT_NE(view, nullptr);
                    QSignalSpy loads(view->page(), &QWebEnginePage::loadFinished);
                    dialog.GetBrowser().Navigate(QStringLiteral("file:///etc/hostname"));
                    ASSERT_TRUE(QTest::qWaitFor([&] { return !loads.isEmpty(); }, 10000));
                    EXPECT_FALSE(loads.first().first().toBool());
                    EXPECT_TRUE(ShownSummary(dialog).contains(QLatin1String("Number of emails")));
                    ClickButton(w, QStringLiteral("Close"));
                });
    Run(window, SendItem, script);
    EXPECT_TRUE(m_relay.Messages().isEmpty());
    EXPECT_FALSE(Shown().IsModified());
}

// The checks before the Send dialog, in the order a user meets them, each leading to the place
// that needs fixing: no recipient enabled, nothing left to send, no From address, no subject (the
// dialog still opens, and its settings button returns to it), the e-mail being edited.
TEST_F(SendCommands, ChecksBeforeTheDialogLeadToWhatNeedsFixing)
{
    auto letter = MakeLetter();
    CMainWnd& window = Open(*letter);
    CViewNewsletter& view = window.GetNewsletterView();
    ndb::CNdbNewsletter& shown = Shown();
    const auto setEnabled = [&](int index, bool on) {
        shown.Users().GetUserAt(index)->SetField(ndb::UserEnabled,
                                                 ndb::CNdbFieldValue(ndb::NdbValueBool, on));
    };
    {
        setEnabled(0, false);
        setEnabled(1, false);
        ModalScript hidden;
        Box(hidden, QStringLiteral("No recipients are enabled.\n\nDo you wish to add recipients now?"),
            QStringLiteral("Yes"));
        Run(window, SendItem, hidden);
        EXPECT_EQ(view.GetVisiblePage(), 2);
        ModalScript visible;
        Box(visible, QStringLiteral("No recipients are enabled. Please add new"), QStringLiteral("OK"));
        Run(window, SendItem, visible);
        setEnabled(0, true);
        setEnabled(1, true);
    }
    {
        shown.Log().SetStatus(ndb::NdbSendSent, QStringLiteral("ann@one.test"));
        shown.Log().SetStatus(ndb::NdbSendFailedPermanently, QStringLiteral("bo@one.test"));
        ModalScript all;
        Box(all, QStringLiteral("This newsletter has alredy been sent to all recipients."),
            QStringLiteral("OK"));
        Run(window, SendItem, all);
        setEnabled(1, false);
        ModalScript one;
        Box(one, QStringLiteral("This newsletter has alredy been sent to this recipient."),
            QStringLiteral("OK"));
        Run(window, SendItem, one);
        setEnabled(1, true);
        shown.Log().DeleteAllEntries();
    }
    {
        const QString from = shown.Sender().GetString(ndb::SenderFromAddress);
        shown.Sender().RemoveField(ndb::SenderFromAddress);
        ModalScript script;
        Box(script, QStringLiteral("You have to specify the from email-address"), QStringLiteral("OK"))
            .Then(IsSettingsSheet, [](QWidget* w) { ClickButton(w, QStringLiteral("Cancel")); });
        Run(window, SendItem, script);
        shown.Sender().SetField(ndb::SenderFromAddress, ndb::CNdbFieldValue(from));
    }
    {
        shown.RemoveField(ndb::NewsletterName);
        ModalScript script;
        Box(script, QStringLiteral("The subject for this newsletter has not yet been specified."),
            QStringLiteral("No"))
            .Then(IsSendDialog, [](QWidget* w) { ClickButton(w, QStringLiteral("Email Settings...")); })
            .Then(IsSettingsSheet, [](QWidget* w) { ClickButton(w, QStringLiteral("Cancel")); })
            .Then(IsSendDialog, [](QWidget* w) { ClickButton(w, QStringLiteral("Close")); });
        Run(window, SendItem, script);
        shown.SetField(ndb::NewsletterName, ndb::CNdbFieldValue(QStringLiteral("Spring news")));
    }
    {
        PressKey(window, Qt::Key_1, Qt::ControlModifier);
        ASSERT_TRUE(ShownPageText(window).contains(QLatin1String("spring is here")));
        PressKey(window, Qt::Key_E, Qt::ControlModifier);
        ASSERT_TRUE(view.IsEditing());
        PressKey(window, Qt::Key_2, Qt::ControlModifier);
        ModalScript script;
        Box(script, QStringLiteral("The Newsletter can not be sent when the email is being edited."),
            QStringLiteral("OK"));
        Run(window, SendItem, script);
        EXPECT_EQ(view.GetVisiblePage(), 1);
    }
    EXPECT_TRUE(m_relay.Messages().isEmpty());
    EXPECT_EQ(shown.Log().GetEntries().size(), 0u);
}

// With rows selected on the recipients page Send asks whether to mail only those: Yes takes the
// enabled ones among them, No every enabled recipient, Cancel nothing.
TEST_F(SendCommands, SendToSelectedRecipientsOnly)
{
    auto letter = MakeLetter();
    CMainWnd& window = Open(*letter);
    CWndUsers& users = window.GetNewsletterView().GetUsersWindow();
    PressKey(window, Qt::Key_2, Qt::ControlModifier);
    QWidget* list = users.GetList().GetSafeHwnd();
    const auto rowPoint = [](int row)
    { return QPoint(40, CKVList::HeaderHeight + row * CKVList::RowHeight + CKVList::RowHeight / 2); };
    QTest::mouseClick(list, Qt::LeftButton, {}, rowPoint(0));
    QTest::mouseClick(list, Qt::LeftButton, Qt::ControlModifier, rowPoint(2));
    CWndUsers::SelectedUsers selected;
    users.GetSelectedUsers(selected);
    QStringList addresses;
    for (const auto& [row, user] : selected)
        addresses << user->GetString(ndb::UserEmail);
    addresses.sort();
    ASSERT_EQ(addresses, (QStringList{"ann@one.test", "cy@one.test"}));

    const QString question = QStringLiteral("Do you want to send email to selected recipients only?");
    for (const auto& [answer, count] : {std::pair{QStringLiteral("Yes"), QStringLiteral("1")},
                                        std::pair{QStringLiteral("No"), QStringLiteral("2")}})
    {
        ModalScript script;
        Box(script, question, answer)
            .Then(IsSendDialog,
                  [count](QWidget* w)
                  {
                      EXPECT_EQ(SummaryValue(SendDialogOf(w)->BuildSummaryPage(),
                                             QStringLiteral("Number of emails")),
                                count);
                      ClickButton(w, QStringLiteral("Close"));
                  });
        Run(window, SendItem, script);
    }
    ModalScript cancelled;
    Box(cancelled, question, QStringLiteral("Cancel"));
    Run(window, SendItem, cancelled);
    EXPECT_TRUE(m_relay.Messages().isEmpty());
}

// The Send dialog on a screen, with its summary drawn by the web engine: only an X display
// shows it, so the build runs this case on a virtual one and it skips itself elsewhere.
TEST_F(SendCommands, PictureOfTheSendDialogWithItsSummary)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X display";
    auto letter = SendSummaryFixture::MakeFixture();
    CMainWnd& window = Open(*letter);
    ModalScript script;
    script.Then(IsSendDialog,
                [](QWidget* w)
                {
                    CDlgSend& dialog = *SendDialogOf(w);
                    ASSERT_FALSE(ShownSummary(dialog).isEmpty());
                    // The summary's rows of text drawn in the page's area.
                    const QRect page = AreaInWindow(dialog.GetBrowser().GetSafeHwnd());
                    QImage picture;
                    const bool shown = GrabWhenShown(
                        w, [&](const QImage& grab) { return DarkPixels(grab, page) > 200; }, picture);
                    EXPECT_TRUE(picture.save(DialogTest::ArtifactPath(QStringLiteral("send-233.png"))));
                    EXPECT_TRUE(shown) << "the summary's text never showed";
                    // The page is white at the top, above its rows.
                    EXPECT_GT(qGray(picture.pixel(page.center().x(), page.top() + 4)), 230);
                    ClickButton(w, QStringLiteral("Close"));
                });
    Run(window, SendItem, script);
}

// A bounce check that ends while the recipient list is shown, filtered: the list shows the new
// status of each recipient at once, on the screen as a fresh drawing of the list would show it,
// and so do the rows the filter hid once it is cleared.
TEST_F(SendCommands, RecipientListShowsTheStatusOfAFinishedBounceCheck)
{
    const QString newsletterId = QStringLiteral("{0B9C4E21-7D3A-4F5B-8A61-2E4C9D7B3F11}");
    const DovecotServer mailbox(QStringLiteral("bounces"), QStringLiteral("pa55word"),
                                {BounceReports::Report(newsletterId, "{U-ANN}", "Status: 5.1.1"),
                                 BounceReports::Report(newsletterId, "{U-BO}", "Status: 4.2.2")});
    ASSERT_TRUE(mailbox.IsRunning()) << mailbox.Log().toStdString();
    auto letter = MakeLetter();
    UseBounceMailbox(*letter, newsletterId, mailbox);
    for (int i = 0; i < 3; ++i)
        letter->Log().SetStatus(ndb::NdbSendSent, letter->Users().GetUserAt(i)->GetString(ndb::UserEmail));
    CMainWnd& window = Open(*letter);
    window.ShowWindow(SW_SHOW);
    CKVList& list = window.GetNewsletterView().GetUsersWindow().GetList();
    const auto rowOf = [&](const QString& address)
    {
        for (int i = 0; i < list.GetRowCount(); ++i)
        {
            QStringList cells;
            for (int column = 0; column < list.GetColumnCount(); ++column)
                cells << list.GetRow(i)->GetCellText(column);
            if (cells.contains(address))
                return cells;
        }
        return QStringList();
    };
    const QString sent = LoadAppString(15326);
    PressKey(window, Qt::Key_2, Qt::ControlModifier);
    ASSERT_TRUE(rowOf("ann@one.test").contains(sent));
    auto* filter = qobject_cast<QLineEdit*>(
        window.GetNewsletterView().GetUsersWindow().GetToolbar().GetFilterField()->GetSafeHwnd());
    ASSERT_NE(filter, nullptr);
    QTest::keyClicks(filter, "bo@");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.GetRowCount() == 1; }, 5000));

    // The check starts with the statistics page and ends with the list in front again.
    ModalScript script;
    Box(script, QStringLiteral("New status information is available."), QStringLiteral("Yes"));
    script.Start();
    PressKey(window, Qt::Key_3, Qt::ControlModifier);
    PressKey(window, Qt::Key_2, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return script.Finished(); }, 20000));
    EXPECT_EQ(window.GetNewsletterView().GetVisiblePage(), 2);
    EXPECT_TRUE(rowOf("bo@one.test").contains(LoadAppString(15345)));
    filter->selectAll();
    QTest::keyClick(filter, Qt::Key_Backspace);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.GetRowCount() == 3; }, 5000));
    EXPECT_TRUE(rowOf("ann@one.test").contains(LoadAppString(15327)));
    EXPECT_TRUE(rowOf("bo@one.test").contains(LoadAppString(15345)));
    EXPECT_TRUE(rowOf("cy@one.test").contains(sent));

    QWidget* shown = list.GetSafeHwnd();
    QApplication::processEvents();
    const QRect area(shown->mapTo(shown->window(), QPoint(0, 0)), shown->size());
    const QImage onScreen =
        QGuiApplication::primaryScreen()
            ->grabWindow(shown->window()->winId(), area.x(), area.y(), area.width(), area.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    const QImage fresh = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(onScreen, fresh) << "the list on the screen is the list drawn anew";
}

// Showing the statistics page checks the newsletter's bounce mailbox: returned copies of this
// newsletter mark their recipients failed (permanently or for now) once the user agrees, each
// returned message is taken only once, and another newsletter's returns change nothing.
TEST_F(SendCommands, StatisticsPageTakesInReturnedCopies)
{
    const QString newsletterId = QStringLiteral("{0B9C4E21-7D3A-4F5B-8A61-2E4C9D7B3F10}");
    const auto report = [](const char* recipientId, const char* status, const QString& letterId)
    { return BounceReports::Report(letterId, recipientId, QByteArray("Status: ") + status); };
    const DovecotServer mailbox(
        QStringLiteral("bounces"), QStringLiteral("pa55word"),
        {report("{U-ANN}", "5.1.1", newsletterId), report("{U-BO}", "4.2.2", newsletterId),
         report("{U-CY}", "5.1.1", QStringLiteral("{FFFFFFFF-0000-0000-0000-000000000000}"))});
    ASSERT_TRUE(mailbox.IsRunning()) << mailbox.Log().toStdString();
    auto letter = MakeLetter();
    UseBounceMailbox(*letter, newsletterId, mailbox);
    CMainWnd& window = Open(*letter);
    ndb::CNdbNewsletter& shown = Shown();
    CBounceChecker& checker = window.GetNewsletterView().GetBounceChecker();
    const QString question = QStringLiteral("New status information is available.");
    const auto status = [&](const char* address)
    {
        const ndb::CNdbLogEntry* entry = shown.Log().FindEntry(QString::fromLatin1(address));
        return entry ? entry->GetInt(ndb::LogEntryStatus) : 0;
    };
    for (const QString& answer : {QStringLiteral("No"), QStringLiteral("Yes")})
    {
        ModalScript script;
        Box(script, question, answer);
        script.Start();
        PressKey(window, Qt::Key_1, Qt::ControlModifier);
        PressKey(window, Qt::Key_3, Qt::ControlModifier);
        EXPECT_EQ(window.GetNewsletterView().GetVisiblePage(), 3);
        EXPECT_TRUE(QTest::qWaitFor([&] { return script.Finished(); }, 20000)) << answer.toStdString();
        if (answer == QLatin1String("No"))
        {
            EXPECT_EQ(status("ann@one.test"), 0);
            EXPECT_FALSE(shown.IsModified());
        }
    }
    EXPECT_EQ(status("ann@one.test"), ndb::NdbSendFailedPermanently);
    EXPECT_EQ(status("bo@one.test"), ndb::NdbSendPending);
    EXPECT_EQ(status("cy@one.test"), 0);
    EXPECT_EQ(shown.HandledBounces().size(), 3u);
    EXPECT_TRUE(shown.IsModified());
    EXPECT_FALSE(checker.IsRunning());
}

namespace
{
// An attached file under a name of its own.
std::unique_ptr<ndb::CNdbResource> Attachment(const QString& name, const QString& type,
                                              const QByteArray& bytes)
{
    auto file = PageServerTest::MakeResource(QStringLiteral("files/") + name, type, bytes);
    file->SetField(ndb::ResourceFileName, ndb::CNdbFieldValue(name));
    return file;
}
} // namespace

// Every shape of message the program builds, sent through the Send dialog as a user sends it,
// passes a strict reader: with and without pictures, attached files and plain text, with names
// and subjects outside ASCII.
TEST_F(SendCommands, EveryShapeOfMessagePassesAStrictReader)
{
    const struct
    {
        const char* name;
        int pictures;
        bool files;
        QString plainText;
        QString fromName;
        QString subject;
    } shapes[] = {
        {"bare", 0, false, QString(), QStringLiteral("News"), QStringLiteral("Spring news")},
        {"pictures", 3, false, QString::fromUtf8("Grüße\nzweite Zeile\n\nEnde"),
         QString::fromUtf8("Jörg Müller"), QString::fromUtf8("Frühlingsgrüße aus dem Garten – Ausgabe März")},
        {"files", 0, true, QStringLiteral("Plain\r\ntext"), QStringLiteral("News"), QStringLiteral("Files")},
        {"everything", 3, true, QString::fromUtf8("Grüße ✓\nEnde"),
         QString::fromUtf8("Gärtnerei Müller & Söhne – Neuigkeiten aus Köln"),
         QString::fromUtf8("Frühlings-News ✓ – alles über Gärten und Grüße, Ausgabe 2027 (März)")},
    };
    for (const auto& shape : shapes)
    {
        SCOPED_TRACE(shape.name);
        StopProgram();
        auto letter = MakeLetter();
        QString html = QStringLiteral("<p>Dear <span name=\"fc_130\">First name</span>,</p>");
        const QRgb colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
        for (int i = 0; i < shape.pictures; ++i)
        {
            const QString path = QStringLiteral("img/picture%1.png").arg(i);
            letter->Layout().AddResource(PageServerTest::MakeResource(
                path, QStringLiteral("image/png"), PageServerTest::PngBytes(12, 8, colours[i])));
            html += QStringLiteral("<img src=\"%1\" />").arg(path);
        }
        letter->Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(html));
        letter->Layout().SetField(ndb::LayoutPlainText, ndb::CNdbFieldValue(shape.plainText));
        letter->SetField(ndb::NewsletterName, ndb::CNdbFieldValue(shape.subject));
        SendTest::SetSender(*letter, ndb::SenderFromName, ndb::CNdbFieldValue(shape.fromName));
        if (shape.files)
        {
            letter->Layout().Attachments().push_back(
                Attachment(QString::fromUtf8("Grüße.txt"), QStringLiteral("text/plain"),
                           QString::fromUtf8("Grüße\nvom Gärtner\n").toUtf8()));
            letter->Layout().Attachments().push_back(Attachment(
                QString::fromUtf8("Jahresübersicht der Gärtnerei Müller für das Gartenjahr 2027 (März).pdf"),
                QStringLiteral("application/pdf"), QByteArray(3000, 'p')));
        }
        const QByteArrayList before = m_relay.Messages();
        CMainWnd& window = Open(*letter);
        ModalScript script;
        script.Then(IsSendDialog, [](QWidget* w) { ClickButton(w, QStringLiteral("Send")); })
            .Then(IsStatusDialog, CloseWhenFinished);
        Run(window, SendItem, script);

        QByteArrayList messages = m_relay.Messages();
        messages.removeIf([&](const QByteArray& message) { return before.contains(message); });
        ASSERT_EQ(messages.size(), 2);
        EXPECT_EQ(StrictMailFaults(messages), QStringList());
        for (const QByteArray& message : messages)
        {
            EXPECT_EQ(message.count("Content-ID: <i_"), shape.pictures);
            EXPECT_EQ(message.count("Content-Disposition: attachment"), shape.files ? 2 : 0);
            EXPECT_EQ(message.contains("Content-Type: multipart/mixed"), shape.files);
        }
    }
}

// Direct delivery from a fresh settings folder: the check and the send reach each recipient's
// mail exchanger, found through the name server.
TEST_F(SendCommands, DirectSendReachesTheRecipientsExchanger)
{
    const int port = PeerProcess::FreePort();
    const SmtpSinkServer exchanger(QStringLiteral("127.0.0.5"), port);
    const DnsmasqServer dns(
        {"local=/test/", "mx-host=one.test,mx.one.test,10", "host-record=mx.one.test,127.0.0.5"});
    ASSERT_TRUE(exchanger.IsRunning());
    ASSERT_TRUE(dns.IsRunning()) << dns.Log().toStdString();
    DnsQuery::SetNameServerForTesting(QStringLiteral("127.0.0.1"), dns.Port(), 1, 1);
    CKVSmtpServer::SetDirectDeliveryPortForTesting(port);
    auto letter = MakeLetter();
    letter->Sender().RemoveField(ndb::SenderDelivery);
    CMainWnd& window = Open(*letter);
    ModalScript script;
    script.Then(IsSendDialog, [](QWidget* w) { ClickButton(w, QStringLiteral("Send")); })
        .Then(IsStatusDialog, CloseWhenFinished);
    Run(window, SendItem, script);
    DnsQuery::SetNameServerForTesting(QString(), 53, 0, 0);
    CKVSmtpServer::SetDirectDeliveryPortForTesting(25);
    EXPECT_EQ(exchanger.Messages().size(), 2);
    EXPECT_TRUE(m_relay.Messages().isEmpty());
}

// A picture that cannot be fetched stops the send with a message that names it.
TEST_F(SendCommands, PictureThatCannotBeFetchedIsNamed)
{
    auto letter = MakeLetter();
    letter->Layout().SetField(
        ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral("<p>Hi <img src=\"img/missing.png\" /></p>")));
    CMainWnd& window = Open(*letter);
    ModalScript script;
    script.Then(IsSendDialog, [](QWidget* w) { ClickButton(w, QStringLiteral("Send")); });
    Box(script, QStringLiteral("Failed to send emails\n\nThe picture img/missing.png could not be fetched."),
        QStringLiteral("OK"));
    Run(window, SendItem, script);
    EXPECT_TRUE(m_relay.Messages().isEmpty());
}
