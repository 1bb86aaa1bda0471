#include "webserver/ResourcePruning.h"

#include "gre/GreProject.h"
#include "ndb/NdbStyle.h"
#include "webserver/NewsletterPageSource.h"
#include "x2/X2Validator.h"

#include <QRegularExpression>

#include <set>

namespace
{
struct References
{
    std::set<QString> resources;
    std::set<QString> pipelines;
};

QString PipelineAfterMarker(const QString& text)
{
    const qsizetype at = text.indexOf(QLatin1String("?pid="));
    return text.mid(at + 5);
}

void AddNameReferences(const CX2Element* element, References& references)
{
    const CX2Attribute* name = element->FindAttribute(QStringLiteral("name"));
    if (!name)
        return;
    QString value;
    if (name->FindDeclarationValue(QStringLiteral("src_ResID"), value))
        references.resources.insert(value);
    if (name->FindDeclarationValue(QStringLiteral("src_pipelineid"), value))
        references.pipelines.insert(value);
}

void AddStyleReferences(const ndb::CNdbStyle* style, References& references)
{
    if (!style)
        return;
    const QString resource = style->GetString(ndb::StyleBackgroundImage);
    if (!resource.isEmpty())
        references.resources.insert(resource);
    const QString pipeline = style->GetString(ndb::StyleBackgroundPipeline);
    if (!pipeline.isEmpty())
        references.pipelines.insert(pipeline);
}

// Embedded files are linked by their address, "files/<name>", and have no metadata of their own.
void AddFileLinks(CX2Validator& document, std::set<QString>& paths)
{
    QList<CX2Element*> links;
    document.FindElementsByName(links, QStringLiteral("a"));
    for (const CX2Element* link : links)
    {
        QString href = link->GetAttributeValue(QStringLiteral("href"));
        const qsizetype at = href.indexOf(QLatin1String("files/"));
        if (at < 0)
            continue;
        href = href.mid(at);
        const qsizetype end = href.indexOf(QRegularExpression(QStringLiteral("[?#]")));
        paths.insert(end < 0 ? href : href.left(end));
    }
}
} // namespace

bool PruneUnusedResources(IPrunableNewsletter& newsletter)
{
    CX2Validator document;
    if (!document.ParseHtml(newsletter.GetBodyHtml()))
        return false;
    References references;
    QList<CX2Element*> images;
    document.FindElementsByName(images, QStringLiteral("img"));
    for (const CX2Element* image : images)
    {
        AddNameReferences(image, references);
        const QString src = image->GetAttributeValue(QStringLiteral("src"));
        if (src.contains(QLatin1String("?pid=")))
            references.pipelines.insert(PipelineAfterMarker(src));
    }
    QList<CX2Element*> boxes;
    for (const char* name : {"div", "table", "td"})
        document.FindElementsByName(boxes, QLatin1String(name));
    for (const CX2Element* box : boxes)
    {
        AddNameReferences(box, references);
        const CX2Attribute* style = box->FindAttribute(QStringLiteral("style"));
        QString background;
        if (style && style->FindDeclarationValue(QStringLiteral("background-image"), background) &&
            background.contains(QLatin1String("?pid=")))
        {
            QString pipeline = PipelineAfterMarker(background);
            if (pipeline.endsWith(QLatin1Char(')')))
                pipeline.chop(1);
            references.pipelines.insert(pipeline);
        }
    }
    AddStyleReferences(newsletter.GetPageStyle(), references);
    for (const ndb::CNdbStyle* style : newsletter.GetStyles())
        AddStyleReferences(style, references);
    for (const QString& id : newsletter.GetAttachmentIds())
    {
        if (!id.isEmpty())
            references.resources.insert(id);
    }
    std::set<QString> linkedFiles;
    AddFileLinks(document, linkedFiles);

    for (int i = newsletter.GetResourceCount() - 1; i >= 0; --i)
    {
        const QString id = newsletter.GetResourceIdAt(i);
        if (references.resources.count(id))
            continue;
        const std::optional<QString> path = newsletter.FindResourcePath(id);
        if (path && linkedFiles.count(*path))
            continue;
        newsletter.DeleteResourceAt(i);
    }

    gre::CGreProject& project = newsletter.GetImageProject();
    QStringList unused;
    for (const auto& [id, pipeline] : project.GetPipelines())
    {
        if (!references.pipelines.count(id))
            unused.append(id);
    }
    for (const QString& id : unused)
        project.RemovePipeline(id);
    return true;
}

bool PruneUnusedPipelineImages(IPrunableNewsletter& newsletter)
{
    gre::CGreProject& project = newsletter.GetImageProject();
    std::set<QString> used;
    for (const auto& [id, pipeline] : project.GetPipelines())
        gre::CGreProject::CollectImageIds(used, &pipeline->GetRootGroup());
    gre::CGreProject::ImageMap kept;
    for (auto& [id, image] : project.GetImages())
    {
        if (used.count(id))
            kept.emplace(id, std::move(image));
    }
    project.GetImages() = std::move(kept);
    return true;
}

bool PruneUnusedResources(ndb::CNdbNewsletter& newsletter)
{
    CNewsletterPruningSource source(newsletter);
    return PruneUnusedResources(static_cast<IPrunableNewsletter&>(source));
}

bool PruneUnusedPipelineImages(ndb::CNdbNewsletter& newsletter)
{
    CNewsletterPruningSource source(newsletter);
    return PruneUnusedPipelineImages(static_cast<IPrunableNewsletter&>(source));
}
