#include "PageClicks.h"
#include "PageScript.h"
#include "app/ShellTestSupport.h"
#include "editor/LayoutCommandIds.h"
#include "editor/WndLayout.h"

#include <QAbstractButton>

using namespace ShellTest;

namespace
{
// A 2 x 2 table as Insert Table writes it: cells bordered from the table's metadata, touching.
const QString CaseTable = QStringLiteral(
    "<p>Before</p><table class=\"sys_table\" cellpadding=\"0\" cellspacing=\"0\" "
    "name=\"src_border:solid 1px F{#000000ff};border:solid 1px F{#000000ff};\">"
    "<tbody><tr><td id=\"first\" align=\"center\" width=\"120\">a</td><td>b</td><td>e</td></tr>"
    "<tr><td>c</td><td>d</td><td>f</td></tr></tbody></table><p>After</p>");

QString TableMarkup(CIEBrowser& browser)
{
    return RunInPage(browser, QStringLiteral("(document.querySelector('table') || {}).outerHTML || ''"))
        .toString();
}

// The rows and cells of the table, each cell with its attributes but the style, its text and its
// border pattern: F all four sides, T a first-row cell, L a row's first cell, I an inner cell.
QString CellPatterns(CIEBrowser& browser)
{
    QString markup = TableMarkup(browser);
    const QString line = QStringLiteral("1px solid rgb(0, 0, 0)");
    const std::pair<QString, QString> patterns[] = {
        {QStringLiteral(" style=\"border: %1;\"").arg(line), QStringLiteral(" F")},
        {QStringLiteral(" style=\"border-bottom: %1; border-right: %1; border-top: %1; border-left: none;\"")
             .arg(line),
         QStringLiteral(" T")},
        {QStringLiteral(" style=\"border-bottom: %1; border-right: %1; border-top: none; border-left: %1;\"")
             .arg(line),
         QStringLiteral(" L")},
        {QStringLiteral(
             " style=\"border-bottom: %1; border-right: %1; border-top: none; border-left: none;\"")
             .arg(line),
         QStringLiteral(" I")},
    };
    for (const auto& [style, code] : patterns)
        markup.replace(style, code);
    const qsizetype body = markup.indexOf(QLatin1String("<tbody>"));
    return body < 0 ? markup : markup.mid(body);
}

// Whether every row of the laid-out table reaches from the same left to the same right edge.
bool IsRectangular(CIEBrowser& browser, int index = 0)
{
    return RunInPage(browser, QStringLiteral(R"((function () {
        const table = document.querySelectorAll('table')[%1];
        const cells = Array.from(table.rows).flatMap((row) => Array.from(row.cells));
        const spans = Array.from(table.rows).map((row) => {
            const r = row.getBoundingClientRect();
            const over = cells.map((c) => c.getBoundingClientRect()).filter((b) => b.top < r.bottom - 1 && b.bottom > r.top + 1);
            return [Math.min(...over.map((b) => b.left)), Math.max(...over.map((b) => b.right))].join();
        });
        return spans.every((s) => s === spans[0]);
    })())")
                                  .arg(index))
        .toBool();
}

QPoint CentreOfCell(CIEBrowser& browser, const QString& text)
{
    const QVariantList point =
        RunInPage(
            browser,
            QStringLiteral("(function () { for (const c of document.querySelectorAll('td'))"
                           " if (c.textContent.trim() === '%1') { const r = c.getBoundingClientRect();"
                           " return [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)]; }"
                           " return [0, 0]; })()")
                .arg(text))
            .toList();
    return QPoint(point.value(0).toInt(), point.value(1).toInt());
}

QStringList UndoTitles(CIEBrowser& browser)
{
    std::unique_ptr<CHtmlDocument> document;
    return browser.GetDHtmlDocument(document) ? document->GetUndoTitles() : QStringList{};
}

// Opens the context menu with a right click at the point and clicks its item; true once the
// command has run, which its step on the Undo list shows.
bool ChooseFromContextMenu(CIEBrowser& browser, const QPoint& point, const QString& item)
{
    const QStringList before = UndoTitles(browser);
    return ChooseContextItem(browser, point, item) &&
           QTest::qWaitFor([&] { return UndoTitles(browser) != before; }, 10000);
}

struct CommandCase
{
    const char* item;
    const char* cell;
    const char* title;
    const char* table;
};

class TableCommands : public ShellProgram
{
protected:
    CWndLayout& EditLetter(const QString& layoutHtml)
    {
        ndb::CNdbNewsletter letter(QStringLiteral("Tables"));
        letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
        letter.Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(layoutHtml));
        EXPECT_TRUE(letter.Save(Document("Tables.kvnl"), QStringLiteral("Kelvora"), 2007, 1));
        CMainWnd& window = StartProgram();
        m_window = &window;
        window.MoveWindow(0, 0, 1024, 700);
        EXPECT_TRUE(window.OpenNewsletter(Document("Tables.kvnl")));
        CWndLayout& layout = window.GetNewsletterView().GetLayout();
        EXPECT_FALSE(ShownPageText(window).isEmpty());
        PressKey(window, Qt::Key_E, Qt::ControlModifier);
        EXPECT_TRUE(layout.IsEditing());
        EXPECT_TRUE(RunInPage(layout.GetBrowser(), "document.body.isContentEditable").toBool());
        return layout;
    }

    CMainWnd* m_window = nullptr;
};
} // namespace

// Each table command chosen from the context menu on a case table: the markup and its border
// patterns, a table the engine lays out as a rectangle, and one Undo under the command's title
// that brings the exact markup back.
TEST_F(TableCommands, ContextMenuCommandsChangeTheTableAsOneUndoStep)
{
    const CommandCase cases[] = {
        {"Insert Column", "b", "Table Insert Column",
         "<tbody><tr><td id=\"first\" align=\"center\" width=\"120\" F>a</td><td T>&nbsp;</td><td T>b</td>"
         "<td T>e</td></tr><tr><td L>c</td><td I>&nbsp;</td><td I>d</td><td I>f</td></tr></tbody></table>"},
        {"Delete Column", "b", "Table Delete Column",
         "<tbody><tr><td id=\"first\" align=\"center\" width=\"120\" F>a</td><td T>e</td></tr>"
         "<tr><td L>c</td><td I>f</td></tr></tbody></table>"},
        {"Insert Row", "c", "Table Insert Row",
         "<tbody><tr><td id=\"first\" align=\"center\" width=\"120\" F>a</td><td T>b</td><td T>e</td></tr>"
         "<tr><td L>c</td><td I>d</td><td I>f</td></tr>"
         "<tr><td L>&nbsp;</td><td I>&nbsp;</td><td I>&nbsp;</td></tr></tbody></table>"},
        {"Delete Row", "a", "Table Delete Row",
         "<tbody><tr><td F>c</td><td T>d</td><td T>f</td></tr></tbody></table>"},
        {"Merge with cell below", "a", "Table Merge Cell Down",
         "<tbody><tr><td id=\"first\" align=\"center\" width=\"120\" rowspan=\"2\" F>ac</td><td T>b</td>"
         "<td T>e</td></tr><tr><td L>d</td><td I>f</td></tr></tbody></table>"},
        {"Merge with cell on right", "a", "Table Merge Cell Right",
         "<tbody><tr><td id=\"first\" align=\"center\" width=\"120\" colspan=\"2\" F>ab</td><td T>e</td></tr>"
         "<tr><td L>c</td><td I>d</td><td I>f</td></tr></tbody></table>"},
    };
    CWndLayout& layout = EditLetter(CaseTable);
    CIEBrowser& browser = layout.GetBrowser();
    const QString before = TableMarkup(browser);
    ASSERT_FALSE(before.isEmpty());
    for (const CommandCase& c : cases)
    {
        ASSERT_TRUE(ChooseFromContextMenu(browser, CentreOfCell(browser, c.cell), c.item)) << c.item;
        EXPECT_EQ(CellPatterns(browser).toStdString(), c.table) << c.item;
        EXPECT_TRUE(IsRectangular(browser)) << c.item;
        std::unique_ptr<CHtmlDocument> document;
        ASSERT_TRUE(browser.GetDHtmlDocument(document));
        EXPECT_EQ(document->GetUndoTitles().value(0), c.title);
        m_window->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        EXPECT_EQ(TableMarkup(browser), before) << c.item;
    }
}

namespace
{
// The text of the cell that holds the whole selection, "" when the selection is elsewhere.
QString SelectedCell(CIEBrowser& browser)
{
    return RunInPage(browser, QStringLiteral(R"((function () {
        const s = document.getSelection();
        if (!s.rangeCount) return '';
        const r = s.getRangeAt(0);
        const cell = (r.startContainer.nodeType === 1 ? r.startContainer : r.startContainer.parentElement).closest('td');
        return cell && cell.contains(r.endContainer) && r.toString() === cell.textContent ? cell.textContent : '';
    })())"))
        .toString();
}

// Puts the caret into the cell with the text, with a click as the user does it.
void ClickInto(CIEBrowser& browser, const QString& text)
{
    QWidget* page = browser.GetSafeHwnd()->focusProxy();
    QTest::mouseClick(page, Qt::LeftButton, Qt::NoModifier, CentreOfCell(browser, text));
    const QString caretCell = QStringLiteral(R"((function () {
        const s = document.getSelection();
        const n = s.rangeCount ? s.getRangeAt(0).startContainer : null;
        const cell = n && (n.nodeType === 1 ? n : n.parentElement).closest('td');
        return cell ? cell.textContent.trim() : '';
    })())");
    EXPECT_TRUE(QTest::qWaitFor([&] { return RunInPage(browser, caretCell).toString() == text; }, 10000))
        << text.toStdString();
}

// Tab in a cell is the editor's own key: the step is done when the key has been handled.
void PressTab(CIEBrowser& browser, bool shift = false)
{
    QWidget* page = browser.GetSafeHwnd()->focusProxy();
    QTest::keyClick(page, shift ? Qt::Key_Backtab : Qt::Key_Tab, shift ? Qt::ShiftModifier : Qt::NoModifier);
}
} // namespace

// Tab and Shift+Tab with real keys walk a 3 x 3 table, add a row at its end and step through a
// cell that spans two rows; no tab character goes into the page and the focus stays in it.
TEST_F(TableCommands, TabStepsBetweenCells)
{
    CWndLayout& layout = EditLetter(QStringLiteral(
        "<table class=\"sys_table\" cellspacing=\"0\"><tbody><tr><td>a1</td><td>a2</td><td>a3</td></tr>"
        "<tr><td>b1</td><td>b2</td><td>b3</td></tr><tr><td>c1</td><td>c2</td><td>c3</td></tr></tbody></table>"
        "<table><tbody><tr><td rowspan=\"2\">A</td><td>B</td></tr><tr><td>C</td></tr></tbody></table>"
        "<p>Outside</p>"));
    CIEBrowser& browser = layout.GetBrowser();
    QWidget* page = browser.GetSafeHwnd()->focusProxy();
    ClickInto(browser, "b2");
    QStringList walk;
    for (int step = 0; step < 4; ++step)
    {
        PressTab(browser);
        walk << SelectedCell(browser);
    }
    EXPECT_EQ(walk, (QStringList{"b3", "c1", "c2", "c3"}));
    PressTab(browser);
    EXPECT_EQ(RunInPage(browser, "document.querySelector('table').rows.length").toInt(), 4);
    EXPECT_EQ(SelectedCell(browser), QString::fromUtf8("\u00a0")) << "the new row's first cell";
    PressTab(browser, true);
    EXPECT_EQ(SelectedCell(browser), "c3");
    EXPECT_FALSE(TableMarkup(browser).contains(u'\t'));
    EXPECT_EQ(QApplication::focusWidget(), page);
    // Tab in the toolbar's size box moves on there; the page keeps its selection.
    QWidget* sizes = layout.GetToolbar().GetSizeCombo()->GetSafeHwnd();
    sizes->setFocus();
    QTest::keyClick(sizes, Qt::Key_Tab);
    EXPECT_EQ(SelectedCell(browser), "c3");
    page->setFocus();

    ClickInto(browser, "A");
    PressTab(browser);
    EXPECT_EQ(SelectedCell(browser), "B");
    PressTab(browser);
    EXPECT_EQ(SelectedCell(browser), "C");
    PressTab(browser, true);
    EXPECT_EQ(SelectedCell(browser), "B");
    PressTab(browser, true);
    EXPECT_EQ(SelectedCell(browser), "A");
    PressTab(browser, true);
    EXPECT_EQ(SelectedCell(browser), "A") << "no step before the first cell";
    // The last cell beside a cell of two rows gets no row: nothing follows it.
    ClickInto(browser, "C");
    PressTab(browser);
    EXPECT_EQ(RunInPage(browser, "document.querySelectorAll('table')[1].rows.length").toInt(), 2);
}

// Table Properties and Table Cell Properties from the context menu, confirmed unchanged: the
// table's width attribute of 500 and the cell's 120 live on as pixels in the style, the cell's
// alignment and nowrap attributes as its style, the border source as pairs drawn on the cells;
// each as one Undo step.
TEST_F(TableCommands, PropertiesConfirmedUnchangedMoveAttributesIntoTheStyle)
{
    CWndLayout& layout = EditLetter(QStringLiteral(
        "<table width=\"500\" cellspacing=\"0\" name=\"src_border:solid 1px F{#000000ff};\"><tbody><tr>"
        "<td width=\"120\" align=\"CENTER\" nowrap=\"\">a</td><td>b</td></tr></tbody></table>"));
    CIEBrowser& browser = layout.GetBrowser();
    const auto confirm = [](const char* title)
    {
        auto timer = std::make_shared<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout,
                         [timer, title]
                         {
                             QWidget* modal = QApplication::activeModalWidget();
                             if (!modal || modal->windowTitle() != QLatin1String(title))
                                 return;
                             timer->stop();
                             for (QAbstractButton* button : modal->findChildren<QAbstractButton*>())
                             {
                                 if (button->text() == "OK")
                                     QTest::mouseClick(button, Qt::LeftButton);
                             }
                         });
        timer->start(20);
        return timer;
    };
    std::unique_ptr<CHtmlDocument> document;
    ASSERT_TRUE(browser.GetDHtmlDocument(document));

    auto table = confirm("Table Properties");
    ASSERT_TRUE(ChooseFromContextMenu(browser, CentreOfCell(browser, "b"), "Table Properties..."));
    EXPECT_TRUE(QTest::qWaitFor([&] { return TableMarkup(browser).contains("sys_table"); }, 10000));
    EXPECT_EQ(document->GetUndoTitles().value(0), "Table Properties");
    const QString tableTag = TableMarkup(browser).section(u'>', 0, 0);
    EXPECT_FALSE(tableTag.contains("width=")) << tableTag.toStdString();
    EXPECT_TRUE(tableTag.contains("width: 500px")) << tableTag.toStdString();
    EXPECT_TRUE(tableTag.contains("border: none")) << tableTag.toStdString();
    EXPECT_TRUE(CellPatterns(browser).contains("<td I>b</td>") || CellPatterns(browser).contains(" T>b</td>"))
        << CellPatterns(browser).toStdString();

    auto cell = confirm("Table Cell Properties");
    ASSERT_TRUE(ChooseFromContextMenu(browser, CentreOfCell(browser, "a"), "Table Cell properties..."));
    const QString first = RunInPage(browser, "document.querySelector('td').outerHTML").toString();
    EXPECT_EQ(document->GetUndoTitles().value(0), "Table Cell Properties");
    for (const char* gone : {" width=", " align=", " nowrap="})
        EXPECT_FALSE(first.contains(gone)) << first.toStdString();
    for (const char* kept : {"width: 120px", "text-align: center", "white-space: nowrap"})
        EXPECT_TRUE(first.contains(kept)) << first.toStdString();
}

namespace
{
// The rows of a table by their cells' texts and spans: "a c2 r3" is a cell over two columns and
// three rows.
QString RowsOf(CIEBrowser& browser, int index)
{
    return RunInPage(
               browser,
               QStringLiteral(
                   "Array.from(document.querySelectorAll('table')[%1].rows).map((r) =>"
                   " Array.from(r.cells).map((c) => c.textContent.trim() +"
                   " (c.colSpan > 1 ? ' c' + c.colSpan : '') + (c.rowSpan !== 1 ? ' r' + c.rowSpan : ''))"
                   ".join(', ')).join(' / ')")
                   .arg(index))
        .toString();
}
} // namespace

// Commands on tables with spans: cells that reach down move into the next row, a row left
// without cells goes and the spans crossing it shrink, cells of two columns grow by one.
TEST_F(TableCommands, CommandsOnTablesWithSpans)
{
    CWndLayout& layout = EditLetter(QStringLiteral(
        "<table><tbody><tr><td rowspan=\"2\">a</td><td rowspan=\"2\">b</td><td "
        "rowspan=\"2\">c</td></tr><tr></tr>"
        "<tr><td>d</td><td>e</td><td>f</td></tr></tbody></table>"
        "<table><tbody><tr><td>p</td><td rowspan=\"2\">q</td></tr><tr><td>r</td></tr>"
        "<tr><td>s</td><td>t</td></tr></tbody></table>"
        "<table><tbody><tr><td colspan=\"2\">w</td><td>x</td></tr><tr><td colspan=\"2\">y</td><td>z</td></tr>"
        "</tbody></table>"));
    CIEBrowser& browser = layout.GetBrowser();
    const struct
    {
        const char* item;
        const char* cell;
        int table;
        const char* rows;
    } cases[] = {
        {"Delete Row", "b", 0, "a, b, c / d, e, f"},
        {"Delete Column", "p", 1, "q / t"},
        {"Insert Column", "w", 2, "w c3, x / y c3, z"},
        {"Merge with cell below", "w", 2, "wy c2 r2, x / z"},
    };
    for (const auto& c : cases)
    {
        const QString before = RowsOf(browser, c.table);
        ASSERT_TRUE(ChooseFromContextMenu(browser, CentreOfCell(browser, c.cell), c.item)) << c.item;
        EXPECT_EQ(RowsOf(browser, c.table).toStdString(), c.rows) << c.item;
        EXPECT_TRUE(IsRectangular(browser, c.table)) << c.item;
        m_window->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        EXPECT_EQ(RowsOf(browser, c.table), before) << c.item;
    }
}
