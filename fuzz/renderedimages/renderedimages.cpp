// Feeds arbitrary page text to the search for effect-rendered image references.

#include "mailui/DlgSendStatus.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString page = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CDlgSendStatus::RenderedImageMap images;
    CDlgSendStatus::CollectRenderedImages(page, images);
    for (const auto& [reference, fileName] : images)
        if (!page.contains(reference) || !reference.startsWith(QLatin1String("img/")) || fileName.isEmpty())
            __builtin_trap();
    return 0;
}
