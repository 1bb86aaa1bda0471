// Reads arbitrary text as an element's name metadata, writes a pair into it and reads it back.
#include "x2/NameMetadata.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString key = QStringLiteral("src_border");
    GetNameMetadataText(text, key);
    UnescapeMetadataValue(text);
    // A value of single-byte characters comes back as it was written, whatever else the name holds.
    QString value;
    for (const QChar c : text)
    {
        const char16_t unit = c.unicode() & 0xFF;
        value += QChar(unit ? unit : u'x');
    }
    if (GetNameMetadataText(SetNameMetadataText(text, key, value), key) != value)
        std::abort();
    return 0;
}
