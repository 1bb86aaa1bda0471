// Saving and loading a newsletter with 100,000 and 1,000,000 recipients (and a send log entry for
// each), each set against its floor in alternating rounds:
//
// - a save against one write of the same bytes into a new file beside it, fdatasync and rename;
// - a load against a plain read of the file, both in a fresh process (this program started
//   again), so that neither reuses memory that the other freed.
//
// The peak memory of a load is set against the file's size, and the peak of a save against the
// loaded document it writes, each measured in a fresh process. A figure that cannot be measured
// fails the program.

#include "ndb/NdbNewsletter.h"

#include "base/FileHelpers.h"
#include "bench/support/AlternatingRatio.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <unistd.h>

namespace
{
using namespace ndb;

constexpr int Rounds = 5;
constexpr const char* LoadOption = "--load";
constexpr const char* ReadOption = "--read";
constexpr const char* SaveOption = "--save";
constexpr double MB = 1024.0 * 1024.0;

std::unique_ptr<CNdbNewsletter> MakeNewsletter(int recipients)
{
    auto letter = std::make_unique<CNdbNewsletter>(QStringLiteral("Monthly news"));
    letter->EnsureDefaultStyles();
    letter->Layout().SetField(LayoutHtml, CNdbFieldValue(QStringLiteral("<p>Hello</p>").repeated(200)));
    for (int i = 0; i < recipients; ++i)
    {
        const QString email = QStringLiteral("recipient%1@example.com").arg(i);
        auto user = std::make_unique<CNdbUser>();
        user->SetField(UserEmail, CNdbFieldValue(email));
        user->SetField(UserFirstName, CNdbFieldValue(QStringLiteral("First%1").arg(i)));
        user->SetField(UserLastName, CNdbFieldValue(QStringLiteral("Last%1").arg(i)));
        user->SetField(UserHtmlMail, CNdbFieldValue(NdbValueBool, 1));
        letter->Users().AddUser(std::move(user));
        letter->Log().CountAttempt(email);
        letter->Log().SetStatus(i % 10 == 0 ? NdbSendPending : NdbSendSent, email);
    }
    return letter;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A value of /proc/self/status in bytes, -1 when it cannot be read.
qint64 StatusBytes(const std::string& name)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.rfind(name + ":", 0) == 0)
            return std::stoll(line.substr(name.size() + 1)) * 1024;
    }
    return -1;
}

// How far the resident memory rises above where it is now while work runs.
template <class Work> qint64 PeakRiseOf(Work work)
{
    const qint64 before = StatusBytes("VmRSS");
    // Starts the high-water mark afresh at the present size, should earlier work have passed it.
    std::ofstream("/proc/self/clear_refs") << "5";
    if (!work())
        return -1;
    const qint64 peak = StatusBytes("VmHWM");
    return before < 0 || peak < 0 ? -1 : peak - before;
}

// The floor of a load: the file's bytes in memory, nothing more.
bool ReadWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    QByteArray bytes(file.size(), Qt::Uninitialized);
    return file.read(bytes.data(), bytes.size()) == bytes.size();
}

// The floor of a save: the same bytes written once into a new file beside the target, synced
// and renamed over it.
bool WriteReplacing(const QString& path, const QByteArray& bytes)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".~floor";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool synced = WriteAll(fd, bytes) && ::fdatasync(fd) == 0;
    return ::close(fd) == 0 && synced && ::rename(temporary.constData(), target.constData()) == 0;
}

// What one side did in a fresh process: its seconds, the peak rise of the resident memory while
// it ran and, for a save, the rise of loading the document it saved.
struct ChildFigures
{
    double seconds{-1};
    qint64 peak{-1};
    qint64 documentPeak{0};
};

// The seconds of the work, when it succeeds.
template <class Work> std::function<bool()> Timed(double& seconds, Work work)
{
    return [&seconds, work]
    {
        const auto start = std::chrono::steady_clock::now();
        const bool done = work();
        seconds = SecondsSince(start);
        return done;
    };
}

// In the fresh process: runs one side on the file and prints its figures.
int RunChild(const std::string& side, const QString& path)
{
    ChildFigures figures;
    CNdbNewsletter letter;
    if (side == ReadOption)
        figures.peak = PeakRiseOf(Timed(figures.seconds, [&] { return ReadWhole(path); }));
    else if (side == LoadOption)
        figures.peak = PeakRiseOf(Timed(figures.seconds, [&] { return letter.Load(path); }));
    else
    {
        const QString copy = path + QStringLiteral(".copy");
        figures.documentPeak = PeakRiseOf([&] { return letter.Load(path); });
        figures.peak = PeakRiseOf(
            Timed(figures.seconds, [&] { return letter.Save(copy, QStringLiteral("Kelvora"), 2007, 1); }));
        QFile::remove(copy);
    }
    if (figures.peak < 0 || figures.documentPeak < 0)
        return 1;
    std::printf("%.9f %lld %lld\n", figures.seconds, static_cast<long long>(figures.peak),
                static_cast<long long>(figures.documentPeak));
    return 0;
}

ChildFigures RunInFreshProcess(const char* side, const QString& path)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral("/proc/self/exe"), {QString::fromLatin1(side), path});
    if (!child.waitForFinished(600000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return {};
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 3)
        return {};
    return {fields[0].toDouble(), fields[1].toLongLong(), fields[2].toLongLong()};
}

// The file saved from the test document of that size, made once for every benchmark that reads it.
const QString& SavedFile(int recipients)
{
    static QTemporaryDir folder;
    static std::map<int, QString> files;
    QString& path = files[recipients];
    if (path.isEmpty() && folder.isValid())
    {
        const QString name = folder.filePath(QStringLiteral("letter-%1.kvnl").arg(recipients));
        if (MakeNewsletter(recipients)->Save(name, QStringLiteral("Kelvora"), 2007, 1))
            path = name;
    }
    return path;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SetTimeCounters(benchmark::State& state, const Bench::CAlternatingRatio& rounds, const char* side,
                     const char* floor, const char* ratio)
{
    state.counters[side] = rounds.MedianSide() * 1000.0;
    state.counters[floor] = rounds.MedianFloor() * 1000.0;
    state.counters[ratio] = rounds.MedianRatio();
}

void BM_SaveAgainstWriteSyncRename(benchmark::State& state)
{
    const int recipients = int(state.range(0));
    const QString& saved = SavedFile(recipients);
    auto letter = std::make_unique<CNdbNewsletter>();
    if (saved.isEmpty() || !letter->Load(saved))
        return Bench::FailMeasurement(state, "the test document could not be saved and loaded");
    const QByteArray bytes = ReadFile(saved);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("letter.kvnl"));
    const QString floorPath = folder.filePath(QStringLiteral("floor.kvnl"));
    Bench::CAlternatingRatio rounds;
    for (auto _ : state)
    {
        double floor = 0;
        double save = 0;
        bool floorDone = false;
        bool saveDone = false;
        rounds.RunRound(
            Timed(save, [&] { return saveDone = letter->Save(path, QStringLiteral("Kelvora"), 2007, 1); }),
            Timed(floor, [&] { return floorDone = WriteReplacing(floorPath, bytes); }));
        if (!floorDone || !saveDone)
            return Bench::FailMeasurement(state, saveDone ? "the floor's write failed" : "the save failed");
        rounds.Add(save, floor);
        state.SetIterationTime(save);
    }
    if (ReadFile(path) != bytes)
        return Bench::FailMeasurement(state, "the save wrote other bytes than the floor");
    SetTimeCounters(state, rounds, "save_ms", "floor_ms", "save_to_floor");
    state.counters["file_MB"] = double(bytes.size()) / MB;
}

void BM_LoadAgainstRead(benchmark::State& state)
{
    const QString& path = SavedFile(int(state.range(0)));
    if (path.isEmpty())
        return Bench::FailMeasurement(state, "the test document could not be saved");
    Bench::CAlternatingRatio rounds;
    std::vector<double> peaks;
    const double fileBytes = double(QFileInfo(path).size());
    for (auto _ : state)
    {
        ChildFigures read;
        ChildFigures load;
        rounds.RunRound([&] { load = RunInFreshProcess(LoadOption, path); },
                        [&] { read = RunInFreshProcess(ReadOption, path); });
        if (read.seconds <= 0 || load.seconds <= 0)
            return Bench::FailMeasurement(state, "a read or load in a fresh process failed");
        rounds.Add(load.seconds, read.seconds);
        peaks.push_back(double(load.peak) / fileBytes);
        state.SetIterationTime(load.seconds);
    }
    SetTimeCounters(state, rounds, "load_ms", "read_ms", "load_to_read");
    state.counters["peak_to_file"] = Bench::Median(peaks);
    state.counters["file_MB"] = fileBytes / MB;
}

// One fresh process: the rise of loading the document, then the further rise of saving it.
void BM_SavePeakOverTheDocument(benchmark::State& state)
{
    const QString& path = SavedFile(int(state.range(0)));
    if (path.isEmpty())
        return Bench::FailMeasurement(state, "the test document could not be saved");
    for (auto _ : state)
    {
        const ChildFigures figures = RunInFreshProcess(SaveOption, path);
        if (figures.seconds <= 0 || figures.peak < 0)
            return Bench::FailMeasurement(state, "the save in a fresh process failed");
        state.SetIterationTime(figures.seconds);
        state.counters["document_MB"] = double(figures.documentPeak) / MB;
        state.counters["save_peak_MB"] = double(figures.peak) / MB;
        state.counters["file_MB"] = double(QFileInfo(path).size()) / MB;
    }
}
} // namespace

BENCHMARK(BM_SaveAgainstWriteSyncRename)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(Rounds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAgainstRead)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(Rounds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePeakOverTheDocument)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    for (const char* side : {LoadOption, ReadOption, SaveOption})
    {
        if (argc == 3 && std::strcmp(argv[1], side) == 0)
            return RunChild(side, QString::fromLocal8Bit(argv[2]));
    }

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return Bench::ExitCode();
}
