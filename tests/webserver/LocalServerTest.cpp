#include "webserver/HttpServiceBase.h"
#include "webserver/HttpServiceError.h"
#include "webserver/WebServerBase.h"
#include "webserver/WebServerThreads.h"

#include "webserver/HttpResponseText.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace
{
const QByteArray PageBody = "<p>Hello, newsletter \xE2\x82\xAC</p>";

// What the services of one server saw, shared by all of them.
struct ServiceProbe
{
    std::atomic<int> concurrent{0};
    std::atomic<int> maxConcurrent{0};
    std::atomic<int> maxProcessThreads{0};
};

int ProcessThreadCount()
{
    return static_cast<int>(QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// The client has its response before the connection thread has closed the connection and
// counted it as done.
int ActiveConnectionsAfterSettling(const CWebServerBase& server)
{
    for (int i = 0; i < 500 && server.ActiveConnectionCount() != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return server.ActiveConnectionCount();
}

void RaiseTo(std::atomic<int>& maximum, int value)
{
    int seen = maximum;
    while (value > seen && !maximum.compare_exchange_weak(seen, value))
    {
    }
}

// Serves "/page.html", holds "/slow" for a moment, throws on "/throw" and answers 404
// otherwise.
class CPageService : public CHttpServiceBase
{
public:
    explicit CPageService(ServiceProbe& probe) : m_probe(probe) {}

    bool Handle() override
    {
        QString host;
        QString path;
        if (!GetRequestPath(host, path))
            return false;
        if (path == "/page.html")
        {
            m_body = PageBody;
            SetResponseHeader(HttpHeader::ContentType, "text/html; charset=utf-8");
        }
        else if (path.startsWith("/slow"))
        {
            const int now = ++m_probe.concurrent;
            RaiseTo(m_probe.maxConcurrent, now);
            RaiseTo(m_probe.maxProcessThreads, ProcessThreadCount());
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            --m_probe.concurrent;
            m_body = "slow";
        }
        else if (path == "/throw")
        {
            throw CHttpServiceError();
        }
        else
        {
            SetStatusCode(404);
            m_body = "Object Not Found";
        }
        SetContentLength(m_body.size());
        return true;
    }

    bool WriteBody() override
    {
        WriteBytes(m_body, 60);
        return true;
    }

private:
    ServiceProbe& m_probe;
    QByteArray m_body;
};

class CTestServer : public CWebServerBase
{
public:
    ~CTestServer() override { Stop(); }
    std::unique_ptr<CHttpServiceBase> CreateService() override
    {
        return std::make_unique<CPageService>(probe);
    }

    ServiceProbe probe;
};

struct CurlResult
{
    int exitCode{-1};
    QByteArray output;
};

CurlResult Curl(const QStringList& arguments)
{
    QProcess curl;
    curl.start("curl", QStringList{"--silent", "--max-time", "60"} + arguments);
    curl.waitForFinished(90000);
    return {curl.exitStatus() == QProcess::NormalExit ? curl.exitCode() : -1, curl.readAllStandardOutput()};
}

int Connect(int port)
{
    const int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
    {
        close(handle);
        return -1;
    }
    return handle;
}

// Everything the server sends until it closes the connection. The wait is only a guard
// against a hang; the server has its own time-outs.
QByteArray ReadUntilClosed(int handle)
{
    QByteArray received;
    char buffer[8192];
    for (;;)
    {
        pollfd entry{handle, POLLIN, 0};
        if (poll(&entry, 1, 70000) <= 0)
        {
            ADD_FAILURE() << "server kept the connection open";
            break;
        }
        const ssize_t count = recv(handle, buffer, sizeof(buffer), 0);
        if (count <= 0)
            break;
        received.append(buffer, count);
    }
    return received;
}

QByteArray RawExchange(int port, const QByteArray& request)
{
    const int handle = Connect(port);
    if (handle < 0)
        return "connect failed";
    // The server may close while the rest is still on its way; that is what some cases test.
    for (qsizetype sent = 0; sent < request.size();)
    {
        const ssize_t count = send(handle, request.constData() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (count <= 0)
            break;
        sent += count;
    }
    const QByteArray received = ReadUntilClosed(handle);
    close(handle);
    return received;
}

class LocalServer : public testing::Test
{
protected:
    void SetUp() override
    {
        m_port = StartWebServer(m_server);
        ASSERT_NE(m_port, 0);
    }

    QString Url(const QString& path) const { return QString("http://localhost:%1%2").arg(m_port).arg(path); }
    QByteArray HostLine() const { return "Host: localhost:" + QByteArray::number(m_port) + "\r\n"; }

    CTestServer m_server;
    int m_port{0};
};
} // namespace

TEST_F(LocalServer, ReportsTheAssignedPortAndListensOnLoopbackOnly)
{
    EXPECT_EQ(m_server.Port(), m_port);
    EXPECT_EQ(StartWebServer(m_server), m_port);

    QFile table("/proc/net/tcp");
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QByteArray portHex = QByteArray::number(m_port, 16).toUpper().rightJustified(4, '0');
    QList<QByteArray> listening;
    for (const QByteArray& line : table.readAll().split('\n'))
    {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields.at(1).endsWith(":" + portHex) && fields.at(3) == "0A")
            listening.append(fields.at(1));
    }
    EXPECT_EQ(listening, QList<QByteArray>{"0100007F:" + portHex});
}

TEST_F(LocalServer, ServesPageToCurlWithStatusHeadersAndBody)
{
    for (const QString& host : {QString("localhost"), QString("127.0.0.1")})
    {
        const CurlResult curl = Curl({"--include", QString("http://%1:%2/page.html").arg(host).arg(m_port)});
        ASSERT_EQ(curl.exitCode, 0) << qPrintable(host);
        const HttpResponseText response = HttpResponseText::Parse(curl.output);
        EXPECT_EQ(response.statusLine, "HTTP/1.1 200 OK");
        EXPECT_EQ(response.HeaderNames(),
                  (QList<QByteArray>{"Cache-Control", "Date", "Server", "Content-Length", "Content-Type"}));
        EXPECT_EQ(response.Header("Content-Type"), "text/html; charset=utf-8");
        EXPECT_EQ(response.Header("Content-Length"), QByteArray::number(PageBody.size()));
        EXPECT_EQ(response.Header("Server"), ServerBanner.toUtf8());
        EXPECT_EQ(response.body, PageBody);
    }
}

TEST_F(LocalServer, AnswersUnknownPathWith404)
{
    const CurlResult curl = Curl({"--write-out", "|%{http_code}", Url("/no/such/file.png")});
    EXPECT_EQ(curl.exitCode, 0);
    EXPECT_EQ(curl.output, "Object Not Found|404");
}

TEST_F(LocalServer, ClosesMalformedAndOverlongRequestsWithoutResponse)
{
    QByteArray manyHeaders;
    for (int i = 0; i <= CHttpServiceBase::MaxHeaderLines; ++i)
        manyHeaders += "Accept: text/html\r\n";
    const struct
    {
        const char* what;
        QByteArray request;
    } cases[] = {
        {"unknown method", "BREW /pot HTTP/1.1\r\n" + HostLine() + "\r\n"},
        {"no version", "GET /page.html\r\n" + HostLine() + "\r\n"},
        {"header without colon", "GET /page.html HTTP/1.1\r\n" + HostLine() + "Garbage\r\n\r\n"},
        {"request line too long", "GET /" + QByteArray(70000, 'a') + " HTTP/1.1\r\n" + HostLine() + "\r\n"},
        {"header line too long",
         "GET /page.html HTTP/1.1\r\n" + HostLine() + "Referer: " + QByteArray(70000, 'r') + "\r\n\r\n"},
        {"too many header lines", "GET /page.html HTTP/1.1\r\n" + HostLine() + manyHeaders + "\r\n"},
        {"form body too long",
         "POST /page.html HTTP/1.1\r\n" + HostLine() +
             "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 2097152\r\n\r\n" +
             QByteArray(4096, 'x')},
        {"head cut short", "GET /page.html HTTP/1.1\r\n" + HostLine()},
    };
    for (const auto& c : cases)
    {
        const int handle = Connect(m_port);
        ASSERT_GE(handle, 0);
        for (qsizetype sent = 0; sent < c.request.size();)
        {
            const ssize_t count =
                send(handle, c.request.constData() + sent, c.request.size() - sent, MSG_NOSIGNAL);
            if (count <= 0)
                break;
            sent += count;
        }
        // The cut-short head only ends when the client gives up its side.
        shutdown(handle, SHUT_WR);
        EXPECT_EQ(ReadUntilClosed(handle), QByteArray()) << c.what;
        close(handle);
    }
    // The server still serves after all of them.
    EXPECT_EQ(Curl({Url("/page.html")}).output, PageBody);
}

TEST_F(LocalServer, RefusesForeignHostHeader)
{
    const QString port = QString::number(m_port);
    for (const QString& host :
         {"evil.example:" + port, "localhost.evil.example:" + port, "localhost:1" + port})
    {
        const CurlResult curl = Curl({"--header", "Host: " + host, Url("/page.html")});
        EXPECT_EQ(curl.exitCode, 52) << qPrintable(host); // empty reply
        EXPECT_TRUE(curl.output.isEmpty()) << qPrintable(host);
    }
    EXPECT_EQ(RawExchange(m_port, "GET /page.html HTTP/1.1\r\n\r\n"), QByteArray());
    EXPECT_EQ(RawExchange(m_port, "GET /page.html HTTP/1.0\r\n\r\n"), QByteArray());
}

TEST_F(LocalServer, AnswersOnlyTheFirstOfTwoPipelinedRequests)
{
    const QByteArray request = "GET /page.html HTTP/1.1\r\n" + HostLine() + "Connection: Keep-Alive\r\n\r\n";
    const HttpResponseText response = HttpResponseText::Parse(RawExchange(m_port, request + request));
    EXPECT_EQ(response.Header("Connection"), "Keep-Alive");
    EXPECT_EQ(response.body, PageBody);
}

TEST_F(LocalServer, ThrowingServiceClosesWithoutResponseAndReleasesItsConnection)
{
    EXPECT_EQ(Curl({Url("/throw")}).exitCode, 52);
    EXPECT_EQ(Curl({Url("/page.html")}).output, PageBody);
    EXPECT_EQ(ActiveConnectionsAfterSettling(m_server), 0);
}

TEST(LocalServerPool, ServesManyConcurrentConnectionsWithBoundedThreads)
{
    // curl's own helper threads and QProcess's come and go; count them in the baseline.
    Curl({"--version"});
    const int threadsBefore = ProcessThreadCount();
    constexpr int Threads = 4;
    CTestServer server;
    server.SetConnectionLimits(Threads, 8);
    const int port = StartWebServer(server);
    ASSERT_NE(port, 0);

    constexpr int Requests = 60;
    QStringList arguments{"--parallel", "--parallel-immediate", "--parallel-max",
                          "50",         "--write-out",          "%{http_code}\n"};
    for (int i = 0; i < Requests; ++i)
        arguments << "--output"
                  << "/dev/null" << QString("http://localhost:%1/slow?i=%2").arg(port).arg(i);
    const CurlResult curl = Curl(arguments);

    EXPECT_EQ(curl.exitCode, 0);
    EXPECT_EQ(curl.output.count("200\n"), Requests) << curl.output.constData();
    EXPECT_LE(server.probe.maxConcurrent, Threads);
    EXPECT_GE(server.probe.maxConcurrent, 2);
    // The listening thread and the pool, and nothing per connection.
    EXPECT_LE(server.probe.maxProcessThreads, threadsBefore + 1 + Threads);

    server.Stop();
    EXPECT_EQ(server.ActiveConnectionCount(), 0);
    EXPECT_EQ(ProcessThreadCount(), threadsBefore);
}

TEST(LocalServerStop, CutsOpenConnectionsAndJoinsEveryThread)
{
    const int threadsBefore = ProcessThreadCount();
    auto server = std::make_unique<CTestServer>();
    server->SetConnectionLimits(2, 4);
    const int port = StartWebServer(*server);
    ASSERT_NE(port, 0);

    // Two connections are served and wait for the rest of their request; two more wait for a
    // thread.
    std::vector<int> clients;
    for (int i = 0; i < 4; ++i)
    {
        clients.push_back(Connect(port));
        ASSERT_GE(clients.back(), 0);
        send(clients.back(), "GET /page.html HTTP/1.1\r\n", 25, MSG_NOSIGNAL);
    }
    for (int i = 0; i < 1000 && server->ActiveConnectionCount() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(server->ActiveConnectionCount(), 2);

    // Without cutting the connections Stop would wait out the request time-out.
    auto stopped = std::async(std::launch::async, [&] { return server->Stop(); });
    ASSERT_EQ(stopped.wait_for(std::chrono::seconds(CHttpServiceBase::RequestHeadSeconds / 2)),
              std::future_status::ready);
    EXPECT_TRUE(stopped.get());
    EXPECT_EQ(server->ActiveConnectionCount(), 0);
    EXPECT_EQ(ProcessThreadCount(), threadsBefore);
    server.reset();

    for (int client : clients)
    {
        EXPECT_EQ(ReadUntilClosed(client), QByteArray());
        close(client);
    }
    EXPECT_LT(Connect(port), 0);
}

TEST(LocalServerStop, ReturnsAtOnceWhenNeverStarted)
{
    CTestServer server;
    EXPECT_TRUE(server.Stop());
    EXPECT_EQ(server.Port(), 0);
    EXPECT_TRUE(server.Stop());
}
