// How long the program's local server takes to answer its own newsletter page while slow clients
// of the same account hold connections open: 100 that announce the largest form body and send
// one byte of it, and 1,000 that send the first line of a request and nothing more. Each case
// fetches the page on a new connection, as a browser does after a reload, and reports the
// median, the 99th percentile and the slowest answer next to the same figures on a quiet server.
#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "ndb/NdbNewsletter.h"

#include <QCoreApplication>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace
{
constexpr int SlowPosts = 100;
constexpr int SlowHeads = 1000;
const QByteArray PageName = "/spring.kvnl";

int g_port = 0;

std::unique_ptr<ndb::CNdbNewsletter> FixtureNewsletter()
{
    auto newsletter = std::make_unique<ndb::CNdbNewsletter>(QStringLiteral("Spring News"));
    newsletter->EnsureDefaultStyles();
    newsletter->SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(QStringLiteral("spring.kvnl")));
    newsletter->Layout().SetField(
        ndb::LayoutHtml,
        ndb::CNdbFieldValue(QStringLiteral("<html><head><title>Spring News</title></head><body>"
                                           "<h1>Spring News</h1><p>Bulbs and perennials are in.</p>"
                                           "</body></html>")));
    return newsletter;
}

QByteArray HostLine()
{
    return "Host: localhost:" + QByteArray::number(g_port) + "\r\n";
}

int Connect()
{
    const int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(g_port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
    {
        close(handle);
        return -1;
    }
    return handle;
}

// One GET of the page on a connection of its own; false unless the whole 200 response came
// within the guard time.
bool FetchPage()
{
    const int handle = Connect();
    if (handle < 0)
        return false;
    const QByteArray request = "GET " + PageName + " HTTP/1.1\r\n" + HostLine() + "Connection: close\r\n\r\n";
    QByteArray received;
    if (send(handle, request.constData(), request.size(), MSG_NOSIGNAL) == request.size())
    {
        char chunk[16 * 1024];
        for (;;)
        {
            pollfd entry{handle, POLLIN, 0};
            if (poll(&entry, 1, 30000) <= 0)
                break;
            const ssize_t count = recv(handle, chunk, sizeof(chunk), 0);
            if (count <= 0)
                break;
            received.append(chunk, count);
        }
    }
    close(handle);
    return received.startsWith("HTTP/1.1 200 OK") && received.contains("Spring News");
}

// The slow clients stay connected until the program ends; the server cuts the oldest of them
// as the newer ones arrive.
void OpenSlowClients(std::vector<int>& clients)
{
    const QByteArray slowPost = "POST " + PageName + " HTTP/1.1\r\n" + HostLine() +
                                "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 1048576"
                                "\r\n\r\nx";
    const QByteArray slowHead = "GET " + PageName + " HTTP/1.1\r\n";
    for (int i = 0; i < SlowPosts + SlowHeads; ++i)
    {
        const int handle = Connect();
        if (handle < 0)
            continue;
        const QByteArray& bytes = i < SlowPosts ? slowPost : slowHead;
        send(handle, bytes.constData(), bytes.size(), MSG_NOSIGNAL);
        clients.push_back(handle);
    }
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(fraction * values.size()))];
}

void PageLoad(benchmark::State& state, bool slowClients)
{
    std::vector<int> clients;
    if (slowClients)
        OpenSlowClients(clients);
    std::vector<double> milliseconds;
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        if (!FetchPage())
        {
            state.SkipWithError("the page was not served");
            break;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        milliseconds.push_back(took.count() * 1000);
    }
    for (int handle : clients)
        close(handle);
    state.counters["median_ms"] = Percentile(milliseconds, 0.5);
    state.counters["p99_ms"] = Percentile(milliseconds, 0.99);
    state.counters["max_ms"] =
        milliseconds.empty() ? 0 : *std::max_element(milliseconds.begin(), milliseconds.end());
}

// Both ends of every slow connection live in this process.
void AllowOpenFiles()
{
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
}
} // namespace

BENCHMARK_CAPTURE(PageLoad, quiet, false)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PageLoad, slow_clients, true)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    AllowOpenFiles();

    CKVContext context;
    context.SetCurrentDocument(FixtureNewsletter());
    CKVWebServer server(&context);
    g_port = server.Start();
    if (g_port == 0 || !FetchPage())
    {
        std::fprintf(stderr, "the local web server does not serve the newsletter\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    server.Stop();
    return 0;
}
