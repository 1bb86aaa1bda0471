#include "webserver/HttpServiceBase.h"
#include "webserver/HttpExchange.h"
#include "webserver/HttpServiceError.h"
#include "webserver/MemoryChannel.h"
#include "webserver/RequestPath.h"

#include "webserver/HttpResponseText.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

namespace
{
constexpr int ServerPort = 48213;

QByteArray Request(const QByteArray& requestLine, const QByteArray& extraHeaders = {})
{
    return requestLine + "\r\nHost: localhost:" + QByteArray::number(ServerPort) + "\r\n" + extraHeaders +
           "\r\n";
}

// A service whose handling step runs a function of the test, so it can inspect the parsed
// request or change the response.
class CProbeService : public CHttpServiceBase
{
public:
    std::function<void(CProbeService&)> onHandle;
    bool handled{false};

    bool Handle() override
    {
        handled = true;
        if (onHandle)
            onHandle(*this);
        return true;
    }
};

struct ExchangeResult
{
    ExchangeEnd result{ExchangeEnd::Close};
    bool handled{false};
    QByteArray output;
};

ExchangeResult Exchange(const QByteArray& input, std::function<void(CProbeService&)> onHandle = {})
{
    ExchangeResult exchange;
    CProbeService service;
    service.onHandle = std::move(onHandle);
    service.AttachConnection(std::make_unique<CMemoryChannel>(input, &exchange.output), sockaddr_in{},
                             ServerPort);
    exchange.result = RunHttpExchange(service);
    exchange.handled = service.handled;
    return exchange;
}
} // namespace

TEST(HttpService, AnswersWithTestPageAndWritesHeadInAscendingIdOrder)
{
    const ExchangeResult exchange =
        Exchange(Request("GET /index.html HTTP/1.1", "Connection: Keep-ALIVE\r\n"));
    const HttpResponseText response = HttpResponseText::Parse(exchange.output);

    ASSERT_TRUE(response.complete);
    EXPECT_EQ(response.statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(response.HeaderNames(), (QList<QByteArray>{"Cache-Control", "Connection", "Date", "Server",
                                                         "Content-Length", "Content-Type"}));
    EXPECT_EQ(response.Header("Cache-Control"), "no-cache");
    EXPECT_EQ(response.Header("Connection"), "Keep-ALIVE");
    EXPECT_EQ(response.Header("Server"), ServerBanner.toUtf8());
    EXPECT_EQ(response.Header("Content-Type"), "text/html");
    EXPECT_EQ(response.body, CHttpServiceBase::TestPage());
    EXPECT_EQ(response.Header("Content-Length"), QByteArray::number(response.body.size()));
    // English names whatever the locale, e.g. "Thu, 10 Dec 2026 12:31:29 GMT".
    EXPECT_TRUE(QString::fromLatin1(response.Header("Date"))
                    .contains(QRegularExpression("^(Mon|Tue|Wed|Thu|Fri|Sat|Sun), \\d\\d "
                                                 "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                                 "\\d{4} \\d\\d:\\d\\d:\\d\\d GMT$")))
        << response.Header("Date").constData();
}

TEST(HttpService, EachExchangeAnswersOneRequestAndLeavesTheNextOnTheConnection)
{
    const QByteArray keepAlive = "Connection: keep-alive\r\n";
    QByteArray output;
    QStringList targets;
    CProbeService service;
    service.onHandle = [&](CProbeService& s) { targets.append(s.RequestTarget()); };
    service.AttachConnection(std::make_unique<CMemoryChannel>(Request("GET /a HTTP/1.1", keepAlive) +
                                                                  Request("GET /b HTTP/1.1", keepAlive),
                                                              &output),
                             sockaddr_in{}, ServerPort);

    EXPECT_EQ(RunHttpExchange(service), ExchangeEnd::KeepAlive);
    EXPECT_EQ(targets, QStringList{"/a"});
    EXPECT_EQ(output.count("HTTP/1.1 200 OK"), 1);
    EXPECT_EQ(RunHttpExchange(service), ExchangeEnd::KeepAlive);
    EXPECT_EQ(targets, (QStringList{"/a", "/b"}));
    EXPECT_EQ(output.count("HTTP/1.1 200 OK"), 2);
    // Nothing more arrives: the third exchange ends without a response.
    EXPECT_EQ(RunHttpExchange(service), ExchangeEnd::Close);
    EXPECT_EQ(output.count("HTTP/1.1"), 2);
}

TEST(HttpService, KeepsTheConnectionOnlyWhenAskedAndTheRequestWasReadWhole)
{
    const QByteArray keepAlive = "Connection: keep-alive\r\n";
    const QByteArray form = "Content-Type: application/x-www-form-urlencoded\r\n";
    const struct
    {
        const char* what;
        QByteArray input;
        QByteArray connection;
        ExchangeEnd end;
    } cases[] = {
        {"asked for", Request("GET / HTTP/1.1", keepAlive), "keep-alive", ExchangeEnd::KeepAlive},
        {"asked for in other case", Request("GET / HTTP/1.0", "Connection: Keep-Alive\r\n"), "Keep-Alive",
         ExchangeEnd::KeepAlive},
        {"head only", Request("HEAD / HTTP/1.1", keepAlive), "keep-alive", ExchangeEnd::KeepAlive},
        {"not asked for", Request("GET / HTTP/1.1"), "close", ExchangeEnd::Close},
        {"asked to close", Request("GET / HTTP/1.1", "Connection: close\r\n"), "close", ExchangeEnd::Close},
        {"form body read", Request("POST / HTTP/1.1", keepAlive + form + "Content-Length: 3\r\n") + "a=b",
         "keep-alive", ExchangeEnd::KeepAlive},
        {"form body cut short",
         Request("POST / HTTP/1.1", keepAlive + form + "Content-Length: 9\r\n") + "a=b", "close",
         ExchangeEnd::Close},
        {"other body left unread",
         Request("POST / HTTP/1.1", keepAlive + "Content-Type: text/plain\r\nContent-Length: 5\r\n") +
             "GET /",
         "close", ExchangeEnd::Close},
        {"body length unreadable", Request("PUT / HTTP/1.1", keepAlive + "Content-Length: five\r\n"), "close",
         ExchangeEnd::Close},
        {"chunked body",
         Request("POST / HTTP/1.1", keepAlive + "Transfer-Encoding: chunked\r\n") + "0\r\n\r\n", "close",
         ExchangeEnd::Close},
    };
    for (const auto& c : cases)
    {
        const ExchangeResult exchange = Exchange(c.input);
        const HttpResponseText response = HttpResponseText::Parse(exchange.output);
        EXPECT_EQ(response.statusLine, "HTTP/1.1 200 OK") << c.what;
        EXPECT_EQ(response.Header("Connection"), c.connection) << c.what;
        EXPECT_EQ(exchange.result, c.end) << c.what;
    }
}

TEST(HttpService, FindsTheEndOfTheRequestHeadAsTheReaderDoes)
{
    const QByteArray head = Request("GET / HTTP/1.1");
    const struct
    {
        const char* what;
        QByteArray bytes;
        qsizetype size;
    } cases[] = {
        {"whole head", head, head.size()},
        {"next request behind it", head + "GET /next", head.size()},
        {"last line missing", head.chopped(2), 0},
        {"cut inside the line break", head.chopped(1), 0},
        {"blank line of blanks and tabs", head.chopped(2) + " \t \r\nGET", head.size() + 3},
        {"blank line of a no-break space", head.chopped(2) + "\xA0\r\n", head.size() + 1},
        {"line feeds alone end no line", "GET / HTTP/1.1\nHost: localhost\n\n", 0},
        {"empty request line is not the end", "\r\nGET / HTTP/1.1\r\n\r\n", 20},
        {"head too large", "GET /" + QByteArray(CHttpServiceBase::MaxHeadBytes, 'a'), -1},
        {"header lines too many bytes",
         Request("GET / HTTP/1.1", QByteArray("Accept: a\r\n").repeated(30000)), -1},
    };
    for (const auto& c : cases)
    {
        const qsizetype size = CHttpServiceBase::RequestHeadSize(c.bytes);
        EXPECT_EQ(size, c.size) << c.what;
        // The reader answers a head that ends there and nothing that has not ended.
        if (size == 0)
            EXPECT_TRUE(Exchange(c.bytes).output.isEmpty()) << c.what;
        else if (size > 0 && c.bytes.startsWith("GET"))
        {
            EXPECT_FALSE(Exchange(c.bytes.left(size)).output.isEmpty()) << c.what;
        }
    }
}

TEST(HttpService, AnswersHeadWithTheHeadAlone)
{
    const ExchangeResult exchange = Exchange(Request("HEAD /index.html HTTP/1.1"));
    const HttpResponseText response = HttpResponseText::Parse(exchange.output);
    EXPECT_EQ(response.statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(response.Header("Content-Length"), QByteArray::number(CHttpServiceBase::TestPage().size()));
    EXPECT_TRUE(exchange.output.endsWith("\r\n\r\n")) << exchange.output.constData();
}

TEST(HttpService, StatusOutsideTheTableLeavesTheReasonEmpty)
{
    const ExchangeResult exchange =
        Exchange(Request("GET / HTTP/1.1"), [](CProbeService& s) { s.SetStatusCode(306); });
    EXPECT_TRUE(exchange.output.startsWith("HTTP/1.1 306 \r\n"));
    EXPECT_EQ(CHttpServiceBase::GetReasonPhrase(408), "Request Time-out");
    EXPECT_EQ(CHttpServiceBase::GetReasonPhrase(505), "HTTP Version not supported");
}

TEST(HttpService, LineBreaksInAHeaderValueCannotAddHeadersOrEndTheHead)
{
    const ExchangeResult exchange =
        Exchange(Request("GET / HTTP/1.1"), [](CProbeService& s)
                 { s.SetResponseHeader(HttpHeader::ContentType, "text/plain\r\nX-Added: 1\n\r\n<b>"); });
    const HttpResponseText response = HttpResponseText::Parse(exchange.output);
    EXPECT_EQ(response.Header("X-Added"), QByteArray());
    EXPECT_EQ(response.Header("Content-Type"), "text/plain  X-Added: 1   <b>");
    EXPECT_EQ(response.body, CHttpServiceBase::TestPage());
}

TEST(HttpService, RefusesMalformedOrOverlongRequestsWithAStatusAndCloses)
{
    QByteArray manyHeaders;
    for (int i = 0; i < CHttpServiceBase::MaxHeaderLines + 1; ++i)
        manyHeaders += "X-Filler: " + QByteArray::number(i) + "\r\n";
    const QByteArray port = QByteArray::number(ServerPort);
    const QByteArray formPost = "POST /form HTTP/1.1\r\nHost: localhost:" + port +
                                "\r\nContent-Type: application/x-www-form-urlencoded\r\n";

    // A status of 0: the request ended before it could be refused, and nothing is sent.
    const struct
    {
        const char* what;
        QByteArray input;
        int status;
    } cases[] = {
        {"unknown method", Request("BREW /pot HTTP/1.1"), 501},
        {"method and target only", Request("GET /index.html"), 400},
        {"method only", Request("GET"), 400},
        {"empty request line", Request(""), 400},
        {"header line without colon", Request("GET / HTTP/1.1", "NoColonHere\r\n"), 400},
        {"request line too long",
         Request("GET /" + QByteArray(CHttpServiceBase::MaxLineBytes, 'a') + " HTTP/1.1"), 414},
        {"header line too long", Request("GET / HTTP/1.1", "Accept: " + QByteArray(70000, 'b') + "\r\n"),
         431},
        {"too many header lines", Request("GET / HTTP/1.1", manyHeaders), 431},
        {"no Host", "GET / HTTP/1.1\r\n\r\n", 400},
        {"foreign Host", "GET / HTTP/1.1\r\nHost: evil.example:" + port + "\r\n\r\n", 400},
        {"Host repeated, ours last",
         "GET / HTTP/1.1\r\nHost: evil.test\r\nHost: localhost:" + port + "\r\n\r\n", 400},
        {"Host repeated alike", Request("GET / HTTP/1.1", "Host: localhost:" + port + "\r\n"), 400},
        {"Content-Length repeated", formPost + "Content-Length: 10\r\nContent-Length: 3\r\n\r\nname=value",
         400},
        {"form body length not a number", formPost + "Content-Length: 12abc\r\n\r\nname=value12", 400},
        {"form body length negative", formPost + "Content-Length: -5\r\n\r\n", 400},
        {"form body too long", formPost + "Content-Length: 1048577\r\n\r\n", 413},
        {"head never ends", "GET / HTTP/1.1\r\nHost: localhost:" + port + "\r\n", 0},
        {"line without CR LF", "GET / HTTP/1.1\nHost: localhost:" + port + "\n\n", 0},
        {"nothing at all", "", 0},
    };
    for (const auto& c : cases)
    {
        const ExchangeResult exchange = Exchange(c.input);
        EXPECT_FALSE(exchange.handled) << c.what;
        EXPECT_EQ(exchange.result, ExchangeEnd::Close) << c.what;
        if (c.status == 0)
        {
            EXPECT_EQ(exchange.output, QByteArray()) << c.what;
            continue;
        }
        const HttpResponseText response = HttpResponseText::Parse(exchange.output);
        EXPECT_EQ(response.statusLine, "HTTP/1.1 " + QByteArray::number(c.status) + " " +
                                           CHttpServiceBase::GetReasonPhrase(c.status).toLatin1())
            << c.what;
        EXPECT_EQ(response.Header("Connection"), "close") << c.what;
        EXPECT_EQ(response.Header("Content-Length"), "0") << c.what;
        EXPECT_EQ(response.body, QByteArray()) << c.what;
    }
}

TEST(HttpService, FormBodySizeIsWhatTheReaderTakes)
{
    const QByteArray form = "Content-Type: application/x-www-form-urlencoded\r\n";
    const struct
    {
        const char* what;
        QByteArray head;
        qsizetype size;
    } cases[] = {
        {"form", Request("POST /f HTTP/1.1", form + "Content-Length: 7\r\n"), 7},
        {"name in other case", Request("POST /f HTTP/1.1", form + "content-LENGTH:  7 \r\n"), 7},
        {"type with parameters",
         Request("POST /f HTTP/1.1",
                 "Content-Type: application/x-www-form-urlencoded; charset=UTF-8\r\nContent-Length: 7\r\n"),
         7},
        {"no length", Request("POST /f HTTP/1.1", form), 0},
        {"not a form", Request("POST /f HTTP/1.1", "Content-Type: text/plain\r\nContent-Length: 7\r\n"), 0},
        {"not a post", Request("PUT /f HTTP/1.1", form + "Content-Length: 7\r\n"), 0},
        {"chunked", Request("POST /f HTTP/1.1", form + "Transfer-Encoding: chunked\r\nContent-Length: 7\r\n"),
         0},
        {"too long", Request("POST /f HTTP/1.1", form + "Content-Length: 1048577\r\n"), 0},
        {"length repeated", Request("POST /f HTTP/1.1", form + "Content-Length: 7\r\nContent-Length: 7\r\n"),
         0},
        {"length in a value only", Request("GET /f HTTP/1.1", "Referer: /content-length: 7\r\n"), 0},
    };
    const QByteArray body = "a=b&c=d";
    for (const auto& c : cases)
    {
        EXPECT_EQ(CHttpServiceBase::FormBodySize(c.head), c.size) << c.what;
        if (c.size == 0)
            continue;
        // The next request starts right after the body the reader took.
        QStringList targets;
        QString formValue;
        QByteArray output;
        CProbeService service;
        service.onHandle = [&](CProbeService& s)
        {
            targets.append(s.RequestTarget());
            s.GetFormParameter("c", formValue);
        };
        service.AttachConnection(std::make_unique<CMemoryChannel>(c.head.chopped(2) +
                                                                      "Connection: keep-alive\r\n\r\n" +
                                                                      body + Request("GET /next HTTP/1.1"),
                                                                  &output),
                                 sockaddr_in{}, ServerPort);
        EXPECT_EQ(RunHttpExchange(service), ExchangeEnd::KeepAlive) << c.what;
        EXPECT_EQ(formValue, "d") << c.what;
        RunHttpExchange(service);
        EXPECT_EQ(targets, (QStringList{"/f", "/next"})) << c.what;
    }
}

TEST(HttpService, ServesOnlyRequestsNamingThisServer)
{
    const QString port = QString::number(ServerPort);
    const struct
    {
        QString host;
        bool served;
    } cases[] = {
        {"localhost:" + port, true},
        {"127.0.0.1:" + port, true},
        {"LocalHost:" + port, true},
        {"evil.example:" + port, false},
        {"localhost.evil.example:" + port, false},
        {"127.0.0.1.nip.io:" + port, false},
        {"localhost:" + QString::number(ServerPort + 1), false},
        {"localhost", false},
        {"localhost:", false},
        {"localhost:" + port + "x", false},
        {"[::1]:" + port, false},
        {"", false},
    };
    for (const auto& c : cases)
    {
        const ExchangeResult exchange = Exchange("GET / HTTP/1.1\r\nHost: " + c.host.toLatin1() + "\r\n\r\n");
        EXPECT_EQ(exchange.handled, c.served) << qPrintable(c.host);
        EXPECT_EQ(HttpResponseText::Parse(exchange.output).statusLine,
                  c.served ? "HTTP/1.1 200 OK" : "HTTP/1.1 400 Bad Request")
            << qPrintable(c.host);
    }
}

TEST(HttpService, AcceptsLowerCaseMethodAndKeepsTargetAndVersion)
{
    const ExchangeResult exchange = Exchange(Request("  get   /a/b?c=d   HTTP/1.0  "),
                                             [](CProbeService& s)
                                             {
                                                 EXPECT_EQ(s.Method(), HttpGet);
                                                 EXPECT_EQ(s.RequestTarget(), "/a/b?c=d");
                                                 EXPECT_EQ(s.RequestVersion(), "HTTP/1.0");
                                             });
    EXPECT_TRUE(exchange.handled);
    EXPECT_TRUE(exchange.output.startsWith("HTTP/1.1 200 OK\r\n"));
}

TEST(HttpService, DecodesQueryParameters)
{
    Exchange(Request("GET /page?x=1&x=2&y=%41%42+c&euro=%e2%82%ac&plus=%2B&bad=%4&odd=%zz&eq=a=b"
                     "#z=1"),
             [](CProbeService& s)
             {
                 const struct
                 {
                     const char* name;
                     QString value;
                 } expected[] = {
                     {"x", "2"},    {"y", "AB c"}, {"euro", QString(QChar(0x20AC))},
                     {"plus", "+"}, {"bad", "%4"}, {"odd", "%zz"},
                     {"eq", "a=b"},
                 };
                 for (const auto& e : expected)
                 {
                     QString value;
                     EXPECT_TRUE(s.GetQueryParameter(e.name, value)) << e.name;
                     EXPECT_EQ(value, e.value) << e.name;
                 }
                 QString value;
                 EXPECT_FALSE(s.GetQueryParameter("z", value));
                 EXPECT_FALSE(s.GetQueryParameter("X", value));
             });
}

TEST(HttpService, ReadsIntegerParametersFromQueryThenForm)
{
    const QByteArray body = "rows=3&cols=%2D4&label=a+b";
    const QByteArray request =
        "POST /chart?rows=12abc&width=+9 HTTP/1.1\r\nHost: localhost:" + QByteArray::number(ServerPort) +
        "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
        QByteArray::number(body.size()) + "\r\n\r\n" + body;
    const ExchangeResult exchange = Exchange(request,
                                             [](CProbeService& s)
                                             {
                                                 int value = -1;
                                                 EXPECT_TRUE(s.GetParameter("rows", value));
                                                 EXPECT_EQ(value, 12);
                                                 EXPECT_TRUE(s.GetParameter("cols", value));
                                                 EXPECT_EQ(value, -4);
                                                 EXPECT_TRUE(s.GetParameter("width", value));
                                                 EXPECT_EQ(value, 9);
                                                 EXPECT_TRUE(s.GetParameter("label", value));
                                                 EXPECT_EQ(value, 0);
                                                 value = -1;
                                                 EXPECT_FALSE(s.GetParameter("missing", value));
                                                 EXPECT_EQ(value, 0);
                                                 QString label;
                                                 EXPECT_TRUE(s.GetFormParameter("label", label));
                                                 EXPECT_EQ(label, "a b");
                                             });
    EXPECT_TRUE(exchange.handled);
}

TEST(HttpService, ReadsFormBodyWhateverTheParametersOfItsType)
{
    const struct
    {
        QByteArray type;
        bool read;
    } cases[] = {
        {"application/x-www-form-urlencoded", true},
        {"application/x-www-form-urlencoded; charset=UTF-8", true},
        {"Application/X-WWW-Form-Urlencoded;charset=utf-8", true},
        {"text/plain; charset=UTF-8", false},
        {"application/x-www-form-urlencoded-extra", false},
    };
    for (const auto& c : cases)
    {
        QString value;
        Exchange(Request("POST /form HTTP/1.1", "Content-Type: " + c.type + "\r\nContent-Length: 11\r\n") +
                     "name=%C3%A9",
                 [&](CProbeService& s) { s.GetFormParameter("name", value); });
        EXPECT_EQ(value, c.read ? QString(QChar(0xE9)) : QString()) << c.type.constData();
    }
}

TEST(HttpService, StoresKnownHeadersTrimmedAndLastValueWins)
{
    Exchange(Request("GET / HTTP/1.1", "content-TYPE:   text/plain  \r\nX-Unknown: 1\r\nAccept: a\r\n"
                                       "Accept: b\r\nReferer:\r\n"),
             [](CProbeService& s)
             {
                 QString value;
                 EXPECT_TRUE(s.GetRequestHeader(HttpHeader::ContentType, value));
                 EXPECT_EQ(value, "text/plain");
                 EXPECT_TRUE(s.GetRequestHeader(HttpHeader::Accept, value));
                 EXPECT_EQ(value, "b");
                 EXPECT_TRUE(s.GetRequestHeader(HttpHeader::Referer, value));
                 EXPECT_EQ(value, "");
                 EXPECT_FALSE(s.GetRequestHeader(HttpHeader::UserAgent, value));
             });
    EXPECT_EQ(CHttpServiceBase::GetHeaderId("x-unknown"), 0);
    EXPECT_EQ(CHttpServiceBase::GetHeaderId("WWW-AUTHENTICATE"), HttpHeader::WWWAuthenticate);
    EXPECT_EQ(CHttpServiceBase::GetHeaderName(HttpHeader::ContentMD5), "Content-MD5");
}

TEST(HttpService, RequestPathResolvesDotSegmentsAndDecodesEscapes)
{
    const struct
    {
        QByteArray target;
        QString path;
    } cases[] = {
        {"/", "/"},
        {"/newsletter.kvnl?kvlettermode=edit", "/newsletter.kvnl?kvlettermode=edit"},
        {"/a/../img/my%20photo.png?pid=%7BAB%7D", "/img/my photo.png?pid={AB}"},
        {"/img/./caf%C3%A9.png", QString("/img/caf") + QChar(0xE9) + ".png"},
        {"/../../etc/passwd", "/etc/passwd"},
        {"no-slash.html", "/no-slash.html"},
    };
    for (const auto& c : cases)
    {
        Exchange(Request("GET " + c.target + " HTTP/1.1"),
                 [&](CProbeService& s)
                 {
                     QString host;
                     QString path;
                     ASSERT_TRUE(s.GetRequestPath(host, path)) << c.target.constData();
                     EXPECT_EQ(host, "localhost");
                     EXPECT_EQ(path, c.path) << c.target.constData();
                 });
    }
}

// Plain addresses take a shortcut past the URL parse; every answer must be the parse's own.
TEST(HttpService, RequestPathShortcutAnswersAsTheUrlParse)
{
    const struct
    {
        QString host;
        QString target;
    } cases[] = {
        {"127.0.0.1:8080", "/newsletter.kvnl"},
        {"localhost:8080", "/img/a.png?pid=AB12&size=2"},
        {"localhost", "/"},
        {"127.0.0.1:8080", "/x?"},
        {"127.0.0.1:65536", "/x"},
        {"127.0.0.1:08080", "/x"},
        {"127.0.0.1:", "/x"},
        {"127.0.0.01:80", "/x"},
        {"127.1:80", "/x"},
        {"256.0.0.1:80", "/x"},
        {"LOCALHOST:80", "/x"},
        {"localhost:80/", "/x"},
        {"localhost:80", "/a/./b/../c"},
        {"localhost:80", "/.hidden"},
        {"localhost:80", "//twice"},
        {"localhost:80", "relative"},
        {"localhost:80", "/a%20b?c=%7Bd%7D"},
        {"localhost:80", "/a+b?c+d"},
        {"localhost:80", "/x?a=/./b"},
        {"", "/x"},
        {"evil.example:80", "/x"},
    };
    for (const auto& c : cases)
    {
        QString host;
        QString path;
        QString urlHost;
        QString urlPath;
        const std::string name = (c.host + " " + c.target).toStdString();
        const bool split = SplitRequestPath(c.host, c.target, host, path);
        ASSERT_EQ(split, SplitRequestPathByUrl(c.host, c.target, urlHost, urlPath)) << name;
        if (split)
        {
            EXPECT_EQ(host, urlHost) << name;
            EXPECT_EQ(path, urlPath) << name;
        }
    }
}

TEST(HttpService, ThrowingStepEndsTheExchangeWithoutResponse)
{
    const ExchangeResult exchange =
        Exchange(Request("GET / HTTP/1.1"), [](CProbeService&) { throw CHttpServiceError(); });
    EXPECT_EQ(exchange.result, ExchangeEnd::Threw);
    EXPECT_TRUE(exchange.output.isEmpty());
}
