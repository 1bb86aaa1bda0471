#include "webserver/RenderedImageCache.h"

#include "gre/GreImage.h"
#include "gre/GrePipeline.h"
#include "gre/GreProject.h"
#include "ndb/NdbFieldValue.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"
#include "webserver/SharedDocument.h"

// What a render needs, copied out of the document: the source's bytes and MIME type, and the
// pipeline with the project images it names.
struct CRenderedImageCache::RenderJob
{
    QString key;
    QString resourcePath;
    QString pipelineId;
    QByteArray sourceBytes;
    QString mimeType;
    gre::CGreProject project;
    quint64 generation{0};
};

std::shared_ptr<const ndb::CNdbResource>
CRenderedImageCache::GetRenderedImage(const ISharedDocument& document, const QString& resourcePath,
                                      const QString& pipelineId)
{
    RenderJob job;
    job.key = MakeKey(pipelineId, resourcePath);
    job.resourcePath = resourcePath;
    job.pipelineId = pipelineId;
    {
        const auto documentLock = document.ReadDocument();
        const ndb::CNdbNewsletter* newsletter = document.GetCurrentNewsletter();
        if (!newsletter)
            return nullptr;
        const ndb::CNdbResource* source = newsletter->Layout().FindResourceByPath(resourcePath);
        if (!source)
            return nullptr;
        if (auto cached = Find(job.key))
            return cached;
        if (!newsletter->Project().CopyPipelineTo(job.project, pipelineId))
            return nullptr;
        job.sourceBytes = source->GetPayload();
        job.mimeType = source->GetString(ndb::ResourceMimeType);
        // Clearing happens under the document's write lock, so this is the generation of the
        // document just copied.
        std::lock_guard lock(m_mutex);
        job.generation = m_generation;
    }

    std::lock_guard renderLock(RenderingMutex());
    // Another connection may have rendered the same image while this one waited.
    if (auto cached = Find(job.key))
        return cached;
    auto rendered = Render(job);
    if (rendered)
        InsertUnlessCleared(job.key, rendered, job.generation);
    return rendered;
}

std::shared_ptr<const ndb::CNdbResource> CRenderedImageCache::Find(const QString& key) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_images.find(key);
    return found == m_images.end() ? nullptr : found->second;
}

void CRenderedImageCache::InsertUnlessCleared(const QString& key,
                                              std::shared_ptr<const ndb::CNdbResource> image,
                                              quint64 generation)
{
    std::lock_guard lock(m_mutex);
    if (generation == m_generation)
        m_images[key].swap(image);
}

void CRenderedImageCache::Clear()
{
    std::map<QString, std::shared_ptr<const ndb::CNdbResource>> images;
    std::lock_guard lock(m_mutex);
    images.swap(m_images);
    ++m_generation;
}

int CRenderedImageCache::Count() const
{
    std::lock_guard lock(m_mutex);
    return int(m_images.size());
}

std::mutex& CRenderedImageCache::RenderingMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<const ndb::CNdbResource> CRenderedImageCache::Render(const RenderJob& job)
{
    gre::CGreImage decoded;
    if (!decoded.LoadFromBytes(job.sourceBytes))
        return nullptr;
    gre::CGrePipeline* pipeline = job.project.GetPipeline(job.pipelineId);
    gre::CGreImage rendered;
    if (!pipeline || !pipeline->Render(&job.project.GetImages(), decoded, rendered) || rendered.IsEmpty())
        return nullptr;

    QByteArray bytes;
    if (!rendered.SaveToBytes(job.mimeType, bytes))
        return nullptr;
    auto image = std::make_shared<ndb::CNdbResource>();
    image->SetPayload(bytes);
    image->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(job.resourcePath));
    image->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(job.mimeType));
    image->SetField(ndb::ResourceWidth, ndb::CNdbFieldValue(ndb::NdbValueInt, rendered.GetWidth()));
    image->SetField(ndb::ResourceHeight, ndb::CNdbFieldValue(ndb::NdbValueInt, rendered.GetHeight()));
    image->SetField(ndb::ResourceSize, ndb::CNdbFieldValue(ndb::NdbValueInt, qint32(bytes.size())));
    return image;
}
