// Time from starting Kelvora with a newsletter on its command line to the newsletter's page
// loaded in the newsletter view, against a bare web-engine program that loads the same page from
// a local server in the same run. Both are whole processes started here, in alternating rounds;
// each ends as soon as the page has loaded, and the figure is the median of the rounds' ratios.
// The comparison skips the splash's wait; what the wait adds is measured apart, the launch with it
// against the launch without it. The memory both hold at rest once the page has loaded (the
// proportional set size of each program with every process it started) is compared the same way.
// A launch that does not reach the page fails the program.
#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "bench/launch/ProcessTreeMemory.h"
#include "bench/support/AlternatingRatio.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/ModulePath.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

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
    // The probe gives up after a minute itself; this is for a probe that hangs harder than that.
    if (!process.waitForFinished(90000))
    {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return -1;
    return double(clock.nsecsElapsed()) / 1e9;
}

// The memory of the process tree once it has stopped changing: sampled until two samples in a
// row agree within a hundredth, for at most ten seconds.
Bench::TreeMemory SettledMemory(pid_t root)
{
    constexpr int SampleMs = 250;
    constexpr int MinSamples = 4;
    constexpr int MaxSamples = 40;
    Bench::TreeMemory last = Bench::MemoryOfProcessTree(root);
    for (int sample = 1; sample < MaxSamples; ++sample)
    {
        QThread::msleep(SampleMs);
        const Bench::TreeMemory now = Bench::MemoryOfProcessTree(root);
        const bool steady = std::abs(now.pssMegabytes - last.pssMegabytes) < last.pssMegabytes / 100;
        last = now;
        if (steady && sample >= MinSamples)
            break;
    }
    return last;
}

// Starts the program to hold after its page has loaded, measures it at rest and lets it end;
// no processes when the page did not load.
Bench::TreeMemory MemoryAtRest(const QString& program, QStringList arguments)
{
    QProcess process;
    process.setProcessEnvironment(setup.environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    arguments.prepend(QStringLiteral("--hold"));
    process.start(program, arguments);
    while (!process.canReadLine() && process.waitForReadyRead(90000))
        ;
    Bench::TreeMemory memory;
    if (process.readLine().trimmed() == "loaded")
        memory = SettledMemory(pid_t(process.processId()));
    process.closeWriteChannel();
    if (!process.waitForFinished(30000))
    {
        process.kill();
        process.waitForFinished();
    }
    return memory;
}

const QStringList& WithoutSplashWait()
{
    static const QStringList arguments{QStringLiteral("--skip-splash"), setup.newsletter};
    return arguments;
}

// Kelvora's launch without the splash's wait against the bare program, in alternating rounds.
void Kelvora_LaunchAgainstBareWebEngine(benchmark::State& state)
{
    Bench::CAlternatingRatio rounds;
    for (auto _ : state)
    {
        double kelvora = -1;
        double bare = -1;
        rounds.RunRound([&] { kelvora = RunToExit(setup.probe, WithoutSplashWait()); },
                        [&] { bare = RunToExit(setup.bareBrowser, {setup.pageUrl}); });
        if (kelvora < 0 || bare < 0)
            return Bench::FailMeasurement(state, kelvora < 0 ? "Kelvora's page did not load"
                                                             : "the bare program's page did not load");
        rounds.Add(kelvora, bare);
        state.SetIterationTime(kelvora);
    }
    state.counters["kelvora_ms"] = rounds.MedianSide() * 1000.0;
    state.counters["bare_ms"] = rounds.MedianFloor() * 1000.0;
    state.counters["launch_to_bare"] = rounds.MedianRatio();
}

// The launch with the splash against the launch without its wait: the splash's share.
void Kelvora_LaunchWithSplashAgainstWithout(benchmark::State& state)
{
    Bench::CAlternatingRatio rounds;
    for (auto _ : state)
    {
        double withSplash = -1;
        double without = -1;
        rounds.RunRound([&] { withSplash = RunToExit(setup.probe, {setup.newsletter}); },
                        [&] { without = RunToExit(setup.probe, WithoutSplashWait()); });
        if (withSplash < 0 || without < 0)
            return Bench::FailMeasurement(state, "Kelvora's page did not load");
        rounds.Add(withSplash, without);
        state.SetIterationTime(withSplash);
    }
    state.counters["with_splash_ms"] = rounds.MedianSide() * 1000.0;
    state.counters["splash_wait_ms"] = (rounds.MedianSide() - rounds.MedianFloor()) * 1000.0;
}

// Kelvora's memory at rest with its first page shown against the bare program's.
void Kelvora_MemoryAtRestAgainstBareWebEngine(benchmark::State& state)
{
    Bench::CAlternatingRatio rounds;
    Bench::TreeMemory kelvora;
    Bench::TreeMemory bare;
    for (auto _ : state)
    {
        rounds.RunRound([&] { kelvora = MemoryAtRest(setup.probe, WithoutSplashWait()); },
                        [&] { bare = MemoryAtRest(setup.bareBrowser, {setup.pageUrl}); });
        if (kelvora.processes == 0 || bare.processes == 0)
            return Bench::FailMeasurement(state, kelvora.processes == 0
                                                     ? "Kelvora's page did not load"
                                                     : "the bare program's page did not load");
        rounds.Add(kelvora.pssMegabytes, bare.pssMegabytes);
    }
    state.counters["kelvora_pss_mb"] = rounds.MedianSide();
    state.counters["bare_pss_mb"] = rounds.MedianFloor();
    state.counters["pss_to_bare"] = rounds.MedianRatio();
    state.counters["kelvora_processes"] = kelvora.processes;
    state.counters["bare_processes"] = bare.processes;
}

BENCHMARK(Kelvora_LaunchAgainstBareWebEngine)->UseManualTime()->Iterations(7)->Unit(benchmark::kMillisecond);
BENCHMARK(Kelvora_MemoryAtRestAgainstBareWebEngine)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(Kelvora_LaunchWithSplashAgainstWithout)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const QString folder = QFileInfo(GetModuleFileName()).absolutePath() + u'/';
    setup.probe = folder + QStringLiteral("kv_launch_probe");
    setup.bareBrowser = folder + QStringLiteral("kv_bare_browser");
    // The probe, as the program, finds its data folder beside itself (the build puts it there);
    // without it the launch would stop at a message box instead of showing the page.
    if (!QFileInfo(folder + QStringLiteral("data")).isDir())
    {
        std::fprintf(stderr, "no data folder beside %s: build the launch_data_folder target\n",
                     qPrintable(setup.probe));
        return 1;
    }

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

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    server.Stop();
    return Bench::ExitCode();
}
