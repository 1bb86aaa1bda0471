// Parses arbitrary bytes as a pasted fragment and cleans it up for a newsletter, twice. Images
// are "fetched" from memory: nothing is read from disk or the network, but every image and
// background path of the clean-up runs.
#include "ndb/NdbNewsletter.h"
#include "x2/PasteCleanup.h"
#include "x2/X2Validator.h"

#include <cstddef>
#include <cstdint>

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

QString Clean(const QString& html, ndb::CNdbNewsletter& newsletter)
{
    CX2Validator document;
    document.ParseHtml(html);
    PasteContext context;
    context.newsletter = &newsletter;
    context.fetchImage = FetchFromMemory;
    CleanPastedHtml(QStringLiteral("file:///nowhere/"), document, context);
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
