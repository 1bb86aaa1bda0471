// Reads arbitrary bytes as a catalogue of templates or effect pipelines and as the store's reply
// about one file, then searches the tree that was read.
#include "services/TemplateCatalogue.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    CX2Validator document;
    document.Parse(text, CX2TransformXmlFennick());
    for (const char* rootName : {"kvconcepttemplates", "kvpipelines"})
    {
        CConceptTemplateFolder root;
        ReadCatalogueDocument(document, QLatin1String(rootName), root);
        root.FindById(QStringLiteral("T1"));
    }
    CConceptTemplateFile file;
    file.SetId(QStringLiteral("T1"));
    ReadCatalogueFileInfo(document, file, 0);
    ReadCatalogueFileInfo(document, file, 1);
    return 0;
}
