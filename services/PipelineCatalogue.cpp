#include "services/PipelineCatalogue.h"

#include "base/AppSettings.h"
#include "gre/GreProject.h"
#include "platform/core/AppStrings.h"
#include "services/TemplateCatalogue.h"
#include "services/TemplateLocalisation.h"

#include <QDir>
#include <QFileInfo>

namespace
{
constexpr int CustomCategoryText = 15036;
constexpr int FirstFolderNumber = 1000;
const QString LibraryExtension = QStringLiteral(".kvnlp");

// B + "_" + language + ".gif", ".png" or ".jpg": the last that exists in that order wins.
QString ThumbnailOf(const QString& base)
{
    QString thumbnail;
    for (const char* extension : {".gif", ".png", ".jpg"})
    {
        const QString candidate = base + u'_' + GetLanguageCode() + QLatin1String(extension);
        if (QFileInfo::exists(candidate))
            thumbnail = candidate;
    }
    return thumbnail.isEmpty() ? GetPipelineLibraryFolder() + QStringLiteral("kvpl_default.png") : thumbnail;
}

CConceptTemplateFolder& CategoryFolder(CConceptTemplateFolder& root, const QString& category,
                                       const LocalisationMap& tokens, int& nextNumber)
{
    CConceptTemplateBase* found = FindChildByName(root, category);
    if (found && found->IsFolder())
        return static_cast<CConceptTemplateFolder&>(*found);
    auto folder = std::make_unique<CConceptTemplateFolder>();
    folder->SetId(QStringLiteral("CUSTOM%1").arg(nextNumber++));
    folder->SetName(tokens.empty() ? category : ExpandLocalisationTokens(category, tokens, false));
    return static_cast<CConceptTemplateFolder&>(*root.AppendChild(std::move(folder)));
}

void AddLibraryFile(CConceptTemplateFolder& root, const QString& path, int& nextNumber)
{
    gre::CGreProject project;
    if (!project.LoadFromFile(path) || project.GetPipelines().empty())
        return;
    const gre::CGrePipeline& pipeline = *project.GetPipelines().begin()->second;
    const QString base = path.chopped(LibraryExtension.size());

    auto entry = std::make_unique<CConceptTemplateFile>();
    entry->SetId(pipeline.GetHashKey());
    entry->SetName(pipeline.GetName());
    entry->SetDownloadUrl(PathToFileUrl(path));
    entry->SetSmallIconUrl(PathToFileUrl(ThumbnailOf(base)));
    LocalisationMap tokens;
    const QString localisation = base + u'_' + GetLanguageCode() + QStringLiteral(".xml");
    if (QFileInfo::exists(localisation))
    {
        entry->SetLocalisationUrl(PathToFileUrl(localisation));
        LoadLocalisationData(entry->GetLocalisationUrl(), tokens);
    }
    const QString category =
        pipeline.GetCategory().isEmpty() ? LoadAppString(CustomCategoryText) : pipeline.GetCategory();
    CConceptTemplateFolder& folder = CategoryFolder(root, category, tokens, nextNumber);
    if (!tokens.empty())
        entry->SetName(ExpandLocalisationTokens(entry->GetName(), tokens, false));
    folder.AppendChild(std::move(entry));
}
} // namespace

QString GetPipelineLibraryFolder()
{
    return GetSystemPath() + QStringLiteral("library/pipelines/");
}

CConceptTemplateBase* FindChildByName(const CConceptTemplateFolder& folder, const QString& name)
{
    for (int index = 0; index < folder.GetChildCount(); ++index)
    {
        if (folder.GetChild(index)->GetName() == name)
            return folder.GetChild(index);
    }
    return nullptr;
}

bool LoadOnlinePipelineList(CConceptTemplateFolder& root)
{
    return LoadOnlineCatalogue(1, root);
}

bool LoadPipelineLibraryFolder(CConceptTemplateFolder& root, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    const QString path = WithTrailingSlash(folder);
    int nextNumber = FirstFolderNumber;
    for (const QString& name :
         QDir(path).entryList({QStringLiteral("*") + LibraryExtension}, QDir::Files, QDir::Unsorted))
    {
        // A damaged file is left out; the others are still listed.
        try
        {
            AddLibraryFile(root, path + name, nextNumber);
        }
        catch (...)
        {
        }
    }
    return true;
}

QString GetCustomPipelineFolder()
{
    QString folder;
    if (!ReadAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("PipelinesCustomPath"), folder) ||
        folder.isEmpty())
        return GetMyDocumentsFolder();
    return WithTrailingSlash(folder);
}

bool LoadCustomPipelineLibrary(CConceptTemplateFolder& root)
{
    return LoadPipelineLibraryFolder(root, GetCustomPipelineFolder());
}
