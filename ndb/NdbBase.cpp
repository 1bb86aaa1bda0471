#include "ndb/NdbBase.h"

#include "base/ArchiveValues.h"
#include "platform/core/Guid.h"

namespace ndb
{
void CNdbBase::Serialize(CPSArchive& archive)
{
    if (archive.IsReading())
        ArchiveReadInt(archive, m_kind);
    else
        ArchiveWriteInt(archive, m_kind);
}

QString CNdbBase::GetName() const
{
    return QStringLiteral("<no name>");
}

QString CNdbBase::GetPath() const
{
    return {};
}

QString CNdbBase::CreateGuidString()
{
    GUID guid;
    CoCreateGuid(guid);
    if (IsNullGuid(guid))
        return {};
    QString text = QStringLiteral("{%1-%2-%3-")
                       .arg(guid.Data1, 8, 16, QChar(u'0'))
                       .arg(guid.Data2, 4, 16, QChar(u'0'))
                       .arg(guid.Data3, 4, 16, QChar(u'0'));
    for (int i = 0; i < 8; ++i)
    {
        if (i == 2)
            text += u'-';
        text += QStringLiteral("%1").arg(guid.Data4[i], 2, 16, QChar(u'0'));
    }
    return (text + u'}').toUpper();
}
} // namespace ndb
