// Requests per second of the local web server with one request per connection, for a small
// page and for an image-sized body, and of nginx serving the same bytes as static files on
// 127.0.0.1 in the same run. nginx is started here, on a free port, with a configuration in a
// temporary folder; the ratios are printed at the end.
#include "webserver/HttpServiceBase.h"
#include "webserver/WebServerBase.h"
#include "webserver/WebServerThreads.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace
{
constexpr int ClientThreads = 4;

QByteArray SmallPage()
{
    QByteArray page = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />"
                      "<title>Spring newsletter</title></head><body>";
    for (int i = 0; i < 8; ++i)
        page += "<p class=\"sys_div\">Our spring selection of bulbs and perennials is in; orders over 50 "
                "ship free.</p>";
    return page + "</body></html>";
}

QByteArray ImageBytes()
{
    QByteArray bytes(30 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(2007);
    for (char& byte : bytes)
        byte = static_cast<char>(generator.generate() & 0xFF);
    return bytes;
}

const QByteArray Page = SmallPage();
const QByteArray Image = ImageBytes();

struct StaticFile
{
    const char* contentType;
    const QByteArray* bytes;
};

// The service answers from this table by path.
const std::map<QString, StaticFile> Files = {
    {"/page.html", {"text/html; charset=utf-8", &Page}},
    {"/image.png", {"image/png", &Image}},
};

class CFileService : public CHttpServiceBase
{
public:
    bool Handle() override
    {
        QString host;
        QString path;
        if (!GetRequestPath(host, path))
            return false;
        const auto file = Files.find(path);
        if (file == Files.end())
        {
            SetStatusCode(404);
        }
        else
        {
            m_body = file->second.bytes;
            SetResponseHeader(HttpHeader::ContentType, file->second.contentType);
        }
        SetContentLength(m_body->size());
        return true;
    }

    bool WriteBody() override
    {
        WriteBytes(*m_body, 60);
        return true;
    }

private:
    const QByteArray m_empty;
    const QByteArray* m_body{&m_empty};
};

class CFileServer : public CWebServerBase
{
public:
    ~CFileServer() override { Stop(); }
    std::unique_ptr<CHttpServiceBase> CreateService() override { return std::make_unique<CFileService>(); }
};

int FreePort()
{
    const int handle = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length);
    close(handle);
    return ntohs(address.sin_port);
}

// One request on a new connection; the whole response until the server closes. Returns the
// count of bytes received, or -1 when the connection failed.
qsizetype Fetch(int port, const QByteArray& request, QByteArray* response = nullptr)
{
    const int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        send(handle, request.constData(), request.size(), MSG_NOSIGNAL) != request.size())
    {
        close(handle);
        return -1;
    }
    qsizetype total = 0;
    char buffer[64 * 1024];
    for (;;)
    {
        const ssize_t count = recv(handle, buffer, sizeof(buffer), 0);
        if (count <= 0)
            break;
        total += count;
        if (response)
            response->append(buffer, count);
    }
    close(handle);
    return total;
}

QByteArray RequestFor(int port, const char* path)
{
    return QByteArray("GET ") + path + " HTTP/1.1\r\nHost: localhost:" + QByteArray::number(port) +
           "\r\nUser-Agent: kelvora-bench\r\nAccept: */*\r\nConnection: close\r\n\r\n";
}

// The response must carry exactly the expected body, or the figures mean nothing.
bool ServesBody(int port, const char* path, const QByteArray& body)
{
    QByteArray response;
    Fetch(port, RequestFor(port, path), &response);
    return response.startsWith("HTTP/1.1 200 OK\r\n") && response.endsWith(body) &&
           response.contains("\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n");
}

struct Servers
{
    int kelvoraPort{0};
    int nginxPort{0};
};
Servers servers;

void RequestsPerConnection(benchmark::State& state, int port, const char* path, const QByteArray& body)
{
    if (port == 0)
    {
        state.SkipWithError("server not running");
        return;
    }
    const QByteArray request = RequestFor(port, path);
    qsizetype bytes = 0;
    for (auto _ : state)
    {
        const qsizetype received = Fetch(port, request);
        if (received < body.size())
        {
            state.SkipWithError("short response");
            break;
        }
        bytes += received;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(bytes);
}

void Kelvora_SmallPage(benchmark::State& state)
{
    RequestsPerConnection(state, servers.kelvoraPort, "/page.html", Page);
}
void Nginx_SmallPage(benchmark::State& state)
{
    RequestsPerConnection(state, servers.nginxPort, "/page.html", Page);
}
void Kelvora_Image30K(benchmark::State& state)
{
    RequestsPerConnection(state, servers.kelvoraPort, "/image.png", Image);
}
void Nginx_Image30K(benchmark::State& state)
{
    RequestsPerConnection(state, servers.nginxPort, "/image.png", Image);
}
BENCHMARK(Kelvora_SmallPage)->Threads(ClientThreads)->UseRealTime()->MinTime(3);
BENCHMARK(Nginx_SmallPage)->Threads(ClientThreads)->UseRealTime()->MinTime(3);
BENCHMARK(Kelvora_Image30K)->Threads(ClientThreads)->UseRealTime()->MinTime(3);
BENCHMARK(Nginx_Image30K)->Threads(ClientThreads)->UseRealTime()->MinTime(3);

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// nginx with the stock number of workers ("auto", one per core), no access log, every path
// inside the folder.
bool StartNginx(QProcess& nginx, const QTemporaryDir& folder, int port)
{
    const QString root = folder.path();
    QDir(root).mkpath("html");
    QDir(root).mkpath("temp");
    const QString config = QString("worker_processes auto;\n"
                                   "%1"
                                   "pid %2/nginx.pid;\n"
                                   "error_log %2/error.log;\n"
                                   "events { worker_connections 1024; }\n"
                                   "http {\n"
                                   "  access_log off;\n"
                                   "  types { text/html html; image/png png; }\n"
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
    if (!WriteFile(root + "/nginx.conf", config.toUtf8()) || !WriteFile(root + "/html/page.html", Page) ||
        !WriteFile(root + "/html/image.png", Image))
        return false;
    nginx.setProcessChannelMode(QProcess::ForwardedChannels);
    nginx.start("nginx", {"-p", root, "-c", root + "/nginx.conf", "-g", "daemon off;"});
    if (!nginx.waitForStarted(10000))
        return false;
    for (int i = 0; i < 100; ++i)
    {
        if (ServesBody(port, "/page.html", Page))
            return true;
        usleep(50000);
    }
    return false;
}

// Collects the requests per second of each benchmark to print the ratios after the table.
class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
        {
            const auto found = run.counters.find("items_per_second");
            if (found != run.counters.end())
                rates[run.run_name.function_name] = found->second.value;
        }
    }

    std::map<std::string, double> rates;
};
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);

    CFileServer server;
    servers.kelvoraPort = StartWebServer(server);
    if (servers.kelvoraPort == 0 || !ServesBody(servers.kelvoraPort, "/page.html", Page) ||
        !ServesBody(servers.kelvoraPort, "/image.png", Image))
    {
        std::fprintf(stderr, "the local web server does not serve the test files\n");
        return 1;
    }

    QTemporaryDir folder;
    QProcess nginx;
    const int nginxPort = FreePort();
    if (StartNginx(nginx, folder, nginxPort) && ServesBody(nginxPort, "/image.png", Image))
        servers.nginxPort = nginxPort;
    else
        std::fprintf(stderr, "nginx did not start; its figures are skipped\n");

    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (const char* body : {"SmallPage", "Image30K"})
    {
        const double ours = reporter.rates[std::string("Kelvora_") + body];
        const double theirs = reporter.rates[std::string("Nginx_") + body];
        if (ours > 0 && theirs > 0)
            std::printf("%s: Kelvora %.0f requests/s, nginx %.0f requests/s, ratio %.2f\n", body, ours,
                        theirs, ours / theirs);
    }

    if (nginx.state() != QProcess::NotRunning)
    {
        nginx.terminate();
        if (!nginx.waitForFinished(10000))
            nginx.kill();
        nginx.waitForFinished(10000);
    }
    server.Stop();
    return 0;
}
