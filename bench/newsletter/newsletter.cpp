// Saving and loading a newsletter file with 100,000 recipients and a send log of 100,000
// entries, through the real file path (temporary file and rename, read aside then taken over).
// Peak memory is the process's maximum resident set so far, from getrusage.

#include "ndb/NdbNewsletter.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <benchmark/benchmark.h>

namespace
{
using namespace ndb;

constexpr int RecipientCount = 100000;

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

void ReportMemory(benchmark::State& state, const QString& path)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["file_MB"] = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
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
    ReportMemory(state, path);
}

void BM_LoadNewsletter(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("large.kvnl"));
    if (!MakeNewsletter()->Save(path, QStringLiteral("Kelvora"), 2007, 1))
    {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state)
    {
        CNdbNewsletter letter;
        if (!letter.Load(path) || letter.Users().GetCount() != RecipientCount)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(letter);
    }
    ReportMemory(state, path);
}
} // namespace

// Load runs first so that its peak is not the one the save left behind.
BENCHMARK(BM_LoadNewsletter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveNewsletter)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
