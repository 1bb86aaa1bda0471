#include "platform/ui/IEBrowser.h"

#include "platform/ui/HtmlDocument.h"
#include "platform/ui/WndHost.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

CIEBrowser::CIEBrowser() = default;

CIEBrowser::~CIEBrowser()
{
    DestroyWindow();
    // The engine wants every page gone before its profile.
    delete m_page;
    delete m_profile;
}

bool CIEBrowser::Create(const QString& className, DWORD style, const CRect& rect, CWnd* parent, UINT id,
                        void*)
{
    if (IsWindow())
        return false;
    m_receiver = parent;
    return CWnd::Create(className, QString(), (style & ~WS_POPUP) | WS_CHILD | WS_VISIBLE, rect, parent, id);
}

QWidget* CIEBrowser::CreateHostWidget(QWidget* parent, DWORD, DWORD)
{
    m_profile = new QWebEngineProfile();
    m_profile->setHttpCacheType(QWebEngineProfile::NoCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    QWebEngineSettings* settings = m_profile->settings();
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
    settings->setAttribute(QWebEngineSettings::WebGLEnabled, false);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    m_page = new QWebEnginePage(m_profile);
    QObject::connect(m_page, &QWebEnginePage::loadFinished, [this](bool ok) { OnLoadFinished(ok); });
    auto* view = new CWndHost<QWebEngineView>(this, parent);
    view->setPage(m_page);
    return view;
}

bool CIEBrowser::Navigate(const QString& url)
{
    const QUrl address(url);
    if (!m_page || !address.isValid() || address.isRelative())
        return false;
    m_loaded = false;
    m_page->load(address);
    return true;
}

void CIEBrowser::OnLoadFinished(bool ok)
{
    m_loaded = ok;
    m_url = m_page->url().toString();
    // A failed load completes too, so that a waiting caller learns of it at once.
    if (m_receiver && m_receiver->IsWindow())
        m_receiver->SendMessage(UM_BROWSER_DOCUMENT_COMPLETE, 0, LPARAM(&m_url));
}

bool CIEBrowser::GetDHtmlDocument(std::unique_ptr<CHtmlDocument>& document) const
{
    if (!m_page || !m_loaded)
        return false;
    document = std::make_unique<CHtmlDocument>(m_page);
    return true;
}

namespace
{
// The hidden pop-up that hosts the browser while a page is imported.
class CPageLoaderWindow : public CWnd
{
public:
    bool completed{false};
    QEventLoop* waiting{nullptr};

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != UM_BROWSER_DOCUMENT_COMPLETE)
            return CWnd::WindowProc(message, wParam, lParam);
        completed = true;
        if (waiting)
            waiting->quit();
        return 0;
    }
};

constexpr UINT BrowserId = 1111;
const CRect LoaderRect(0, 0, 10, 10);
} // namespace

bool LoadPageMarkup(const QString& url, QString& markup, int timeoutMs, qsizetype maxLength)
{
    CPageLoaderWindow window;
    if (!window.CreateEx(0, QString(), QStringLiteral("Html Import"), WS_POPUP | WS_BORDER | WS_SYSMENU,
                         LoaderRect, nullptr, 0))
        return false;
    CIEBrowser browser;
    if (!browser.Create(QString(), 0, LoaderRect, &window, BrowserId) || !browser.Navigate(url))
        return false;
    QEventLoop loop;
    window.waiting = &loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!window.completed)
        loop.exec();
    window.waiting = nullptr;

    std::unique_ptr<CHtmlDocument> document;
    QString type;
    if (!window.completed || !browser.GetDHtmlDocument(document) || !document->GetContentType(type))
        return false;
    if (type != QLatin1String("text/html") && type != QLatin1String("application/xhtml+xml"))
        return false;
    return document->GetHtmlInnerHtml(markup, maxLength) || document->GetBodyInnerHtml(markup, maxLength) ||
           document->GetSource(markup, maxLength);
}
