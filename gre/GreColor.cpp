#include "gre/GreColor.h"

#include "base/ArchiveValues.h"

namespace gre
{
CGreColor::CGreColor(quint8 red, quint8 green, quint8 blue, quint8 alpha)
    : m_value(quint32(alpha) << 24 | quint32(red) << 16 | quint32(green) << 8 | blue)
{
}

void CGreColor::Serialize(CPSArchive& archive)
{
    if (archive.IsReading())
    {
        char red = 0;
        char green = 0;
        char blue = 0;
        char alpha = 0;
        ArchiveReadChar(archive, red);
        ArchiveReadChar(archive, green);
        ArchiveReadChar(archive, blue);
        ArchiveReadChar(archive, alpha);
        *this = CGreColor(quint8(red), quint8(green), quint8(blue), quint8(alpha));
        QString name;
        ArchiveReadString(archive, name);
        m_name = name;
    }
    else
    {
        ArchiveWriteChar(archive, char(GetRed()));
        ArchiveWriteChar(archive, char(GetGreen()));
        ArchiveWriteChar(archive, char(GetBlue()));
        ArchiveWriteChar(archive, char(GetAlpha()));
        ArchiveWriteString(archive, m_name);
    }
}
} // namespace gre
