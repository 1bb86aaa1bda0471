// Time from starting Kelvora with a newsletter on its command line to the newsletter's page
// loaded in the newsletter view, against a bare web-engine program that loads the same page from
// a local server in the same run. Both are whole processes started here; each ends as soon as the
// page has loaded. Kelvora's splash stays at least 4000 ms, so the launch is measured with it and
// without its wait, and that floor is reported apart from the comparison.
#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/ModulePath.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace
{
struct Setup
{
    QString probe;
    QString bareBrowser;
    QString newsletter;
    QString pageUrl;
    QProcessEnvironment environment;
};
Setup setup;

bool WriteNewsletter(const QString& path)
{
    ndb::CNdbNewsletter newsletter(QStringLiteral("June"));
    newsletter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    QString body = QStringLiteral("<h1>June</h1>");
    for (int i = 0; i < 20; ++i)
        body +=
            QStringLiteral("<p>Our summer selection of bulbs and perennials is in; orders over 50 ship free "
                           "(%1).</p>")
                .arg(i);
    newsletter.Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(body));
    return newsletter.Save(path, QStringLiteral("Kelvora"), 2007, 1);
}

// Seconds from the start of the process to its end; negative when it did not end well.
double RunToExit(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(setup.environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return -1;
    return double(clock.nsecsElapsed()) / 1e9;
}

void Measure(benchmark::State& state, const QString& program, const QStringList& arguments)
{
    for (auto _ : state)
    {
        const double seconds = RunToExit(program, arguments);
        if (seconds < 0)
        {
            state.SkipWithError("the page did not load");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void Kelvora_LaunchToPageLoaded(benchmark::State& state)
{
    Measure(state, setup.probe, {setup.newsletter});
}

void Kelvora_LaunchToPageLoadedWithoutSplashWait(benchmark::State& state)
{
    Measure(state, setup.probe, {QStringLiteral("--skip-splash"), setup.newsletter});
}

void BareWebEngine_LoadSamePage(benchmark::State& state)
{
    Measure(state, setup.bareBrowser, {setup.pageUrl});
}

BENCHMARK(Kelvora_LaunchToPageLoaded)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(Kelvora_LaunchToPageLoadedWithoutSplashWait)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BareWebEngine_LoadSamePage)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// Collects each benchmark's time to print the splash's share and the comparison at the end.
class CLaunchReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
        {
            if (!run.error_occurred)
                milliseconds[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    }

    std::map<std::string, double> milliseconds;
};
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const QString folder = QFileInfo(GetModuleFileName()).absolutePath() + u'/';
    setup.probe = folder + QStringLiteral("kv_launch_probe");
    setup.bareBrowser = folder + QStringLiteral("kv_bare_browser");

    // Both programs get a home of their own, so no setting or shortcut of the user's counts.
    QTemporaryDir home;
    setup.newsletter = home.filePath(QStringLiteral("June.kvnl"));
    if (!home.isValid() || !WriteNewsletter(setup.newsletter))
    {
        std::fprintf(stderr, "the newsletter could not be written\n");
        return 1;
    }
    setup.environment = QProcessEnvironment::systemEnvironment();
    setup.environment.insert(QStringLiteral("HOME"), home.path());
    setup.environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    if (!setup.environment.contains(QStringLiteral("QT_QPA_PLATFORM")) &&
        !setup.environment.contains(QStringLiteral("DISPLAY")))
        setup.environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    // The bare program loads the page that Kelvora shows, from the same local server.
    CKVContext context;
    auto newsletter = std::make_unique<ndb::CNdbNewsletter>();
    if (!newsletter->Load(setup.newsletter))
        return 1;
    newsletter->SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(QStringLiteral("June.kvnl")));
    context.SetCurrentDocument(std::move(newsletter));
    CKVWebServer server(&context);
    if (server.Start() == 0)
    {
        std::fprintf(stderr, "the local web server did not start\n");
        return 1;
    }
    setup.pageUrl = context.MakeServerUrl(QStringLiteral("June.kvnl"));

    CLaunchReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    server.Stop();

    auto& times = reporter.milliseconds;
    const double withSplash = times["Kelvora_LaunchToPageLoaded"];
    const double withoutSplash = times["Kelvora_LaunchToPageLoadedWithoutSplashWait"];
    const double bare = times["BareWebEngine_LoadSamePage"];
    if (withSplash > 0 && withoutSplash > 0)
        std::printf("Splash floor: %.0f ms of Kelvora's %.0f ms launch are the splash's wait\n",
                    withSplash - withoutSplash, withSplash);
    if (withoutSplash > 0 && bare > 0)
        std::printf("Without the splash's wait: Kelvora %.0f ms, bare web engine %.0f ms, ratio %.2f\n",
                    withoutSplash, bare, withoutSplash / bare);
    return 0;
}
