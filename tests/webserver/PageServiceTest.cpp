#include "PageServerSupport.h"
#include "webserver/RawClient.h"

#include "charts/ChartQuery.h"
#include "charts/PieChartStyle.h"
#include "webserver/KVHttpService.h"

#include <QImage>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace PageServerTest;

namespace
{
QImage DecodePng(const QByteArray& bytes)
{
    return QImage::fromData(bytes, "PNG");
}
} // namespace

TEST_F(PageServer, ServesNewsletterPageUnderItsExactFileName)
{
    m_context.SetCurrentDocument(MakeNewsletter());
    for (const QString& path :
         {QStringLiteral("/spring.kvnl"), QStringLiteral("/spring.kvnl?kvlettermode=edit"),
          QStringLiteral("/spring.kvnl?x=1&kvlettermode=edit")})
    {
        const Fetched fetched = Fetch(m_port, path);
        ASSERT_EQ(fetched.exitCode, 0) << qPrintable(path);
        EXPECT_EQ(fetched.response.statusLine, "HTTP/1.1 200 OK") << qPrintable(path);
        EXPECT_EQ(fetched.response.Header("Content-Type"), "text/html; charset=utf-8");
        EXPECT_EQ(fetched.response.Header("Cache-Control"), "no-cache");
        EXPECT_EQ(fetched.response.Header("Content-Length"),
                  QByteArray::number(fetched.response.body.size()));
        EXPECT_TRUE(fetched.response.body.contains(QString("Fresh \u20AC offers").toUtf8()))
            << qPrintable(path);
    }
    const Fetched wrongCase = Fetch(m_port, "/Spring.kvnl");
    EXPECT_EQ(wrongCase.response.statusLine, "HTTP/1.1 404 Not Found");
}

TEST_F(PageServer, NewsletterPagesFollowEveryChangeOfTheDocument)
{
    m_context.SetCurrentDocument(MakeNewsletter());
    const auto expectPages = [this](const QString& text)
    {
        for (const auto& [path, kind] : {std::pair{"/spring.kvnl", 0}, {"/spring.kvnl?kvlettermode=edit", 1}})
        {
            for (int request = 0; request < 2; ++request)
            {
                const QByteArray body = Fetch(m_port, path).response.body;
                EXPECT_TRUE(body.contains(text.toUtf8())) << path;
                const auto lock = m_context.ReadDocument();
                EXPECT_EQ(
                    body,
                    GenerateLocalNewsletterPage(m_context, *m_context.GetCurrentNewsletter(), kind).toUtf8())
                    << path;
            }
        }
    };
    expectPages("Fresh \u20AC offers");
    {
        const auto lock = m_context.WriteDocument();
        m_context.GetCurrentNewsletter()->Layout().SetField(
            ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral("<html><body><p>Changed</p></body></html>")));
    }
    expectPages("Changed");
    // Another newsletter under the same file name.
    auto other = MakeNewsletter();
    other->Layout().SetField(
        ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral("<html><body><p>Replaced</p></body></html>")));
    m_context.SetCurrentDocument(std::move(other));
    expectPages("Replaced");
}

TEST_F(PageServer, ServesResourcesWithAndWithoutPipelineId)
{
    QString pipelineId;
    m_context.SetCurrentDocument(MakeNewsletter(&pipelineId));
    const QByteArray logo =
        m_context.GetCurrentNewsletter()->Layout().FindResourceByPath("img/logo.png")->GetPayload();

    const Fetched plain = Fetch(m_port, "/img/logo.png");
    EXPECT_EQ(plain.response.statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(plain.response.Header("Content-Type"), "image/png");
    EXPECT_EQ(plain.response.Header("Accept-Ranges"), "bytes");
    EXPECT_EQ(plain.response.body, logo);

    const Fetched text = Fetch(m_port, "/files/readme.txt");
    EXPECT_EQ(text.response.Header("Content-Type"), "text/plain");
    EXPECT_EQ(text.response.body, ReadmeText);

    // The pipeline id may arrive in any letter case and is rendered once; an unknown pipeline
    // serves the plain image.
    const struct
    {
        QString id;
        QSize size;
    } cases[] = {
        {pipelineId, QSize(64, 48)},
        {pipelineId.toUpper(), QSize(64, 48)},
        {"0123456789abcdef", QSize(40, 30)},
    };
    QByteArray rendered;
    for (const auto& c : cases)
    {
        const Fetched effect = Fetch(m_port, "/img/logo.png?pid=" + c.id);
        EXPECT_EQ(effect.response.statusLine, "HTTP/1.1 200 OK") << qPrintable(c.id);
        EXPECT_EQ(effect.response.Header("Content-Type"), "image/png");
        EXPECT_EQ(DecodePng(effect.response.body).size(), c.size) << qPrintable(c.id);
        if (c.size == QSize(64, 48))
        {
            EXPECT_TRUE(rendered.isEmpty() || rendered == effect.response.body);
            rendered = effect.response.body;
        }
    }
    EXPECT_EQ(m_context.GetRenderedImageCount(), 1);
    EXPECT_EQ(Fetch(m_port, "/img/missing.png?pid=" + pipelineId).response.statusLine,
              "HTTP/1.1 404 Not Found");
}

TEST_F(PageServer, ServesWebStoreEntriesWithTheirContentType)
{
    m_context.PutPageInWebStore("report.htm", "<p>old</p>");
    m_context.PutPageInWebStore("report.htm", QString("<p>Gr\u00FC\u00DFe \u20AC</p>"));
    m_context.StoreInWebStore("data/chart.xml", "<chart/>", "text/xml");

    const Fetched page = Fetch(m_port, "/webstore/report.htm");
    EXPECT_EQ(page.response.statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(page.response.Header("Content-Type"), "text/html; charset=utf-8");
    EXPECT_EQ(page.response.body, QString("<p>Gr\u00FC\u00DFe \u20AC</p>").toUtf8());

    const Fetched xml = Fetch(m_port, "/webstore/data/chart.xml");
    EXPECT_EQ(xml.response.Header("Content-Type"), "text/xml");
    EXPECT_EQ(xml.response.body, "<chart/>");

    // Names are exact; one that is not stored falls through to the index page.
    EXPECT_EQ(Fetch(m_port, "/webstore/Report.htm").response.statusLine, "HTTP/1.1 404 Not Found");
}

TEST_F(PageServer, DrawsChartsAsPngOfTheRequestedSize)
{
    const CPieChartStyle pie;
    const struct
    {
        const char* query;
        QSize size;
    } cases[] = {
        {"type=0&cols=1&rows=3&i_0=Sent&d_0_0=12&i_1=Opened&y_1=255&d_0_1=5", QSize(700, 3 * 50 + 60)},
        {"type=0&cols=1&rows=2&widthtotal=500&widthbar=300", QSize(500, 2 * 50 + 60)},
        {"type=1&cols=1&rows=10&d_0_3=7&numbetweendivisor=2", QSize(700, 300)},
        {"type=2&cols=1&rows=2&i_0=Read&d_0_0=3&i_1=Unread&d_0_1=1",
         QSize(pie.GetImageWidth(), pie.GetImageHeight())},
    };
    for (const auto& c : cases)
    {
        const Fetched chart = Fetch(m_port, QString("/kvgraph.png?") + c.query);
        ASSERT_EQ(chart.response.statusLine, "HTTP/1.1 200 OK") << c.query;
        EXPECT_EQ(chart.response.Header("Content-Type"), "image/png");
        EXPECT_EQ(chart.response.Header("Accept-Ranges"), "bytes");
        EXPECT_EQ(chart.response.Header("Cache-Control"), "no-cache");
        EXPECT_EQ(DecodePng(chart.response.body).size(), c.size) << c.query;
    }
    // A form posted to the chart address counts like its query.
    const Fetched posted = Fetch(m_port, "/kvgraph?type=2", {"--data", "cols=1&rows=2&d_0_0=4&d_0_1=1"});
    EXPECT_EQ(posted.response.statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(DecodePng(posted.response.body).size(), QSize(pie.GetImageWidth(), pie.GetImageHeight()));
}

TEST_F(PageServer, AnswersHostileChartQueriesWithErrorPageAndIncompleteOnesWithIndex)
{
    const QString tooLarge[] = {
        QString("type=0&cols=1&rows=%1").arg(CChartQuery::MaxRows + 1),
        QString("type=1&cols=%1&rows=1").arg(CChartQuery::MaxColumns + 1),
        QString("type=0&cols=1&rows=2&widthtotal=%1").arg(CChartQuery::MaxImageWidth + 1),
        "type=0&cols=1&rows=2&widthtotal=-5",
        "type=0&cols=1&rows=2&widthbar=100000",
        "type=0&cols=1&rows=2&d_0_0=-1",
        "type=2&cols=1&rows=1&i_0=" + QString(CChartQuery::MaxLabelLength + 1, 'x'),
        "type=0&cols=1&rows=2147483647&d_0_0=<b>",
        // The label column of this one is only positive when its width is worked out in 32 bits.
        "type=0&cols=1&rows=2&widthtotal=3&widthbar=2147483646",
    };
    for (const QString& query : tooLarge)
    {
        const Fetched refused = Fetch(m_port, "/kvgraph?" + query);
        EXPECT_EQ(refused.response.statusLine, "HTTP/1.1 400 Bad Request") << qPrintable(query.left(80));
        EXPECT_EQ(refused.response.Header("Content-Type"), "text/html; charset=utf-8");
        EXPECT_TRUE(refused.response.body.contains("Chart not drawn"));
        EXPECT_LT(refused.response.body.size(), 4000);
    }
    for (const char* query :
         {"type=0&cols=1", "type=0&cols=0&rows=2", "type=3&cols=1&rows=2", "cols=1&rows=2"})
    {
        const Fetched index = Fetch(m_port, QString("/kvgraph?") + query);
        EXPECT_EQ(index.response.statusLine, "HTTP/1.1 404 Not Found") << query;
        EXPECT_TRUE(index.response.body.contains("Object Not Found!")) << query;
    }
}

TEST_F(PageServer, OnlyThePathBeforeTheQueryAsksForAChart)
{
    m_context.SetCurrentDocument(MakeNewsletter());
    m_context.PutPageInWebStore("kvgraph.htm", "<p>stored</p>");
    const QString chart = "kvgraph&type=2&cols=1&rows=1&d_0_0=1";
    const struct
    {
        QString path;
        QByteArray statusLine;
        QByteArray contentType;
    } cases[] = {
        {"/spring.kvnl?" + chart, "HTTP/1.1 200 OK", "text/html; charset=utf-8"},
        {"/img/logo.png?x=" + chart, "HTTP/1.1 404 Not Found", "text/html; charset=utf-8"},
        {"/nothing?" + chart, "HTTP/1.1 404 Not Found", "text/html; charset=utf-8"},
        {"/webstore/report.htm?" + chart, "HTTP/1.1 404 Not Found", "text/html; charset=utf-8"},
        {"/webstore/kvgraph.htm", "HTTP/1.1 200 OK", "text/html; charset=utf-8"},
        {"/reports/kvgraph?type=2&cols=1&rows=1", "HTTP/1.1 200 OK", "image/png"},
    };
    for (const auto& c : cases)
    {
        const Fetched fetched = Fetch(m_port, c.path);
        EXPECT_EQ(fetched.response.statusLine, c.statusLine) << qPrintable(c.path);
        EXPECT_EQ(fetched.response.Header("Content-Type"), c.contentType) << qPrintable(c.path);
    }
}

TEST_F(PageServer, IndexPageLinksStayOnThisServer)
{
    auto newsletter = MakeNewsletter();
    newsletter->Layout().AddResource(MakeResource("/evil.example/x.png", "image/png", "one"));
    newsletter->Layout().AddResource(MakeResource("//evil.example/y.png", "image/png", "two"));
    newsletter->Layout().AddResource(MakeResource("\\evil.example/z.png", "image/png", "three"));
    m_context.SetCurrentDocument(std::move(newsletter));

    const QByteArray body = Fetch(m_port, "/nothing-here").response.body;
    const QRegularExpression hrefs("href=\"([^\"]*)\"");
    QStringList links;
    for (const auto& match : hrefs.globalMatch(QString::fromUtf8(body)))
        links.append(match.captured(1).replace("&amp;", "&"));
    ASSERT_EQ(links.size(), 10) << qPrintable(links.join(' '));
    const QByteArray expected[] = {"one", "two", "three"};
    for (const QString& link : links)
    {
        EXPECT_TRUE(link.startsWith('/') && !link.startsWith("//")) << qPrintable(link);
        EXPECT_FALSE(link.contains('\\')) << qPrintable(link);
        // Each link still reaches its resource on this server.
        const QUrl resolved = QUrl("http://127.0.0.1/").resolved(QUrl(link));
        EXPECT_EQ(resolved.host(), "127.0.0.1") << qPrintable(link);
        const Fetched fetched = Fetch(m_port, link);
        EXPECT_EQ(fetched.response.statusLine, "HTTP/1.1 200 OK") << qPrintable(link);
        if (link.contains("evil.example") && !link.contains("?pid="))
        {
            EXPECT_TRUE(std::find(std::begin(expected), std::end(expected), fetched.response.body) !=
                        std::end(expected))
                << qPrintable(link);
        }
    }
}

TEST_F(PageServer, IndexPageEscapesThePathAndListsTheNewsletter)
{
    const Fetched empty = Fetch(m_port, "/%3Cscript%3Ealert(1)%3C/script%3E");
    EXPECT_EQ(empty.response.statusLine, "HTTP/1.1 404 Not Found");
    EXPECT_EQ(empty.response.Header("Content-Type"), "text/html; charset=utf-8");
    EXPECT_TRUE(empty.response.body.contains("&lt;script&gt;alert(1)&lt;/script&gt;"));
    EXPECT_FALSE(empty.response.body.contains("<script>"));
    EXPECT_TRUE(empty.response.body.contains("<h2 style=\"color:red;\">No file loaded</h2>"));

    QString pipelineId;
    m_context.SetCurrentDocument(MakeNewsletter(&pipelineId, "Offers <b>&</b> more"));
    const QByteArray body = Fetch(m_port, "/nothing-here").response.body;
    EXPECT_TRUE(body.contains("<h2>Offers &lt;b&gt;&amp;&lt;/b&gt; more</h2>"));
    EXPECT_TRUE(body.contains("<p><a href=\"/img/logo.png\">img/logo.png</a></p>"));
    EXPECT_TRUE(body.contains("<p><a href=\"/files/readme.txt\">files/readme.txt</a></p>"));
    EXPECT_TRUE(body.contains(
        QString("<a href=\"/img/logo.png?pid=%1\">img/logo.png?pid=%1</a>").arg(pipelineId).toUtf8()));
    EXPECT_FALSE(body.contains("No file loaded"));
}

TEST_F(PageServer, RefusesRequestsItCannotServeWithAStatus)
{
    const QByteArray port = QByteArray::number(m_port);
    const QByteArray otherPort = QByteArray::number(m_port == 65535 ? 1 : m_port + 1);
    const struct
    {
        const char* what;
        QByteArray request;
        QByteArray statusLine;
    } cases[] = {
        {"unknown method", "BREW /spring.kvnl HTTP/1.1\r\n" + HostLine() + "\r\n",
         "HTTP/1.1 501 Not Implemented"},
        {"no version", "GET /spring.kvnl\r\n" + HostLine() + "\r\n", "HTTP/1.1 400 Bad Request"},
        {"header without colon", "GET /spring.kvnl HTTP/1.1\r\n" + HostLine() + "Garbage\r\n\r\n",
         "HTTP/1.1 400 Bad Request"},
        {"request line too long",
         "GET /kvgraph?" + QByteArray(70000, 'a') + " HTTP/1.1\r\n" + HostLine() + "\r\n",
         "HTTP/1.1 414 Request-URI Too Large"},
        {"header too long",
         "GET /spring.kvnl HTTP/1.1\r\n" + HostLine() + "Referer: " + QByteArray(70000, 'r') + "\r\n\r\n",
         "HTTP/1.1 431 Request Header Fields Too Large"},
        {"foreign host", "GET /spring.kvnl HTTP/1.1\r\nHost: evil.example:" + port + "\r\n\r\n",
         "HTTP/1.1 400 Bad Request"},
        {"host under a foreign name",
         "GET /spring.kvnl HTTP/1.1\r\nHost: localhost.evil.example:" + port + "\r\n\r\n",
         "HTTP/1.1 400 Bad Request"},
        {"other port", "GET /spring.kvnl HTTP/1.1\r\nHost: 127.0.0.1:" + otherPort + "\r\n\r\n",
         "HTTP/1.1 400 Bad Request"},
        {"no port", "GET /spring.kvnl HTTP/1.1\r\nHost: localhost\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"port with more", "GET /spring.kvnl HTTP/1.1\r\nHost: localhost:" + port + "x\r\n\r\n",
         "HTTP/1.1 400 Bad Request"},
        {"no host", "GET /spring.kvnl HTTP/1.1\r\n\r\n", "HTTP/1.1 400 Bad Request"},
    };
    m_context.SetCurrentDocument(MakeNewsletter());
    for (const auto& c : cases)
    {
        const HttpResponseText response = HttpResponseText::Parse(SendRaw(m_port, c.request));
        EXPECT_EQ(response.statusLine, c.statusLine) << c.what;
        EXPECT_EQ(response.Header("Connection"), "close") << c.what;
        EXPECT_EQ(response.body, QByteArray()) << c.what;
    }
    const Fetched rebound =
        Fetch(m_port, "/spring.kvnl", {"--header", "Host: attacker.example:" + QString::number(m_port)});
    EXPECT_EQ(rebound.response.statusLine, "HTTP/1.1 400 Bad Request");
    EXPECT_EQ(rebound.response.body, QByteArray());

    for (const QByteArray& host : {"127.0.0.1:" + port, "LOCALHOST:" + port})
        EXPECT_TRUE(SendRaw(m_port, "GET /spring.kvnl HTTP/1.1\r\nHost: " + host + "\r\n\r\n")
                        .startsWith("HTTP/1.1 200 OK"))
            << host.constData();
}

TEST_F(PageServer, SlowClientsOfThisAccountNeverStallTheNewsletterPage)
{
    constexpr int SlowPosts = 100;
    constexpr int SlowHeads = 1000;
    RawClient::AllowOpenFiles(4 * (SlowPosts + SlowHeads));
    m_context.SetCurrentDocument(MakeNewsletter());
    // A slow post announces the largest form body and sends one byte of it; a slow head sends
    // the first line of its request and nothing more.
    const QByteArray slowPost = "POST /spring.kvnl HTTP/1.1\r\n" + HostLine() +
                                "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                                QByteArray::number(CHttpServiceBase::MaxFormBodyBytes) + "\r\n\r\nx";
    const QByteArray slowHead = "GET /spring.kvnl HTTP/1.1\r\n";
    std::vector<int> clients;
    for (int i = 1; i <= SlowPosts + SlowHeads; ++i)
    {
        clients.push_back(RawClient::Connect(m_port));
        ASSERT_GE(clients.back(), 0) << i;
        RawClient::SendAll(clients.back(), i <= SlowPosts ? slowPost : slowHead);
        if (i % 100 != 0)
            continue;
        // A generous bound: the page takes far less than a second even on a loaded machine, and
        // a stalled server would answer only after the slow clients' time-outs.
        const Fetched page = Fetch(m_port, "/spring.kvnl", {"--max-time", "5"});
        EXPECT_EQ(page.exitCode, 0) << "with " << i << " slow clients";
        EXPECT_TRUE(page.response.body.contains(QString("Fresh \u20AC offers").toUtf8())) << i;
    }
    for (int handle : clients)
        close(handle);
}

TEST_F(PageServer, ServesWhileTheUiThreadReplacesDocumentAndWebStore)
{
    QString pipelineId;
    m_context.SetCurrentDocument(MakeNewsletter(&pipelineId));
    m_context.PutPageInWebStore("live.htm", "<p>0</p>");
    const QByteArray effect = "/img/logo.png?pid=" + pipelineId.toLatin1();
    std::atomic<bool> done{false};
    std::atomic<int> answered{0};
    std::atomic<int> failures{0};
    std::vector<std::thread> clients;
    for (int i = 0; i < 8; ++i)
    {
        clients.emplace_back(
            [&, i]
            {
                const QByteArray paths[] = {"/spring.kvnl", effect, "/webstore/live.htm", "/nothing",
                                            "/img/logo.png"};
                while (!done)
                {
                    const QByteArray reply =
                        SendRaw(m_port, "GET " + paths[i % 5] + " HTTP/1.1\r\n" + HostLine() + "\r\n");
                    if (reply.startsWith("HTTP/1.1 200 OK") || reply.startsWith("HTTP/1.1 404 Not Found"))
                        ++answered;
                    else
                        ++failures;
                }
            });
    }
    for (int round = 0; answered < 150 && failures == 0; ++round)
    {
        m_context.SetCurrentDocument(round % 3 == 2 ? nullptr : MakeNewsletter());
        m_context.PutPageInWebStore("live.htm", QString("<p>%1</p>").arg(round));
        if (round % 50 == 0)
            m_context.ClearWebStore();
    }
    done = true;
    for (std::thread& client : clients)
        client.join();
    EXPECT_EQ(failures, 0);
    EXPECT_GE(answered, 150);
}
