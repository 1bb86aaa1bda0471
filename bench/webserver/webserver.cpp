// Requests per second and 99th-percentile latency of the program's local server, serving an open
// newsletter's page and a 30 KB picture of it through the program's own page service, against
// nginx serving the same bytes as files, in the same run. nginx is started here on a free port
// of 127.0.0.1 with its configuration in a temporary folder; the load comes from wrk, a process
// of its own for both servers alike. Each case (address, number of connections, with or
// without keep-alive) alternates rounds of the two servers; medians of the rounds count.
#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "bench/support/AlternatingRatio.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
constexpr int RoundSeconds = 1;
constexpr int RoundsPerServer = 9;
const QString PageName = QStringLiteral("spring.kvnl");
const QString PicturePath = QStringLiteral("img/garden.jpg");

QString FixtureLayout()
{
    QString articles;
    for (int i = 1; i <= 6; ++i)
    {
        articles +=
            QStringLiteral(
                "<tr><td valign=\"top\" width=\"270\" style=\"padding:0 30px 20px 30px\">"
                "<a href=\"http://example.org/shop?item=%1&amp;src=news\"><img src=\"%2\" alt=\"Item %1\" "
                "width=\"240\" /></a></td><td valign=\"top\" style=\"padding:0 30px 20px 0\">"
                "<h2 class=\"Headline\">Our pick number %1</h2><p style=\"font-size:14px; "
                "line-height:20px\">Bulbs and perennials are in; orders over 50 ship free and arrive "
                "within a week. Plant before the first frost and water well &ndash; the roots need "
                "the autumn to settle.</p><ul><li>Pruning roses &mdash; 14 Oct</li><li>Composting "
                "workshop &#8211; 21 Oct</li></ul></td></tr>\r\n")
                .arg(i)
                .arg(PicturePath);
    }
    return QStringLiteral(
               "<html><head><title>Spring News</title><style type=\"text/css\">"
               "body { margin:0; padding:0; background-color:#EFEBE0; } .Headline, h1 { "
               "font-family:Georgia, serif; color:#3A5A40; } td.footer { font-size:11px; }"
               "</style></head><body><table cellspacing=\"0\" cellpadding=\"0\" width=\"600\" "
               "align=\"center\" style=\"background-color:#FFFFFF\"><tr><td colspan=\"2\" "
               "style=\"padding:20px 30px\"><h1>Spring News</h1><p>Dear member,</p></td></tr>\r\n") +
           articles +
           QStringLiteral("<tr><td class=\"footer\" colspan=\"2\">&copy; 2026 Greenfield Garden Club"
                          "</td></tr></table></body></html>");
}

QByteArray PictureBytes()
{
    QByteArray bytes(30 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(2007);
    for (char& byte : bytes)
        byte = static_cast<char>(generator.generate() & 0xFF);
    return bytes;
}

std::unique_ptr<ndb::CNdbNewsletter> FixtureNewsletter()
{
    auto newsletter = std::make_unique<ndb::CNdbNewsletter>(QStringLiteral("Spring News"));
    newsletter->EnsureDefaultStyles();
    newsletter->SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(PageName));
    newsletter->Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(FixtureLayout()));
    auto picture = std::make_unique<ndb::CNdbResource>();
    picture->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(PicturePath));
    picture->SetField(ndb::ResourceFileName, ndb::CNdbFieldValue(PicturePath.section(u'/', -1)));
    picture->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(QStringLiteral("image/jpeg")));
    picture->SetPayload(PictureBytes());
    newsletter->Layout().AddResource(std::move(picture));
    return newsletter;
}

int FreePort()
{
    const int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length);
    close(handle);
    return ntohs(address.sin_port);
}

struct Served
{
    const char* name;
    QByteArray path;
    QByteArray body;
};

struct Setup
{
    int kelvoraPort{0};
    int nginxPort{0};
    std::vector<Served> served;
};
Setup setup;

struct Response
{
    int status{0};
    QByteArray body;
};

// One GET on a connection of its own, read until the server closes it.
bool Fetch(int port, const QByteArray& path, Response& response)
{
    const int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const QByteArray request = "GET " + path +
                               " HTTP/1.1\r\nHost: localhost:" + QByteArray::number(setup.kelvoraPort) +
                               "\r\nConnection: close\r\n\r\n";
    QByteArray received;
    if (connect(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        send(handle, request.constData(), request.size(), MSG_NOSIGNAL) == request.size())
    {
        char chunk[64 * 1024];
        for (ssize_t count; (count = recv(handle, chunk, sizeof(chunk), 0)) > 0;)
            received.append(chunk, count);
    }
    close(handle);
    const qsizetype headEnd = received.indexOf("\r\n\r\n");
    if (!received.startsWith("HTTP/1.1 ") || headEnd < 0)
        return false;
    response.status = received.mid(9, 3).toInt();
    response.body = received.mid(headEnd + 4);
    return true;
}

// Linux shares the processor between sessions first and between the threads of a session
// after that. Run in this program's session, the load generator would get less of it the more
// threads the server under test has, and nginx would share with the program's idle threads; each
// party in a session of its own competes as a whole, the same for both servers.
void RunInSessionOfItsOwn(QProcess& process)
{
    process.setChildProcessModifier([] { setsid(); });
}

struct Round
{
    double requestsPerSecond{0};
    double p99Milliseconds{0};
    QString problem;
};

// wrk prints durations as "640.00us", "1.70ms" or "2.01s".
double Milliseconds(const QString& text)
{
    static const QRegularExpression duration(QStringLiteral("^([0-9.]+)(us|ms|s|m)$"));
    const QRegularExpressionMatch match = duration.match(text);
    if (!match.hasMatch())
        return -1;
    const double value = match.captured(1).toDouble();
    const QString unit = match.captured(2);
    return unit == "us" ? value / 1000 : unit == "ms" ? value : unit == "s" ? value * 1000 : value * 60000;
}

// One round of wrk against the port: every connection sends its next request as soon as the
// response is in.
Round RunRound(int port, const QByteArray& path, int connections, bool keepAlive)
{
    QProcess wrk;
    RunInSessionOfItsOwn(wrk);
    wrk.start("wrk", {"--threads", QString::number(std::min(connections, 8)), "--connections",
                      QString::number(connections), "--duration", QString::number(RoundSeconds) + "s",
                      "--latency", "--header", QString("Host: localhost:%1").arg(setup.kelvoraPort),
                      "--header", keepAlive ? "Connection: keep-alive" : "Connection: close",
                      QString("http://127.0.0.1:%1%2").arg(port).arg(QString::fromLatin1(path))});
    Round round;
    if (!wrk.waitForFinished((RoundSeconds + 30) * 1000) || wrk.exitCode() != 0)
    {
        round.problem = "wrk failed: " + QString::fromLocal8Bit(wrk.readAllStandardError());
        return round;
    }
    for (const QString& line : QString::fromLocal8Bit(wrk.readAllStandardOutput()).split(u'\n'))
    {
        const QStringList fields = line.simplified().split(u' ');
        if (fields.size() == 2 && fields.at(0) == "99%")
            round.p99Milliseconds = Milliseconds(fields.at(1));
        else if (fields.size() == 2 && fields.at(0) == "Requests/sec:")
            round.requestsPerSecond = fields.at(1).toDouble();
        else if (line.contains("Socket errors") || line.contains("Non-2xx"))
            round.problem = line.simplified();
    }
    if (round.requestsPerSecond <= 0 || round.p99Milliseconds <= 0)
        round.problem = "wrk printed no figures";
    return round;
}

// The rounds of one case. A round of each server makes a pair: the two ran one after the other
// under much the same load from the rest of the machine, so their ratio is the fairest reading.
struct Pairs
{
    std::vector<Round> kelvora;
    std::vector<Round> nginx;

    QString Problem() const
    {
        for (const auto* rounds : {&kelvora, &nginx})
        {
            for (const Round& round : *rounds)
            {
                if (!round.problem.isEmpty())
                    return round.problem;
            }
        }
        return {};
    }
    template <typename Figure> double MedianOf(const std::vector<Round>& rounds, Figure figure) const
    {
        std::vector<double> values;
        for (const Round& round : rounds)
            values.push_back(figure(round));
        return Bench::Median(values);
    }
    template <typename Figure> double MedianRatio(Figure figure) const
    {
        std::vector<double> ratios;
        for (size_t i = 0; i < kelvora.size() && i < nginx.size(); ++i)
            ratios.push_back(figure(kelvora[i]) / figure(nginx[i]));
        return Bench::Median(ratios);
    }
};

struct Outcome
{
    std::string name;
    double kelvoraRate;
    double nginxRate;
    double rateRatio;
    double kelvoraP99;
    double nginxP99;
    double p99Ratio;
};
std::vector<Outcome> outcomes;

void CompareServers(benchmark::State& state, const std::string& name, const Served& served, int connections,
                    bool keepAlive)
{
    Pairs pairs;
    for (auto _ : state)
    {
        // A round of each first: connections and caches warm up unmeasured.
        RunRound(setup.kelvoraPort, served.path, connections, keepAlive);
        RunRound(setup.nginxPort, served.path, connections, keepAlive);
        for (int round = 0; round < RoundsPerServer; ++round)
        {
            // Whichever server goes first alternates, so that neither always meets a machine the
            // other has just left busy.
            if (round % 2 == 0)
            {
                pairs.kelvora.push_back(RunRound(setup.kelvoraPort, served.path, connections, keepAlive));
                pairs.nginx.push_back(RunRound(setup.nginxPort, served.path, connections, keepAlive));
            }
            else
            {
                pairs.nginx.push_back(RunRound(setup.nginxPort, served.path, connections, keepAlive));
                pairs.kelvora.push_back(RunRound(setup.kelvoraPort, served.path, connections, keepAlive));
            }
        }
        state.SetIterationTime(2.0 * RoundsPerServer * RoundSeconds);
    }
    if (const QString problem = pairs.Problem(); !problem.isEmpty())
        Bench::FailMeasurement(state, problem.toStdString());
    const auto rate = [](const Round& round) { return round.requestsPerSecond; };
    const auto p99 = [](const Round& round) { return round.p99Milliseconds; };
    const Outcome outcome{name,
                          pairs.MedianOf(pairs.kelvora, rate),
                          pairs.MedianOf(pairs.nginx, rate),
                          pairs.MedianRatio(rate),
                          pairs.MedianOf(pairs.kelvora, p99),
                          pairs.MedianOf(pairs.nginx, p99),
                          pairs.MedianRatio(p99)};
    state.counters["kelvora_rps"] = outcome.kelvoraRate;
    state.counters["nginx_rps"] = outcome.nginxRate;
    state.counters["rps_ratio"] = outcome.rateRatio;
    state.counters["kelvora_p99_ms"] = outcome.kelvoraP99;
    state.counters["nginx_p99_ms"] = outcome.nginxP99;
    state.counters["p99_ratio"] = outcome.p99Ratio;
    outcomes.push_back(outcome);
}

void RegisterCases()
{
    for (const Served& served : setup.served)
    {
        for (const int connections : {8, 32})
        {
            for (const bool keepAlive : {true, false})
            {
                const std::string name = std::string(served.name) +
                                         "/connections:" + std::to_string(connections) +
                                         (keepAlive ? "/keep-alive" : "/close");
                benchmark::RegisterBenchmark(name.c_str(), CompareServers, name, served, connections,
                                             keepAlive)
                    ->Iterations(1)
                    ->UseManualTime()
                    ->Unit(benchmark::kSecond);
            }
        }
    }
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// nginx as Debian configures it (a worker per core, sendfile), without an access log, every path
// inside the folder, connections kept for as many requests as a round makes.
bool StartNginx(QProcess& nginx, const QTemporaryDir& folder, int port)
{
    const QString root = folder.path();
    QDir(root).mkpath("html/img");
    QDir(root).mkpath("temp");
    const QString config = QString("worker_processes auto;\n"
                                   "%1"
                                   "pid %2/nginx.pid;\n"
                                   "error_log %2/error.log;\n"
                                   "events { worker_connections 1024; }\n"
                                   "http {\n"
                                   "  access_log off;\n"
                                   "  sendfile on;\n"
                                   "  tcp_nopush on;\n"
                                   "  keepalive_requests 1000000;\n"
                                   "  types { text/html kvnl; image/jpeg jpg; }\n"
                                   "  client_body_temp_path %2/temp/body;\n"
                                   "  proxy_temp_path %2/temp/proxy;\n"
                                   "  fastcgi_temp_path %2/temp/fastcgi;\n"
                                   "  uwsgi_temp_path %2/temp/uwsgi;\n"
                                   "  scgi_temp_path %2/temp/scgi;\n"
                                   "  server {\n"
                                   "    listen 127.0.0.1:%3;\n"
                                   "    root %2/html;\n"
                                   "    add_header Cache-Control no-cache;\n"
                                   "  }\n"
                                   "}\n")
                               .arg(geteuid() == 0 ? "user root root;\n" : "")
                               .arg(root)
                               .arg(port);
    if (!WriteFile(root + "/nginx.conf", config.toUtf8()))
        return false;
    for (const Served& served : setup.served)
    {
        if (!WriteFile(root + "/html" + QString::fromLatin1(served.path), served.body))
            return false;
    }
    nginx.setProcessChannelMode(QProcess::ForwardedChannels);
    RunInSessionOfItsOwn(nginx);
    nginx.start("nginx", {"-p", root, "-c", root + "/nginx.conf", "-g", "daemon off;"});
    if (!nginx.waitForStarted(10000))
        return false;
    for (int i = 0; i < 100; ++i)
    {
        Response response;
        if (Fetch(port, setup.served.front().path, response) && response.status == 200)
            return true;
        usleep(50000);
    }
    return false;
}

void PrintSummary()
{
    std::printf("\n%-36s %12s %12s %7s %11s %11s %7s  %s\n", "case", "kelvora/s", "nginx/s", "ratio",
                "kelvora p99", "nginx p99", "ratio", "target (>= 0.9x rate, < 2x p99)");
    for (const Outcome& o : outcomes)
    {
        std::printf("%-36s %12.0f %12.0f %7.2f %9.2fms %9.2fms %7.2f  %s\n", o.name.c_str(), o.kelvoraRate,
                    o.nginxRate, o.rateRatio, o.kelvoraP99, o.nginxP99, o.p99Ratio,
                    o.rateRatio >= 0.9 && o.p99Ratio < 2.0 ? "met" : "MISSED");
    }
    std::printf("figures are medians of %d rounds of %d s per server; ratios are medians of the ratios of "
                "rounds run one after the other\n",
                RoundsPerServer, RoundSeconds);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    // The load generator: QProcess::execute gives -2 when the program cannot be started.
    if (QProcess::execute("wrk", {"--version"}) == -2)
    {
        std::fprintf(stderr, "wrk is not installed\n");
        return 1;
    }

    CKVContext context;
    context.SetCurrentDocument(FixtureNewsletter());
    CKVWebServer server(&context);
    setup.kelvoraPort = server.Start();
    Response page;
    Response picture;
    if (setup.kelvoraPort == 0 || !Fetch(setup.kelvoraPort, "/" + PageName.toLatin1(), page) ||
        page.status != 200 || !Fetch(setup.kelvoraPort, "/" + PicturePath.toLatin1(), picture) ||
        picture.status != 200 || picture.body != PictureBytes())
    {
        std::fprintf(stderr, "the local web server does not serve the newsletter\n");
        return 1;
    }
    // nginx gets exactly the bytes the page service sent.
    setup.served = {{"page", "/" + PageName.toLatin1(), page.body},
                    {"picture", "/" + PicturePath.toLatin1(), picture.body}};

    QTemporaryDir folder;
    QProcess nginx;
    setup.nginxPort = FreePort();
    if (!StartNginx(nginx, folder, setup.nginxPort))
    {
        std::fprintf(stderr, "nginx did not start\n");
        return 1;
    }
    for (const Served& served : setup.served)
    {
        Response fromNginx;
        if (!Fetch(setup.nginxPort, served.path, fromNginx) || fromNginx.body != served.body)
        {
            std::fprintf(stderr, "nginx does not serve the same bytes for %s\n", served.path.constData());
            return 1;
        }
    }
    std::printf("page %lld bytes, picture %lld bytes\n", static_cast<long long>(page.body.size()),
                static_cast<long long>(picture.body.size()));

    RegisterCases();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();

    nginx.terminate();
    nginx.waitForFinished(10000);
    server.Stop();
    return Bench::ExitCode();
}
