#include "platform/ui/IEBrowser.h"

#include "platform/ui/HtmlDocument.h"
#include "platform/ui/WndHost.h"

#include <QEventLoop>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <functional>

namespace
{
// The page of a browser control: it lets the control decide on each navigation of the top-level
// document; frames inside the page navigate unasked.
class CBrowserPage : public QWebEnginePage
{
public:
    using Decide = std::function<bool(const QUrl&)>;

    CBrowserPage(QWebEngineProfile* profile, Decide decide)
        : QWebEnginePage(profile), m_decide(std::move(decide))
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        return !isMainFrame || m_decide(url);
    }

private:
    Decide m_decide;
};
} // namespace

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
    m_page = new CBrowserPage(m_profile,
                              [this](const QUrl& url)
                              {
                                  const QString address = url.toString();
                                  m_refused = SendToParent(UM_BROWSER_BEFORE_NAVIGATE, LPARAM(&address)) == 1;
                                  return !m_refused;
                              });
    QObject::connect(m_page, &QWebEnginePage::loadStarted, [this] { OnLoadStarted(); });
    QObject::connect(m_page, &QWebEnginePage::loadFinished, [this](bool ok) { OnLoadFinished(ok); });
    auto* view = new CWndHost<QWebEngineView>(this, parent);
    view->setPage(m_page);
    // The parent decides on the menu before the engine shows its own.
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested,
                     [this](const QPoint& position) { OnContextMenuRequested(position); });
    m_view = view;
    return view;
}

LRESULT CIEBrowser::SendToParent(UINT message, LPARAM lParam)
{
    if (!m_receiver || !m_receiver->IsWindow())
        return 0;
    return m_receiver->SendMessage(message, GetDlgCtrlID(), lParam);
}

bool CIEBrowser::Navigate(const QString& url)
{
    const QUrl address(url);
    if (!m_page || !address.isValid() || address.isRelative())
        return false;
    OnLoadStarted();
    m_page->load(address);
    m_navigated = true;
    return true;
}

bool CIEBrowser::SetDocumentHTML(const QString& html, const QString& baseUrl)
{
    // The engine takes the text as a data address, which it refuses beyond 2 MB.
    constexpr qsizetype MaxHtmlBytes = 1536 * 1024;
    if (!m_page || !m_navigated)
        return false;
    const QByteArray bytes = html.toUtf8();
    if (bytes.size() > MaxHtmlBytes)
        return false;
    OnLoadStarted();
    m_page->setContent(bytes, QStringLiteral("text/html;charset=UTF-8"), QUrl(baseUrl));
    return true;
}

void CIEBrowser::OnLoadStarted()
{
    if (!m_loaded)
        return;
    m_loadedBefore = true;
    m_loaded = false;
}

void CIEBrowser::OnLoadFinished(bool ok)
{
    // A navigation the parent refused leaves the document that was there.
    if (!ok && m_refused)
    {
        m_refused = false;
        m_loaded = m_loadedBefore;
        return;
    }
    m_refused = false;
    m_loadedBefore = false;
    m_loaded = ok;
    m_url = m_page->url().toString();
    // A failed load completes too, so that a waiting caller learns of it at once.
    SendToParent(UM_BROWSER_DOCUMENT_COMPLETE, LPARAM(&m_url));
}

void CIEBrowser::OnContextMenuRequested(const QPoint& position)
{
    QPointer<QWebEngineView> view = m_view;
    const QPoint screen = view->mapToGlobal(position);
    m_event.emplace(CPoint(screen), CPoint(position));
    const LRESULT reply = SendToParent(UM_BROWSER_CONTEXT_MENU);
    m_event.reset();
    if (reply == 0 || !view)
        return;
    QMenu* menu = view->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(screen);
}

std::unique_ptr<CHtmlEventObj> CIEBrowser::GetEvent() const
{
    return m_event ? std::make_unique<CHtmlEventObj>(*m_event) : nullptr;
}

bool CIEBrowser::CanGoBack() const
{
    return m_page && m_page->history()->canGoBack();
}

bool CIEBrowser::CanGoForward() const
{
    return m_page && m_page->history()->canGoForward();
}

bool CIEBrowser::GoBack()
{
    if (!CanGoBack())
        return false;
    m_page->history()->back();
    return true;
}

bool CIEBrowser::GoForward()
{
    if (!CanGoForward())
        return false;
    m_page->history()->forward();
    return true;
}

DWORD CIEBrowser::QueryStatus(UINT commandId) const
{
    if (!m_page || !m_loaded)
        return 0;
    switch (commandId)
    {
    case IDM_COPY:
        return OLECMDF_SUPPORTED | (m_page->hasSelection() ? OLECMDF_ENABLED : 0);
    case IDM_PRINT:
    case IDM_PRINTPREVIEW:
        // The engine prints one job at a time.
        return OLECMDF_SUPPORTED | (m_printing ? 0 : OLECMDF_ENABLED);
    default:
        return 0;
    }
}

HRESULT CIEBrowser::ExecCommand(UINT commandId, DWORD, const QVariant*, QVariant*)
{
    if (!m_page || !m_loaded || !m_view)
        return E_FAIL;
    switch (commandId)
    {
    case IDM_COPY:
        m_page->triggerAction(QWebEnginePage::Copy);
        return S_OK;
    case IDM_PRINT:
        Print();
        return S_OK;
    case IDM_PRINTPREVIEW:
        PrintPreview();
        return S_OK;
    default:
        return E_NOTIMPL;
    }
}

void CIEBrowser::Print()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, m_view);
    if (dialog.exec() == QDialog::Accepted)
        PrintAndWait(&printer);
}

void CIEBrowser::PrintPreview()
{
    QPrintPreviewDialog preview(m_view);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [this](QPrinter* printer) { PrintAndWait(printer); });
    preview.exec();
}

bool CIEBrowser::PrintAndWait(QPrinter* printer)
{
    if (!m_view || m_printing)
        return false;
    // The engine draws on the printer after print() has returned, so the printer has to outlive
    // the job: the wait ends only when the engine reports the job done.
    m_printing = true;
    QPointer<QWebEngineView> view = m_view;
    bool printed = false;
    QEventLoop loop;
    QObject::connect(view, &QWebEngineView::printFinished, &loop,
                     [&](bool success)
                     {
                         printed = success;
                         loop.quit();
                     });
    QObject::connect(view, &QObject::destroyed, &loop, &QEventLoop::quit);
    view->print(printer);
    loop.exec();
    m_printing = false;
    return printed;
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
