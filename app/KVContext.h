#pragma once

#include "editor/LayoutContext.h"
#include "gre/GreProject.h"
#include "mail/FilterBayesian.h"
#include "mail/SpamFilter.h"
#include "mailui/SendDialogContext.h"
#include "ndb/NdbShortcuts.h"
#include "recipients/UsersContext.h"
#include "reports/ReportContext.h"
#include "webserver/PageServiceContext.h"
#include "webserver/RenderedImageCache.h"
#include "webserver/WebStore.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <shared_mutex>

class CX2Element;
namespace ndb
{
class CNdbBase;
class CNdbMailGroup;
class CNdbNewsletter;
class CNdbResource;
} // namespace ndb

// The state the whole program shares: the open document, the shortcut store, the pages and
// images the local web server hands out, the spam filter, the server's port and the unsubscribe
// text. One per process, owned by the application object; everyone else holds a plain pointer.
//
// The UI thread owns every change of the open document. The server's connection threads read it
// too, so they hold ReadDocument() for as long as they use it, and the UI thread holds
// WriteDocument() while it changes the document's records. The web store and the rendered-image
// cache guard themselves.
class CKVContext : public IPageServiceContext,
                   public ILayoutContext,
                   public ISendDialogContext,
                   public IUsersContext,
                   public IReportContext
{
public:
    CKVContext();
    ~CKVContext() override;
    CKVContext(const CKVContext&) = delete;
    CKVContext& operator=(const CKVContext&) = delete;

    // The open document: a newsletter (kind 1), a mailing list (kind 7) or none. Replacing it
    // waits for the connection threads that read the old one, deletes it, and drops the images
    // rendered from it.
    ndb::CNdbBase* GetCurrentDocument() const override { return m_document.get(); }
    void SetCurrentDocument(std::unique_ptr<ndb::CNdbBase> document);
    ndb::CNdbNewsletter* GetCurrentNewsletter() const override;
    ndb::CNdbMailGroup* GetOpenMailingList() const;

    std::shared_lock<std::shared_mutex> ReadDocument() const override
    {
        return std::shared_lock(m_documentMutex);
    }
    // Every writer may change what the generated pages show, so each one counts as a new revision.
    std::unique_lock<std::shared_mutex> WriteDocument() override;
    quint64 GetDocumentRevision() const override { return m_documentRevision; }
    CNewsletterPageCache& GetNewsletterPageCache() override { return m_newsletterPages; }

    ndb::CNdbShortcuts& GetShortcuts() { return m_shortcuts; }
    gre::CGreProject& GetImageProject() { return m_imageProject; }
    SpamFilter::CSpamFilter& GetSpamFilter() override { return m_spamFilter; }

    int GetServerPort() const override { return m_serverPort; }
    void SetServerPort(int port);
    const QString& GetUnsubscribeText() const override { return m_unsubscribeText; }
    void SetUnsubscribeText(const QString& text);

    // Web store: generated pages served under "webstore/" + name.
    void StoreInWebStore(const QString& name, const QByteArray& bytes, const QString& contentType) override;
    // The page up to its first NUL character, as UTF-8 HTML.
    void PutPageInWebStore(const QString& name, const QString& page) override;
    std::shared_ptr<const WebStoreEntry> FindInWebStore(const QString& name) const override;
    void ClearWebStore();

    // The open newsletter's image at the resource path with the effect pipeline applied,
    // rendered once and then kept; null when there is no such image or pipeline or the image
    // cannot be rendered. Copies what it renders under the document's read lock and renders
    // outside it: the UI thread calls it without holding WriteDocument().
    std::shared_ptr<const ndb::CNdbResource> GetRenderedImage(const QString& resourcePath,
                                                              const QString& pipelineId) override;
    int GetRenderedImageCount() const { return m_renderedImages.Count(); }

    // "http://localhost:<port>/", and an absolute local address of a path with or without its
    // leading "/" (an empty path gives the base without its final "/").
    QString GetServerBaseUrl() const;
    QString MakeServerUrl(const QString& path) const override;

    // Spam rating of an HTML page (0 no risk, 1 suspicious, 2 spam); false when it could not be
    // computed. The token map receives every scored token with its spam probability.
    bool RateSpam(const QString& page, int& rating) override;
    bool RateSpamWithTokens(const QString& page, int& rating, SpamFilter::TokenScoreMap& tokens) override;
    bool ScoreSpamText(const QString& text, int& rating, SpamFilter::TokenScoreMap& tokens);
    static void CollectSpamText(const CX2Element& node, QString& text);

private:
    mutable std::shared_mutex m_documentMutex;
    std::unique_ptr<ndb::CNdbBase> m_document;
    ndb::CNdbShortcuts m_shortcuts;
    CRenderedImageCache m_renderedImages;
    std::atomic<quint64> m_documentRevision{0};
    CNewsletterPageCache m_newsletterPages;
    CWebStore m_webStore;
    gre::CGreProject m_imageProject;
    std::atomic<int> m_serverPort{0};
    SpamFilter::CSpamFilter m_spamFilter;
    QString m_unsubscribeText;
};
