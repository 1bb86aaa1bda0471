// A 100,000-row UTF-8 CSV file through the recipient import: decoding, splitting into rows,
// mapping rows to recipients and merging them into a list; beside python's csv module reading
// the same file in the same run. Counters give rows per second.
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

void BM_DecodeAndSplit(benchmark::State& state)
{
    const QByteArray& bytes = Shared().bytes;
    for (auto _ : state)
    {
        TextRows rows;
        SplitDelimitedText(DecodeImportText(bytes), u',', rows);
        benchmark::DoNotOptimize(rows.size());
    }
    RowsPerSecond(state);
}
BENCHMARK(BM_DecodeAndSplit)->Unit(benchmark::kMillisecond);

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

// Python's own clock around reading the file with its csv module, without the start of python.
void BM_PythonCsvModule(benchmark::State& state)
{
    const char* script =
        "import csv,sys,time\n"
        "t=time.perf_counter()\n"
        "rows=list(csv.reader(open(sys.argv[1],encoding='utf-8',newline=''),delimiter=','))\n"
        "print(time.perf_counter()-t)\n";
    for (auto _ : state)
    {
        QProcess python;
        python.start(QStringLiteral("python3"),
                     {QStringLiteral("-c"), QString::fromLatin1(script), Shared().path});
        python.waitForFinished(60000);
        state.SetIterationTime(python.readAllStandardOutput().trimmed().toDouble());
    }
    RowsPerSecond(state);
}
BENCHMARK(BM_PythonCsvModule)->UseManualTime()->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shared.reset();
    return 0;
}
