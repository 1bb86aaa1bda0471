#include "platform/ui/HtmlDocument.h"
#include "platform/ui/IEBrowser.h"
#include "platform/ui/WinConstants.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>
#include <gtest/gtest.h>

namespace
{
constexpr UINT BrowserId = 1234;
constexpr int LoadTimeoutMs = 60000;

// A shown window around the browser that records what the browser tells it and answers with the
// replies a test sets.
class CBrowserHost : public CWnd
{
public:
    QStringList beforeNavigate;
    QStringList completed;
    std::vector<WPARAM> senderIds;
    int contextMenus = 0;
    std::unique_ptr<CHtmlEventObj> contextEvent;
    std::function<LRESULT(const QString&)> navigateReply = [](const QString&) { return LRESULT(0); };
    LRESULT contextMenuReply = 0;
    CIEBrowser browser;

    CBrowserHost()
    {
        Create(QString(), QString(), WS_POPUP | WS_VISIBLE, CRect(0, 0, 420, 320), nullptr, 0);
        browser.Create(QString(), 0, CRect(0, 0, 420, 320), this, BrowserId);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(GetSafeHwnd()));
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case UM_BROWSER_BEFORE_NAVIGATE:
        {
            senderIds.push_back(wParam);
            const QString url = *reinterpret_cast<const QString*>(lParam);
            beforeNavigate.append(url);
            return navigateReply(url);
        }
        case UM_BROWSER_DOCUMENT_COMPLETE:
            senderIds.push_back(wParam);
            completed.append(*reinterpret_cast<const QString*>(lParam));
            return 0;
        case UM_BROWSER_CONTEXT_MENU:
            senderIds.push_back(wParam);
            ++contextMenus;
            contextEvent = browser.GetEvent();
            return contextMenuReply;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
    }

    bool NavigateAndWait(const QString& url)
    {
        const qsizetype before = completed.size();
        return browser.Navigate(url) &&
               QTest::qWaitFor([&] { return completed.size() > before; }, LoadTimeoutMs);
    }

    QString BodyText()
    {
        std::unique_ptr<CHtmlDocument> document;
        QString body;
        if (browser.GetDHtmlDocument(document))
            document->GetBodyInnerHtml(body, 1 << 20);
        return body;
    }

    // The widget of the engine that takes the page's mouse and keys.
    QWidget* PageWidget() { return browser.GetSafeHwnd()->focusProxy(); }
};

class Pages
{
public:
    Pages()
    {
        Write("a.htm", "<html><body><p>Page A</p><a id='b' href='b.htm'>to B</a></body></html>");
        Write("b.htm", "<html><body><p>Page B</p></body></html>");
        Write("framed.htm", "<html><body><p>Framed</p><iframe src='b.htm'></iframe></body></html>");
        Write("text.htm", "<html><body style='margin:0'><p style='font-size:40px;margin:0'>Copy me</p>"
                          "<p>and print me</p></body></html>");
    }
    QString Url(const QString& name) const { return QUrl::fromLocalFile(m_dir.filePath(name)).toString(); }

private:
    void Write(const QString& name, const QByteArray& text)
    {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(text);
    }
    QTemporaryDir m_dir;
};

// Runs the action, which opens a modal window, and hands the window of that type to the check
// while it is up; the check must close it.
template <class Window>
bool WhileModalIsUp(const std::function<void()>& action, const std::function<void(Window*)>& check)
{
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
                             window && !seen)
                         {
                             seen = true;
                             check(window);
                         }
                     });
    poll.start(50);
    action();
    return seen;
}
} // namespace

TEST(IEBrowserCommands, TheParentDecidesOnEachTopLevelNavigation)
{
    Pages pages;
    CBrowserHost host;
    host.navigateReply = [](const QString& url)
    {
        if (url.endsWith("b.htm"))
            return LRESULT(1); // cancels
        if (url.endsWith("framed.htm"))
            return LRESULT(2); // any other reply lets it load
        return LRESULT(0);
    };
    ASSERT_TRUE(host.NavigateAndWait(pages.Url("a.htm")));
    EXPECT_EQ(host.beforeNavigate, QStringList{pages.Url("a.htm")});

    // Going to B is asked about and refused: A stays.
    host.beforeNavigate.clear();
    QSignalSpy loads(qobject_cast<QWebEngineView*>(host.browser.GetSafeHwnd())->page(),
                     &QWebEnginePage::loadFinished);
    ASSERT_TRUE(host.browser.Navigate(pages.Url("b.htm")));
    // The engine ends the refused load; its messages would have come before.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !loads.isEmpty(); }, LoadTimeoutMs));
    EXPECT_FALSE(loads.first().first().toBool());
    EXPECT_EQ(host.beforeNavigate, QStringList{pages.Url("b.htm")});
    EXPECT_FALSE(host.completed.contains(pages.Url("b.htm")));
    EXPECT_TRUE(host.BodyText().contains("Page A"));

    // The page's frame loads B without asking; only the top-level document is reported.
    host.beforeNavigate.clear();
    ASSERT_TRUE(host.NavigateAndWait(pages.Url("framed.htm")));
    EXPECT_EQ(host.beforeNavigate, QStringList{pages.Url("framed.htm")});
    EXPECT_EQ(host.completed.last(), pages.Url("framed.htm"));
    for (WPARAM id : host.senderIds)
        EXPECT_EQ(id, BrowserId);
}

TEST(IEBrowserCommands, ContextMenuReplyDecidesWhetherTheEnginesMenuShows)
{
    Pages pages;
    CBrowserHost host;
    ASSERT_TRUE(host.NavigateAndWait(pages.Url("text.htm")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.PageWidget() != nullptr; }, LoadTimeoutMs));
    EXPECT_EQ(host.browser.GetEvent(), nullptr) << "no event outside a message";

    const QPoint click(60, 20);
    host.contextMenuReply = 0;
    QTest::mouseClick(host.PageWidget(), Qt::RightButton, Qt::NoModifier, click);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.contextMenus == 1; }, LoadTimeoutMs));
    ASSERT_NE(host.contextEvent, nullptr);
    const QPoint screen = host.browser.GetSafeHwnd()->mapToGlobal(click);
    EXPECT_EQ(QPoint(host.contextEvent->GetScreenX(), host.contextEvent->GetScreenY()), screen);
    EXPECT_EQ(QPoint(host.contextEvent->GetClientX(), host.contextEvent->GetClientY()), click);
    // The menu would come up in the same step as the question, right after the reply.
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a reply of 0 suppresses the menu";

    host.contextMenuReply = 1;
    QTest::mouseClick(host.PageWidget(), Qt::RightButton, Qt::NoModifier, click);
    ASSERT_TRUE(
        QTest::qWaitFor([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, 10000));
    QApplication::activePopupWidget()->close();
    EXPECT_EQ(host.contextMenus, 2);
}

TEST(IEBrowserCommands, CopyIsEnabledWithASelectionAndCopiesIt)
{
    Pages pages;
    CBrowserHost host;
    EXPECT_EQ(host.browser.QueryStatus(IDM_COPY), 0u) << "no document yet";
    EXPECT_EQ(host.browser.ExecCommand(IDM_COPY, OLECMDEXECOPT_DODEFAULT), E_FAIL);
    ASSERT_TRUE(host.NavigateAndWait(pages.Url("text.htm")));
    EXPECT_EQ(host.browser.QueryStatus(IDM_COPY), OLECMDF_SUPPORTED) << "nothing selected";
    EXPECT_EQ(host.browser.QueryStatus(9999), 0u) << "a command this control does not know";
    EXPECT_EQ(host.browser.ExecCommand(9999, OLECMDEXECOPT_DODEFAULT), E_NOTIMPL);

    // Ctrl+A in the page selects all its text.
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.PageWidget() != nullptr; }, LoadTimeoutMs));
    host.PageWidget()->setFocus();
    QTest::keyClick(host.PageWidget(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return host.browser.QueryStatus(IDM_COPY) == (OLECMDF_SUPPORTED | OLECMDF_ENABLED); }, 10000));
    QApplication::clipboard()->clear();
    EXPECT_EQ(host.browser.ExecCommand(IDM_COPY, OLECMDEXECOPT_DODEFAULT), S_OK);
    EXPECT_TRUE(
        QTest::qWaitFor([] { return QApplication::clipboard()->text().startsWith("Copy me"); }, 10000))
        << QApplication::clipboard()->text().toStdString();
}

TEST(IEBrowserCommands, BackAndForwardFollowTheHistory)
{
    Pages pages;
    CBrowserHost host;
    EXPECT_FALSE(host.browser.GoBack());
    ASSERT_TRUE(host.NavigateAndWait(pages.Url("a.htm")));
    EXPECT_FALSE(host.browser.CanGoBack());
    ASSERT_TRUE(host.NavigateAndWait(pages.Url("b.htm")));
    EXPECT_TRUE(host.browser.CanGoBack());
    EXPECT_FALSE(host.browser.CanGoForward());
    EXPECT_FALSE(host.browser.GoForward());

    const qsizetype loads = host.completed.size();
    EXPECT_TRUE(host.browser.GoBack());
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.completed.size() > loads; }, LoadTimeoutMs));
    EXPECT_EQ(host.completed.last(), pages.Url("a.htm"));
    EXPECT_TRUE(host.browser.CanGoForward());
    EXPECT_TRUE(host.browser.GoForward());
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.completed.size() > loads + 1; }, LoadTimeoutMs));
    EXPECT_EQ(host.completed.last(), pages.Url("b.htm"));
}

TEST(IEBrowserCommands, PrintAsksForThePrinterAndPreviewShowsThePages)
{
    Pages pages;
    CBrowserHost host;
    ASSERT_TRUE(host.NavigateAndWait(pages.Url("text.htm")));
    const DWORD ready = OLECMDF_SUPPORTED | OLECMDF_ENABLED;
    EXPECT_EQ(host.browser.QueryStatus(IDM_PRINT), ready);
    EXPECT_EQ(host.browser.QueryStatus(IDM_PRINTPREVIEW), ready);

    EXPECT_TRUE(WhileModalIsUp<QPrintDialog>([&] { EXPECT_EQ(host.browser.ExecCommand(IDM_PRINT, 0), S_OK); },
                                             [](QPrintDialog* dialog) { dialog->reject(); }));

    int previewPages = 0;
    EXPECT_TRUE(WhileModalIsUp<QPrintPreviewDialog>(
        [&] { EXPECT_EQ(host.browser.ExecCommand(IDM_PRINTPREVIEW, 0), S_OK); },
        [&](QPrintPreviewDialog* dialog)
        {
            auto* preview = dialog->findChild<QPrintPreviewWidget*>();
            if (preview && QTest::qWaitFor([&] { return preview->pageCount() > 0; }, LoadTimeoutMs))
                previewPages = preview->pageCount();
            dialog->reject();
        }));
    EXPECT_EQ(previewPages, 1);
    EXPECT_EQ(host.browser.QueryStatus(IDM_PRINT), ready) << "the engine is free again";
}
