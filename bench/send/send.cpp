// The send engine measured where it costs.
//
// At its real pace (500 ms per take): messages per second and CPU time per message of a direct
// send with 100 workers through dnsmasq's MX records to two smtp-sinks, and of a relay send into
// smtp-sink; Postfix's smtp-source into the same sink shows what the sink takes. Each engine
// figure is also given as a share of its bound, two messages per second per worker.
//
// At full speed (no pause between takes): CPU per recipient of a whole send through the status
// window, 1k to 1M recipients, against a relay that refuses every connection, with the UI
// thread's share; the progress read at those queue sizes; CPU of building one recipient's
// message against a raw write of its bytes; CPU per delivered message of the engine with the
// status window against smtp-source sending the same message into the same sink. Compared sides
// alternate and the median of the ratios is reported.
//
// A bench that cannot measure says why on stderr and the program exits with 1.

#include "bench/DrainedConnection.h"
#include "mail/MailSocket.h"
#include "mail/RecipientMerge.h"
#include "mail/SendTestSupport.h"
#include "mail/SmtpDataOutput.h"
#include "mailui/DlgSendStatus.h"
#include "mailui/SendDialogSupport.h"
#include "ndb/NdbSendJournal.h"
#include "peers/DnsmasqServer.h"
#include "peers/PeerProcess.h"
#include "peers/SmtpSinkServer.h"
#include "platform/net/DnsQuery.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <thread>
#include <vector>

namespace
{
bool s_failed = false;

void Fail(benchmark::State& state, const std::string& why)
{
    s_failed = true;
    std::fprintf(stderr, "bench_send: %s\n", why.c_str());
    state.SkipWithError(why.c_str());
}

double Seconds(const timeval& time)
{
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

double ThreadCpuSeconds()
{
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return double(time.tv_sec) + double(time.tv_nsec) / 1e9;
}

// Two sides measured in alternating rounds, so a change in the machine's load reaches both.
class Alternation
{
public:
    void Add(double firstSeconds, double secondSeconds)
    {
        m_ratios.push_back(firstSeconds / secondSeconds);
        m_first += firstSeconds;
        m_second += secondSeconds;
    }

    // Each side's microseconds per item and the median of the rounds' ratios.
    void Report(benchmark::State& state, double items, const std::string& firstName,
                const std::string& secondName)
    {
        std::sort(m_ratios.begin(), m_ratios.end());
        state.SetIterationTime(m_first + m_second);
        state.counters[firstName + "_us_per_msg"] = 1e6 * m_first / items;
        state.counters[secondName + "_us_per_msg"] = 1e6 * m_second / items;
        state.counters["ratio_median"] = m_ratios.empty() ? 0 : m_ratios[m_ratios.size() / 2];
    }

private:
    std::vector<double> m_ratios;
    double m_first{0};
    double m_second{0};
};

// Sets every worker's pause between takes for the life of the object.
class TakePause
{
public:
    explicit TakePause(int milliseconds) { CKVSmtpServer::SetTakePauseForTesting(milliseconds); }
    ~TakePause() { CKVSmtpServer::SetTakePauseForTesting(500); }
};

// Turns the event loop, sleeping while nothing happens, until done or the time is up.
template <typename Done> bool RunEventsUntil(Done done, int milliseconds)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop,
                     [&]
                     {
                         if (done())
                             loop.quit();
                     });
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    check.start(20);
    if (!done())
        loop.exec();
    return done();
}

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
            Fail(state, "the send did not end");
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
            Fail(state, "smtp-source failed");
        Report(state, Messages, timer.elapsed() / 1000.0, 0, 0);
    }
}

// A newsletter of so many recipients relayed to the port, saved beside its journal in the folder.
std::unique_ptr<ndb::CNdbNewsletter> RelayedNewsletter(int recipients, int port, const QTemporaryDir& folder)
{
    auto newsletter = SendTest::MakeNewsletter(recipients, {QStringLiteral("one.test")});
    SendTest::UseRelay(*newsletter, port);
    newsletter->Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral("<p>Hello</p>")));
    newsletter->SetField(ndb::NewsletterPath,
                         ndb::CNdbFieldValue(folder.filePath(QStringLiteral("Spring news.kvnl"))));
    return newsletter;
}

// One whole send through the status window, measured from its start to "Finished".
struct WindowSend
{
    bool finished{false};
    int deferred{0};
    int sent{0};
    double wallSeconds{0};
    double processCpuSeconds{0};
    double uiCpuSeconds{0};
};

WindowSend SendThroughTheWindow(ndb::CNdbNewsletter& newsletter, int seconds)
{
    CTestContext context;
    context.newsletter = &newsletter;
    WindowSend send;
    CDlgSendStatus dialog(&context, nullptr, false);
    QElapsedTimer timer;
    const double cpu = ProcessCpuSeconds();
    const double ui = ThreadCpuSeconds();
    timer.start();
    if (!dialog.Create(CDlgSendStatus::IDD))
        return send;
    send.finished = RunEventsUntil([&] { return dialog.GetCurrentLine() == QLatin1String("Finished..."); },
                                   seconds * 1000);
    send.wallSeconds = timer.nsecsElapsed() / 1e9;
    send.processCpuSeconds = ProcessCpuSeconds() - cpu;
    send.uiCpuSeconds = ThreadCpuSeconds() - ui;
    send.deferred = dialog.GetDeferredCount();
    send.sent = dialog.GetSentCount();
    dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
    return send;
}

// The designed pace of a direct send: 100 workers, two recipients a second each.
constexpr double DesignedRecipientsPerSecond = 200;

void RefusedRelayThroughTheWindow(benchmark::State& state)
{
    const int recipients = int(state.range(0));
    const TakePause pause(0);
    const QTemporaryDir folder;
    const int closedPort = PeerProcess::FreePort();
    for (auto _ : state)
    {
        auto newsletter = RelayedNewsletter(recipients, closedPort, folder);
        const WindowSend send = SendThroughTheWindow(*newsletter, 3600);
        if (!send.finished || send.deferred != recipients)
            return Fail(state, "the send did not defer every recipient");
        state.SetIterationTime(send.wallSeconds);
        const double uiPerRecipient = send.uiCpuSeconds / recipients;
        state.counters["cpu_us_per_recipient"] = 1e6 * send.processCpuSeconds / recipients;
        state.counters["ui_us_per_recipient"] = 1e6 * uiPerRecipient;
        state.counters["ui_share_of_a_core"] = send.uiCpuSeconds / send.wallSeconds;
        state.counters["ui_share_at_designed_pace"] = uiPerRecipient * DesignedRecipientsPerSecond;
        QFile::remove(ndb::CNdbSendJournal::PathFor(newsletter->GetString(ndb::NewsletterPath)));
    }
}

// The progress read while a job of so many recipients is queued, its one worker between takes.
void ProgressRead(benchmark::State& state)
{
    const int recipients = int(state.range(0));
    const TakePause pause(1000);
    const QTemporaryDir folder;
    auto newsletter = RelayedNewsletter(recipients, PeerProcess::FreePort(), folder);
    const auto engine = std::make_shared<CKVSmtpServer>();
    if (!engine->Start(SendTest::MakeMessage(), newsletter.get(), QString(), nullptr,
                       SendTest::AllUsers(*newsletter), SendTest::FieldCodes))
        return Fail(state, "the send did not start");
    int total = 0, inProgress = 0, sent = 0, failed = 0, deferred = 0;
    QString address;
    for (auto _ : state)
    {
        engine->GetProgress(total, inProgress, sent, failed, deferred, address);
        benchmark::DoNotOptimize(total);
    }
    if (total != recipients)
        Fail(state, "the queue does not hold every recipient");
    engine->Stop(10);
}

QString RepeatedTo(const QString& line, qsizetype size)
{
    QString text;
    while (text.size() < size)
        text += line;
    return text;
}

// What a send job shares: a 40 KB HTML body with the merge tokens, 20 KB of plain text and
// three 60 KB pictures.
struct SharedMessage
{
    SharedMessage()
    {
        const QString line = QString::fromUtf8("Liebe Leserin, lieber Leser – die Grüße des Frühlings kommen "
                                               "mit 20 % Rabatt auf alles (bis 31.03.)!\r\n");
        source.newsletterId = SendTest::NewsletterId;
        source.subject = QStringLiteral("Spring news");
        source.plainTextBody = RepeatedTo(line, 20 * 1024);
        source.htmlTemplate = SendTest::Template + RepeatedTo(QStringLiteral("<p>") + line, 40 * 1024) +
                              QStringLiteral("<img src=\"cid:a\"><img src=\"cid:b\"><img src=\"cid:c\">");
        source.fieldCodes = SendTest::FieldCodes;
        source.unsubscribeAddress = QStringLiteral("http://site.test/admin/u.php");
        QByteArray picture(60 * 1024, Qt::Uninitialized);
        for (qsizetype i = 0; i < picture.size(); ++i)
            picture[i] = char(i * 7919 % 251);
        for (const char* id : {"a", "b", "c"})
            mail.AddAttachment(QStringLiteral("%1.png").arg(QLatin1String(id)), picture,
                               QStringLiteral("image/png"), QLatin1String(id));
        mail.m_ehloDomain = QStringLiteral("sender.test");
        newsletter = SendTest::MakeNewsletter(100, {QStringLiteral("one.test")});
    }

    MergeSource source;
    CVexaMail mail{QString(), QString(), 25, QString(), QString()};
    std::unique_ptr<ndb::CNdbNewsletter> newsletter;
};

// One recipient's copy as a worker makes it, written as it goes out after DATA.
void WriteCopy(CVexaMail& mail, const CRecipientMerge& merge, const MergeSource& source,
               const ndb::CNdbUser& recipient, CMailOutput& output)
{
    mail.MessageId =
        CRecipientMerge::TrackingId(source.newsletterId, recipient.GetString(ndb::UserId), mail.m_ehloDomain);
    mail.SetHtmlBody(merge.Merge(recipient));
    mail.SetPlainTextBody(source.plainTextBody);
    const QString seed = CVexaMail::MakeBoundarySeed();
    mail.WriteMessage(output,
                      mail.BuildTopPart(QStringLiteral("news@sender.test"), QStringLiteral("News"),
                                        recipient.GetString(ndb::UserEmail), source.subject, 0, seed),
                      seed);
}

void MessageBuiltAgainstARawWrite(benchmark::State& state)
{
    constexpr int Rounds = 15;
    constexpr int CopiesPerRound = 40;
    const SharedMessage shared;
    const CRecipientMerge merge(shared.source);
    const auto users = SendTest::AllUsers(*shared.newsletter);
    CVexaMail mail(shared.mail);
    CMailBytesOutput captured;
    WriteCopy(mail, merge, shared.source, *users.front(), captured);
    const QByteArray bytes = captured.Bytes();
    DrainedConnection connection;
    for (auto _ : state)
    {
        Alternation sides;
        for (int round = 0; round < Rounds; ++round)
        {
            double start = ThreadCpuSeconds();
            for (int copy = 0; copy < CopiesPerRound; ++copy)
            {
                CSmtpDataOutput output(connection.writer);
                WriteCopy(mail, merge, shared.source, *users[size_t(copy) % users.size()], output);
                output.Flush();
            }
            const double roundBuilt = ThreadCpuSeconds() - start;
            start = ThreadCpuSeconds();
            for (int copy = 0; copy < CopiesPerRound; ++copy)
                connection.writer.SendBytes(bytes, 10);
            const double roundRaw = ThreadCpuSeconds() - start;
            if (roundRaw <= 0)
                return Fail(state, "the raw writes took no measurable time");
            sides.Add(roundBuilt, roundRaw);
        }
        sides.Report(state, double(Rounds) * CopiesPerRound, "built", "raw");
        state.counters["msg_bytes"] = double(bytes.size());
    }
}

// Runs smtp-source with the arguments; its CPU seconds, or a negative number when it failed.
double SmtpSourceCpuSeconds(const QStringList& arguments)
{
    std::vector<QByteArray> storage{"/usr/sbin/smtp-source"};
    for (const QString& argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0)
    {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

void EngineThroughTheWindowAgainstSmtpSource(benchmark::State& state)
{
    constexpr int Rounds = 5;
    constexpr int Messages = 300;
    if (access("/usr/sbin/smtp-source", X_OK) != 0)
        return Fail(state, "Postfix's smtp-source is not installed (package postfix)");
    const TakePause pause(0);
    const QTemporaryDir folder;
    SmtpSinkServer sink;
    if (!sink.IsRunning())
        return Fail(state, "smtp-sink did not start");
    const QString message = folder.filePath(QStringLiteral("message.eml"));
    for (auto _ : state)
    {
        Alternation sides;
        for (int round = 0; round < Rounds; ++round)
        {
            auto newsletter = RelayedNewsletter(Messages, sink.Port(), folder);
            const WindowSend send = SendThroughTheWindow(*newsletter, 600);
            if (!send.finished || send.sent != Messages)
                return Fail(state, "the engine did not deliver every message");
            QFile::remove(ndb::CNdbSendJournal::PathFor(newsletter->GetString(ndb::NewsletterPath)));
            if (round == 0)
            {
                // smtp-source sends the very message the engine sent, with bare line feeds
                // as its file format wants.
                QFile file(message);
                const QByteArrayList received = sink.Messages();
                if (received.isEmpty() || !file.open(QIODevice::WriteOnly))
                    return Fail(state, "the sink kept no message");
                file.write(QByteArray(received.front()).replace("\r\n", "\n"));
            }
            const double source = SmtpSourceCpuSeconds(
                {QStringLiteral("-s"), QStringLiteral("1"), QStringLiteral("-m"), QString::number(Messages),
                 QStringLiteral("-F"), message, QStringLiteral("-f"), QStringLiteral("news@sender.test"),
                 QStringLiteral("-t"), QStringLiteral("r0000@one.test"),
                 QStringLiteral("127.0.0.1:%1").arg(sink.Port())});
            if (source <= 0)
                return Fail(state, "smtp-source failed or took no measurable time");
            sides.Add(send.processCpuSeconds, source);
        }
        sides.Report(state, double(Rounds) * Messages, "engine", "smtp_source");
    }
}
} // namespace

BENCHMARK(DirectSend100Workers)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RelaySend)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(SmtpSourceIntoTheSink)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RefusedRelayThroughTheWindow)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ProgressRead)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000);
BENCHMARK(MessageBuiltAgainstARawWrite)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(EngineThroughTheWindowAgainstSmtpSource)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Message boxes are answered at once instead of waiting for a person.
    CRecordingApp winApp;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (s_failed)
        std::fprintf(stderr, "bench_send: some figures could not be measured\n");
    return s_failed ? 1 : 0;
}
