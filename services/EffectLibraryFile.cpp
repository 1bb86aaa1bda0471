#include "services/EffectLibraryFile.h"

#include "base/AppSettings.h"
#include "gre/GreProject.h"
#include "services/CatalogueDownload.h"
#include "services/NewsletterLocalisation.h"
#include "services/TemplateCatalogue.h"

#include <QTemporaryFile>

namespace
{
constexpr int PipelineCatalogue = 1;
constexpr quint32 CantDownloadFileInfoText = 15032;
constexpr quint32 CantDownloadText = 15033;
constexpr quint32 CantDownload2Text = 15034;
constexpr quint32 CantDownload3Text = 15035;
} // namespace

namespace EffectLibraryFile
{
quint32 Load(CConceptTemplateFile& entry, gre::CGreProject& project)
{
    if (entry.GetDownloadUrl().startsWith(QLatin1String("file:///")))
    {
        project.LoadFromFile(FileUrlToPath(entry.GetDownloadUrl()));
        return 0;
    }
    QTemporaryFile temporary(GetTempFolder() + QStringLiteral("_pl_tmp_XXXXXX.kvnlp"));
    switch (DownloadCatalogueFile(entry, PipelineCatalogue, MaxEffectFileSize, temporary))
    {
    case CatalogueDownload::Done:
        project.LoadFromFile(temporary.fileName());
        return 0;
    case CatalogueDownload::NoFileInformation:
        return CantDownloadFileInfoText;
    case CatalogueDownload::BadAddress:
        return CantDownloadText;
    case CatalogueDownload::NotWritable:
        return CantDownload3Text;
    case CatalogueDownload::Failed:
    case CatalogueDownload::Mismatch:
        break;
    }
    return CantDownload2Text;
}

QString EffectKey(const gre::CGreProject& project)
{
    return project.GetPipelines().empty() ? QString() : project.GetPipelines().begin()->first;
}

QString Localise(const CConceptTemplateFile& entry, gre::CGreProject& project)
{
    const QString effect = EffectKey(project);
    LocalisationMap tokens;
    if (entry.GetLocalisationUrl().isEmpty() || !LoadLocalisationData(entry.GetLocalisationUrl(), tokens))
        return effect;
    const KeyChanges changes = LocalisePipelines(project, tokens);
    const auto changed = changes.find(effect);
    return changed == changes.end() ? effect : changed->second;
}

void MoveInto(gre::CGreProject& loaded, gre::CGreProject& target)
{
    for (auto& [key, pipeline] : loaded.GetPipelines())
    {
        if (!target.GetPipeline(key))
            target.SetPipeline(key, std::move(pipeline));
    }
    for (auto& [id, image] : loaded.GetImages())
    {
        if (!target.GetImage(id))
            target.SetImage(id, std::move(image));
    }
    loaded.RemoveAllPipelines();
    loaded.RemoveAllImages();
}
} // namespace EffectLibraryFile
