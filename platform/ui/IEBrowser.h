#pragma once

#include "platform/ui/HtmlEventObj.h"
#include "platform/ui/Wnd.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <optional>

class CHtmlDocument;
class QPrinter;
class QVariant;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

// Messages the browser control sends its parent; wParam is always the control's id, a text in
// lParam is a const QString* valid during the call.
// Before the top-level document goes to another address (lParam the address); a reply of exactly 1
// cancels the navigation.
constexpr UINT UM_BROWSER_BEFORE_NAVIGATE = 0x1401;
// The top-level document has finished loading, or failed to (lParam its address).
constexpr UINT UM_BROWSER_DOCUMENT_COMPLETE = 0x1402;
// The page asks for its context menu; a non-zero reply lets the browser show its own menu, 0
// suppresses it. GetEvent() tells where the pointer was.
constexpr UINT UM_BROWSER_CONTEXT_MENU = 0x1466;

// Command ids of QueryStatus and ExecCommand.
constexpr UINT IDM_COPY = 15;
constexpr UINT IDM_PRINT = 27;
constexpr UINT IDM_PRINTPREVIEW = 2003;

// The state bits QueryStatus reports.
constexpr DWORD OLECMDF_SUPPORTED = 0x1;
constexpr DWORD OLECMDF_ENABLED = 0x2;
constexpr DWORD OLECMDF_LATCHED = 0x4;

// Execution options of ExecCommand.
constexpr DWORD OLECMDEXECOPT_DODEFAULT = 0;

// The embedded browser control over the web engine. Each control has a private profile that keeps
// nothing on disk and caches nothing; plugins, pop-up windows and clipboard access are off, and no
// object of ours is offered to the page's scripts.
class CIEBrowser : public CWnd
{
public:
    CIEBrowser();
    ~CIEBrowser() override;

    // Always a visible child of the parent, whatever the style; the parent receives the messages.
    bool Create(const QString& className, DWORD style, const CRect& rect, CWnd* parent, UINT id,
                void* context = nullptr);
    // Starts loading the URL; false for a URL that cannot be loaded or before Create.
    bool Navigate(const QString& url);
    // Replaces the document by the HTML text, whose relative addresses are resolved against the
    // base address. False, and nothing changes, before the first navigation has made a document
    // (callers navigate to "about:blank" first) or for a text over the engine's 2 MB limit.
    bool SetDocumentHTML(const QString& html, const QString& baseUrl);
    // The document of the last completed load; false while loading or after a failed load.
    bool GetDHtmlDocument(std::unique_ptr<CHtmlDocument>& document) const;

    // Whether the history holds a page before or after the current one.
    bool CanGoBack() const;
    bool CanGoForward() const;
    // Go one page back or forward; false when there is none.
    bool GoBack();
    bool GoForward();

    // The page event being reported to the parent; null outside such a message.
    std::unique_ptr<CHtmlEventObj> GetEvent() const;

    // The OLECMDF_ state bits of a command: 0 without a document or for a command this control
    // does not know.
    DWORD QueryStatus(UINT commandId) const;
    // Carries out a command: S_OK, or E_FAIL without a document, E_NOTIMPL for a command this
    // control does not know. Print asks for the printer first; print preview runs its dialog.
    HRESULT ExecCommand(UINT commandId, DWORD option, const QVariant* in = nullptr, QVariant* out = nullptr);

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;

private:
    LRESULT SendToParent(UINT message, LPARAM lParam = 0);
    void OnLoadStarted();
    void OnLoadFinished(bool ok);
    void OnContextMenuRequested(const QPoint& position);
    void Print();
    void PrintPreview();
    // Prints the page on the printer and waits until the engine has finished with it.
    bool PrintAndWait(QPrinter* printer);

    QWebEngineProfile* m_profile{nullptr};
    QWebEnginePage* m_page{nullptr};
    QPointer<QWebEngineView> m_view;
    CWnd* m_receiver{nullptr};
    bool m_loaded{false};
    bool m_loadedBefore{false}; // m_loaded when the current load started
    bool m_refused{false};      // the parent refused the current navigation
    bool m_printing{false};
    bool m_navigated{false};
    QString m_url;
    std::optional<CHtmlEventObj> m_event;
};

// Loads the page in a hidden window and hands back the markup of its document. False when the
// page did not finish loading within the time-out, failed, is no HTML document, or its markup
// is longer than the maximum.
bool LoadPageMarkup(const QString& url, QString& markup, int timeoutMs, qsizetype maxLength);
