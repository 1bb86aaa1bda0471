#include "ndb/NdbResource.h"

#include "ndb/NdbArchiveValues.h"

namespace ndb
{
CNdbResource::CNdbResource() : CNdbFieldBase(NdbKindResource)
{
    SetField(ResourceId, CNdbFieldValue(CreateGuidString()));
}

void CNdbResource::Serialize(CPSArchive& archive)
{
    CNdbFieldBase::Serialize(archive);
    if (archive.IsReading())
        ArchiveReadBytes(archive, m_payload);
    else
        ArchiveWriteBytes(archive, m_payload);
}

bool CNdbResource::IsValidFieldValue(int id, const CNdbFieldValue& value) const
{
    if (id == ResourceWidth || id == ResourceHeight || id == ResourceSize)
        return value.GetType() == NdbValueInt;
    return value.GetType() == NdbValueText;
}

QString CNdbResource::GetName() const
{
    return GetString(ResourceFileName);
}
} // namespace ndb
