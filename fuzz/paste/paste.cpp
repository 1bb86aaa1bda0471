// Parses arbitrary bytes as a pasted fragment and cleans it up for a newsletter, twice. Images
// are "fetched" from memory: nothing is read from disk or the network, but every image and
// background path of the clean-up runs. What a clean-up leaves is elements and text only, with
// no script, embedded object or style, no event handler and no address that runs a script.
#include "ndb/NdbNewsletter.h"
#include "x2/PasteCleanup.h"
#include "x2/X2Validator.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
// A reference of even length yields a picture, one of odd length none, so both roads are taken.
std::unique_ptr<ndb::CNdbResource> FetchFromMemory(const QString& reference, const QString&)
{
    if (reference.size() % 2 != 0)
        return nullptr;
    auto resource = std::make_unique<ndb::CNdbResource>();
    const QString fileName =
        reference.mid(reference.lastIndexOf(QLatin1Char('/')) + 1) + QStringLiteral(".png");
    resource->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(QStringLiteral("img/") + fileName));
    resource->SetField(ndb::ResourceFileName, ndb::CNdbFieldValue(fileName));
    resource->SetPayload(QByteArrayLiteral("\x89PNG"));
    return resource;
}

// Blanks and control characters inside a scheme do not stop a browser from running it.
bool IsScriptAddress(QString value)
{
    value.removeIf([](QChar c) { return c.unicode() <= 0x20; });
    return value.startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive) ||
           value.startsWith(QLatin1String("vbscript:"), Qt::CaseInsensitive);
}

void CheckCleaned(const CX2Element& parent)
{
    static const QStringList removed = {QStringLiteral("embed"),    QStringLiteral("iframe"),
                                        QStringLiteral("noscript"), QStringLiteral("object"),
                                        QStringLiteral("script"),   QStringLiteral("style")};
    static const QStringList addresses = {QStringLiteral("href"), QStringLiteral("src"),
                                          QStringLiteral("background")};
    for (int i = 0; i < parent.GetChildCount(); ++i)
    {
        const CX2Element& node = *parent.GetChild(i);
        if (node.GetKind() == CX2Element::Text)
            continue;
        if (node.GetKind() != CX2Element::Element || removed.contains(node.GetName()))
            std::abort();
        for (int a = 0; a < node.GetAttributeCount(); ++a)
        {
            const CX2Attribute& attribute = *node.GetAttribute(a);
            const QString name = attribute.GetName().toLower();
            if (name.startsWith(QLatin1String("on")) ||
                (addresses.contains(name) && IsScriptAddress(attribute.GetValue())))
                std::abort();
        }
        CheckCleaned(node);
    }
}

QString Clean(const QString& html, ndb::CNdbNewsletter& newsletter)
{
    CX2Validator document;
    document.ParseHtml(html);
    PasteContext context;
    context.newsletter = &newsletter;
    context.fetchImage = FetchFromMemory;
    CleanPastedHtml(QStringLiteral("file:///nowhere/"), document, context);
    CheckCleaned(document.GetRoot());
    QString written;
    document.WriteHtml(written);
    return written;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ndb::CNdbNewsletter newsletter;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    Clean(Clean(text, newsletter), newsletter);
    return 0;
}
