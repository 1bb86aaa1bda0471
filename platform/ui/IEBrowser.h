#pragma once

#include "platform/ui/Wnd.h"

#include <QString>

#include <memory>

class CHtmlDocument;
class QWebEnginePage;
class QWebEngineProfile;

// Sent to the browser's parent when the top-level document has finished loading, or failed to;
// lParam points to the document's URL (a QString valid during the call).
constexpr UINT UM_BROWSER_DOCUMENT_COMPLETE = 0x1402;

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
    // The document of the last completed load; false while loading or after a failed load.
    bool GetDHtmlDocument(std::unique_ptr<CHtmlDocument>& document) const;

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;

private:
    void OnLoadFinished(bool ok);

    QWebEngineProfile* m_profile{nullptr};
    QWebEnginePage* m_page{nullptr};
    CWnd* m_receiver{nullptr};
    bool m_loaded{false};
    QString m_url;
};

// Loads the page in a hidden window and hands back the markup of its document. False when the
// page did not finish loading within the time-out, failed, is no HTML document, or its markup
// is longer than the maximum.
bool LoadPageMarkup(const QString& url, QString& markup, int timeoutMs, qsizetype maxLength);
