#include "support/NewsletterSite.h"

#include "platform/ui/HtmlDocument.h"
#include "platform/ui/IEBrowser.h"
#include "platform/ui/WinConstants.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{
constexpr qsizetype MaxMarkup = 8 * 1024 * 1024;

// A parent window that records the browser's completion messages.
class CRecordingParent : public CWnd
{
public:
    QStringList completedUrls;
    QEventLoop* waiting{nullptr};

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != UM_BROWSER_DOCUMENT_COMPLETE)
            return CWnd::WindowProc(message, wParam, lParam);
        completedUrls.append(*reinterpret_cast<const QString*>(lParam));
        if (waiting)
            waiting->quit();
        return 0;
    }
};
} // namespace

TEST(IEBrowser, ReportsTheCompletedDocumentToItsParentAndHandsItOut)
{
    NewsletterSite site;
    CRecordingParent parent;
    ASSERT_TRUE(parent.Create(QString(), QString(), WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    CIEBrowser browser;
    std::unique_ptr<CHtmlDocument> document;
    EXPECT_FALSE(browser.Navigate(site.Url(NewsletterSite::PagePath))) << "not created yet";
    ASSERT_TRUE(browser.Create(QString(), WS_POPUP, CRect(0, 0, 10, 10), &parent, 1111));
    EXPECT_EQ(browser.GetStyle() & (WS_POPUP | WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(browser.GetDlgCtrlID(), 1111u);
    EXPECT_FALSE(browser.GetDHtmlDocument(document)) << "nothing loaded yet";

    QEventLoop loop;
    parent.waiting = &loop;
    ASSERT_TRUE(browser.Navigate(site.Url(NewsletterSite::PagePath)));
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    parent.waiting = nullptr;
    ASSERT_EQ(parent.completedUrls, QStringList{site.Url(NewsletterSite::PagePath)});

    ASSERT_TRUE(browser.GetDHtmlDocument(document));
    QString type;
    QString body;
    ASSERT_TRUE(document->GetContentType(type));
    EXPECT_EQ(type, "text/html");
    ASSERT_TRUE(document->GetBodyInnerHtml(body, MaxMarkup));
    EXPECT_TRUE(body.contains("Spring news"));
    EXPECT_FALSE(document->GetBodyInnerHtml(body, 10)) << "longer than the maximum";
}

TEST(IEBrowser, PageMarkupIsTheLiveDocument)
{
    NewsletterSite site;
    QString markup;
    ASSERT_TRUE(LoadPageMarkup(site.Url(NewsletterSite::PagePath), markup, 60000, MaxMarkup));
    EXPECT_TRUE(markup.contains("<body")) << markup.toStdString();
    // The page's script ran as it would in a browser.
    EXPECT_TRUE(markup.contains("changed by the page"));
}

TEST(IEBrowser, ThePagesScriptsCannotChangeWhatIsRead)
{
    NewsletterSite site;
    site.Write("trap.html", R"html(<html><body><p>real text</p><script>
const forged = 'FOR' + 'GED';
for (const name of ['innerHTML', 'outerHTML'])
    Object.defineProperty(Element.prototype, name, { get() { return forged; } });
document.getElementsByTagName = function () { return [{ innerHTML: forged }]; };
</script></body></html>)html");
    QString markup;
    ASSERT_TRUE(LoadPageMarkup(site.Url("trap.html"), markup, 60000, MaxMarkup));
    EXPECT_TRUE(markup.contains("real text")) << markup.toStdString();
    EXPECT_FALSE(markup.contains("FORGED"));
}

TEST(IEBrowser, PagesThatGiveNoHtmlFail)
{
    NewsletterSite site;
    QTcpServer refusing;
    ASSERT_TRUE(refusing.listen(QHostAddress::LocalHost));
    const QString refusedUrl = QStringLiteral("http://127.0.0.1:%1/").arg(refusing.serverPort());
    refusing.close();

    const QString cases[] = {
        site.Url("news/img/logo.png"), // an image, not a page
        site.Url("news/css/site.css"), // a style sheet
        site.Url("news/absent.html"),  // 404: the error page is no document of the site
        refusedUrl,                    // nobody listens
        "not a url",
    };
    for (const QString& url : cases)
    {
        QString markup;
        EXPECT_FALSE(LoadPageMarkup(url, markup, 60000, MaxMarkup)) << url.toStdString();
    }
}

TEST(IEBrowser, APageThatNeverAnswersFailsWithinTheTimeOut)
{
    // Accepts connections and never says a word.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    QList<QTcpSocket*> held;
    QObject::connect(&silent, &QTcpServer::newConnection,
                     [&]
                     {
                         while (QTcpSocket* socket = silent.nextPendingConnection())
                             held.append(socket);
                     });
    QElapsedTimer clock;
    clock.start();
    QString markup;
    EXPECT_FALSE(LoadPageMarkup(QStringLiteral("http://127.0.0.1:%1/").arg(silent.serverPort()), markup, 2000,
                                MaxMarkup));
    EXPECT_LT(clock.elapsed(), 60000);
    EXPECT_TRUE(markup.isEmpty());
}
