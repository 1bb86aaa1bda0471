// Reads arbitrary bytes as a catalogue of templates or effect pipelines and as the store's reply
// about one file, then searches the tree that was read. The tree holds no more entries than the
// text has elements, a search finds what it asked for, and a reply that is not read leaves the
// file as it was.
#include "services/TemplateCatalogue.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <cstdint>
#include <cstdlib>

namespace
{
int EntryCount(const CConceptTemplateFolder& folder)
{
    int count = folder.GetChildCount();
    for (int i = 0; i < folder.GetChildCount(); ++i)
    {
        if (folder.GetChild(i)->IsFolder())
            count += EntryCount(static_cast<const CConceptTemplateFolder&>(*folder.GetChild(i)));
    }
    return count;
}

QStringList FileInfo(const CConceptTemplateFile& file)
{
    return {file.GetDownloadUrl(), QString::number(file.GetSize()), file.GetLocalisationUrl(),
            file.GetChecksum()};
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    CX2Validator document;
    document.Parse(text, CX2TransformXmlFennick());
    for (const char* rootName : {"kvconcepttemplates", "kvpipelines"})
    {
        CConceptTemplateFolder root;
        ReadCatalogueDocument(document, QLatin1String(rootName), root);
        if (EntryCount(root) > text.count(QLatin1Char('<')))
            std::abort();
        const CConceptTemplateBase* found = root.FindById(QStringLiteral("T1"));
        if (found && found->GetId() != QLatin1String("T1"))
            std::abort();
    }
    CConceptTemplateFile file;
    file.SetId(QStringLiteral("T1"));
    for (int kind : {0, 1})
    {
        const QStringList before = FileInfo(file);
        const bool read = ReadCatalogueFileInfo(document, file, kind);
        if (read ? file.GetDownloadUrl().isEmpty() : FileInfo(file) != before)
            std::abort();
    }
    return 0;
}
