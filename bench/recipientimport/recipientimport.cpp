// A 100,000-row UTF-8 CSV file through the recipient import: decoding, splitting into rows,
// mapping rows to recipients and merging them into a list. Decoding and splitting are set against
// python's csv module reading the same file, in alternating rounds, as the median of the rounds'
// ratios. Counters give rows per second.
#include "bench/support/AlternatingRatio.h"
#include "ndb/NdbUserList.h"
#include "recipients/TextRows.h"
#include "recipients/UserImport.h"
#include "recipients/UserImportProfile.h"
#include "recipients/UserMerge.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
constexpr int RowCount = 100000;

struct CsvFile
{
    QTemporaryDir folder;
    QString path;
    QByteArray bytes;

    CsvFile()
    {
        path = folder.filePath(QStringLiteral("recipients.csv"));
        QByteArray text = "email,title,first,middle,last\r\n";
        for (int i = 0; i < RowCount; ++i)
        {
            text += QStringLiteral("person%1@example.com,Dr,J\u00FCrgen %1,\"M, %1\",\"Said \"\"hi\"\"\"\r\n")
                        .arg(i)
                        .toUtf8();
        }
        bytes = text;
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
};

std::unique_ptr<CsvFile> shared;

CsvFile& Shared()
{
    if (!shared)
        shared = std::make_unique<CsvFile>();
    return *shared;
}

void RowsPerSecond(benchmark::State& state)
{
    state.counters["rows/s"] =
        benchmark::Counter(double(state.iterations()) * RowCount, benchmark::Counter::kIsRate);
}

void BM_DecodeSplitMapAndMerge(benchmark::State& state)
{
    const QByteArray& bytes = Shared().bytes;
    const CUserImportProfile profile;
    for (auto _ : state)
    {
        TextRows rows;
        SplitDelimitedText(DecodeImportText(bytes), u',', rows);
        ndb::CNdbUserList imported;
        CUserImport::CreateUsers(profile, rows, true, imported);
        ndb::CNdbUserList list;
        CUserMerge merge(list, false);
        merge.Merge(imported);
        benchmark::DoNotOptimize(merge.GetAdded());
    }
    RowsPerSecond(state);
}
BENCHMARK(BM_DecodeSplitMapAndMerge)->Unit(benchmark::kMillisecond);

// Python's own clock around reading the file with its csv module, without the start of python;
// negative when python did not give it.
double PythonCsvSeconds(const QString& path)
{
    const char* script =
        "import csv,sys,time\n"
        "t=time.perf_counter()\n"
        "rows=list(csv.reader(open(sys.argv[1],encoding='utf-8',newline=''),delimiter=','))\n"
        "print(time.perf_counter()-t)\n";
    QProcess python;
    python.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromLatin1(script), path});
    if (!python.waitForFinished(60000) || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0)
        return -1;
    bool ok = false;
    const double seconds = python.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok && seconds > 0 ? seconds : -1;
}

// Our decoding and splitting against python's csv module on the same file, in alternating rounds.
void BM_DecodeAndSplitAgainstPythonCsv(benchmark::State& state)
{
    const CsvFile& file = Shared();
    Bench::CAlternatingRatio rounds;
    for (auto _ : state)
    {
        double ours = 0;
        double python = -1;
        rounds.RunRound(
            [&]
            {
                ours = Bench::SecondsOf(
                    [&]
                    {
                        TextRows rows;
                        SplitDelimitedText(DecodeImportText(file.bytes), u',', rows);
                        benchmark::DoNotOptimize(rows.size());
                    });
            },
            [&] { python = PythonCsvSeconds(file.path); });
        if (python < 0)
            return Bench::FailMeasurement(state, "python's csv module did not read the file");
        rounds.Add(ours, python);
        state.SetIterationTime(ours);
    }
    RowsPerSecond(state);
    state.counters["ours_ms"] = rounds.MedianSide() * 1000.0;
    state.counters["python_ms"] = rounds.MedianFloor() * 1000.0;
    state.counters["ours_to_python"] = rounds.MedianRatio();
}
BENCHMARK(BM_DecodeAndSplitAgainstPythonCsv)->UseManualTime()->Iterations(7)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shared.reset();
    return Bench::ExitCode();
}
