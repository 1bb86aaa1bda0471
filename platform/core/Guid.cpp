#include "platform/core/Guid.h"

#include <QUuid>

bool IsNullGuid(const GUID& guid)
{
    if (guid.Data1 != 0 || guid.Data2 != 0 || guid.Data3 != 0)
        return false;
    for (quint8 byte : guid.Data4)
    {
        if (byte != 0)
            return false;
    }
    return true;
}

bool CoCreateGuid(GUID& guid)
{
    guid = GUID{};
    const QUuid uuid = QUuid::createUuid();
    guid.Data1 = uuid.data1;
    guid.Data2 = uuid.data2;
    guid.Data3 = uuid.data3;
    for (int i = 0; i < 8; ++i)
        guid.Data4[i] = uuid.data4[i];
    return !IsNullGuid(guid);
}
