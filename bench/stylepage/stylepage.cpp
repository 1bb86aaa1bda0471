// The style pages' previews: one preview update of a page (the page built and loaded in the
// page's browser) beside building the page alone, and opening the style sheet until its four
// browsers show their previews.

#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "controls/KVPropertySheet.h"
#include "dialogs/PageStyle1.h"
#include "dialogs/PageStyle2.h"
#include "dialogs/PageStyle3.h"
#include "dialogs/PageStyle4.h"
#include "dialogs/StylePreview.h"
#include "ndb/NdbNewsletter.h"
#include "webserver/NewsletterPageSource.h"
#include "webserver/StylePreviewPage.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <benchmark/benchmark.h>

using namespace ndb;

namespace
{
// The open newsletter, served on 127.0.0.1, and its Normal style with a few properties set.
struct Fixture
{
    Fixture()
    {
        auto letter = std::make_unique<CNdbNewsletter>(QStringLiteral("Bench"));
        letter->EnsureDefaultStyles();
        newsletter = letter.get();
        context.SetCurrentDocument(std::move(letter));
        server.Start();
        for (const auto& [key, style] : newsletter->Styles())
        {
            if (style->GetString(StyleRuleName) == QLatin1String("normal"))
                normal = style.get();
        }
        normal->SetField(StyleColor, CNdbFieldValue(CNdbColor(20, 40, 160)));
        normal->SetField(StyleFontSize, CNdbFieldValue(14.0f, NdbUnitPt));
        normal->SetField(StyleBorderBottomWidth, CNdbFieldValue(2.0f, NdbUnitPx));
        normal->SetField(StyleFreeCss, CNdbFieldValue(QStringLiteral("letter-spacing:2px;")));
    }

    CKVContext context;
    CKVWebServer server{&context};
    CNdbNewsletter* newsletter = nullptr;
    CNdbStyle* normal = nullptr;
};

Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

// Runs the event loop until the count of finished loads reaches the target.
bool WaitForLoads(const int& finished, int target)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         if (finished >= target)
                             loop.quit();
                     });
    poll.start(0);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    return finished >= target;
}

class CBenchFontPage : public CPageStyle1
{
public:
    using CPageStyle1::CPageStyle1;
    using CPageStyleBase::UpdatePreview;
};

void BuildPreviewPageAlone(benchmark::State& state)
{
    Fixture& fixture = Shared();
    const CNewsletterPageSource source(*fixture.newsletter);
    CPageContext pageContext;
    pageContext.SetCurrentNewsletter(&source);
    pageContext.SetServerPort(fixture.context.GetServerPort());
    for (auto _ : state)
    {
        QString page;
        BuildStylePreviewPage(page, fixture.normal, &pageContext, StylePreviewSample());
        benchmark::DoNotOptimize(page);
    }
}

void UpdatePagePreview(benchmark::State& state)
{
    Fixture& fixture = Shared();
    CNdbStyle working;
    working = *fixture.normal;
    CKVPropertySheet sheet(QStringLiteral("Style - Normal"));
    CBenchFontPage font(&fixture.context, &working);
    sheet.AddPage(&font);
    sheet.Create(0);
    auto* view = font.GetSafeHwnd()->findChild<QWebEngineView*>();
    int finished = 0;
    QObject::connect(view->page(), &QWebEnginePage::loadFinished, [&finished](bool) { ++finished; });
    WaitForLoads(finished, 1);
    for (auto _ : state)
    {
        const int before = finished;
        font.UpdatePreview();
        if (!WaitForLoads(finished, before + 1))
            state.SkipWithError("the preview did not load");
    }
    sheet.DestroyWindow();
}

void OpenStyleSheet(benchmark::State& state)
{
    Fixture& fixture = Shared();
    for (auto _ : state)
    {
        CNdbStyle working;
        working = *fixture.normal;
        CKVPropertySheet sheet(QStringLiteral("Style - Normal"));
        CPageStyle1 font(&fixture.context, &working);
        CPageStyle2 layout(&fixture.context, &working);
        CPageStyle3 background(&fixture.context, &working);
        CPageStyle4 misc(&fixture.context, &working);
        for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{&font, &layout, &background, &misc})
            sheet.AddPage(page);
        sheet.Create(0);
        sheet.ShowWindow(SW_SHOW);
        // A browser is done when it has loaded a preview, whose address is the local server's.
        int shown = 0;
        for (QWebEngineView* view : sheet.GetSafeHwnd()->findChildren<QWebEngineView*>())
        {
            QObject::connect(view->page(), &QWebEnginePage::loadFinished,
                             [&shown, page = view->page(), done = false](bool ok) mutable
                             {
                                 if (ok && !done && page->url().scheme() == QLatin1String("http"))
                                 {
                                     done = true;
                                     ++shown;
                                 }
                             });
        }
        if (!WaitForLoads(shown, 4))
            state.SkipWithError("the previews did not load");
        sheet.DestroyWindow();
    }
}
} // namespace

BENCHMARK(BuildPreviewPageAlone)->Unit(benchmark::kMicrosecond);
BENCHMARK(UpdatePagePreview)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenStyleSheet)->Unit(benchmark::kMillisecond)->Iterations(5);

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
