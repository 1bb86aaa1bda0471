// The table commands of the layout editor on a table of 50 x 50 cells and on hostile tables of
// 5000 cells (irregular rows, spans of 1000 columns, spans to the end of the row group): one Tab
// step from cell to cell and one Insert Column, each beside an arrow-key caret move in the same
// table, so that the cost of the command reads against the cost of the engine's own step.

#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "editor/LayoutCommandIds.h"
#include "editor/WndLayout.h"
#include "ndb/NdbLayout.h"
#include "ndb/NdbNewsletter.h"
#include "platform/ui/PreTranslateFilter.h"
#include "tests/support/PageAnswer.h"

#include <QApplication>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <benchmark/benchmark.h>

namespace
{
QString Grid50()
{
    QString html = QStringLiteral("<table class=\"sys_table\" cellspacing=\"0\"><tbody>");
    for (int r = 0; r < 50; ++r)
    {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < 50; ++c)
            html += QStringLiteral("<td>r%1c%2</td>").arg(r).arg(c);
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</tbody></table>");
}

// 5000 cells in rows of 1 to 20, some 1000 columns wide, some reaching the end of their group.
QString Hostile()
{
    QString html = QStringLiteral("<table class=\"sys_table\" cellspacing=\"0\"><tbody><tr>");
    for (int i = 0, inRow = 0; i < 5000; ++i, ++inRow)
    {
        if (inRow == 1 + i % 20)
        {
            html += QStringLiteral("</tr><tr>");
            inRow = 0;
        }
        const int colSpan = i % 97 == 0 ? 1000 : 1 + i % 3;
        const int rowSpan = i % 89 == 0 ? 0 : 1 + i % 2;
        html += QStringLiteral("<td colspan=\"%1\" rowspan=\"%2\">c%3</td>").arg(colSpan).arg(rowSpan).arg(i);
    }
    return html + QStringLiteral("</tr></tbody></table>");
}

// The program's editor on a newsletter that holds the table, in edit mode.
class Editor
{
public:
    explicit Editor(const QString& table)
    {
        m_context.GetSpamFilter().LoadDatabase(QStringLiteral(KV_SOURCE_DIR "/data/spamdb/spamdb.dat"));
        auto letter = std::make_unique<ndb::CNdbNewsletter>(QStringLiteral("Tables"));
        letter->SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(QStringLiteral("tables.kvnl")));
        letter->Layout().SetField(ndb::LayoutHtml,
                                  ndb::CNdbFieldValue(table + QStringLiteral("<p>After</p>")));
        m_context.SetCurrentDocument(std::move(letter));
        m_server.Start();
        m_host.Create(QString(), QString(), WS_POPUP | WS_VISIBLE, CRect(0, 0, 1000, 700), nullptr, 0);
        m_layout.Create(&m_host);
        m_layout.MoveWindow(0, 0, 1000, 700);
        m_layout.ShowWindow(SW_SHOW);
        m_layout.SendMessage(WM_COMMAND, ID_LAYOUT_EDIT);
        Page()->setFocus();
    }
    ~Editor() { m_server.Stop(); }

    CWndLayout& Layout() { return m_layout; }
    QWidget* Page() { return m_layout.GetBrowser().GetSafeHwnd()->focusProxy(); }
    QVariant Run(const QString& script)
    {
        auto* view = qobject_cast<QWebEngineView*>(m_layout.GetBrowser().GetSafeHwnd());
        const std::optional<QVariant> answer =
            PageAnswer(view->page(), script, 60000, QWebEngineScript::ApplicationWorld);
        if (!answer)
            qFatal("the page did not answer: %s", qPrintable(script));
        return *answer;
    }
    // Puts the caret at the start of the table's first cell.
    void CaretInFirstCell()
    {
        Run("(function () { const r = document.createRange(); "
            "r.setStart(document.querySelector('td').firstChild, 0);"
            " r.collapse(true); const s = document.getSelection(); s.removeAllRanges(); s.addRange(r); })()");
    }
    // The numbers of the table and its first cell in the editing library.
    std::pair<int, int> TableAndFirstCell()
    {
        CaretInFirstCell();
        QVariant around;
        CIEBrowser::CallLibrary(m_layout.GetBrowser(), QStringLiteral("tableAtSelection"), {}, around);
        return {around.toMap()["table"].toInt(), around.toMap()["cell"].toInt()};
    }

private:
    CKVContext m_context;
    CKVWebServer m_server{&m_context};
    CWnd m_host;
    CWndLayout m_layout{&m_context};
};

QString Table(int which)
{
    return which == 0 ? Grid50() : Hostile();
}

void TabStep(benchmark::State& state)
{
    Editor editor(Table(int(state.range(0))));
    editor.CaretInFirstCell();
    for (auto _ : state)
        QTest::keyClick(editor.Page(), Qt::Key_Tab);
}

void InsertColumn(benchmark::State& state)
{
    Editor editor(Table(int(state.range(0))));
    const auto [table, cell] = editor.TableAndFirstCell();
    for (auto _ : state)
        editor.Layout().RunTableMenuCommand(ID_TABLE_INSERT_COLUMN, table, cell);
}

// The engine's own caret step, waited for until the selection has moved.
void ArrowKeyCaretMove(benchmark::State& state)
{
    Editor editor(Table(int(state.range(0))));
    editor.CaretInFirstCell();
    const QString offset = QStringLiteral("document.getSelection().focusOffset");
    for (auto _ : state)
    {
        const int before = editor.Run(offset).toInt();
        QTest::keyClick(editor.Page(), before > 0 ? Qt::Key_Left : Qt::Key_Right);
        while (editor.Run(offset).toInt() == before)
            QTest::qWait(0);
    }
}
} // namespace

// Argument 0: the 50 x 50 table; 1: the hostile table.
BENCHMARK(TabStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(InsertColumn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(ArrowKeyCaretMove)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(30);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    CPreTranslateFilter::Install();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
