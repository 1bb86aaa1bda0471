#pragma once

#include <QString>

#include <map>
#include <memory>
#include <mutex>

namespace ndb
{
class CNdbResource;
}
namespace gre
{
class CGrePipeline;
class CGreProject;
} // namespace gre

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

    std::shared_ptr<const ndb::CNdbResource> Find(const QString& key) const;
    void Insert(const QString& key, std::shared_ptr<const ndb::CNdbResource> image);
    void Clear();
    int Count() const;

    // Only one effect image is rendered at a time in the whole program.
    static std::mutex& RenderingMutex();

    // The source image with the pipeline applied, as a new resource under the resource path in
    // the source's MIME type; null when the source cannot be decoded, the pipeline cannot be
    // applied or the result cannot be encoded. Renders a copy of the pipeline, so the document's
    // own pipeline is only read. The caller holds the rendering mutex.
    static std::shared_ptr<const ndb::CNdbResource> Render(const ndb::CNdbResource& source,
                                                           const QString& resourcePath,
                                                           const gre::CGrePipeline& pipeline,
                                                           const gre::CGreProject& project);

private:
    mutable std::mutex m_mutex;
    std::map<QString, std::shared_ptr<const ndb::CNdbResource>> m_images;
};
