// Saving and loading a newsletter file with 100,000 recipients and a send log of 100,000
// entries, through the real file path (temporary file and rename, read aside then taken over).
//
// The load is set against its floor, measured in the same run: reading the file and decoding
// every text of the recipients and the send log into a QString, which no load can avoid. The
// peak memory of the load alone is measured in a fresh process (this program started again),
// so that neither the test document built here nor memory freed by it is counted or reused.
// Both ratios are printed after the table.

#include "ndb/NdbNewsletter.h"

#include "base/PSStreamMemory.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

namespace
{
using namespace ndb;

constexpr int RecipientCount = 100000;
constexpr int LoadRounds = 7;
constexpr double TargetLoadToFloor = 3.0;
constexpr double TargetPeakToFile = 4.0;
constexpr const char* MeasurePeakOption = "--measure-load-peak";

std::unique_ptr<CNdbNewsletter> MakeNewsletter()
{
    auto letter = std::make_unique<CNdbNewsletter>(QStringLiteral("Monthly news"));
    letter->EnsureDefaultStyles();
    letter->Layout().SetField(LayoutHtml, CNdbFieldValue(QStringLiteral("<p>Hello</p>").repeated(200)));
    for (int i = 0; i < RecipientCount; ++i)
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

// Where a text's bytes lie in the file: offset and byte count.
struct TextSpan
{
    qsizetype offset;
    int size;
};

// Finds the texts of the recipients and the send log in the file, in the order the save wrote
// them, each as its byte count followed by its UTF-8 bytes. Empty when one is missing.
std::vector<TextSpan> LocateTexts(const QByteArray& file, const CNdbNewsletter& letter)
{
    std::vector<TextSpan> spans;
    qsizetype from = 0;
    const auto locate = [&](const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        QByteArray stored(4, '\0');
        qToLittleEndian<qint32>(static_cast<qint32>(utf8.size()), stored.data());
        stored += utf8;
        const qsizetype at = file.indexOf(stored, from);
        if (at < 0)
            return false;
        spans.push_back({at + 4, static_cast<int>(utf8.size())});
        from = at + stored.size();
        return true;
    };
    for (const auto& user : letter.Users().GetUsers())
    {
        for (const auto& [id, value] : user->GetFields())
        {
            if (value.GetType() == NdbValueText && !locate(value.GetString()))
                return {};
        }
    }
    for (const auto& [address, entry] : letter.Log().GetEntries())
    {
        if (!locate(address))
            return {};
    }
    return spans;
}

// The saved test document, made once for every benchmark that reads it.
struct SavedNewsletter
{
    QTemporaryDir folder;
    QString path{folder.filePath(QStringLiteral("large.kvnl"))};
    std::vector<TextSpan> texts;
    bool ok{false};

    SavedNewsletter()
    {
        const auto letter = MakeNewsletter();
        QFile file(path);
        ok = letter->Save(path, QStringLiteral("Kelvora"), 2007, 1) && file.open(QIODevice::ReadOnly);
        if (ok)
            texts = LocateTexts(file.readAll(), *letter);
        ok = ok && !texts.empty();
    }
};

const SavedNewsletter& Saved()
{
    static const SavedNewsletter saved;
    return saved;
}

// What no load can avoid: the file's bytes and a QString for each of its texts.
struct FloorResult
{
    QByteArray bytes;
    std::vector<QString> texts;
};

std::unique_ptr<FloorResult> ReadFloor(const SavedNewsletter& saved)
{
    QFile file(saved.path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    auto floor = std::make_unique<FloorResult>();
    floor->bytes = file.readAll();
    floor->texts.reserve(saved.texts.size());
    for (const TextSpan& span : saved.texts)
        floor->texts.push_back(QString::fromUtf8(floor->bytes.constData() + span.offset, span.size));
    return floor;
}

std::unique_ptr<CNdbNewsletter> LoadSaved(const SavedNewsletter& saved)
{
    auto letter = std::make_unique<CNdbNewsletter>();
    if (!letter->Load(saved.path) || letter->Users().GetCount() != RecipientCount)
        return nullptr;
    return letter;
}

// The seconds that work takes; what it made is freed after the clock stops, since freeing is no
// part of either reading.
template <class Work> double SecondsOf(Work work, bool& ok)
{
    const auto start = std::chrono::steady_clock::now();
    const auto made = work();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ok = ok && made != nullptr;
    return seconds;
}

struct LoadFigures
{
    double floorSeconds{0};
    double loadSeconds{0};
    double fileBytes{0};
    qint64 peakBytes{-1};
};

LoadFigures g_figures;

// Floor and load alternate, so that a busy machine slows both alike; the best round of each
// counts. The reported iteration time is the load's.
void BM_LoadNewsletter(benchmark::State& state)
{
    const SavedNewsletter& saved = Saved();
    if (!saved.ok)
    {
        state.SkipWithError("save failed");
        return;
    }
    double bestFloor = 1e9;
    double bestLoad = 1e9;
    bool ok = true;
    for (auto _ : state)
    {
        bestFloor = std::min(bestFloor, SecondsOf([&saved] { return ReadFloor(saved); }, ok));
        const double load = SecondsOf([&saved] { return LoadSaved(saved); }, ok);
        bestLoad = std::min(bestLoad, load);
        state.SetIterationTime(load);
    }
    if (!ok)
        state.SkipWithError("floor or load failed");
    g_figures.floorSeconds = bestFloor;
    g_figures.loadSeconds = bestLoad;
    g_figures.fileBytes = static_cast<double>(QFileInfo(saved.path).size());
    state.counters["floor_ms"] = bestFloor * 1000.0;
    state.counters["best_load_ms"] = bestLoad * 1000.0;
    state.counters["load_to_floor"] = bestLoad / bestFloor;
}

void BM_SaveNewsletter(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("large.kvnl"));
    const auto letter = MakeNewsletter();
    for (auto _ : state)
    {
        if (!letter->Save(path, QStringLiteral("Kelvora"), 2007, 1))
            state.SkipWithError("save failed");
    }
}

// The same bytes from a memory stream, as a copied recipient list is read. The letter is freed
// with the clock stopped, as in the file load.
void BM_LoadNewsletterFromMemory(benchmark::State& state)
{
    QFile file(Saved().path);
    if (!Saved().ok || !file.open(QIODevice::ReadOnly))
    {
        state.SkipWithError("save failed");
        return;
    }
    const QByteArray bytes = file.readAll();
    for (auto _ : state)
    {
        CPSStreamMemory stream;
        stream.SetBuffer(bytes);
        stream.Open(CPSStreamMemory::ModeRead);
        auto letter = std::make_unique<CNdbNewsletter>();
        if (!letter->LoadFromStream(stream) || letter->Users().GetCount() != RecipientCount)
            state.SkipWithError("load failed");
        state.PauseTiming();
        letter.reset();
        state.ResumeTiming();
    }
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

// In the fresh process: loads the file and prints how far the resident memory rose above what
// the process held before the load.
int PrintLoadPeak(const QString& path)
{
    CNdbNewsletter letter;
    const qint64 before = StatusBytes("VmRSS");
    // Starts the high-water mark afresh at the present size, should start-up have passed it.
    std::ofstream("/proc/self/clear_refs") << "5";
    if (!letter.Load(path))
        return 1;
    const qint64 peak = StatusBytes("VmHWM");
    if (before < 0 || peak < 0)
        return 1;
    std::printf("%lld\n", static_cast<long long>(peak - before));
    return 0;
}

qint64 MeasureLoadPeak(const QString& path)
{
    QProcess child;
    child.start(QStringLiteral("/proc/self/exe"), {QString::fromLatin1(MeasurePeakOption), path});
    if (!child.waitForFinished(600000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return -1;
    bool ok = false;
    const qint64 bytes = child.readAllStandardOutput().trimmed().toLongLong(&ok);
    return ok ? bytes : -1;
}

void PrintRatios(const LoadFigures& figures)
{
    constexpr double MB = 1024.0 * 1024.0;
    if (figures.floorSeconds > 0)
        std::printf("load %.3f s, floor %.3f s (best of %d rounds): load/floor %.2f (target at most %.0f)\n",
                    figures.loadSeconds, figures.floorSeconds, LoadRounds,
                    figures.loadSeconds / figures.floorSeconds, TargetLoadToFloor);
    if (figures.peakBytes >= 0 && figures.fileBytes > 0)
        std::printf("peak memory of the load %.1f MB, file %.1f MB: peak/file %.2f (target at most %.0f)\n",
                    double(figures.peakBytes) / MB, figures.fileBytes / MB,
                    double(figures.peakBytes) / figures.fileBytes, TargetPeakToFile);
    else
        std::printf("the peak memory of the load could not be measured\n");
}
} // namespace

BENCHMARK(BM_LoadNewsletter)->Iterations(LoadRounds)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveNewsletter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadNewsletterFromMemory)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], MeasurePeakOption) == 0)
        return PrintLoadPeak(QString::fromLocal8Bit(argv[2]));

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (Saved().ok)
    {
        g_figures.fileBytes = static_cast<double>(QFileInfo(Saved().path).size());
        g_figures.peakBytes = MeasureLoadPeak(Saved().path);
    }
    PrintRatios(g_figures);
    return 0;
}
