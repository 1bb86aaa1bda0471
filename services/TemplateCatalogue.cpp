#include "services/TemplateCatalogue.h"

#include "base/AppSettings.h"
#include "base/TextHelpers.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"
#include "services/QorxInstaller.h"
#include "x2/X2Validator.h"

#include <QDir>
#include <QFileInfo>

#include <climits>

namespace
{
const QString TemplateRoot = QStringLiteral("kvconcepttemplates");
const QString PipelineRoot = QStringLiteral("kvpipelines");
const QString TemplateExtension = QStringLiteral(".kvnlt");

QString CatalogueRootName(int catalogueKind)
{
    return catalogueKind == 0 ? TemplateRoot : PipelineRoot;
}

QString CataloguePath(int catalogueKind)
{
    return catalogueKind == 0 ? QStringLiteral("/kv/ct.asp") : QStringLiteral("/kv/pl.asp");
}

// The store's catalogue for the language; empty without a store, and then the galleries are offline.
QString CatalogueAddress(int catalogueKind)
{
    const QString store = GetStoreAddress();
    if (store.isEmpty())
        return {};
    return store + CataloguePath(catalogueKind) + QStringLiteral("?lang=") +
           CQorxInstaller::UrlEncode(GetLanguageCode());
}

// As the C library reads a wide text as a long: leading blanks and a sign, digits up to the
// first other character, 0 without digits; values beyond the int range stop at its ends.
int ReadSizeText(const QString& text)
{
    qsizetype position = 0;
    while (position < text.size() && text[position].isSpace())
        ++position;
    bool negative = false;
    if (position < text.size() && (text[position] == u'+' || text[position] == u'-'))
        negative = text[position++] == u'-';
    qint64 value = 0;
    for (; position < text.size() && text[position] >= u'0' && text[position] <= u'9'; ++position)
        value = std::min<qint64>(value * 10 + (text[position].unicode() - u'0'), qint64(INT_MAX) + 1);
    if (negative)
        return int(std::max<qint64>(-value, INT_MIN));
    return int(std::min<qint64>(value, INT_MAX));
}

qint64 ReadDateCreated(const QString& text)
{
    QDateTime time;
    if (!ParseDateTimeList(time, text))
        time = QDateTime::currentDateTime();
    return time.toSecsSinceEpoch();
}

void ReadCommonAttributes(const CX2Element& element, CConceptTemplateBase& entry)
{
    entry.SetDateCreated(ReadDateCreated(element.GetAttributeValue(QStringLiteral("datecreated"))));
    entry.SetId(element.GetAttributeValue(QStringLiteral("id")));
    entry.SetLanguage(element.GetAttributeValue(QStringLiteral("lanugage")));
    entry.SetName(element.GetAttributeValue(QStringLiteral("name")));
    entry.SetDescription(element.GetAttributeValue(QStringLiteral("description")));
    entry.SetSmallIconUrl(
        ExpandCatalogueRootToken(element.GetAttributeValue(QStringLiteral("iconsmallurl"))));
    entry.SetBigIconUrl(ExpandCatalogueRootToken(element.GetAttributeValue(QStringLiteral("iconbigurl"))));
}

void ReadFileAttributes(const CX2Element& element, CConceptTemplateFile& file)
{
    file.SetChecksum(element.GetAttributeValue(QStringLiteral("md5checksum")));
    file.SetDownloadUrl(
        ExpandCatalogueRootToken(element.GetAttributeValue(QStringLiteral("filedownloadurl"))));
    file.SetLocalisationUrl(
        ExpandCatalogueRootToken(element.GetAttributeValue(QStringLiteral("localizationurl"))));
    file.SetSize(ReadSizeText(element.GetAttributeValue(QStringLiteral("filesizeinbytes"))));
    file.SetAuthor(element.GetAttributeValue(QStringLiteral("author")));
    file.SetAuthorCompany(element.GetAttributeValue(QStringLiteral("authorcompany")));
    file.SetCopyright(element.GetAttributeValue(QStringLiteral("copyright")));
    file.SetDemoUrl(ExpandCatalogueRootToken(element.GetAttributeValue(QStringLiteral("demourl"))));
}

// Only the final extension goes: a folder named "x.kvnlt.d" keeps its name.
QString WithoutTemplateExtension(const QString& path)
{
    return path.endsWith(TemplateExtension) ? path.chopped(TemplateExtension.size()) : path;
}

QString CustomTemplateFolder()
{
    QString folder;
    if (!ReadAppSettingString(HKEY_CURRENT_USER, QStringLiteral("ConceptTemplatesCustomPath"), folder))
        folder = GetMyDocumentsFolder();
    return WithTrailingSlash(folder);
}

std::unique_ptr<CConceptTemplateFile> ReadCustomTemplate(const QString& path, int number)
{
    try
    {
        ndb::CNdbNewsletter newsletter;
        if (!newsletter.Load(path))
            return nullptr;
        auto file = std::make_unique<CConceptTemplateFile>();
        file->SetId(QStringLiteral("CUSTOM_%1").arg(number));
        file->SetSize(int(quint32(QFileInfo(path).size())));
        file->SetName(newsletter.GetString(ndb::NewsletterName));
        file->SetDownloadUrl(PathToFileUrl(path));

        const QString base = WithoutTemplateExtension(path);
        QString thumbnail;
        for (const char* extension : {".gif", ".png", ".jpg"})
        {
            if (QFileInfo::exists(base + QLatin1String(extension)))
                thumbnail = base + QLatin1String(extension);
        }
        if (thumbnail.isEmpty())
            thumbnail = GetTemplateLibraryFolder() + QStringLiteral("kvct_default.png");
        file->SetSmallIconUrl(PathToFileUrl(thumbnail));

        const QString localisation = base + u'_' + GetLanguageCode() + QStringLiteral(".xml");
        if (QFileInfo::exists(localisation))
            file->SetLocalisationUrl(PathToFileUrl(localisation));
        return file;
    }
    catch (...)
    {
        return nullptr;
    }
}
} // namespace

QString PathToFileUrl(const QString& path)
{
    return QStringLiteral("file:///") + (path.startsWith(u'/') ? path.mid(1) : path);
}

QString FileUrlToPath(const QString& url)
{
    return u'/' + url.mid(8);
}

QString GetTemplateLibraryFolder()
{
    return GetSystemPath() + QStringLiteral("library/newsletters/");
}

QString GetTemplateImageFolder()
{
    return GetTemplateLibraryFolder() + QStringLiteral("img/");
}

QString ExpandCatalogueRootToken(const QString& value)
{
    QString result = value;
    return result.replace(QStringLiteral("$root_ct$"), PathToFileUrl(GetTemplateLibraryFolder()));
}

bool ReadConceptTemplateTree(CX2Validator& document, CX2Element* element, CConceptTemplateFolder& parent)
{
    if (element->GetKind() != CX2Element::Element)
        return true;
    CConceptTemplateBase* entry = nullptr;
    if (element->GetName() == QLatin1String("file"))
    {
        auto* file =
            static_cast<CConceptTemplateFile*>(parent.AppendChild(std::make_unique<CConceptTemplateFile>()));
        ReadFileAttributes(*element, *file);
        entry = file;
    }
    else if (element->GetName() == QLatin1String("folder"))
    {
        auto* folder = static_cast<CConceptTemplateFolder*>(
            parent.AppendChild(std::make_unique<CConceptTemplateFolder>()));
        folder->SetInitialFolder(element->GetAttributeValue(QStringLiteral("initialfolder")) ==
                                 QLatin1String("yes"));
        for (int index = 0; index < element->GetChildCount(); ++index)
        {
            if (!ReadConceptTemplateTree(document, element->GetChild(index), *folder))
                return false;
        }
        entry = folder;
    }
    else
    {
        return true;
    }
    ReadCommonAttributes(*element, *entry);
    return true;
}

bool ReadCatalogueDocument(CX2Validator& document, const QString& rootName, CConceptTemplateFolder& root)
{
    CX2Element* catalogue = document.GetRoot().FindElementByName(rootName);
    if (!catalogue || catalogue->GetAttributeValue(QStringLiteral("status")) != QLatin1String("ok"))
        return false;
    for (int index = 0; index < catalogue->GetChildCount(); ++index)
    {
        if (!ReadConceptTemplateTree(document, catalogue->GetChild(index), root))
            return false;
    }
    return true;
}

bool LoadOnlineCatalogue(int catalogueKind, CConceptTemplateFolder& root)
{
    const QString address = CatalogueAddress(catalogueKind);
    CX2Validator document;
    if (address.isEmpty() || CQorxInstaller().FetchXml(document, address) != QorxResult::Success)
        return false;
    return ReadCatalogueDocument(document, CatalogueRootName(catalogueKind), root);
}

bool LoadOnlineTemplateCatalogue(CConceptTemplateFolder& root)
{
    return LoadOnlineCatalogue(0, root);
}

bool LoadOfflineTemplateCatalogue(CConceptTemplateFolder& root)
{
    const QString path =
        GetTemplateLibraryFolder() + QStringLiteral("kvct_") + GetLanguageCode() + QStringLiteral(".xml");
    CX2Validator document;
    if (CQorxInstaller().LoadXmlFile(document, path) != QorxResult::Success)
        return false;
    return ReadCatalogueDocument(document, TemplateRoot, root);
}

bool AddCustomTemplates(CConceptTemplateFolder& root)
{
    const QString folder = CustomTemplateFolder();
    if (folder.isEmpty())
        return false;

    std::vector<std::unique_ptr<CConceptTemplateFile>> templates;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.kvnlt")}, QDir::Files, QDir::Unsorted);
    for (const QString& name : names)
    {
        // The first one is number 2: the count after appending, plus one.
        if (auto file = ReadCustomTemplate(folder + name, int(templates.size()) + 2))
            templates.push_back(std::move(file));
    }
    if (templates.empty())
        return true;

    auto customFolder = std::make_unique<CConceptTemplateFolder>();
    QString name;
    if (!ReadAppSettingString(HKEY_CURRENT_USER, QStringLiteral("ConceptTemplatesCustomName"), name))
        name = LoadAppString(12906);
    customFolder->SetName(name);
    customFolder->SetId(QStringLiteral("CUSTOMFOLDER"));
    for (auto& file : templates)
        customFolder->AppendChild(std::move(file));
    quint32 index = quint32(-1);
    ReadAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("ConceptTemplatesCustomIndex"), index);
    root.InsertChild(std::move(customFolder), int(index));
    return true;
}

bool ReadCatalogueFileInfo(CX2Validator& reply, CConceptTemplateFile& file, int catalogueKind)
{
    CX2Element* root = reply.GetRoot().FindElementByName(CatalogueRootName(catalogueKind));
    if (!root || root->GetAttributeValue(QStringLiteral("status")) != QLatin1String("ok"))
        return false;
    const CX2Element* entry = reply.GetRoot().FindElementByName(QStringLiteral("file"));
    if (!entry || entry->GetAttributeValue(QStringLiteral("id")) != file.GetId())
        return false;
    const QString downloadUrl = entry->GetAttributeValue(QStringLiteral("filedownloadurl"));
    const QString size = entry->GetAttributeValue(QStringLiteral("filesizeinbytes"));
    if (downloadUrl.isEmpty() || size.isEmpty())
        return false;
    file.SetDownloadUrl(downloadUrl);
    file.SetSize(ReadSizeText(size));
    file.SetLocalisationUrl(entry->GetAttributeValue(QStringLiteral("localizationurl")));
    file.SetChecksum(entry->GetAttributeValue(QStringLiteral("md5checksum")));
    return true;
}

bool FetchCatalogueFileInfo(CConceptTemplateFile& file, int catalogueKind)
{
    const QString catalogue = CatalogueAddress(catalogueKind);
    CX2Validator reply;
    if (catalogue.isEmpty() ||
        CQorxInstaller().FetchXml(reply, catalogue + QStringLiteral("&fileid=") +
                                             CQorxInstaller::UrlEncode(file.GetId())) != QorxResult::Success)
        return false;
    return ReadCatalogueFileInfo(reply, file, catalogueKind);
}
