#pragma once

#include "PageScript.h"
#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/IEBrowser.h"
#include "platform/ui/UndoUnitScope.h"
#include "platform/ui/WinConstants.h"

#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <functional>
#include <gtest/gtest.h>
#include <map>

// The program's local server on a free port, serving test pages from its web store.
class LocalPages
{
public:
    LocalPages() { m_port = m_server.Start(); }

    int Port() const { return m_port; }
    CKVContext& Context() { return m_context; }
    // Stores the page and gives its address on the server.
    QString Put(const QString& name, const QString& html)
    {
        m_context.PutPageInWebStore(name, html);
        return Url(name);
    }
    QString Url(const QString& name) const
    {
        return m_context.MakeServerUrl(QStringLiteral("webstore/") + name);
    }

private:
    CKVContext m_context;
    CKVWebServer m_server{&m_context};
    int m_port{0};
};

// A shown window around a browser control that records each message the control sends and
// answers with the reply set for it.
class CBrowserHost : public CWnd
{
public:
    static constexpr UINT BrowserId = 4711;
    static constexpr int LoadTimeoutMs = 60000;

    struct Message
    {
        UINT message;
        WPARAM id;
        QString text;
        LPARAM number;
    };

    std::vector<Message> messages;
    std::map<UINT, std::function<LRESULT(const Message&)>> replies;
    std::vector<SnapRectInfo> snaps;
    std::unique_ptr<CHtmlEventObj> lastEvent;
    CIEBrowser browser;

    CBrowserHost()
    {
        Create(QString(), QString(), WS_POPUP | WS_VISIBLE, CRect(0, 0, 640, 480), nullptr, 0);
        browser.Create(QString(), 0, CRect(0, 0, 640, 480), this, BrowserId);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(GetSafeHwnd()));
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        Message record{message, wParam, QString(), lParam};
        switch (message)
        {
        case UM_BROWSER_BEFORE_NAVIGATE:
        case UM_BROWSER_DOCUMENT_COMPLETE:
        case UM_BROWSER_NAVIGATE_COMPLETE:
        case UM_BROWSER_NEW_WINDOW:
            record.text = *reinterpret_cast<const QString*>(lParam);
            break;
        case UM_BROWSER_SNAP_RECT:
            snaps.push_back(*reinterpret_cast<const SnapRectInfo*>(lParam));
            break;
        case UM_BROWSER_CONTEXT_MENU:
        case UM_BROWSER_DBLCLICK:
        case UM_BROWSER_MOUSE_DOWN:
            lastEvent = browser.GetEvent();
            break;
        case UM_BROWSER_SET_WIDTH:
        case UM_BROWSER_SET_HEIGHT:
        case UM_BROWSER_SELECTION_CHANGE:
        case UM_BROWSER_PASTE:
            break;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
        messages.push_back(record);
        const auto reply = replies.find(message);
        return reply == replies.end() ? 0 : reply->second(record);
    }

    std::vector<Message> Sent(UINT message) const
    {
        std::vector<Message> found;
        for (const Message& record : messages)
            if (record.message == message)
                found.push_back(record);
        return found;
    }
    QStringList Texts(UINT message) const
    {
        QStringList texts;
        for (const Message& record : Sent(message))
            texts.append(record.text);
        return texts;
    }
    bool WaitFor(UINT message, size_t count = 1, int timeoutMs = LoadTimeoutMs)
    {
        return QTest::qWaitFor([&] { return Sent(message).size() >= count; }, timeoutMs);
    }

    bool NavigateAndWait(const QString& url)
    {
        const size_t before = Sent(UM_BROWSER_DOCUMENT_COMPLETE).size();
        return browser.Navigate(url) && WaitFor(UM_BROWSER_DOCUMENT_COMPLETE, before + 1);
    }
    // Loads the page and switches it to edit mode.
    bool EditPage(const QString& url)
    {
        if (!NavigateAndWait(url))
            return false;
        browser.SetEditMode(true);
        return browser.GetEditFlag();
    }

    std::unique_ptr<CHtmlDocument> Document()
    {
        std::unique_ptr<CHtmlDocument> document;
        browser.GetDHtmlDocument(document);
        return document;
    }
    QString Body()
    {
        QString body;
        if (auto document = Document())
            document->GetBodyInnerHtml(body, 1 << 22);
        return body;
    }
    // Runs a script in the library's world, for setting up selections; its value.
    QVariant Run(const QString& script) { return RunInPage(browser, script); }
    // Selects the text from the first occurrence of one text to the end of another, in the body.
    // Waits for the report of the change, as the user's next action would.
    void SelectText(const QString& from, const QString& to)
    {
        const size_t reports = Sent(UM_BROWSER_SELECTION_CHANGE).size();
        Run(QStringLiteral(
                "(function () { const find = (t) => { const w = document.createTreeWalker(document.body, "
                "NodeFilter.SHOW_TEXT); for (let n = w.nextNode(); n; n = w.nextNode()) { const i = "
                "n.data.indexOf(t); if (i >= 0) return [n, i]; } throw new Error(t); }; "
                "const [a, i] = find('%1'); const [b, j] = find('%2'); const r = document.createRange(); "
                "r.setStart(a, i); r.setEnd(b, j + '%2'.length); const s = document.getSelection(); "
                "s.removeAllRanges(); s.addRange(r); return true; })()")
                .arg(from, to));
        EXPECT_TRUE(WaitFor(UM_BROWSER_SELECTION_CHANGE, reports + 1, 10000)) << "no report of the selection";
    }

    // The engine's widget that takes the page's mouse and keys.
    QWidget* PageWidget() { return browser.GetSafeHwnd()->focusProxy(); }
};
