#include "webserver/NewsletterPage.h"

#include "webserver/PageGeneratorFixture.h"
#include "webserver/PageGeneratorXhtmlSupport.h"

#include <QDeadlineTimer>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
int FreeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    {
        ::close(fd);
        return 0;
    }
    ::close(fd);
    return ntohs(address.sin_port);
}

// One HTTP/1.0 GET on 127.0.0.1; the whole response, or empty when nobody answered.
QByteArray HttpGet(int port, const QByteArray& target)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    QByteArray response;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0)
    {
        const QByteArray request = "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
        if (::send(fd, request.constData(), size_t(request.size()), 0) == request.size())
        {
            char buffer[65536];
            ssize_t got = 0;
            while ((got = ::recv(fd, buffer, sizeof(buffer), 0)) > 0)
                response.append(buffer, got);
        }
    }
    ::close(fd);
    return response;
}

class PhpServer
{
public:
    explicit PhpServer(const QString& root)
    {
        m_port = FreeLoopbackPort();
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(
            QStringLiteral("php"),
            {QStringLiteral("-S"), QStringLiteral("127.0.0.1:%1").arg(m_port), QStringLiteral("-t"), root});
    }
    ~PhpServer()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    // Waits for the server to answer; false when it never did.
    bool WaitUntilReady()
    {
        const QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired())
        {
            if (m_process.state() == QProcess::NotRunning)
                return false;
            if (!HttpGet(m_port, "/ready.txt").isEmpty())
                return true;
            QThread::msleep(50);
        }
        return false;
    }
    QByteArray Body(const QByteArray& target) const
    {
        const QByteArray response = HttpGet(m_port, target);
        return response.mid(response.indexOf("\r\n\r\n") + 4);
    }

private:
    QProcess m_process;
    int m_port{0};
};

TEST(PageGeneratorPhp, WebViewIsMergedFromTheQueryWithValuesEscaped)
{
    CFixtureNewsletter newsletter;
    fixture::FillFixtureNewsletter(newsletter);
    newsletter.SetSenderText(SenderUnsubscribeTextField, QStringLiteral("Bye ${x} \\ \"quoted\"\nfor now"));
    CPageContext context;
    context.SetServerPort(fixture::Port);
    context.SetCurrentNewsletter(&newsletter);
    QString page;
    MergeFieldSet used;
    const LinkTrackerMap trackers = fixture::FixtureTrackers();
    ASSERT_TRUE(GenerateNewsletterPage(QStringLiteral("Kelvora"), page, WebView, context, newsletter, &used,
                                       &trackers));

    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QFile script(root.filePath(QStringLiteral("index.php")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(page.toUtf8());
    script.close();
    QFile ready(root.filePath(QStringLiteral("ready.txt")));
    ASSERT_TRUE(ready.open(QIODevice::WriteOnly));
    ready.write("ok");
    ready.close();

    PhpServer server(root.path());
    ASSERT_TRUE(server.WaitUntilReady());
    const QByteArray merged =
        server.Body("/index.php?u=a%40b.example%22%3E%3Cx&fc_110=%3Cscript%3Ealert(1)%3C/"
                    "script%3E&fc_120=Tom+%26+%22Jerry%22&unsub=true");
    EXPECT_TRUE(merged.contains(
        "Dear &lt;script&gt;alert(1)&lt;/script&gt;, welcome to Tom &amp; &quot;Jerry&quot;."))
        << merged.constData();
    EXPECT_FALSE(merged.contains("<script>"));
    EXPECT_TRUE(
        merged.contains("href=\"http://www.example.com/admin/v.php?u=a%40b.example%22%3E%3Cx&amp;t=T42\""));
    EXPECT_TRUE(merged.contains("class=\"normal\">Bye ${x} \\ &quot;quoted&quot;<br />for now</div>"));
    for (const char* complaint : {"Warning", "Fatal", "Deprecated", "Notice", "Parse error"})
        EXPECT_FALSE(merged.contains(complaint)) << complaint;
    EXPECT_EQ(XhtmlValidationErrors(merged), QString());

    // Without a query the fields are empty and the banner stays hidden; an array in the query
    // reads as empty instead of failing.
    const QByteArray plain = server.Body("/index.php?fc_110[]=1");
    EXPECT_TRUE(plain.contains("<p>Dear , welcome to .</p>")) << plain.constData();
    EXPECT_FALSE(plain.contains("Bye"));
    EXPECT_FALSE(plain.contains("Fatal"));
}
} // namespace
