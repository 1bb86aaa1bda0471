#include "gre/GreProject.h"

#include "base/ArchiveFile.h"
#include "base/ArchiveValues.h"
#include "gre/GreLayerImage.h"

namespace gre
{
namespace
{
template <class T> void ReadMap(CPSArchive& archive, std::map<QString, std::unique_ptr<T>>& map)
{
    ArchiveReadObjectMap(archive, map);
    // No writer stores an empty entry; refusing one here spares every user of the map a test.
    for (const auto& entry : map)
        if (!entry.second)
            archive.Fail("a project holds an empty image or pipeline");
}

template <class T>
void Store(std::map<QString, std::unique_ptr<T>>& map, const QString& id, std::unique_ptr<T> object)
{
    std::unique_ptr<T>& slot = map[id];
    if (slot == object)
        object.release();
    else
        slot = std::move(object);
}

template <class T> T* Find(const std::map<QString, std::unique_ptr<T>>& map, const QString& id)
{
    const auto found = map.find(id);
    return found == map.end() ? nullptr : found->second.get();
}

template <class T>
void MergeKeepingPresent(std::map<QString, std::unique_ptr<T>>& into,
                         std::map<QString, std::unique_ptr<T>>& from)
{
    for (auto& [id, object] : from)
        into.try_emplace(id, std::move(object));
}
} // namespace

void CGreProject::Serialize(CPSArchive& archive)
{
    if (archive.IsReading())
    {
        ReadMap(archive, m_images);
        ReadMap(archive, m_pipelines);
    }
    else
    {
        ArchiveWriteObjectMap(archive, m_images);
        ArchiveWriteObjectMap(archive, m_pipelines);
    }
}

void CGreProject::SetImage(const QString& id, std::unique_ptr<CGreImage> image)
{
    Store(m_images, id, std::move(image));
}

CGreImage* CGreProject::GetImage(const QString& id) const
{
    return Find(m_images, id);
}

void CGreProject::SetPipeline(const QString& id, std::unique_ptr<CGrePipeline> pipeline)
{
    Store(m_pipelines, id, std::move(pipeline));
}

CGrePipeline* CGreProject::GetPipeline(const QString& id) const
{
    return Find(m_pipelines, id);
}

bool CGreProject::RemovePipeline(const QString& id)
{
    return m_pipelines.erase(id) > 0;
}

bool CGreProject::CopyPipelineTo(CGreProject& target, const QString& id) const
{
    if (target.GetPipeline(id))
        return true;
    const CGrePipeline* pipeline = GetPipeline(id);
    if (!pipeline)
        return false;
    std::set<QString> imageIds;
    CollectImageIds(imageIds, &pipeline->GetRootGroup());
    for (const QString& imageId : imageIds)
    {
        const CGreImage* image = GetImage(imageId);
        if (image && !target.GetImage(imageId))
            target.SetImage(imageId, std::make_unique<CGreImage>(*image));
    }
    target.SetPipeline(id, pipeline->Clone());
    return true;
}

void CGreProject::CollectImageIds(std::set<QString>& ids, const CGreLayerBase* layer)
{
    if (!layer)
        return;
    if (const auto* image = dynamic_cast<const CGreLayerImage*>(layer))
    {
        if (!image->IsUseSource() && !image->GetImageId().isEmpty())
            ids.insert(image->GetImageId());
    }
    else if (const auto* group = dynamic_cast<const CGreLayerGroup*>(layer))
    {
        for (const auto& child : group->GetLayers())
            CollectImageIds(ids, child.get());
    }
}

bool CGreProject::LoadFromFile(const QString& path)
{
    // Read aside, so that a damaged file changes nothing here.
    CGreProject read;
    const bool loaded = ReadArchiveFile(
        path,
        [](const ArchiveFileHeader& header)
        { return header.IsReadableAs(FileTypeTag, FileMajorVersion, FileMinorVersion); },
        [&read](CPSArchive& archive) { read.Serialize(archive); });
    if (!loaded)
        return false;
    MergeKeepingPresent(m_images, read.m_images);
    MergeKeepingPresent(m_pipelines, read.m_pipelines);
    return true;
}

bool CGreProject::SaveToFile(const QString& path, const QString& creator)
{
    const ArchiveFileHeader header{FileTypeTag, FileMajorVersion, FileMinorVersion, creator, 0, 0};
    return WriteArchiveFile(path, header, [this](CPSArchive& archive) { Serialize(archive); });
}
} // namespace gre
