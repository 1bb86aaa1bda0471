#include "ndb/NdbPaletteColor.h"

#include "base/ArchiveValues.h"

namespace ndb
{
CNdbPaletteColor::CNdbPaletteColor(const QString& name, const QString& key, const CNdbRgba& rgba)
    : CNdbColor(NdbColorFixed, rgba, key), m_name(name)
{
}

void CNdbPaletteColor::Serialize(CPSArchive& archive)
{
    CNdbColor::Serialize(archive);
    if (archive.IsReading())
        ArchiveReadString(archive, m_name);
    else
        ArchiveWriteString(archive, m_name);
}
} // namespace ndb
