// The recipient list with 100,000 rows: one paint of the window, a sort by a column, a filter.
#include "controls/KVList.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace
{
constexpr int RowCount = 100000;

struct Fixture
{
    CWnd frame;
    CKVList list;

    Fixture()
    {
        frame.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 640, 480), nullptr, 0);
        list.Create(CRect(0, 0, 620, 460), &frame);
        list.AddColumn(QStringLiteral("Name"), 160);
        list.AddColumn(QStringLiteral("E-mail address"), 260);
        list.AddColumn(QStringLiteral("City"), 160);
        for (int i = 0; i < RowCount; ++i)
        {
            auto* row = new CKVListRow;
            const int key = (i * 7919) % RowCount;
            row->m_cells[0] = QStringLiteral("Name %1").arg(key);
            row->m_cells[1] = QStringLiteral("person%1@example.com").arg(key);
            row->m_cells[2] = QStringLiteral("City %1").arg(key % 97);
            list.m_rows.push_back(row);
        }
        list.SetFilter(QString());
        list.UpdateScrollBars(true);
    }
};

// Built on first use and released by main while the application object still exists: a window
// must not outlive it.
std::unique_ptr<Fixture> shared;

Fixture& Shared()
{
    if (!shared)
        shared = std::make_unique<Fixture>();
    return *shared;
}

void BM_PaintWindow(benchmark::State& state)
{
    Fixture& f = Shared();
    QImage target(f.list.GetSafeHwnd()->size(), QImage::Format_ARGB32);
    for (auto _ : state)
    {
        f.list.GetSafeHwnd()->render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
}
BENCHMARK(BM_PaintWindow)->Unit(benchmark::kMillisecond);

void BM_SortByColumn(benchmark::State& state)
{
    Fixture& f = Shared();
    bool ascending = true;
    for (auto _ : state)
    {
        f.list.SortByColumn(1, ascending);
        ascending = !ascending;
    }
}
BENCHMARK(BM_SortByColumn)->Unit(benchmark::kMillisecond);

void BM_Filter(benchmark::State& state)
{
    Fixture& f = Shared();
    for (auto _ : state)
        f.list.SetFilter(QStringLiteral("City 4"));
    f.list.SetFilter(QString());
}
BENCHMARK(BM_Filter)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shared.reset();
    return 0;
}
