// A new user's way from an empty program to a sent newsletter, by mouse and keys alone, under a
// window manager: every step is a click on a button, a menu, a tab or the page a person sees.
#include "CreateDialogSupport.h"
#include "dialogs/ColorTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "mail/SendTestSupport.h"
#include "servicesui/ServicesUiSupport.h"
#include "support/ToolbarMouse.h"
#include "support/WindowManager.h"

#include "controls/CommandIds.h"
#include "dialogs/DlgFastColorPicker.h"
#include "editor/LayoutCommandIds.h"
#include "editor/WndLayout.h"
#include "mailui/DlgSend.h"
#include "mailui/DlgSendStatus.h"
#include "peers/AiosmtpdServer.h"
#include "platform/ui/PropertySheet.h"
#include "recipients/DlgUserAdd.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTabBar>

using namespace ShellTest;
using DialogTest::ModalScript;

namespace
{
constexpr UINT ID_BOLD = 32786;
constexpr UINT ID_ADD_RECIPIENT = 32903;
constexpr int IdNameOfNewsletter = 1040;
constexpr int IdRecipientEmail = 1037;
constexpr int IdRecipientFirstName = 1089;
constexpr int IdFromAddress = 1153;
constexpr int IdRelay = 1060;
constexpr int IdRelayServer = 1042;
constexpr int IdMoreSettings = 1184;
constexpr int IdSmtpPort = 1598;

const QString Sentence = QStringLiteral("Ferries leave at dawn");
const QString BoldWord = QStringLiteral("dawn");
const QString ColouredWord = QStringLiteral("Ferries");
// The web colour of the picker's cell that the test clicks.
constexpr int PickedCell = 36 * 2 + 6 * 3 + 1;
const QString PickedColour = QStringLiteral("#669933");
constexpr COLORREF PickedSwatch = 0x339966;

// Where the page shows a text: the rectangle of its first occurrence, in the page's widget.
QRect TextRect(CIEBrowser& browser, const QString& text)
{
    const QString script =
        QStringLiteral(
            "(function () { const w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);"
            " for (let n = w.nextNode(); n; n = w.nextNode()) { const i = n.data.indexOf('%1');"
            " if (i < 0) continue; const r = document.createRange(); r.setStart(n, i);"
            " r.setEnd(n, i + %2); const rects = r.getClientRects(); const b = rects[rects.length - 1];"
            " return [b.left, b.top, b.width, b.height]; } return null; })()")
            .arg(text)
            .arg(text.size());
    const QVariantList box = RunScript(browser, script).toList();
    if (box.size() != 4)
        return {};
    return QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble()).toRect();
}

bool PageHasFocus(CIEBrowser& browser)
{
    return RunScript(browser, QStringLiteral("document.hasFocus() && document.body.isContentEditable"))
        .toBool();
}

QString SelectedText(CIEBrowser& browser)
{
    return RunScript(browser, QStringLiteral("document.getSelection().toString()")).toString();
}

QWidget* PageWidget(CIEBrowser& browser)
{
    QWidget* view = browser.GetSafeHwnd();
    return view->focusProxy() ? view->focusProxy() : view;
}

// A double click as the window system delivers it: press, release, press, release, which the
// page counts into a double click itself.
void DoubleClick(QWidget* widget, const QPoint& point)
{
    QWindow* window = widget->window()->windowHandle();
    QTest::mouseDClick(window, Qt::LeftButton, {}, window->mapFromGlobal(widget->mapToGlobal(point)));
}

void ClickTab(const CKVTabButtonList& tabs, UINT command)
{
    for (int i = 0; i < tabs.GetTabCount(); ++i)
    {
        if (tabs.GetTab(i)->commandId == command)
            QTest::mouseClick(tabs.GetSafeHwnd(), Qt::LeftButton, {},
                              tabs.GetTab(i)->rect.ToQRect().center());
    }
}

template <class Window> bool Is(QWidget* widget)
{
    return dynamic_cast<Window*>(CWnd::FromHandle(widget)) != nullptr;
}

// Clicks the toolbar button while the script answers the windows it opens; true when every step
// of the script ran.
bool ClickWithScript(UINT command, ModalScript& script)
{
    script.Start();
    if (!ToolbarMouse::ClickCommand(command))
        return false;
    return QTest::qWaitFor([&] { return script.Finished(); }, 60000);
}

class MainRoad : public InstalledLibraryProgram
{
protected:
    void SetUp() override
    {
        InstalledLibraryProgram::SetUp();
        ASSERT_TRUE(m_relay.IsRunning());
        CKVSmtpServer::SetTakePauseForTesting(1);
    }
    void TearDown() override
    {
        InstalledLibraryProgram::TearDown();
        CKVSmtpServer::SetTakePauseForTesting(500);
    }

    CWndLayout& Layout() { return m_window->GetNewsletterView().GetLayout(); }
    CIEBrowser& Browser() { return Layout().GetBrowser(); }

    void CreateFromTheGallery()
    {
        bool created = false;
        const auto driver = WhenModal<CDlgNewsletterCreate>(
            [&](CDlgNewsletterCreate& dialog)
            {
                ASSERT_TRUE(ClickElement(dialog.GetGalleryBrowser(), "fileid0_imgdiv"));
                ASSERT_TRUE(
                    QTest::qWaitFor([&] { return dialog.GetDlgItem(IDOK)->IsWindowEnabled(); }, 10000));
                auto* name = dialog.GetDlgItem(IdNameOfNewsletter)->GetSafeHwnd();
                DialogTest::TypeOver(name, QStringLiteral("Harbour News"));
                ShellTest::ClickButton(dialog, IDOK);
                created = true;
            });
        ASSERT_TRUE(ChooseMenuItem(*m_window, {"&File", "&Create Newsletter..."}));
        ASSERT_TRUE(created);
        ASSERT_TRUE(ShownPageText(*m_window).contains("A busy season at the quay"));
    }

    // Clicks just behind the text, where a person puts the caret to write on.
    void ClickBehind(const QString& text)
    {
        const QRect box = TextRect(Browser(), text);
        ASSERT_FALSE(box.isEmpty()) << text.toStdString();
        QTest::mouseClick(PageWidget(Browser()), Qt::LeftButton, {},
                          QPoint(box.right() + 2, box.center().y()));
    }

    void WaitForBody(const QString& part)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return PageBody(Browser()).contains(part); }, 10000))
            << part.toStdString() << "\n"
            << PageBody(Browser()).toStdString();
    }

    // The keys go to the page once the engine knows it has the focus; after a dialog the window
    // manager gives the main window the focus back.
    void WaitForTypingInThePage()
    {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return QApplication::focusWidget() == PageWidget(Browser()) && PageHasFocus(Browser()); },
            10000));
    }

    void SetUpEmailSettings()
    {
        ModalScript script;
        script.ThenTitled(QStringLiteral("Email Settings"),
                          [this](QWidget* window)
                          {
                              auto* sheet = dynamic_cast<CPropertySheet*>(CWnd::FromHandle(window));
                              ServicesUi::Type(*sheet->GetActivePage(), IdFromAddress,
                                               QStringLiteral("news@harbour.test"));
                              auto* tabs = window->findChild<QTabBar*>();
                              QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
                              ASSERT_EQ(sheet->GetActiveIndex(), 1) << "the Delivery page shows";
                              CWnd& delivery = *sheet->GetActivePage();
                              ServicesUi::ClickBox(delivery, IdRelay);
                              ServicesUi::Type(delivery, IdRelayServer, QStringLiteral("127.0.0.1"));
                              ServicesUi::Click(delivery, IdMoreSettings);
                          });
        script.ThenTitled(QStringLiteral("Email Settings - Delivery - More Settings"),
                          [this](QWidget* window)
                          {
                              ServicesUi::Type(*CWnd::FromHandle(window), IdSmtpPort,
                                               QString::number(m_relay.Port()));
                              DialogTest::ClickButton(window, QStringLiteral("OK"));
                          });
        script.ThenAgain(DialogTest::Titled(QStringLiteral("Email Settings")),
                         [](QWidget* window) { DialogTest::ClickButton(window, QStringLiteral("OK")); });
        ASSERT_TRUE(ClickWithScript(ID_EMAIL_SETTINGS, script));
    }

    AiosmtpdServer m_relay;
    CMainWnd* m_window = nullptr;
};
} // namespace

// Create from the gallery, write and format in the layout editor, add a recipient, point the
// e-mail settings at a local server and send: the server holds the one merged message with all
// that was written.
TEST_F(MainRoad, FromTheGalleryToTheSentMessageByMouseAndKeys)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "needs a window manager on an X display";
    WindowManager manager;
    ASSERT_TRUE(manager.Start());
    const ModalWatchdog watchdog(120000);
    m_window = &StartProgram();
    m_window->MoveWindow(0, 0, 1200, 900);
    CreateFromTheGallery();

    // Edit Layout, then a sentence typed at the end of the introduction.
    ASSERT_TRUE(ToolbarMouse::ClickCommand(ID_LAYOUT_EDIT));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Layout().IsEditing(); }, 10000));
    ClickBehind(QStringLiteral("weeks ahead."));
    WaitForTypingInThePage();
    QWidget* page = PageWidget(Browser());
    QTest::keyClick(page, Qt::Key_End);
    QTest::keyClicks(page, u' ' + Sentence);
    WaitForBody(Sentence);

    // Its last word selected with the keys, then the B button.
    QTest::keyClick(page, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return SelectedText(Browser()) == BoldWord; }, 10000));
    ASSERT_TRUE(ToolbarMouse::ClickCommand(ID_BOLD));
    WaitForBody(QStringLiteral("<b>%1</b>").arg(BoldWord));

    // Its first word selected with a double click, then a colour from the text colour's picker.
    const QRect word = TextRect(Browser(), ColouredWord);
    ASSERT_FALSE(word.isEmpty());
    DoubleClick(page, word.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return SelectedText(Browser()).trimmed() == ColouredWord; }, 10000))
        << SelectedText(Browser()).toStdString();
    ModalScript picker;
    picker.Then([](QWidget* w) { return Is<CDlgFastColorPicker>(w); }, [](QWidget* w)
                { QTest::mouseClick(w, Qt::LeftButton, {}, ColorTest::CellCentre(PickedCell)); });
    ASSERT_TRUE(ClickWithScript(ID_SELECT_TEXT_COLOR, picker));
    WaitForBody(PickedColour);
    EXPECT_EQ(Layout().GetToolbar().GetTextColorButton()->m_swatchColor, PickedSwatch)
        << "the swatch shows the colour picked";

    // A table behind the sentence, its OK clicked, and a text typed into two of its cells.
    ClickBehind(BoldWord);
    WaitForTypingInThePage();
    QTest::keyClick(page, Qt::Key_End);
    ModalScript table;
    table.ThenTitled(QStringLiteral("Insert Table"),
                     [](QWidget* w) { DialogTest::ClickButton(w, QStringLiteral("OK")); });
    ASSERT_TRUE(ClickWithScript(ID_INSERT_TABLE, table));
    WaitForBody(QStringLiteral("<table"));
    WaitForTypingInThePage();
    QTest::keyClicks(page, QStringLiteral("Ferry"));
    QTest::keyClick(page, Qt::Key_Tab);
    QTest::keyClicks(page, QStringLiteral("Quay"));
    WaitForBody(QStringLiteral(">Quay<"));

    ASSERT_TRUE(ToolbarMouse::ClickCommand(ID_LAYOUT_SAVE));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Layout().IsEditing(); }, 10000));

    // One recipient, typed into the Add dialog of the recipients page.
    ClickTab(m_window->GetNewsletterView().GetTabStrip(), ID_VIEW_SUBSCRIBERS);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->GetNewsletterView().GetVisiblePage() == 2; }, 10000));
    ModalScript add;
    add.Then([](QWidget* w) { return Is<CDlgUserAdd>(w); },
             [](QWidget* w)
             {
                 ServicesUi::Type(*CWnd::FromHandle(w), IdRecipientEmail, QStringLiteral("ann@reader.test"));
                 ServicesUi::Type(*CWnd::FromHandle(w), IdRecipientFirstName, QStringLiteral("Ann"));
                 DialogTest::ClickButton(w, QStringLiteral("OK"));
             });
    ASSERT_TRUE(ClickWithScript(ID_ADD_RECIPIENT, add));

    ClickTab(m_window->GetNewsletterView().GetTabStrip(), ID_VIEW_EMAIL);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->GetNewsletterView().GetVisiblePage() == 1; }, 10000));
    SetUpEmailSettings();

    ModalScript send;
    send.Then([](QWidget* w) { return Is<CDlgSend>(w); },
              [](QWidget* w) { DialogTest::ClickButton(w, QStringLiteral("Send")); })
        .Then([](QWidget* w) { return Is<CDlgSendStatus>(w); },
              [](QWidget* w)
              {
                  auto* status = dynamic_cast<CDlgSendStatus*>(CWnd::FromHandle(w));
                  EXPECT_TRUE(QTest::qWaitFor(
                      [&] { return status->GetCurrentLine() == QLatin1String("Finished..."); }, 30000));
                  DialogTest::ClickButton(w, QStringLiteral("Close"));
              });
    ASSERT_TRUE(ClickWithScript(ID_SEND, send));
    SavePicture(*m_window, "MainRoad.png");

    const QByteArrayList messages = m_relay.Messages();
    ASSERT_EQ(messages.size(), 1);
    const SendTest::ReceivedCopy copy = SendTest::ReadCopy(messages.front());
    EXPECT_TRUE(copy.to.contains(QLatin1String("ann@reader.test"))) << copy.to.toStdString();
    for (const QString& part :
         {QStringLiteral("Dear Ann,"), QStringLiteral(" leave at <b>%1</b>").arg(BoldWord),
          QStringLiteral(">Ferry</td>"), QStringLiteral(">Quay</td>")})
        EXPECT_TRUE(copy.html.contains(part)) << part.toStdString() << "\n" << copy.html.toStdString();
    const QRegularExpression coloured(
        QStringLiteral("<font [^>]*%1[^>]*>%2</font>").arg(PickedColour, ColouredWord),
        QRegularExpression::CaseInsensitiveOption);
    EXPECT_TRUE(copy.html.contains(coloured)) << copy.html.toStdString();
}
