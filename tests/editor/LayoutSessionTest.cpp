#include "PageScript.h"
#include "app/ShellTestSupport.h"
#include "editor/LayoutCommandIds.h"
#include "editor/WndLayout.h"
#include "platform/ui/ComboBox.h"

#include <QAbstractButton>
#include <QFile>

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
    RunInPage(browser,
              QStringLiteral(
                  "(function () { const w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);"
                  " for (let n = w.nextNode(); n; n = w.nextNode()) { const i = n.data.indexOf('%1');"
                  " if (i < 0) continue; const r = document.createRange(); r.setStart(n, i);"
                  " r.setEnd(n, i + %2); const s = document.getSelection(); s.removeAllRanges();"
                  " s.addRange(r); %3 return true; } throw new Error('%1'); })()")
                  .arg(text)
                  .arg(text.size())
                  .arg(collapse ? QStringLiteral("s.%1();").arg(QLatin1String(collapse)) : QString()));
    QTest::qWait(100);
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
    ndb::CNdbNewsletter letter(QStringLiteral("June"));
    letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    letter.Layout().SetField(ndb::LayoutHtml,
                             ndb::CNdbFieldValue(QStringLiteral("<p>Hello</p><p>Harbour</p>")));
    ASSERT_TRUE(letter.Save(Document("June.kvnl"), QStringLiteral("Kelvora"), 2007, 1));
    CMainWnd& window = StartProgram();
    window.MoveWindow(0, 0, 1000, 700);
    ASSERT_TRUE(window.OpenNewsletter(Document("June.kvnl")));
    CWndLayout& layout = window.GetNewsletterView().GetLayout();
    CIEBrowser& browser = layout.GetBrowser();
    ASSERT_TRUE(QTest::qWaitFor([&] { return BodyOf(browser).contains("Harbour"); }, 30000));

    PressKey(window, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(layout.IsEditing());
    QWidget* page = browser.GetSafeHwnd()->focusProxy();
    ASSERT_NE(page, nullptr);
    page->setFocus();
    // Keys reach the text only once the engine knows its page has the focus.
    ASSERT_TRUE(QTest::qWaitFor(
        [&]
        {
            return RunInPage(browser,
                             QStringLiteral("document.hasFocus() && document.body.isContentEditable"))
                .toBool();
        },
        10000));

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
    QTimer confirm;
    QObject::connect(&confirm, &QTimer::timeout,
                     [&]
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (!modal || modal->windowTitle() != "Insert Table")
                             return;
                         confirm.stop();
                         for (QAbstractButton* button : modal->findChildren<QAbstractButton*>())
                         {
                             if (button->text() == "OK")
                                 QTest::mouseClick(button, Qt::LeftButton);
                         }
                     });
    confirm.start(20);
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
    // Each key's step is awaited, then given time for a second, unwanted one to show.
    const auto stepsLeave = [&](const QStringList& titles)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return UndoTitles(browser) == titles; }, 10000))
            << UndoTitles(browser).join(", ").toStdString();
        QTest::qWait(300);
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
