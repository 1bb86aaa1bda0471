// Reads arbitrary bytes as template localisation data and expands the input with what it gave.
#include "services/TemplateLocalisation.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    LocalisationMap map;
    ParseLocalisationXml(map, text);
    ExpandLocalisationTokens(text, map, true);
    UnknownLocalisationKeys().clear();
    return 0;
}
