#include "app/NewsletterCreation.h"

#include "base/AppSettings.h"
#include "base/TextHelpers.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"
#include "services/CatalogueDownload.h"
#include "services/NewsletterLocalisation.h"
#include "services/TemplateCatalogue.h"
#include "webimport/WebPageImport.h"

#include <QTemporaryFile>

namespace
{
constexpr quint32 CantDownloadFileInfoText = 12908;
constexpr quint32 CantDownloadTemplateText = 12909;
constexpr quint32 CantDownloadTemplate2Text = 12910;
constexpr quint32 CantDownloadTemplate3Text = 12911;
constexpr quint32 CantLoadTemplateText = 12912;
constexpr quint32 NewsletterFolderText = 12927;
constexpr quint32 TimeIdentifierFormatText = 9961;

constexpr int SenderWebViewFolder = 440;
constexpr int SenderUploadFields[] = {800, 810, 811, 812, 820};

void ReplaceFields(ndb::CNdbStyle& target, const ndb::CNdbStyle& source)
{
    std::vector<int> ids;
    for (const auto& field : target.GetFields())
        ids.push_back(field.first);
    for (const int id : ids)
        target.RemoveField(id);
    for (const auto& [id, value] : source.GetFields())
        target.FieldRef(id) = value;
}

// The current local time in the "%Y%m%d%H%M%S" form of the string table.
QString TimeIdentifier()
{
    const QDateTime now = QDateTime::currentDateTime();
    QString format = LoadAppString(TimeIdentifierFormatText);
    const std::pair<const char*, QString> fields[] = {
        {"%Y", now.toString("yyyy")}, {"%m", now.toString("MM")}, {"%d", now.toString("dd")},
        {"%H", now.toString("HH")},   {"%M", now.toString("mm")}, {"%S", now.toString("ss")}};
    for (const auto& [field, value] : fields)
        format.replace(QLatin1String(field), value);
    return format;
}
} // namespace

namespace NewsletterCreation
{
quint32 LoadTemplate(ndb::CNdbNewsletter& newsletter, CConceptTemplateFile& file)
{
    ndb::CNdbNewsletter::ObjectMap objects;
    ndb::CNdbNewsletter::TextMap texts;
    if (file.GetDownloadUrl().startsWith(QLatin1String("file:///")))
        return newsletter.LoadTemplate(FileUrlToPath(file.GetDownloadUrl()), objects, texts)
                   ? 0
                   : CantLoadTemplateText;

    QTemporaryFile temporary(GetTempFolder() + QStringLiteral("_ct_tmp_XXXXXX.kvnlt"));
    switch (DownloadCatalogueFile(file, 0, MaxTemplateSize, temporary))
    {
    case CatalogueDownload::Done:
        return newsletter.LoadTemplate(temporary.fileName(), objects, texts) ? 0 : CantLoadTemplateText;
    case CatalogueDownload::NoFileInformation:
        return CantDownloadFileInfoText;
    case CatalogueDownload::BadAddress:
        return CantDownloadTemplateText;
    case CatalogueDownload::Failed:
        return CantDownloadTemplate2Text;
    case CatalogueDownload::NotWritable:
        return CantDownloadTemplate3Text;
    case CatalogueDownload::Mismatch:
        break;
    }
    return CantLoadTemplateText;
}

void ImportPage(CWnd* owner, ndb::CNdbNewsletter& newsletter, const QString& address)
{
    newsletter.EnsureDefaultStyles();
    WebPageImportResult page;
    ImportWebPage(owner, address, page);
    for (auto& resource : page.resources)
        newsletter.Layout().AddResource(std::move(resource));
    for (auto& style : page.styles)
    {
        const QString displayName = style->GetString(ndb::StyleDisplayName);
        style->SetField(ndb::StyleRuleName, ndb::CNdbFieldValue(displayName));
        ndb::CNdbStyle* existing = newsletter.FindStyleByTag(displayName);
        if (!existing)
        {
            newsletter.SetStyle(QString(), std::move(style));
            continue;
        }
        const bool elementStyle = existing->IsElementStyle();
        const QString existingName = existing->GetString(ndb::StyleDisplayName);
        ReplaceFields(*existing, *style);
        existing->SetField(ndb::StyleElementFlag,
                           ndb::CNdbFieldValue(ndb::NdbValueBool, elementStyle ? 1 : 0));
        existing->SetField(ndb::StyleDisplayName, ndb::CNdbFieldValue(existingName));
    }
    newsletter.Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(page.body));
}

void Localise(ndb::CNdbNewsletter& newsletter, const CConceptTemplateFile* file)
{
    UnknownLocalisationKeys().clear();
    if (!file || file->GetLocalisationUrl().isEmpty())
        return;
    LocalisationMap map;
    if (LoadLocalisationData(file->GetLocalisationUrl(), map))
        LocaliseNewsletter(newsletter, map);
}

void GiveIdentity(ndb::CNdbNewsletter& newsletter, const QString& projectName, const QString& location)
{
    newsletter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    newsletter.SetField(ndb::NewsletterTemplateFlag, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
    newsletter.SetField(ndb::NewsletterName, ndb::CNdbFieldValue(projectName));
    newsletter.SetField(ndb::NewsletterCreated, ndb::CNdbFieldValue(QDateTime::currentDateTime()));
    const QString fileName = projectName + QStringLiteral(".kvnl");
    newsletter.SetField(ndb::NewsletterPath, ndb::CNdbFieldValue(location + fileName));
    QString identifier = MakeIdentifier(projectName);
    if (identifier.isEmpty())
        identifier = TimeIdentifier();
    newsletter.SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(fileName));

    ndb::CNdbSender& sender = newsletter.Sender();
    sender.SetField(SenderWebViewFolder,
                    ndb::CNdbFieldValue(LoadAppString(NewsletterFolderText) + u'/' + identifier));
    for (const int field : SenderUploadFields)
        sender.RemoveField(field);
    newsletter.Users().DeleteAll();
    sender.SetField(ndb::SenderThreads, ndb::CNdbFieldValue(ndb::NdbValueInt, 5));
}
} // namespace NewsletterCreation
