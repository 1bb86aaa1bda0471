// The recipient list window at 100,000 recipients: reload, one filter keystroke, a header sort,
// select all and delete. The keystroke and the sort are set against a QTableView over the same
// cells behind a QSortFilterProxyModel filtering and sorting the same way, in alternating rounds,
// as the median of the rounds' ratios.
#include "bench/support/AlternatingRatio.h"
#include "ndb/NdbNewsletter.h"
#include "platform/ui/WinApp.h"
#include "recipients/UsersContext.h"
#include "recipients/WndUsers.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
constexpr int RowCount = 100000;

class Context : public IUsersContext
{
public:
    ndb::CNdbBase* GetCurrentDocument() const override { return newsletter.get(); }
    ndb::CNdbNewsletter* GetCurrentNewsletter() const override { return newsletter.get(); }
    std::unique_lock<std::shared_mutex> WriteDocument() override { return std::unique_lock(mutex); }

    std::unique_ptr<ndb::CNdbNewsletter> newsletter = std::make_unique<ndb::CNdbNewsletter>();
    std::shared_mutex mutex;
};

class YesApp : public CWinApp
{
public:
    int DoMessageBox(const QString&, UINT, UINT) override { return IDYES; }
};

void FillRecipients(ndb::CNdbUserList& users)
{
    for (int i = 0; i < RowCount; ++i)
    {
        const int key = (i * 7919) % RowCount;
        auto user = std::make_unique<ndb::CNdbUser>();
        user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("person%1@example.com").arg(key)));
        user->SetField(ndb::UserFirstName, ndb::CNdbFieldValue(QStringLiteral("Name %1").arg(key)));
        user->SetField(ndb::UserCity, ndb::CNdbFieldValue(QStringLiteral("City %1").arg(key % 97)));
        users.AddUser(std::move(user));
    }
}

struct Window
{
    Context context;
    CWnd frame;
    CWndUsers users{&context, 0};

    Window()
    {
        FillRecipients(context.newsletter->Users());
        frame.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 900, 600), nullptr, 0);
        users.Create(&frame);
        users.MoveWindow(0, 0, 900, 600);
        users.ShowWindow(SW_SHOW);
        users.ReloadRows();
    }
    void Filter(const QString& text)
    {
        users.SendMessage(CWndUsers::UM_USERS_FILTER_CHANGED, 0, reinterpret_cast<LPARAM>(text.utf16()));
    }
};

// The same cells as the window's rows, read by Qt's views.
class CellModel : public QAbstractTableModel
{
public:
    explicit CellModel(const ndb::CNdbUserList& users, const CWndUsers& window)
    {
        for (const auto& user : users.GetUsers())
            m_rows.push_back(window.BuildRowCells(*user));
    }
    int rowCount(const QModelIndex&) const override { return int(m_rows.size()); }
    int columnCount(const QModelIndex&) const override { return 26; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(m_rows[size_t(index.row())][index.column()]) : QVariant();
    }

private:
    std::vector<QStringList> m_rows;
};

std::unique_ptr<Window> shared;

Window& Shared()
{
    if (!shared)
        shared = std::make_unique<Window>();
    return *shared;
}

void BM_WndUsersReload(benchmark::State& state)
{
    Window& window = Shared();
    for (auto _ : state)
        window.users.ReloadRows();
}
BENCHMARK(BM_WndUsersReload)->Unit(benchmark::kMillisecond);

void BM_WndUsersSelectAllAndDelete(benchmark::State& state)
{
    YesApp app;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        state.ResumeTiming();
        window->users.SendMessage(WM_COMMAND, 32963, 0);
        window->users.SendMessage(WM_COMMAND, 32906, 0);
        benchmark::DoNotOptimize(window->context.newsletter->Users().GetCount());
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WndUsersSelectAllAndDelete)->Unit(benchmark::kMillisecond)->Iterations(3);

// A QTableView over the same cells behind a QSortFilterProxyModel that filters and sorts them.
struct QtProxyWindow
{
    CellModel model{Shared().context.newsletter->Users(), Shared().users};
    QSortFilterProxyModel proxy;
    QTableView view;

    QtProxyWindow()
    {
        proxy.setSourceModel(&model);
        proxy.setFilterKeyColumn(-1);
        proxy.setSortLocaleAware(true);
        view.setModel(&proxy);
        view.resize(900, 600);
    }
};

void SetComparisonCounters(benchmark::State& state, const Bench::CAlternatingRatio& rounds)
{
    state.counters["ours_ms"] = rounds.MedianSide() * 1000.0;
    state.counters["qt_proxy_ms"] = rounds.MedianFloor() * 1000.0;
    state.counters["ours_to_qt_proxy"] = rounds.MedianRatio();
}

// Two keystrokes into the filter, in our window and in the Qt proxy in alternating rounds; both
// filters are cleared between rounds with the clock stopped.
void BM_FilterKeystrokeAgainstQtProxy(benchmark::State& state)
{
    Window& window = Shared();
    QtProxyWindow qt;
    Bench::CAlternatingRatio rounds;
    for (auto _ : state)
    {
        state.SetIterationTime(rounds.TimeRound(
            [&]
            {
                window.Filter(QStringLiteral("City 4"));
                window.Filter(QStringLiteral("City 42"));
            },
            [&]
            {
                qt.proxy.setFilterFixedString(QStringLiteral("City 4"));
                qt.proxy.setFilterFixedString(QStringLiteral("City 42"));
            }));
        if (qt.proxy.rowCount() == 0)
            return Bench::FailMeasurement(state, "the Qt proxy's filter kept no row");
        window.Filter(QString());
        qt.proxy.setFilterFixedString(QString());
    }
    SetComparisonCounters(state, rounds);
}
BENCHMARK(BM_FilterKeystrokeAgainstQtProxy)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);

void BM_HeaderSortAgainstQtProxy(benchmark::State& state)
{
    Window& window = Shared();
    QtProxyWindow qt;
    Bench::CAlternatingRatio rounds;
    bool ascending = true;
    for (auto _ : state)
    {
        state.SetIterationTime(
            rounds.TimeRound([&] { window.users.GetList().SortByColumn(3, ascending); }, [&]
                             { qt.proxy.sort(3, ascending ? Qt::AscendingOrder : Qt::DescendingOrder); }));
        ascending = !ascending;
    }
    SetComparisonCounters(state, rounds);
}
BENCHMARK(BM_HeaderSortAgainstQtProxy)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shared.reset();
    return Bench::ExitCode();
}
