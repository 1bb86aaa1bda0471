#include "PageServerSupport.h"
#include "support/PageAnswer.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>

using namespace PageServerTest;

TEST_F(PageServer, BrowserLoadsTheNewsletterPageAndReadsItsTitle)
{
    m_context.SetCurrentDocument(MakeNewsletter());

    QWebEngineProfile profile;
    QWebEnginePage page(&profile);
    QEventLoop loop;
    bool loaded = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, &loop,
                     [&](bool ok)
                     {
                         loaded = ok;
                         loop.quit();
                     });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    page.load(QUrl(m_context.MakeServerUrl(FileName)));
    loop.exec();
    ASSERT_TRUE(loaded);

    EXPECT_EQ(PageAnswer(&page, QStringLiteral("document.title"), 30000).value_or(QVariant()).toString(),
              Title);
    EXPECT_EQ(page.title(), Title);
}
