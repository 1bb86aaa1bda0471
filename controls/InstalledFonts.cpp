#include "controls/InstalledFonts.h"

#include <QFontDatabase>
#include <QRawFont>
#include <algorithm>
#include <cmath>
#include <map>

namespace
{
int DesignUnits(qreal value)
{
    return std::clamp(int(std::lround(value)), 0, 65535);
}

FontFamilyEntry ReadFamily(const QString& family)
{
    FontFamilyEntry entry{family, 0, 0};
    QFont font(family);
    font.setStyleName(QString());
    QRawFont raw = QRawFont::fromFont(font);
    if (raw.isValid())
    {
        // At a pixel size of one em unit the metrics read in design units.
        raw.setPixelSize(raw.unitsPerEm());
        entry.cellAscent = DesignUnits(raw.ascent());
        entry.cellDescent = DesignUnits(raw.descent());
    }
    return entry;
}
} // namespace

std::vector<FontFamilyEntry> OrderFontFamilies(const std::vector<FontFamilyEntry>& families)
{
    std::map<QString, FontFamilyEntry> byName;
    for (const FontFamilyEntry& family : families)
        byName[family.name] = family;
    std::vector<FontFamilyEntry> ordered;
    ordered.reserve(byName.size());
    for (const auto& [name, entry] : byName)
        ordered.push_back(entry);
    return ordered;
}

bool GetInstalledFontFamilies(std::vector<FontFamilyEntry>& list)
{
    list.clear();
    const QStringList names = QFontDatabase::families();
    if (names.isEmpty())
        return false;
    std::vector<FontFamilyEntry> families;
    families.reserve(std::size_t(names.size()));
    for (const QString& name : names)
        families.push_back(ReadFamily(name));
    list = OrderFontFamilies(families);
    return true;
}
