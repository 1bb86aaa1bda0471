// Reads arbitrary bytes as a framework package manifest and checks that a manifest whose paths
// are accepted names no file outside the package or the site's folder.
#include "services/PackageManifest.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <QRegularExpression>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    CX2Validator document;
    if (!document.Parse(text, CX2TransformXmlFennick()))
        return 0;
    CPackageManifest manifest;
    if (!manifest.Read(document) || !manifest.HasOnlyRelativePaths())
        return 0;
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    for (const PackageFileEntry& entry : manifest.GetFiles())
    {
        for (const QString& path : {entry.source, entry.destination})
        {
            if (path.isEmpty() || path.startsWith('/') || path.startsWith('\\') ||
                path.split(separators).contains(QStringLiteral("..")))
            {
                std::fprintf(stderr, "accepted path outside the package: %s\n", qPrintable(path));
                std::abort();
            }
        }
    }
    return 0;
}
