#pragma once

#include "base/PSFactory.h"
#include "gre/GreImage.h"
#include "gre/GrePipeline.h"

#include <QString>

#include <map>
#include <memory>
#include <set>

namespace gre
{
// The images and effects of a newsletter, of the context or of an effect library file, each
// map keyed by id in ascending order of character codes. The project owns all it holds.
class CGreProject : public CPSBase
{
    KV_PERSISTENT_CLASS()
    using ImageMap = std::map<QString, std::unique_ptr<CGreImage>>;
    using PipelineMap = std::map<QString, std::unique_ptr<CGrePipeline>>;

    static inline const QString FileTypeTag = QStringLiteral("GREPROJECT");
    static constexpr int FileMajorVersion = 2;
    static constexpr int FileMinorVersion = 0;

    CGreProject() = default;

    // Reading inserts into the maps; an entry already present under a key stays.
    void Serialize(CPSArchive& archive) override;

    // Replaces (and deletes) what was stored under the id; storing the object already held
    // there changes nothing.
    void SetImage(const QString& id, std::unique_ptr<CGreImage> image);
    CGreImage* GetImage(const QString& id) const;
    void RemoveAllImages() { m_images.clear(); }
    ImageMap& GetImages() { return m_images; }
    const ImageMap& GetImages() const { return m_images; }

    void SetPipeline(const QString& id, std::unique_ptr<CGrePipeline> pipeline);
    CGrePipeline* GetPipeline(const QString& id) const;
    bool RemovePipeline(const QString& id);
    void RemoveAllPipelines() { m_pipelines.clear(); }
    PipelineMap& GetPipelines() { return m_pipelines; }
    const PipelineMap& GetPipelines() const { return m_pipelines; }

    // Copies the pipeline, and the images it names that the target lacks, into the target.
    // Nothing at all is copied when the target already has a pipeline under the id. False only
    // when this project has no such pipeline.
    bool CopyPipelineTo(CGreProject& target, const QString& id) const;
    // Adds the project image ids that the image layers of the tree name.
    static void CollectImageIds(std::set<QString>& ids, const CGreLayerBase* layer);

    // A project file (an effect library file is one). A file of a newer version, of another
    // type or damaged in any way is refused and the project is left as it was.
    bool LoadFromFile(const QString& path);
    // Replaces the file only when the whole project was written; the old file survives any
    // failure.
    bool SaveToFile(const QString& path, const QString& creator);

private:
    ImageMap m_images;
    PipelineMap m_pipelines;
};
} // namespace gre
