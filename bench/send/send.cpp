// Messages per second and CPU time per message of the send engine at its real pace (500 ms per
// take): a direct send with 100 workers through dnsmasq's MX records to two smtp-sinks, and a
// relay send into smtp-sink; Postfix's smtp-source into the same sink in the same run shows what
// the sink takes. Each engine figure is also given as a share of its bound, two messages per
// second per worker.

#include "mail/SendTestSupport.h"
#include "peers/DnsmasqServer.h"
#include "peers/PeerProcess.h"
#include "peers/SmtpSinkServer.h"
#include "platform/net/DnsQuery.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <ctime>

namespace
{
struct Peers
{
    int port{PeerProcess::FreePort()};
    SmtpSinkServer alpha{QStringLiteral("127.0.0.2"), port};
    SmtpSinkServer beta{QStringLiteral("127.0.0.3"), port};
    DnsmasqServer dns{{"local=/test/", "mx-host=alpha.test,mx.alpha.test,10",
                       "host-record=mx.alpha.test,127.0.0.2", "mx-host=beta.test,mx.beta.test,10",
                       "host-record=mx.beta.test,127.0.0.3"}};
};

Peers& SharedPeers()
{
    static Peers peers;
    return peers;
}

void Report(benchmark::State& state, int messages, double seconds, double cpuSeconds, int workers)
{
    state.SetIterationTime(seconds);
    state.counters["msgs_per_s"] = messages / seconds;
    state.counters["cpu_ms_per_msg"] = 1000 * cpuSeconds / messages;
    if (workers > 0)
        state.counters["share_of_bound"] = messages / seconds / (2.0 * workers);
}

void RunSend(benchmark::State& state, ndb::CNdbNewsletter& newsletter, int workers)
{
    const auto users = SendTest::AllUsers(newsletter);
    for (auto _ : state)
    {
        const auto engine = std::make_shared<CKVSmtpServer>();
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpu = std::clock();
        if (!SendTest::SendAndWait(*engine, newsletter, users, 600))
            state.SkipWithError("the send did not end");
        Report(state, int(users.size()), timer.elapsed() / 1000.0,
               double(std::clock() - cpu) / CLOCKS_PER_SEC, workers);
    }
}

void DirectSend100Workers(benchmark::State& state)
{
    Peers& peers = SharedPeers();
    DnsQuery::SetNameServerForTesting(QStringLiteral("127.0.0.1"), peers.dns.Port(), 2, 2);
    CKVSmtpServer::SetDirectDeliveryPortForTesting(peers.port);
    auto newsletter =
        SendTest::MakeNewsletter(1000, {QStringLiteral("alpha.test"), QStringLiteral("beta.test")});
    newsletter->Sender().SetField(ndb::SenderThreads, ndb::CNdbFieldValue(ndb::NdbValueInt, 100));
    RunSend(state, *newsletter, 100);
}

void RelaySend(benchmark::State& state)
{
    SmtpSinkServer sink;
    auto newsletter = SendTest::MakeNewsletter(10, {QStringLiteral("one.test")});
    SendTest::UseRelay(*newsletter, sink.Port());
    RunSend(state, *newsletter, 1);
}

void SmtpSourceIntoTheSink(benchmark::State& state)
{
    Peers& peers = SharedPeers();
    constexpr int Messages = 1000;
    for (auto _ : state)
    {
        QElapsedTimer timer;
        timer.start();
        const int exitCode = QProcess::execute(
            QStringLiteral("/usr/sbin/smtp-source"),
            {QStringLiteral("-s"), QStringLiteral("100"), QStringLiteral("-m"), QString::number(Messages),
             QStringLiteral("-l"), QStringLiteral("4000"), QStringLiteral("127.0.0.2:%1").arg(peers.port)});
        if (exitCode != 0)
            state.SkipWithError("smtp-source failed");
        Report(state, Messages, timer.elapsed() / 1000.0, 0, 0);
    }
}
} // namespace

BENCHMARK(DirectSend100Workers)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RelaySend)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(SmtpSourceIntoTheSink)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
