// Reads arbitrary bytes as template localisation data and expands the input with what it gave.
// Keys are stored in lower case, and without a text for any key the input expands to itself.
#include "services/TemplateLocalisation.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    LocalisationMap map;
    ParseLocalisationXml(map, text);
    ExpandLocalisationTokens(text, map, true);
    for (const auto& [key, value] : map)
    {
        if (key != key.toLower())
            std::abort();
    }
    if (ExpandLocalisationTokens(text, LocalisationMap(), true) != text)
        std::abort();
    UnknownLocalisationKeys().clear();
    return 0;
}
