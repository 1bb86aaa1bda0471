#include "webserver/RenderedImageCache.h"

#include "gre/GreImage.h"
#include "gre/GrePipeline.h"
#include "gre/GreProject.h"
#include "ndb/NdbFieldValue.h"
#include "ndb/NdbResource.h"

std::shared_ptr<const ndb::CNdbResource> CRenderedImageCache::Find(const QString& key) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_images.find(key);
    return found == m_images.end() ? nullptr : found->second;
}

void CRenderedImageCache::Insert(const QString& key, std::shared_ptr<const ndb::CNdbResource> image)
{
    std::lock_guard lock(m_mutex);
    m_images[key].swap(image);
}

void CRenderedImageCache::Clear()
{
    std::map<QString, std::shared_ptr<const ndb::CNdbResource>> images;
    std::lock_guard lock(m_mutex);
    images.swap(m_images);
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

std::shared_ptr<const ndb::CNdbResource> CRenderedImageCache::Render(const ndb::CNdbResource& source,
                                                                     const QString& resourcePath,
                                                                     const gre::CGrePipeline& pipeline,
                                                                     const gre::CGreProject& project)
{
    gre::CGreImage decoded;
    if (!decoded.LoadFromBytes(source.GetPayload()))
        return nullptr;
    const std::unique_ptr<gre::CGrePipeline> copy = pipeline.Clone();
    gre::CGreImage rendered;
    if (!copy || !copy->Render(&project.GetImages(), decoded, rendered) || rendered.IsEmpty())
        return nullptr;

    const QString mimeType = source.GetString(ndb::ResourceMimeType);
    QByteArray bytes;
    if (!rendered.SaveToBytes(mimeType, bytes))
        return nullptr;
    auto image = std::make_shared<ndb::CNdbResource>();
    image->SetPayload(bytes);
    image->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(resourcePath));
    image->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(mimeType));
    image->SetField(ndb::ResourceWidth, ndb::CNdbFieldValue(ndb::NdbValueInt, rendered.GetWidth()));
    image->SetField(ndb::ResourceHeight, ndb::CNdbFieldValue(ndb::NdbValueInt, rendered.GetHeight()));
    image->SetField(ndb::ResourceSize, ndb::CNdbFieldValue(ndb::NdbValueInt, qint32(bytes.size())));
    return image;
}
