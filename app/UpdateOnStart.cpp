#include "app/UpdateOnStart.h"

#include "base/AppSettings.h"

namespace
{
const QString ValueName = QStringLiteral("UpdateOnStart");
}

namespace UpdateOnStart
{
bool IsOn()
{
    quint32 value = 1;
    ReadAppSettingDword(HKEY_LOCAL_MACHINE, ValueName, value);
    return value != 0;
}

void Toggle()
{
    WriteAppSettingDword(HKEY_LOCAL_MACHINE, ValueName, IsOn() ? 0 : 1);
}
} // namespace UpdateOnStart
