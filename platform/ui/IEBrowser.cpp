#include "platform/ui/IEBrowser.h"

#include "platform/core/Shell.h"
#include "platform/ui/BrowserChannel.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/NestedWait.h"
#include "platform/ui/WndHost.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>
#include <QUrl>
#include <QWebChannel>
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <functional>
#include <utility>

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

QString ReadResource(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The web channel's client, the editing library's core and then its other files
// (editing-*.js, in name order), which extend the core.
QString EditingLibrarySource()
{
    QString source = ReadResource(QStringLiteral(":/qtwebchannel/qwebchannel.js")) + QLatin1Char('\n') +
                     ReadResource(QStringLiteral(":/scripts/editing.js"));
    const QDir scripts(QStringLiteral(":/scripts"));
    for (const QString& name : scripts.entryList({QStringLiteral("editing-*.js")}, QDir::Files, QDir::Name))
        source += QLatin1Char('\n') + ReadResource(scripts.filePath(name));
    return source;
}

// The editing library for the library's own script world. It is there before the page's first
// script runs.
QWebEngineScript EditingLibraryScript()
{
    static const QString source = EditingLibrarySource();
    QWebEngineScript script;
    script.setName(QStringLiteral("kvEditing"));
    script.setSourceCode(source);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(false);
    return script;
}
} // namespace

CIEBrowser::CIEBrowser() = default;

CIEBrowser::~CIEBrowser()
{
    DestroyWindow();
    // The engine wants every page gone before its profile.
    delete m_page;
    delete m_channel;
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
    QObject::connect(m_page, &QWebEnginePage::urlChanged,
                     [this](const QUrl& url)
                     {
                         const QString address = url.toString();
                         SendToParent(UM_BROWSER_NAVIGATE_COMPLETE, LPARAM(&address));
                     });
    QObject::connect(m_page, &QWebEnginePage::geometryChangeRequested,
                     [this](const QRect& geometry)
                     {
                         SendToParent(UM_BROWSER_SET_WIDTH, geometry.width());
                         SendToParent(UM_BROWSER_SET_HEIGHT, geometry.height());
                     });
    QObject::connect(m_page, &QWebEnginePage::newWindowRequested,
                     [this](QWebEngineNewWindowRequest& request)
                     { OnNewWindow(request.requestedUrl().toString()); });
    m_page->scripts().insert(EditingLibraryScript());
    m_channel = new CBrowserChannel(this);
    auto* channel = new QWebChannel(m_page);
    channel->registerObject(QStringLiteral("kvHost"), m_channel);
    m_page->setWebChannel(channel, QWebEngineScript::ApplicationWorld);
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
    // A page in view mode has nothing to switch off; asking it would wait for its renderer.
    if (m_editFlag)
        SetEditMode(false);
    const QUrl address(url);
    if (!m_page || !address.isValid() || address.isRelative())
        return false;
    OnLoadStarted();
    m_requested = address;
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
    m_requested.clear();
    m_page->setContent(bytes, QStringLiteral("text/html;charset=UTF-8"), QUrl(baseUrl));
    return true;
}

void CIEBrowser::OnLoadStarted()
{
    m_status.clear();
    m_selectionText = {};
    m_statusSerial = -1;
    if (!m_loaded)
        return;
    m_loadedBefore = true;
    m_loaded = false;
}

void CIEBrowser::OnLoadFinished(bool ok)
{
    const QUrl requested = std::exchange(m_requested, QUrl());
    // A navigation the parent refused leaves the document that was there.
    if (!ok && m_refused)
    {
        m_refused = false;
        m_loaded = m_loadedBefore;
        return;
    }
    m_refused = false;
    // The engine drops an address asked for while the first blank page is still loading: only
    // the blank page completes, and the address must be asked for again.
    if (ok && !requested.isEmpty() && !m_page->url().matches(requested, QUrl::StripTrailingSlash))
    {
        m_page->load(requested);
        return;
    }
    m_loadedBefore = false;
    m_loaded = ok;
    m_url = m_page->url().toString();
    // A failed load completes too, so that a waiting caller learns of it at once.
    SendToParent(UM_BROWSER_DOCUMENT_COMPLETE, LPARAM(&m_url));
}

void CIEBrowser::OnContextMenuRequested(const QPoint& position)
{
    // The library's report of the menu event comes before the engine's request.
    // A page without the library reports nothing: its keys are those held now.
    const Qt::KeyboardModifiers held = QGuiApplication::keyboardModifiers();
    MenuTarget target{
        position, QVariant(), {held.testFlag(Qt::ControlModifier), held.testFlag(Qt::ShiftModifier)}};
    if (m_menuTarget && m_menuTarget->position == position)
        target = *m_menuTarget;
    m_menuTarget.reset();
    WhenPageSettles(
        [this, target]
        {
            QPointer<QWebEngineView> view = m_view;
            if (ReportPointerEvent(UM_BROWSER_CONTEXT_MENU, target.position, target.ref, target.keys) == 0 ||
                !view)
                return;
            QMenu* menu = view->createStandardContextMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(view->mapToGlobal(target.position));
        });
}

void CIEBrowser::WhenPageSettles(std::function<void()> report)
{
    QPointer<QWebEngineView> view = m_view;
    // A timer of its own, not a queued call: a call queued from inside the engine's work runs
    // before the engine is back in the event loop.
    // A report that comes while the program waits on a page reaches the parent after the wait.
    auto later = [view, report = std::move(report)]
    {
        if (view)
            QTimer::singleShot(1, view,
                               [view, report]
                               {
                                   CNestedWait::RunOutside(
                                       [view, report]
                                       {
                                           if (view)
                                               report();
                                       });
                               });
    };
    // The answer to an empty script comes after everything the page had started.
    if (m_page)
        m_page->runJavaScript(QStringLiteral("0"), QWebEngineScript::ApplicationWorld,
                              [later](const QVariant&) { later(); });
    else
        later();
}

LRESULT CIEBrowser::ReportPointerEvent(UINT message, const QPoint& client, const QVariant& ref,
                                       HtmlEventKeys keys)
{
    if (!m_view)
        return 0;
    const QPoint screen = m_view->mapToGlobal(client);
    m_event.emplace(CPoint(screen), CPoint(client),
                    CHtmlElement::FromAnswer(m_page, ref, CHtmlDocument::DefaultTimeout), keys);
    const LRESULT reply = SendToParent(message);
    m_event.reset();
    return reply;
}

void CIEBrowser::OnNewWindow(const QString& address)
{
    // Allowed new windows leave the program, and only for addresses the desktop may be given.
    if (SendToParent(UM_BROWSER_NEW_WINDOW, LPARAM(&address)) == 0 && IsDesktopAddress(address))
        ShellOpen(address);
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
    case IDM_CUT:
        return OLECMDF_SUPPORTED | (m_editFlag && m_page->hasSelection() ? OLECMDF_ENABLED : 0);
    case IDM_PRINT:
    case IDM_PRINTPREVIEW:
        // The engine prints one job at a time.
        return OLECMDF_SUPPORTED | (m_printing ? 0 : OLECMDF_ENABLED);
    default:
        return m_status.value(commandId, 0);
    }
}

void CIEBrowser::ApplyStatus(const QVariantMap& state)
{
    // Reports travel apart from the answers of the bridge; an older one must not win.
    const qint64 serial = state.value(QStringLiteral("serial")).toLongLong();
    if (serial < m_statusSerial)
        return;
    m_statusSerial = serial;
    m_status.clear();
    const QVariantMap states = state.value(QStringLiteral("states")).toMap();
    for (auto it = states.cbegin(); it != states.cend(); ++it)
        m_status.insert(it.key().toUInt(), DWORD(it.value().toUInt()));
    const QVariantMap text = state.value(QStringLiteral("text")).toMap();
    m_selectionText = {text.value(QStringLiteral("style")).toString(),
                       text.value(QStringLiteral("font")).toString(),
                       text.value(QStringLiteral("size")).toInt()};
}

bool CIEBrowser::IsCommandEnabled(UINT commandId) const
{
    const DWORD wanted = OLECMDF_SUPPORTED | OLECMDF_ENABLED;
    return (QueryStatus(commandId) & wanted) == wanted;
}

void CIEBrowser::ExecCommandIfEnabled(UINT commandId)
{
    if (IsCommandEnabled(commandId))
        ExecCommand(commandId, OLECMDEXECOPT_DODEFAULT);
}

HRESULT CIEBrowser::ExecCommand(UINT commandId, DWORD, const QVariant* in, QVariant* out)
{
    if (!m_page || !m_loaded || !m_view)
        return E_FAIL;
    switch (commandId)
    {
    case IDM_COPY:
        m_page->triggerAction(QWebEnginePage::Copy);
        return S_OK;
    case IDM_CUT:
        if (!m_editFlag)
            return E_FAIL;
        m_page->triggerAction(QWebEnginePage::Cut);
        return S_OK;
    case IDM_PRINT:
        Print();
        return S_OK;
    case IDM_PRINTPREVIEW:
        PrintPreview();
        return S_OK;
    default:
        break;
    }
    QVariant answer;
    if (!CHtmlDocument(m_page).Call(QStringLiteral("exec"), {commandId, in ? *in : QVariant()}, answer))
        return E_FAIL;
    const QVariantMap result = answer.toMap();
    ApplyStatus(result.value(QStringLiteral("status")).toMap());
    if (!result.value(QStringLiteral("known")).toBool())
        return E_NOTIMPL;
    if (out)
        *out = result.value(QStringLiteral("out"));
    return result.value(QStringLiteral("ok")).toBool() ? S_OK : E_FAIL;
}

HRESULT CIEBrowser::SetEditOption(UINT commandId, const QVariant& value, DWORD minimumStatus)
{
    if ((QueryStatus(commandId) & minimumStatus) != minimumStatus)
        return E_FAIL;
    return ExecCommand(commandId, OLECMDEXECOPT_DODEFAULT, &value);
}

HRESULT CIEBrowser::ExecCommandWithValue(DWORD minimumStatus, const QString* value, UINT commandId,
                                         DWORD option)
{
    if ((QueryStatus(commandId) & minimumStatus) != minimumStatus)
        return E_FAIL;
    if (!value)
        return ExecCommand(commandId, option);
    const QVariant input(*value);
    return ExecCommand(commandId, option, &input);
}

void CIEBrowser::SetEditMode(bool on)
{
    // A page that could not switch (still loading, gone) stays in view mode.
    const bool switched = SetDesignMode(on);
    m_editFlag = on && switched;
}

bool CIEBrowser::SetDesignMode(bool on)
{
    QVariant result;
    if (!m_page || !m_loaded ||
        !CHtmlDocument(m_page).Call(QStringLiteral("setEditMode"), {on, m_hostUndoKeys}, result))
        return false;
    ApplyStatus(result.toMap());
    return true;
}

bool CIEBrowser::LoadHtml(const QString& html)
{
    QVariant result;
    return m_page && m_loaded && CHtmlDocument(m_page).Call(QStringLiteral("loadHtml"), {html}, result) &&
           result.toBool();
}

bool CIEBrowser::CallLibrary(CIEBrowser& browser, const QString& function, const QVariantList& args,
                             QVariant& result)
{
    std::unique_ptr<CHtmlDocument> document;
    if (!browser.GetDHtmlDocument(document) || !document->Call(function, args, result))
        return false;
    // The operation may have changed what the commands can do at the selection.
    QVariant status;
    if (document->Call(QStringLiteral("status"), {}, status))
        browser.ApplyStatus(status.toMap());
    return true;
}

bool CIEBrowser::SetSelection(CIEBrowser& browser, const CHtmlElement& element, bool collapse)
{
    QVariant result;
    return CallLibrary(browser, QStringLiteral("setSelection"), {element.GetRef(), collapse}, result) &&
           result.toBool();
}

bool CIEBrowser::InsertHtml(CIEBrowser& browser, const QString& html)
{
    QVariant result;
    return CallLibrary(browser, QStringLiteral("insertHtml"), {html}, result) && result.toBool();
}

bool CIEBrowser::InsertTable(CIEBrowser& browser, const QString& html)
{
    QVariant result;
    return CallLibrary(browser, QStringLiteral("insertTable"), {html}, result) && result.toBool();
}

std::optional<CHtmlElement> CIEBrowser::FindBlockContainer(const CHtmlElement& element, int& depth)
{
    depth = 0;
    QVariant result;
    if (!CHtmlDocument(element.GetPage()).Call(QStringLiteral("blockContainer"), {element.GetRef()}, result))
        return std::nullopt;
    const QVariantMap answer = result.toMap();
    depth = answer.value(QStringLiteral("depth")).toInt();
    return CHtmlElement::FromAnswer(element.GetPage(), answer.value(QStringLiteral("ref")),
                                    CHtmlDocument::DefaultTimeout);
}

std::optional<CHtmlElement> CIEBrowser::FindAncestorByTag(const CHtmlElement& element, const QString& tagName)
{
    QVariant result;
    if (!CHtmlDocument(element.GetPage())
             .Call(QStringLiteral("ancestorByTag"), {element.GetRef(), tagName}, result))
        return std::nullopt;
    return CHtmlElement::FromAnswer(element.GetPage(), result, CHtmlDocument::DefaultTimeout);
}

std::optional<CHtmlElement> CIEBrowser::FindElementByName(CIEBrowser& browser, const QString& name)
{
    QVariant result;
    if (!CallLibrary(browser, QStringLiteral("byName"), {name}, result))
        return std::nullopt;
    return CHtmlElement::FromAnswer(browser.m_page, result, CHtmlDocument::DefaultTimeout);
}

QString CIEBrowser::GetBlockStyleName(const CHtmlElement& element)
{
    QVariant result;
    if (!CHtmlDocument(element.GetPage()).Call(QStringLiteral("blockStyleName"), {element.GetRef()}, result))
        return QString();
    return result.toString();
}

QString CIEBrowser::GetSelectionStyleName(CIEBrowser& browser)
{
    QVariant result;
    return CallLibrary(browser, QStringLiteral("selectionStyleName"), {}, result) ? result.toString()
                                                                                  : QString();
}

int CIEBrowser::GetSelectionFontSize(CIEBrowser& browser)
{
    QVariant result;
    return CallLibrary(browser, QStringLiteral("selectionFontSize"), {}, result) ? result.toInt() : 0;
}

bool CIEBrowser::SetDefaultFontSize(CIEBrowser& browser)
{
    QVariant result;
    return CallLibrary(browser, QStringLiteral("setFontSize"), {0, QString()}, result) && result.toBool();
}

bool CIEBrowser::SetFontSize(CIEBrowser& browser, int size, const QString& unit)
{
    QVariant result;
    return CallLibrary(browser, QStringLiteral("setFontSize"), {size, unit}, result) && result.toBool();
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
    CNestedWait wait;
    const QMetaObject::Connection finished = QObject::connect(view, &QWebEngineView::printFinished,
                                                              [&](bool success)
                                                              {
                                                                  printed = success;
                                                                  wait.Quit();
                                                              });
    const QMetaObject::Connection gone = QObject::connect(view, &QObject::destroyed, [&] { wait.Quit(); });
    view->print(printer);
    wait.Run(-1);
    QObject::disconnect(finished);
    QObject::disconnect(gone);
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
    CNestedWait wait;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != UM_BROWSER_DOCUMENT_COMPLETE)
            return CWnd::WindowProc(message, wParam, lParam);
        wait.Quit();
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
    const bool completed = window.wait.Run(timeoutMs);

    std::unique_ptr<CHtmlDocument> document;
    QString type;
    if (!completed || !browser.GetDHtmlDocument(document) || !document->GetContentType(type))
        return false;
    if (type != QLatin1String("text/html") && type != QLatin1String("application/xhtml+xml"))
        return false;
    return document->GetHtmlInnerHtml(markup, maxLength) || document->GetBodyInnerHtml(markup, maxLength) ||
           document->GetSource(markup, maxLength);
}
