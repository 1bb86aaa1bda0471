// The live editor's costs on a newsletter of about 200 KB: entering edit mode (the edit page
// loaded and switched to editing) beside loading its view page, and the time from a keystroke to
// the typed character in the document, in edit mode beside a plain editable page of the same
// content.

#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "ndb/NdbLayout.h"
#include "ndb/NdbNewsletter.h"
#include "platform/ui/IEBrowser.h"
#include "platform/ui/WinConstants.h"
#include "tests/support/PageAnswer.h"

#include <QApplication>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <benchmark/benchmark.h>

using namespace ndb;

namespace
{
const QString FileName = QStringLiteral("bench.kvnl");

// About 200 KB of paragraphs and tables, as a long newsletter has.
QString LargeBody()
{
    QString body;
    for (int i = 0; body.size() < 200 * 1024; ++i)
        body += QStringLiteral(
                    "<p class=\"normal\">Paragraph %1 of the newsletter with <b>bold</b> and "
                    "<font color=\"#336699\">coloured</font> words, a <a href=\"http://example.org/%1\">"
                    "link</a> and some more text to read.</p><table class=\"sys_table\"><tbody><tr>"
                    "<td>cell %1</td><td>price</td></tr></tbody></table>")
                    .arg(i);
    return body;
}

// A window that tells when its browser has completed a page.
class CHost : public CWnd
{
public:
    int completed{0};
    CIEBrowser browser;

    CHost()
    {
        Create(QString(), QString(), WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0);
        browser.Create(QString(), 0, CRect(0, 0, 800, 600), this, 4711);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == UM_BROWSER_DOCUMENT_COMPLETE)
            ++completed;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    bool NavigateAndWait(const QString& url)
    {
        const int before = completed;
        return browser.Navigate(url) && QTest::qWaitFor([&] { return completed > before; }, 60000);
    }
    QVariant Run(const QString& script)
    {
        auto* view = qobject_cast<QWebEngineView*>(browser.GetSafeHwnd());
        const std::optional<QVariant> answer =
            PageAnswer(view->page(), script, 10000, QWebEngineScript::ApplicationWorld);
        if (!answer)
            qFatal("the page did not answer: %s", qPrintable(script));
        return *answer;
    }
    QWidget* PageWidget() { return browser.GetSafeHwnd()->focusProxy(); }
};

struct Fixture
{
    Fixture()
    {
        auto letter = std::make_unique<CNdbNewsletter>(QStringLiteral("Bench"));
        letter->SetField(NewsletterFileName, CNdbFieldValue(FileName));
        letter->Layout().SetField(LayoutHtml, CNdbFieldValue(LargeBody()));
        context.SetCurrentDocument(std::move(letter));
        server.Start();
        context.PutPageInWebStore(QStringLiteral("plain.htm"),
                                  QStringLiteral("<html><body contenteditable=\"true\">") + LargeBody() +
                                      QStringLiteral("</body></html>"));
    }
    CKVContext context;
    CKVWebServer server{&context};
};

Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

void LoadViewPage(benchmark::State& state)
{
    CHost host;
    const QString url = Shared().context.MakeServerUrl(FileName);
    for (auto _ : state)
        if (!host.NavigateAndWait(url))
            state.SkipWithError("the view page did not load");
}

void EnterEditMode(benchmark::State& state)
{
    CHost host;
    const QString url = Shared().context.MakeServerUrl(FileName + QStringLiteral("?kvlettermode=edit"));
    for (auto _ : state)
    {
        if (!host.NavigateAndWait(url))
            state.SkipWithError("the edit page did not load");
        host.browser.SetEditMode(true);
    }
}

// Types one character at the end of the first paragraph and waits until the document holds it.
void Keystrokes(benchmark::State& state, CHost& host)
{
    QWidget* page = nullptr;
    if (!QTest::qWaitFor([&] { return (page = host.PageWidget()) != nullptr; }, 10000))
        qFatal("the page never got its widget");
    page->setFocus();
    host.Run("(function () { const p = document.querySelector('p'); const r = document.createRange(); "
             "r.selectNodeContents(p); r.collapse(false); const s = document.getSelection(); "
             "s.removeAllRanges(); s.addRange(r); })()");
    const QString length = QStringLiteral("document.querySelector('p').textContent.length");
    int typed = host.Run(length).toInt();
    for (auto _ : state)
    {
        QTest::keyClick(page, Qt::Key_A);
        ++typed;
        while (host.Run(length).toInt() < typed)
            QTest::qWait(0);
    }
}

void KeystrokeInEditMode(benchmark::State& state)
{
    CHost host;
    host.NavigateAndWait(Shared().context.MakeServerUrl(FileName + QStringLiteral("?kvlettermode=edit")));
    host.browser.SetEditMode(true);
    Keystrokes(state, host);
}

void KeystrokeInPlainEditablePage(benchmark::State& state)
{
    CHost host;
    host.NavigateAndWait(Shared().context.MakeServerUrl(QStringLiteral("webstore/plain.htm")));
    Keystrokes(state, host);
}
} // namespace

BENCHMARK(LoadViewPage)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(EnterEditMode)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(KeystrokeInEditMode)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(KeystrokeInPlainEditablePage)->Unit(benchmark::kMillisecond)->Iterations(50);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
