#include "base/INetFile.h"

#include "base/AnsiCodePage.h"
#include "support/ScriptedHttpServer.h"

#include <QList>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
struct Request
{
    QByteArray head; // request line and headers
    QByteArray body;

    QByteArray Line() const { return head.left(head.indexOf("\r\n")); }
    QByteArray Header(const QByteArray& name) const
    {
        for (const QByteArray& line : head.split('\n'))
        {
            const QByteArray trimmed = line.trimmed();
            if (trimmed.toLower().startsWith(name.toLower() + ":"))
                return trimmed.mid(name.size() + 1).trimmed();
        }
        return {};
    }
};

struct Reply
{
    QByteArray bytes;     // sent as they stand, then the connection closes
    bool silent = false;  // send nothing and keep the connection open until the server stops
    bool endless = false; // after the bytes, send zeros until the client gives up
};

// An HTTP/1.0 server on 127.0.0.1 that answers each connection through a handler.
class LocalHttpServer
{
public:
    explicit LocalHttpServer(std::function<Reply(const Request&)> handler) : m_handler(std::move(handler))
    {
        m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
            listen(m_listener, 16) != 0)
            ADD_FAILURE() << "test server cannot listen";
        m_port = ntohs(address.sin_port);
        m_acceptor = std::thread([this] { AcceptLoop(); });
    }

    ~LocalHttpServer()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_stopped.notify_all();
        shutdown(m_listener, SHUT_RDWR);
        m_acceptor.join();
        for (std::thread& connection : m_connections)
            connection.join();
        close(m_listener);
    }

    int Port() const { return m_port; }

    std::vector<Request> Requests()
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    void AcceptLoop()
    {
        for (;;)
        {
            const int client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                return;
            m_connections.emplace_back([this, client] { Serve(client); });
        }
    }

    void Serve(int client)
    {
        Request request;
        QByteArray data;
        char buffer[4096];
        qsizetype headEnd = -1;
        while (headEnd < 0)
        {
            const ssize_t count = recv(client, buffer, sizeof(buffer), 0);
            if (count <= 0)
                break;
            data.append(buffer, count);
            headEnd = data.indexOf("\r\n\r\n");
        }
        if (headEnd >= 0)
        {
            request.head = data.left(headEnd + 2);
            request.body = data.mid(headEnd + 4);
            const qsizetype wanted = request.Header("Content-Length").toLongLong();
            while (request.body.size() < wanted)
            {
                const ssize_t count = recv(client, buffer, sizeof(buffer), 0);
                if (count <= 0)
                    break;
                request.body.append(buffer, count);
            }
            {
                std::lock_guard lock(m_mutex);
                m_requests.push_back(request);
            }
            const Reply reply = m_handler(request);
            if (reply.silent)
            {
                std::unique_lock lock(m_mutex);
                m_stopped.wait(lock, [this] { return m_stopping; });
            }
            SendAll(client, reply.bytes);
            const QByteArray zeros(64 * 1024, '\0');
            while (reply.endless && SendAll(client, zeros))
            {
            }
        }
        close(client);
    }

    static bool SendAll(int client, const QByteArray& bytes)
    {
        for (qsizetype sent = 0; sent < bytes.size();)
        {
            const ssize_t count = send(client, bytes.constData() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (count <= 0)
                return false;
            sent += count;
        }
        return true;
    }

    std::function<Reply(const Request&)> m_handler;
    int m_listener{-1};
    int m_port{0};
    std::thread m_acceptor;
    std::vector<std::thread> m_connections;
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stopping{false};
    std::vector<Request> m_requests;
};

QByteArray Response(const QByteArray& status, const QByteArray& headers, const QByteArray& body)
{
    return "HTTP/1.0 " + status + "\r\n" + headers + "Content-Length: " + QByteArray::number(body.size()) +
           "\r\n\r\n" + body;
}

class INetFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // A proxy of the developer's environment must not catch the loopback requests.
        for (const char* name :
             {"http_proxy", "https_proxy", "all_proxy", "no_proxy", "HTTPS_PROXY", "ALL_PROXY", "NO_PROXY"})
            unsetenv(name);
        CINetFile::SetTimeout(10000);
    }
    void TearDown() override { CINetFile::SetTimeout(CINetFile::DefaultTimeout); }
};
} // namespace

TEST_F(INetFileTest, GetFollowsRedirectsAndKeepsTheFinalResponse)
{
    const QByteArray utf8 = QString::fromUtf16(u"Gr\u00FC\u00DFe \u20AC").toUtf8();
    LocalHttpServer server(
        [&](const Request& request)
        {
            if (request.Line().startsWith("GET /old?x=1 "))
                return Reply{Response("302 Found", "Location: /new\r\nServer: Wrong\r\n", "moved")};
            return Reply{Response(
                "200 OK", "Content-Type: text/plain; charset=utf-8\r\nServer: Loopback/1.0\r\n", utf8)};
        });

    CINetFile file;
    ASSERT_TRUE(file.SendRequest("127.0.0.1", "/old?x=1", QString(), server.Port()));
    EXPECT_EQ(file.GetStatusCode(), 200);
    EXPECT_EQ(file.GetContentType(), "text/plain; charset=utf-8");
    EXPECT_EQ(file.GetServerHeader(), "Loopback/1.0");
    EXPECT_EQ(file.ReadResponse(), utf8.size());
    EXPECT_EQ(file.GetBody(), utf8);
    EXPECT_EQ(file.GetResponseText(), QString::fromUtf16(u"Gr\u00FC\u00DFe \u20AC"));

    const std::vector<Request> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].Line(), "GET /new HTTP/1.0");
    EXPECT_EQ(requests[1].Header("User-Agent"), file.GetUserAgent().toLatin1());
    EXPECT_EQ(file.GetUserAgent(),
              "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; .NET CLR 1.0.3705; .NET CLR 1.1.4322)");
}

TEST_F(INetFileTest, PostSendsTheFormBodyAndDoesNotFollowRedirects)
{
    LocalHttpServer server([](const Request&)
                           { return Reply{Response("302 Found", "Location: /elsewhere\r\n", "")}; });

    CINetFile file;
    ASSERT_TRUE(file.SendRequest("127.0.0.1", "/form.php", "name=J%C3%BCrgen&list=1", server.Port()));
    EXPECT_EQ(file.GetStatusCode(), 302);

    const std::vector<Request> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Line(), "POST /form.php HTTP/1.0");
    EXPECT_EQ(requests[0].Header("Content-type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(requests[0].body, "name=J%C3%BCrgen&list=1");
}

TEST_F(INetFileTest, StatusOfAnErrorPageIsReportedNotFailed)
{
    LocalHttpServer server(
        [](const Request& request)
        {
            if (request.Line().startsWith("GET /missing"))
                return Reply{Response("404 Not Found", "Content-Type: text/html\r\n", "<p>gone</p>")};
            return Reply{Response("200 OK", "", "fine")};
        });

    CINetFile file;
    ASSERT_TRUE(file.SendRequest("127.0.0.1", "/missing", QString(), server.Port()));
    EXPECT_EQ(file.GetStatusCode(), 404);
    EXPECT_EQ(file.GetContentType(), "text/html");
    file.ReadResponse();
    EXPECT_EQ(file.GetResponseText(), "<p>gone</p>");

    // The same object serves the next request with nothing of the previous response left.
    ASSERT_TRUE(file.SendRequest("127.0.0.1", "/", QString(), server.Port()));
    EXPECT_EQ(file.GetStatusCode(), 200);
    EXPECT_EQ(file.GetContentType(), QString());
    EXPECT_EQ(file.ReadResponse(), 4);
    EXPECT_EQ(file.GetResponseText(), "fine");

    file.Close();
    EXPECT_EQ(file.GetResponseText(), QString());
    EXPECT_EQ(file.ReadResponse(), 0);
}

TEST_F(INetFileTest, ServerThatNeverAnswersTimesOut)
{
    CINetFile::SetTimeout(1000);
    LocalHttpServer server([](const Request&) { return Reply{{}, true}; });

    CINetFile file;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(file.SendRequest("127.0.0.1", "/", QString(), server.Port()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
    EXPECT_EQ(file.GetStatusCode(), -1);
}

TEST_F(INetFileTest, BodyIsDecodedByTheCharsetOfTheContentTypeOrItsOwnBytes)
{
    const QString text = QString::fromUtf16(u"Caf\u00E9 \u201Cna\u00EFve\u201D \u20AC");
    struct Case
    {
        QByteArray contentType;
        QByteArray body;
        bool utf8;
    };
    const Case cases[] = {
        {"text/html; charset=utf-8", text.toUtf8(), true},
        {"text/html; charset=UTF-8", text.toUtf8(), true},
        {"text/xml; Charset=Utf-8", text.toUtf8(), true},
        {"text/html; charset=windows-1252", AnsiCodePage::FromText(text), false},
        {"", AnsiCodePage::FromText(text), false},
        // Without a charset the body tells: UTF-8 that reads as such, or an XML declaration.
        {"", text.toUtf8(), false},
        {"text/xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + text.toUtf8(), false},
        {"text/xml", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + AnsiCodePage::FromText(text),
         false},
        {"text/html; charset=iso-8859-1", AnsiCodePage::FromText(text), false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.contentType.toStdString());
        LocalHttpServer server(
            [&](const Request&)
            {
                const QByteArray header =
                    c.contentType.isEmpty() ? "" : "Content-Type: " + c.contentType + "\r\n";
                return Reply{Response("200 OK", header, c.body)};
            });
        CINetFile file;
        ASSERT_TRUE(file.SendRequest("127.0.0.1", "/page", QString(), server.Port()));
        file.ReadResponse();
        EXPECT_EQ(file.IsUtf8Content(), c.utf8);
        const QString declaration = QString::fromLatin1(c.body.left(c.body.indexOf("?>") + 2));
        const QString expected = c.body.startsWith("<?xml") ? declaration + text : text;
        EXPECT_EQ(file.GetResponseText(), expected);
    }
}

TEST_F(INetFileTest, EmptyBodyGivesEmptyText)
{
    for (const QByteArray contentType : {"text/plain; charset=utf-8", "text/plain"})
    {
        LocalHttpServer server(
            [&](const Request&)
            { return Reply{Response("200 OK", "Content-Type: " + contentType + "\r\n", "")}; });
        CINetFile file;
        ASSERT_TRUE(file.SendRequest("127.0.0.1", "/", QString(), server.Port()));
        EXPECT_EQ(file.ReadResponse(), 0);
        EXPECT_EQ(file.GetResponseText(), QString());
    }
}

TEST_F(INetFileTest, ReplyWithoutAReadableStatusLineIsAFailure)
{
    const QByteArray replies[] = {
        "garbage\r\n\r\nbody",
        "HTTP/1.0 abc OK\r\nContent-Length: 0\r\n\r\n",
        "",
    };
    for (const QByteArray& reply : replies)
    {
        SCOPED_TRACE(reply.toStdString());
        LocalHttpServer server([&](const Request&) { return Reply{reply}; });
        CINetFile file;
        EXPECT_FALSE(file.SendRequest("127.0.0.1", "/", QString(), server.Port()));
        EXPECT_NE(file.GetStatusCode(), 200);
    }
}

TEST_F(INetFileTest, BodyBeyondTheLimitIsRefused)
{
    // One server announces a body far too large, the other just never stops sending.
    const QByteArray heads[] = {
        "HTTP/1.0 200 OK\r\nContent-Length: 1099511627776\r\n\r\n",
        "HTTP/1.0 200 OK\r\nContent-Type: application/zip\r\n\r\n",
    };
    for (const QByteArray& head : heads)
    {
        LocalHttpServer server([&](const Request&) { return Reply{head, false, true}; });
        CINetFile file;
        EXPECT_FALSE(file.SendRequest("127.0.0.1", "/update.zip", QString(), server.Port()));
        EXPECT_TRUE(file.GetBody().isEmpty());
    }
}

TEST_F(INetFileTest, UnreachableOrMalformedServerFails)
{
    int port = 0;
    {
        LocalHttpServer closed([](const Request&) { return Reply{}; });
        port = closed.Port();
    }
    CINetFile file;
    EXPECT_FALSE(file.SendRequest("127.0.0.1", "/", QString(), port));
    // A server text must name a host, never smuggle in credentials or a path.
    LocalHttpServer server([](const Request&) { return Reply{Response("200 OK", "", "x")}; });
    for (const char* name : {"user@127.0.0.1", "127.0.0.1/x", "127.0.0.1 x", ""})
        EXPECT_FALSE(file.SendRequest(name, "/", QString(), server.Port())) << name;
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(INetFileTest, ProxyIsTakenFromTheEnvironment)
{
    LocalHttpServer proxy([](const Request&) { return Reply{Response("200 OK", "", "via proxy")}; });
    setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(proxy.Port())).c_str(), 1);

    CINetFile file;
    ASSERT_TRUE(file.SendRequest("updates.kelvora.invalid", "/check?v=2007", QString(), 0));
    file.ReadResponse();
    EXPECT_EQ(file.GetResponseText(), "via proxy");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].Line(), "GET http://updates.kelvora.invalid/check?v=2007 HTTP/1.0");
    unsetenv("http_proxy");
}

TEST_F(INetFileTest, SecureRequestsSpeakTlsAndCheckTheCertificate)
{
    // A plain HTTP server never sees the request in the clear.
    LocalHttpServer plain([](const Request&) { return Reply{Response("200 OK", "", "clear")}; });
    CINetFile::SetTimeout(2000);
    CINetFile file;
    EXPECT_FALSE(file.SendRequest("127.0.0.1", "/secret?password=x", QString(), plain.Port(), true));
    EXPECT_TRUE(plain.Requests().empty());

    // A TLS server whose certificate no authority signed is refused before anything is asked.
    ScriptedHttpServer tls(QStringLiteral(KV_SOURCE_DIR "/tests/support/tls/certificate.pem"),
                           QStringLiteral(KV_SOURCE_DIR "/tests/support/tls/key.pem"));
    tls.SetReply("*", "fine");
    EXPECT_FALSE(file.SendRequest("127.0.0.1", "/secret?password=x", QString(), tls.Port(), true));
    EXPECT_TRUE(tls.Requests().isEmpty());
}
