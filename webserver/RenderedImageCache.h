#pragma once

#include <QString>

#include <map>
#include <memory>
#include <mutex>

class ISharedDocument;
namespace ndb
{
class CNdbResource;
}

// Newsletter images with an effect pipeline applied, keyed by pipeline id and resource path.
// The UI thread and the server's connection threads look images up at the same time; a found
// image stays valid for as long as its holder keeps it, even when the cache is cleared.
class CRenderedImageCache
{
public:
    static QString MakeKey(const QString& pipelineId, const QString& resourcePath)
    {
        return pipelineId + resourcePath;
    }

    // The open newsletter's image at the resource path with the pipeline applied, rendered once
    // and then kept; null when there is no such image or pipeline, the image cannot be decoded
    // or the result cannot be encoded (in the source's MIME type). The image and the pipeline
    // are copied under the document's read lock and rendered outside it, so the UI thread may
    // change the document meanwhile; an image whose document was replaced during its render
    // (the cache was cleared) goes to its caller but is not kept. The caller holds no document
    // lock.
    std::shared_ptr<const ndb::CNdbResource>
    GetRenderedImage(const ISharedDocument& document, const QString& resourcePath, const QString& pipelineId);

    std::shared_ptr<const ndb::CNdbResource> Find(const QString& key) const;
    // Drops every image; a render that began before is not kept.
    void Clear();
    int Count() const;

    // Only one effect image is rendered at a time in the whole program.
    static std::mutex& RenderingMutex();

private:
    struct RenderJob;

    static std::shared_ptr<const ndb::CNdbResource> Render(const RenderJob& job);
    void InsertUnlessCleared(const QString& key, std::shared_ptr<const ndb::CNdbResource> image,
                             quint64 generation);

    mutable std::mutex m_mutex;
    std::map<QString, std::shared_ptr<const ndb::CNdbResource>> m_images;
    // Counts the clears, so that a render knows whether the cache it began with still holds.
    quint64 m_generation{0};
};
