#include "webserver/HttpServiceBase.h"
#include "webserver/HttpServiceError.h"
#include "webserver/WebServerBase.h"
#include "webserver/WebServerThreads.h"

#include "webserver/HttpResponseText.h"
#include "webserver/RawClient.h"

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

using namespace RawClient;

namespace
{
const QByteArray PageBody = "<p>Hello, newsletter \xE2\x82\xAC</p>";

// What the services of one server saw, shared by all of them.
struct ServiceProbe
{
    std::atomic<int> concurrent{0};
    std::atomic<int> maxConcurrent{0};
    std::atomic<int> maxProcessThreads{0};
    // How long the body write of "/big" took before it gave up, in milliseconds.
    std::atomic<int> bigWriteFailedAfter{-1};
};

// Written with a deadline of this many seconds.
constexpr int BigBodySeconds = 1;

int ProcessThreadCount()
{
    return static_cast<int>(QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// The client has its response before the connection thread has closed the connection and
// counted it as done.
int ActiveConnectionsAfterSettling(const CWebServerBase& server)
{
    return WaitForActiveConnections(server, 0);
}

void RaiseTo(std::atomic<int>& maximum, int value)
{
    int seen = maximum;
    while (value > seen && !maximum.compare_exchange_weak(seen, value))
    {
    }
}

// Serves "/page.html", holds "/slow" for a moment, throws on "/throw", sends a body far larger
// than the socket buffers for "/big", answers "/echo" with its form's "text" and answers 404
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
        else if (path == "/echo")
        {
            QString text;
            GetFormParameter("text", text);
            m_body = text.toUtf8();
        }
        else if (path == "/big")
        {
            m_body = QByteArray(64 * 1024 * 1024, 'b');
            m_bodySeconds = BigBodySeconds;
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
        const auto start = std::chrono::steady_clock::now();
        try
        {
            WriteBytes(m_body, m_bodySeconds);
        }
        catch (const CHttpServiceError&)
        {
            m_probe.bigWriteFailedAfter =
                static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count());
            throw;
        }
        return true;
    }

private:
    ServiceProbe& m_probe;
    QByteArray m_body;
    int m_bodySeconds{60};
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

struct ProcessResult
{
    int exitCode{-1};
    QByteArray output;
};

ProcessResult RunProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(90000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput()};
}

ProcessResult Curl(const QStringList& arguments, int seconds = 60)
{
    // A proxy from the environment must not stand between curl and the server on loopback.
    return RunProgram("curl",
                      QStringList{"--silent", "--noproxy", "*", "--max-time", QString::number(seconds)} +
                          arguments);
}

QByteArray RawExchange(int port, const QByteArray& request)
{
    const int handle = Connect(port);
    if (handle < 0)
        return "connect failed";
    SendAll(handle, request);
    const QByteArray received = ReadUntilClosed(handle);
    close(handle);
    return received;
}

// Splits what came over one connection into its responses, each with a Content-Length.
QList<HttpResponseText> SplitResponses(QByteArray bytes)
{
    QList<HttpResponseText> responses;
    while (!bytes.isEmpty())
    {
        HttpResponseText response = HttpResponseText::Parse(bytes);
        const qsizetype headSize = bytes.indexOf("\r\n\r\n") + 4;
        const qsizetype bodySize = response.Header("Content-Length").toLongLong();
        if (!response.complete || response.body.size() < bodySize)
            break;
        response.body.truncate(bodySize);
        responses.append(response);
        bytes.remove(0, headSize + bodySize);
    }
    return responses;
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
    QByteArray Get(const QByteArray& path, const QByteArray& extra = "Connection: keep-alive\r\n") const
    {
        return "GET " + path + " HTTP/1.1\r\n" + HostLine() + extra + "\r\n";
    }

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
        const ProcessResult curl =
            Curl({"--include", QString("http://%1:%2/page.html").arg(host).arg(m_port)});
        ASSERT_EQ(curl.exitCode, 0) << qPrintable(host);
        const HttpResponseText response = HttpResponseText::Parse(curl.output);
        EXPECT_EQ(response.statusLine, "HTTP/1.1 200 OK");
        EXPECT_EQ(response.HeaderNames(), (QList<QByteArray>{"Cache-Control", "Connection", "Date", "Server",
                                                             "Content-Length", "Content-Type"}));
        EXPECT_EQ(response.Header("Connection"), "close");
        EXPECT_EQ(response.Header("Content-Type"), "text/html; charset=utf-8");
        EXPECT_EQ(response.Header("Content-Length"), QByteArray::number(PageBody.size()));
        EXPECT_EQ(response.Header("Server"), ServerBanner.toUtf8());
        EXPECT_EQ(response.body, PageBody);
    }
}

TEST_F(LocalServer, AnswersUnknownPathWith404)
{
    const ProcessResult curl = Curl({"--write-out", "|%{http_code}", Url("/no/such/file.png")});
    EXPECT_EQ(curl.exitCode, 0);
    EXPECT_EQ(curl.output, "Object Not Found|404");
}

TEST_F(LocalServer, RefusesMalformedAndOverlongRequestsWithAStatusAndCloses)
{
    QByteArray manyHeaders;
    for (int i = 0; i <= CHttpServiceBase::MaxHeaderLines; ++i)
        manyHeaders += "Accept: text/html\r\n";
    const QByteArray form = "Content-Type: application/x-www-form-urlencoded\r\n";
    // An empty status line: the head never ended, so there is nothing to answer.
    const struct
    {
        const char* what;
        QByteArray request;
        QByteArray statusLine;
    } cases[] = {
        {"unknown method", "BREW /pot HTTP/1.1\r\n" + HostLine() + "\r\n", "HTTP/1.1 501 Not Implemented"},
        {"no version", "GET /page.html\r\n" + HostLine() + "\r\n", "HTTP/1.1 400 Bad Request"},
        {"header without colon", "GET /page.html HTTP/1.1\r\n" + HostLine() + "Garbage\r\n\r\n",
         "HTTP/1.1 400 Bad Request"},
        {"no Host", "GET /page.html HTTP/1.0\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"foreign Host",
         "GET /page.html HTTP/1.1\r\nHost: evil.example:" + QByteArray::number(m_port) + "\r\n\r\n",
         "HTTP/1.1 400 Bad Request"},
        {"Host repeated", "GET /page.html HTTP/1.1\r\n" + HostLine() + HostLine() + "\r\n",
         "HTTP/1.1 400 Bad Request"},
        {"Content-Length repeated",
         "POST /echo HTTP/1.1\r\n" + HostLine() + form +
             "Content-Length: 6\r\nContent-Length: 6\r\n\r\ntext=a",
         "HTTP/1.1 400 Bad Request"},
        {"form length not a number",
         "POST /echo HTTP/1.1\r\n" + HostLine() + form + "Content-Length: 6x\r\n\r\n",
         "HTTP/1.1 400 Bad Request"},
        {"request line too long", "GET /" + QByteArray(70000, 'a') + " HTTP/1.1\r\n" + HostLine() + "\r\n",
         "HTTP/1.1 414 Request-URI Too Large"},
        {"header line too long",
         "GET /page.html HTTP/1.1\r\n" + HostLine() + "Referer: " + QByteArray(70000, 'r') + "\r\n\r\n",
         "HTTP/1.1 431 Request Header Fields Too Large"},
        {"too many header lines", "GET /page.html HTTP/1.1\r\n" + HostLine() + manyHeaders + "\r\n",
         "HTTP/1.1 431 Request Header Fields Too Large"},
        {"head too large",
         "GET /page.html HTTP/1.1\r\n" + HostLine() + QByteArray("Accept: */*\r\n").repeated(30000),
         "HTTP/1.1 431 Request Header Fields Too Large"},
        {"form body too long",
         "POST /echo HTTP/1.1\r\n" + HostLine() + form + "Content-Length: 2097152\r\n\r\n" +
             QByteArray(4096, 'x'),
         "HTTP/1.1 413 Request Entity Too Large"},
        {"head cut short", "GET /page.html HTTP/1.1\r\n" + HostLine(), ""},
    };
    for (const auto& c : cases)
    {
        const int handle = Connect(m_port);
        ASSERT_GE(handle, 0);
        SendAll(handle, c.request);
        // The cut-short head only ends when the client gives up its side.
        shutdown(handle, SHUT_WR);
        const QByteArray received = ReadUntilClosed(handle);
        close(handle);
        const HttpResponseText response = HttpResponseText::Parse(received);
        EXPECT_EQ(response.statusLine, c.statusLine) << c.what;
        if (c.statusLine.isEmpty())
            continue;
        EXPECT_EQ(response.Header("Connection"), "close") << c.what;
        EXPECT_EQ(response.Header("Content-Length"), "0") << c.what;
        EXPECT_EQ(response.body, QByteArray()) << c.what;
    }
    // The server still serves after all of them.
    EXPECT_EQ(Curl({Url("/page.html")}).output, PageBody);
}

TEST_F(LocalServer, AnswersAForeignHostNameWith400ToCurl)
{
    const QString port = QString::number(m_port);
    for (const QString& host :
         {"evil.example:" + port, "localhost.evil.example:" + port, "localhost:1" + port})
    {
        const ProcessResult curl =
            Curl({"--write-out", "|%{http_code}", "--header", "Host: " + host, Url("/page.html")});
        EXPECT_EQ(curl.exitCode, 0) << qPrintable(host);
        EXPECT_EQ(curl.output, "|400") << qPrintable(host);
    }
}

TEST_F(LocalServer, CurlReusesTheConnectionOnlyWhileTheResponsesSayKeepAlive)
{
    const QStringList urls{Url("/page.html"), Url("/missing"), Url("/page.html")};
    const QString perResponse = "%{num_connects} %{http_code} %header{connection}\n";
    const ProcessResult kept =
        Curl(QStringList{"--header", "Connection: keep-alive", "--write-out", perResponse, "--output",
                         "/dev/null", "--output", "/dev/null", "--output", "/dev/null"} +
             urls);
    EXPECT_EQ(kept.exitCode, 0);
    EXPECT_EQ(kept.output, "1 200 keep-alive\n0 404 keep-alive\n0 200 keep-alive\n");

    const ProcessResult closed = Curl(QStringList{"--write-out", perResponse, "--output", "/dev/null",
                                                  "--output", "/dev/null", "--output", "/dev/null"} +
                                      urls);
    EXPECT_EQ(closed.exitCode, 0);
    EXPECT_EQ(closed.output, "1 200 close\n1 404 close\n1 200 close\n");
}

TEST_F(LocalServer, PythonHttpClientKeepsItsConnectionAndPipelines)
{
    // Three requests on one kept connection, then three sent at once and read back with the
    // client's own response parser; every line is status, Connection header, local port of the
    // client's socket and body.
    const QString script = R"(
import http.client, socket, sys
port = int(sys.argv[1])
connection = http.client.HTTPConnection('127.0.0.1', port, timeout=20)
for path in ['/page.html', '/missing', '/page.html']:
    connection.request('GET', path, headers={'Connection': 'keep-alive'})
    response = connection.getresponse()
    body = response.read()
    print(response.status, response.getheader('Connection'), connection.sock.getsockname()[1], body)
connection.close()

class OneStream:
    """Every response reads from the same buffered stream, which no response may close."""
    def __init__(self, stream): self.stream = stream
    def makefile(self, mode): return self
    def __getattr__(self, name): return getattr(self.stream, name)
    def close(self): pass

client = socket.create_connection(('127.0.0.1', port), timeout=20)
request = 'GET {} HTTP/1.1\r\nHost: 127.0.0.1:{}\r\nConnection: {}\r\n\r\n'
client.sendall(''.join(request.format(path, port, mode) for path, mode in
                       [('/missing', 'keep-alive'), ('/page.html', 'keep-alive'), ('/page.html', 'close')]).encode())
stream = OneStream(client.makefile('rb'))
for _ in range(3):
    response = http.client.HTTPResponse(stream)
    response.begin()
    print(response.status, response.getheader('Connection'), client.getsockname()[1], response.read())
print('end', stream.read())
)";
    const ProcessResult python = RunProgram("python3", {"-c", script, QString::number(m_port)});
    ASSERT_EQ(python.exitCode, 0) << python.output.constData();
    QList<QByteArray> lines = python.output.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 7) << python.output.constData();
    const QByteArray page = "b'" + QByteArray(PageBody).replace("\xE2\x82\xAC", "\\xe2\\x82\\xac") + "'";
    const QByteArray missing = "b'Object Not Found'";
    const QList<QByteArray> expected = {"200 keep-alive # " + page, "404 keep-alive # " + missing,
                                        "200 keep-alive # " + page, "404 keep-alive * " + missing,
                                        "200 keep-alive * " + page, "200 close * " + page};
    // The local ports differ between the two connections and stay the same within each.
    const QByteArray firstPort = lines.at(0).split(' ').at(2);
    const QByteArray secondPort = lines.at(3).split(' ').at(2);
    EXPECT_NE(firstPort, secondPort);
    for (int i = 0; i < expected.size(); ++i)
    {
        QByteArray want = expected.at(i);
        want.replace("#", firstPort).replace("*", secondPort);
        EXPECT_EQ(lines.at(i), want) << i;
    }
    // After the response that said close, the server closed the connection.
    EXPECT_EQ(lines.at(6), "end b''");
}

TEST_F(LocalServer, AnswersPipelinedRequestsInOrderWhateverPiecesTheyArriveIn)
{
    const QByteArray requests =
        Get("/missing") + Get("/page.html") + Get("/missing") + Get("/page.html", "Connection: close\r\n");
    const int handle = Connect(m_port);
    ASSERT_GE(handle, 0);
    // Pieces that end inside a request line, inside a line break and inside a header.
    qsizetype sent = 0;
    for (const qsizetype cut :
         {qsizetype(7), Get("/missing").size() - 1, requests.size() - 20, requests.size()})
    {
        SendAll(handle, requests.mid(sent, cut - sent));
        sent = cut;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const QList<HttpResponseText> responses = SplitResponses(ReadUntilClosed(handle));
    close(handle);

    ASSERT_EQ(responses.size(), 4);
    const QList<QByteArray> statuses{"HTTP/1.1 404 Not Found", "HTTP/1.1 200 OK", "HTTP/1.1 404 Not Found",
                                     "HTTP/1.1 200 OK"};
    const QList<QByteArray> connections{"keep-alive", "keep-alive", "keep-alive", "close"};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(responses.at(i).statusLine, statuses.at(i)) << i;
        EXPECT_EQ(responses.at(i).Header("Connection"), connections.at(i)) << i;
    }
    EXPECT_EQ(responses.at(2).body, "Object Not Found");
    EXPECT_EQ(responses.at(3).body, PageBody);
}

TEST_F(LocalServer, ClosesAnIdleKeptConnectionAfterAFewSeconds)
{
    const int handle = Connect(m_port);
    ASSERT_GE(handle, 0);
    SendAll(handle, Get("/page.html"));
    const auto start = std::chrono::steady_clock::now();
    const QList<HttpResponseText> responses =
        SplitResponses(ReadUntilClosed(handle, CWebServerBase::KeepAliveSeconds + 5));
    const auto idle = std::chrono::steady_clock::now() - start;
    close(handle);

    ASSERT_EQ(responses.size(), 1);
    EXPECT_EQ(responses.at(0).Header("Connection"), "keep-alive");
    EXPECT_GE(idle, std::chrono::seconds(CWebServerBase::KeepAliveSeconds) - std::chrono::milliseconds(500));
    EXPECT_EQ(ActiveConnectionsAfterSettling(m_server), 0);
}

TEST_F(LocalServer, SlowClientsHoldNoThreadFromOtherClients)
{
    constexpr int SlowClients = 100;
    const QByteArray request = Get("/page.html", "Connection: close\r\n");
    std::vector<int> slow;
    for (int i = 0; i < SlowClients; ++i)
    {
        slow.push_back(Connect(m_port));
        ASSERT_GE(slow.back(), 0);
    }
    // Every slow client sends the first half of its head a byte at a time.
    const qsizetype half = request.size() / 2;
    for (qsizetype at = 0; at < half; ++at)
    {
        for (int handle : slow)
            send(handle, request.constData() + at, 1, MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(m_server.ActiveConnectionCount(), SlowClients);

    // Meanwhile other clients are served at once, not after the slow heads have timed out.
    for (int i = 0; i < 3; ++i)
    {
        const ProcessResult curl = Curl({Url("/page.html")}, 3);
        EXPECT_EQ(curl.exitCode, 0) << i;
        EXPECT_EQ(curl.output, PageBody) << i;
    }

    // The slow heads complete and are answered too.
    for (qsizetype at = half; at < request.size(); ++at)
    {
        for (int handle : slow)
            send(handle, request.constData() + at, 1, MSG_NOSIGNAL);
    }
    for (int handle : slow)
    {
        const HttpResponseText response = HttpResponseText::Parse(ReadUntilClosed(handle));
        EXPECT_EQ(response.statusLine, "HTTP/1.1 200 OK");
        EXPECT_EQ(response.body, PageBody);
        close(handle);
    }
}

TEST_F(LocalServer, RefusesConnectionsOfOtherAccountsWith403)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "skipped: running a client as another account needs root";
    // The account "nobody", as setpriv(1) runs a program under it.
    const QStringList asNobody{"--reuid=65534",
                               "--regid=65534",
                               "--clear-groups",
                               "curl",
                               "--silent",
                               "--noproxy",
                               "*",
                               "--max-time",
                               "20",
                               "--include",
                               Url("/page.html")};
    const ProcessResult foreign = RunProgram("setpriv", asNobody);
    EXPECT_EQ(foreign.exitCode, 0);
    const HttpResponseText response = HttpResponseText::Parse(foreign.output);
    EXPECT_EQ(response.statusLine, "HTTP/1.1 403 Forbidden");
    EXPECT_EQ(response.Header("Connection"), "close");
    EXPECT_EQ(response.body, QByteArray());
    // The same client under this account is served.
    EXPECT_EQ(Curl({Url("/page.html")}).output, PageBody);
}

TEST_F(LocalServer, GivesUpABodyWriteToASlowReaderAtItsDeadline)
{
    const int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int small = 4096;
    setsockopt(handle, SOL_SOCKET, SO_RCVBUF, &small, sizeof(small));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(m_port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    SendAll(handle, Get("/big", "Connection: close\r\n"));
    // A reader that takes a little now and then: every single send makes progress, the whole
    // body never arrives.
    char buffer[1024];
    for (int i = 0; i < 1000 && m_server.probe.bigWriteFailedAfter < 0; ++i)
    {
        pollfd entry{handle, POLLIN, 0};
        if (poll(&entry, 1, 20000) <= 0 || recv(handle, buffer, sizeof(buffer), 0) <= 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    close(handle);
    const int failedAfter = m_server.probe.bigWriteFailedAfter;
    EXPECT_GE(failedAfter, BigBodySeconds * 1000 - 50);
    EXPECT_LT(failedAfter, BigBodySeconds * 1000 + 1000);
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
    const ProcessResult curl = Curl(arguments);

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

TEST(LocalServerPool, PastTheLimitANewConnectionClosesTheOldestIdleOne)
{
    CTestServer server;
    server.SetConnectionLimits(2, 2);
    const int port = StartWebServer(server);
    ASSERT_NE(port, 0);
    const QByteArray request = "GET /page.html HTTP/1.1\r\nHost: localhost:" + QByteArray::number(port) +
                               "\r\nConnection: close\r\n\r\n";
    // Two clients that have begun their requests take both places, the older one first.
    std::vector<int> idle;
    for (int i = 1; i <= 2; ++i)
    {
        idle.push_back(Connect(port));
        ASSERT_GE(idle.back(), 0);
        SendAll(idle.back(), request.left(5));
        ASSERT_EQ(WaitForActiveConnections(server, i), i);
    }

    // A third is served at once, in the place of the older one.
    EXPECT_EQ(HttpResponseText::Parse(RawExchange(port, request)).body, PageBody);
    EXPECT_EQ(ReadUntilClosed(idle[0]), QByteArray());
    // The younger one still finishes its request.
    SendAll(idle[1], request.mid(5));
    EXPECT_EQ(HttpResponseText::Parse(ReadUntilClosed(idle[1])).body, PageBody);
    for (int handle : idle)
        close(handle);
}

TEST(LocalServerPool, CollectsAFormBodyThatTricklesInWithoutHoldingAThread)
{
    CTestServer server;
    server.SetConnectionLimits(1, 8);
    const int port = StartWebServer(server);
    ASSERT_NE(port, 0);
    // The largest form body there may be, well beyond what a head may take.
    const QByteArray text(CHttpServiceBase::MaxFormBodyBytes - 5, 'x');
    const QByteArray body = "text=" + text;
    const QByteArray request = "POST /echo HTTP/1.1\r\nHost: localhost:" + QByteArray::number(port) +
                               "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                               QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    const int poster = Connect(port);
    ASSERT_GE(poster, 0);
    SendAll(poster, request.chopped(body.size() / 2));

    // The one thread is free for another client while the body is still coming.
    const ProcessResult curl = Curl({QString("http://localhost:%1/page.html").arg(port)}, 5);
    EXPECT_EQ(curl.exitCode, 0);
    EXPECT_EQ(curl.output, PageBody);

    SendAll(poster, request.right(body.size() / 2));
    const HttpResponseText response = HttpResponseText::Parse(ReadUntilClosed(poster));
    close(poster);
    EXPECT_EQ(response.statusLine, "HTTP/1.1 200 OK");
    EXPECT_TRUE(response.body == text) << response.body.size();
}

TEST(LocalServerStop, CutsOpenConnectionsAndJoinsEveryThread)
{
    const int threadsBefore = ProcessThreadCount();
    auto server = std::make_unique<CTestServer>();
    server->SetConnectionLimits(2, 8);
    const int port = StartWebServer(*server);
    ASSERT_NE(port, 0);

    // Two connections wait for the rest of their head, two for a form body that never comes.
    std::vector<int> clients;
    for (int i = 0; i < 4; ++i)
    {
        clients.push_back(Connect(port));
        ASSERT_GE(clients.back(), 0);
        const QByteArray head =
            "POST /page.html HTTP/1.1\r\nHost: localhost:" + QByteArray::number(port) +
            "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: 10\r\n";
        SendAll(clients.back(), i < 2 ? head : head + "\r\n");
    }
    ASSERT_EQ(WaitForActiveConnections(*server, 4), 4);

    // Without cutting the connections Stop would wait out their time-outs.
    auto stopped = std::async(std::launch::async, [&] { return server->Stop(); });
    ASSERT_EQ(stopped.wait_for(std::chrono::seconds(CHttpServiceBase::FormBodySeconds / 2)),
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

TEST(LocalServerStop, StartsAgainAfterStop)
{
    CTestServer server;
    const int first = StartWebServer(server);
    ASSERT_NE(first, 0);
    server.Stop();
    EXPECT_FALSE(server.IsRunning());
    EXPECT_EQ(server.Port(), 0);
    EXPECT_LT(Connect(first), 0);

    const int second = StartWebServer(server);
    ASSERT_NE(second, 0);
    EXPECT_TRUE(server.IsRunning());
    EXPECT_EQ(Curl({QString("http://localhost:%1/page.html").arg(second)}).output, PageBody);
}
