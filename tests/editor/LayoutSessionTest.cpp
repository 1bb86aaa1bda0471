#include "PageScript.h"
#include "QueuedEvents.h"
#include "app/ShellTestSupport.h"
#include "editor/LayoutCommandIds.h"
#include "editor/WndLayout.h"
#include "platform/ui/ComboBox.h"
#include "res/dialogs/HtmlTableInsert.h"

#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>

using namespace ShellTest;

namespace
{
QString BodyOf(CIEBrowser& browser)
{
    std::unique_ptr<CHtmlDocument> document;
    QString body;
    if (!browser.GetDHtmlDocument(document) || !document->GetBodyInnerHtml(body, 1 << 20))
        return {};
    return body;
}

QStringList UndoTitles(CIEBrowser& browser)
{
    std::unique_ptr<CHtmlDocument> document;
    return browser.GetDHtmlDocument(document) ? document->GetUndoTitles() : QStringList();
}

// Selects a text of the body; collapsed to its start or end when asked.
void SelectText(CIEBrowser& browser, const QString& text, const char* collapse = nullptr)
{
    ChangeSelection(
        browser,
        QStringLiteral(
            "(function () { const w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);"
            " for (let n = w.nextNode(); n; n = w.nextNode()) { const i = n.data.indexOf('%1');"
            " if (i < 0) continue; const r = document.createRange(); r.setStart(n, i);"
            " r.setEnd(n, i + %2); const s = document.getSelection(); s.removeAllRanges();"
            " s.addRange(r); %3 return true; } throw new Error('%1'); })()")
            .arg(text)
            .arg(text.size())
            .arg(collapse ? QStringLiteral("s.%1();").arg(QLatin1String(collapse)) : QString()));
}

int ComboIndexOf(CComboBox& combo, const QString& text)
{
    for (int i = 0; i < combo.GetCount(); ++i)
    {
        if (combo.GetLBText(i) == text)
            return i;
    }
    return -1;
}

bool SaveLetter(const QString& path, const QString& html)
{
    ndb::CNdbNewsletter letter(QStringLiteral("June"));
    letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    letter.Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(html));
    return letter.Save(path, QStringLiteral("Kelvora"), 2007, 1);
}

// Opens the newsletter, then Ctrl+E and the focus into the page once it shows the text: the
// page's widget when it takes keys, else null.
QWidget* OpenForEditing(CMainWnd& window, const QString& path, const QString& shownText)
{
    window.MoveWindow(0, 0, 1000, 700);
    CWndLayout& layout = window.GetNewsletterView().GetLayout();
    CIEBrowser& browser = layout.GetBrowser();
    if (!window.OpenNewsletter(path) ||
        !QTest::qWaitFor([&] { return BodyOf(browser).contains(shownText); }, 30000))
        return nullptr;
    PressKey(window, Qt::Key_E, Qt::ControlModifier);
    QWidget* page = browser.GetSafeHwnd()->focusProxy();
    if (!layout.IsEditing() || !page)
        return nullptr;
    page->setFocus();
    // Keys reach the text only once the engine knows its page has the focus.
    const bool ready = QTest::qWaitFor(
        [&]
        {
            return RunInPage(browser,
                             QStringLiteral("document.hasFocus() && document.body.isContentEditable"))
                .toBool();
        },
        10000);
    return ready ? page : nullptr;
}

// Confirms the Insert Table dialog as soon as it is open, with the columns typed in when given.
std::unique_ptr<QTimer> ConfirmInsertTable(const QString& columns)
{
    auto confirm = std::make_unique<QTimer>();
    QObject::connect(confirm.get(), &QTimer::timeout,
                     [timer = confirm.get(), columns]
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (!modal || modal->windowTitle() != "Insert Table")
                             return;
                         timer->stop();
                         if (!columns.isEmpty())
                         {
                             CWnd* edit = CWnd::FromHandle(modal)->GetDlgItem(IDC_COLUMNS);
                             auto* field = qobject_cast<QLineEdit*>(edit ? edit->GetSafeHwnd() : nullptr);
                             ASSERT_NE(field, nullptr);
                             field->selectAll();
                             QTest::keyClicks(field, columns);
                         }
                         for (QAbstractButton* button : modal->findChildren<QAbstractButton*>())
                         {
                             if (button->text() == "OK")
                                 QTest::mouseClick(button, Qt::LeftButton);
                         }
                     });
    confirm->start(20);
    return confirm;
}

QString Golden(const QString& name)
{
    QFile file(QStringLiteral(KV_TEST_DATA_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}
} // namespace

// A user's session in the layout editor, with the keys and menus a user has: the stored layout
// and the saved file hold exactly the edits, and each edit is one named step of Undo and Redo.
TEST_F(ShellProgram, LayoutSessionFromEditToTheSavedFile)
{
    ASSERT_TRUE(SaveLetter(Document("June.kvnl"), QStringLiteral("<p>Hello</p><p>Harbour</p>")));
    CMainWnd& window = StartProgram();
    QWidget* page = OpenForEditing(window, Document("June.kvnl"), "Harbour");
    ASSERT_NE(page, nullptr);
    CWndLayout& layout = window.GetNewsletterView().GetLayout();
    CIEBrowser& browser = layout.GetBrowser();

    // Typed text, then bold and a fixed text colour on it.
    SelectText(browser, "Hello", "collapseToEnd");
    QTest::keyClicks(page, " world");
    ASSERT_TRUE(QTest::qWaitFor([&] { return BodyOf(browser).contains("Hello world"); }, 10000));
    SelectText(browser, "world");
    PressKey(window, Qt::Key_B, Qt::ControlModifier);
    layout.GetToolbar().GetTextColorButton()->m_swatchColor = 0x0000C0; // red 0xC0
    ASSERT_TRUE(ChooseMenuItem(window, {"&Format", "Character", "Text Color"}));

    // 14 pt from the size box on "Harbour".
    SelectText(browser, "Harbour");
    CComboBox& sizes = *layout.GetToolbar().GetSizeCombo();
    ASSERT_GE(sizes.SetCurSel(ComboIndexOf(sizes, "14")), 0);
    window.SendMessage(WM_COMMAND, ID_LAYOUT_FONT_SIZE);

    // A table after "Harbour", a merge field before "Hello".
    SelectText(browser, "Harbour", "collapseToEnd");
    // The table dialog confirmed as it opens: one cell.
    const auto confirm = ConfirmInsertTable(QString());
    ASSERT_TRUE(ChooseMenuItem(window, {"&Insert", "Table..."}));
    SelectText(browser, "Hello", "collapseToStart");
    ASSERT_TRUE(ChooseMenuItem(window, {"&Insert", "&Field", "First Name"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return BodyOf(browser).contains("fc_130"); }, 10000));
    EXPECT_EQ(UndoTitles(browser),
              (QStringList{"Insert Html", "Insert Table", "Font Size", "Text Color", "Bold", "Typing"}));

    // Undo and redo go unit by unit, from the Edit menu.
    const QString edited = BodyOf(browser);
    ASSERT_TRUE(ChooseMenuItem(window, {"&Edit", "&Undo\tCtrl+Z"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !BodyOf(browser).contains("fc_130"); }, 10000));
    ASSERT_TRUE(ChooseMenuItem(window, {"&Edit", "&Undo\tCtrl+Z"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !BodyOf(browser).contains("<table"); }, 10000));
    EXPECT_EQ(UndoTitles(browser), (QStringList{"Font Size", "Text Color", "Bold", "Typing"}));
    ASSERT_TRUE(ChooseMenuItem(window, {"&Edit", "&Redo\tCtrl+Y"}));
    ASSERT_TRUE(ChooseMenuItem(window, {"&Edit", "&Redo\tCtrl+Y"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return BodyOf(browser) == edited; }, 10000))
        << BodyOf(browser).toStdString();
    EXPECT_EQ(UndoTitles(browser).value(0), "Insert Html");

    // The keys inside the page go one unit each way too: the page hears them as well as the
    // main window's keys.
    const QStringList all = UndoTitles(browser);
    page->setFocus();
    // Each key's step is awaited; a second, unwanted one would come from what the key left in the
    // program's event queue.
    const auto stepsLeave = [&](const QStringList& titles)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return UndoTitles(browser) == titles; }, 10000))
            << UndoTitles(browser).join(", ").toStdString();
        AwaitQueuedEvents();
        EXPECT_EQ(UndoTitles(browser), titles);
    };
    PressKey(window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !BodyOf(browser).contains("fc_130"); }, 10000));
    stepsLeave(all.mid(1));
    PressKey(window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return BodyOf(browser) == edited; }, 10000));
    stepsLeave(all);
    PressKey(window, Qt::Key_Z, Qt::ControlModifier);
    PressKey(window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !BodyOf(browser).contains("<table"); }, 10000));
    stepsLeave(all.mid(2));
    PressKey(window, Qt::Key_Y, Qt::ControlModifier);
    stepsLeave(all.mid(1));
    PressKey(window, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return BodyOf(browser) == edited; }, 10000))
        << BodyOf(browser).toStdString();
    EXPECT_EQ(UndoTitles(browser), all);

    // Save ends the editing and keeps the edits; the second Save writes the file.
    PressKey(window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(layout.IsEditing());
    PressKey(window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window.GetWindowText().contains('*'));
    ndb::CNdbNewsletter reloaded;
    ASSERT_TRUE(reloaded.Load(Document("June.kvnl")));
    const QString stored = reloaded.Layout().GetString(ndb::LayoutHtml);
    EXPECT_EQ(stored.toStdString(), Golden("session-layout.html").toStdString());
    EXPECT_FALSE(stored.contains("contenteditable")) << "nothing of the live editor is stored";
}

// Insert Table puts the caret into the new table's first cell: typing replaces the cell's filler
// and Tab goes on to the next cell; a click into a cell that holds only its filler types over it
// too. The paragraph split for the table leaves no empty half behind.
TEST_F(ShellProgram, NewTableTakesTypingCellByCell)
{
    const QString harbour = QStringLiteral("<p><font style=\"font-size: 14pt;\">Harbour</font></p>");
    ASSERT_TRUE(SaveLetter(Document("June.kvnl"), "<p>Hello</p>" + harbour + "<p>Bye</p>"));
    CMainWnd& window = StartProgram();
    QWidget* page = OpenForEditing(window, Document("June.kvnl"), "Harbour");
    ASSERT_NE(page, nullptr);
    CIEBrowser& browser = window.GetNewsletterView().GetLayout().GetBrowser();

    SelectText(browser, "Harbour", "collapseToEnd");
    const auto confirm = ConfirmInsertTable(QStringLiteral("3"));
    ASSERT_TRUE(ChooseMenuItem(window, {"&Insert", "Table..."}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return BodyOf(browser).contains("<table"); }, 10000));
    // The window manager activates the main window again once the dialog is gone; the focus is
    // back in the page.
    window.GetSafeHwnd()->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == page; }, 10000));
    QTest::keyClicks(page, "Ferry");
    QTest::keyClick(page, Qt::Key_Tab);
    QTest::keyClicks(page, "Quay");
    ASSERT_TRUE(QTest::qWaitFor([&] { return BodyOf(browser).contains("Quay"); }, 10000));
    const QVariantList third =
        RunInPage(browser, QStringLiteral("(function () { const r = document.querySelectorAll('td')[2]"
                                          ".getBoundingClientRect(); return [r.left + r.width / 2,"
                                          " r.top + r.height / 2]; })()"))
            .toList();
    ASSERT_EQ(third.size(), 2);
    QTest::mouseClick(page, Qt::LeftButton, Qt::NoModifier,
                      QPoint(int(third[0].toDouble()), int(third[1].toDouble())));
    QTest::keyClicks(page, "Pier");
    ASSERT_TRUE(QTest::qWaitFor([&] { return BodyOf(browser).contains("Pier"); }, 10000));

    PressKey(window, Qt::Key_S, Qt::ControlModifier);
    PressKey(window, Qt::Key_S, Qt::ControlModifier);
    ndb::CNdbNewsletter reloaded;
    ASSERT_TRUE(reloaded.Load(Document("June.kvnl")));
    const QString stored = reloaded.Layout().GetString(ndb::LayoutHtml);
    for (const char* cell : {">Ferry</td>", ">Quay</td>", ">Pier</td>"})
        EXPECT_TRUE(stored.contains(cell)) << cell << "\n" << stored.toStdString();
    EXPECT_FALSE(stored.contains("&nbsp;")) << stored.toStdString();
    EXPECT_TRUE(stored.startsWith("<p>Hello</p>" + harbour)) << stored.toStdString();
    EXPECT_TRUE(stored.endsWith("</table>\n<p>Bye</p>")) << stored.toStdString();
}

// Ctrl+Shift+2 gives the selected paragraph the style "h2" in one step; a first-level heading
// elsewhere becomes a paragraph of that style too. Align Center on a centred paragraph takes the
// alignment away again, with every "align" attribute of boxes, tables and cells.
TEST_F(ShellProgram, TextStyleAndAlignmentCommands)
{
    ndb::CNdbNewsletter letter(QStringLiteral("June"));
    letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    letter.Layout().SetField(
        ndb::LayoutHtml,
        ndb::CNdbFieldValue(QStringLiteral("<h1>Pasted</h1><p>Plain text</p><table align=\"center\"><tr>"
                                           "<td align=\"right\">x</td></tr></table>")));
    ASSERT_TRUE(letter.Save(Document("June.kvnl"), QStringLiteral("Kelvora"), 2007, 1));
    CMainWnd& window = StartProgram();
    ASSERT_TRUE(window.OpenNewsletter(Document("June.kvnl")));
    CWndLayout& layout = window.GetNewsletterView().GetLayout();
    CIEBrowser& browser = layout.GetBrowser();
    ASSERT_TRUE(QTest::qWaitFor([&] { return BodyOf(browser).contains("Plain"); }, 30000));
    window.SendMessage(WM_COMMAND, ID_LAYOUT_EDIT);
    ASSERT_TRUE(layout.IsEditing());
    browser.GetSafeHwnd()->focusProxy()->setFocus();

    SelectText(browser, "Plain");
    PressKey(window, Qt::Key_2, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !BodyOf(browser).contains("<h1"); }, 10000))
        << BodyOf(browser).toStdString();
    const QString styled = BodyOf(browser);
    EXPECT_TRUE(styled.contains("<p class=\"h2\">Pasted</p>")) << styled.toStdString();
    EXPECT_TRUE(styled.contains("<p class=\"h2\">Plain text</p>")) << styled.toStdString();
    EXPECT_EQ(UndoTitles(browser).value(0), "Text Style");

    SelectText(browser, "Plain");
    ASSERT_TRUE(ChooseMenuItem(window, {"&Format", "Paragraph", "Align Center"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return BodyOf(browser).contains("center"); }, 10000));
    SelectText(browser, "Plain");
    ASSERT_TRUE(ChooseMenuItem(window, {"&Format", "Paragraph", "Align Center"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !BodyOf(browser).contains("align"); }, 10000))
        << BodyOf(browser).toStdString();
}
