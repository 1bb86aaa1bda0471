#pragma once

#include "webserver/NewsletterPageCache.h"
#include "webserver/SharedDocument.h"
#include "webserver/WebStore.h"

#include <QString>

#include <memory>

namespace ndb
{
class CNdbResource;
}

// What the page service reads of the application: the open document and its revision, the web
// store, the effect images of the open newsletter, the server's port and the default unsubscribe
// text, and where the generated pages are kept.
class IPageServiceContext : public ISharedDocument
{
public:
    virtual std::shared_ptr<const WebStoreEntry> FindInWebStore(const QString& name) const = 0;
    // The open newsletter's image at the resource path with the effect pipeline applied; null
    // when there is no such image or pipeline or the image cannot be rendered. The caller holds
    // no document lock.
    virtual std::shared_ptr<const ndb::CNdbResource> GetRenderedImage(const QString& resourcePath,
                                                                      const QString& pipelineId) = 0;
    virtual int GetServerPort() const = 0;
    virtual const QString& GetUnsubscribeText() const = 0;
    // Changes whenever anything a generated page shows may have changed: the document under its
    // write lock or in its place, the port, the unsubscribe text. Read under ReadDocument().
    virtual quint64 GetDocumentRevision() const = 0;
    virtual CNewsletterPageCache& GetNewsletterPageCache() = 0;
};
