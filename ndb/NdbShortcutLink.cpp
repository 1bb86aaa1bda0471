#include "ndb/NdbShortcutLink.h"

namespace ndb
{
CNdbShortcutLink::CNdbShortcutLink(const QString& name, const QString& target, int type)
    : CNdbFieldBase(NdbKindShortcutLink)
{
    if (!name.isEmpty())
        SetField(ShortcutLinkName, CNdbFieldValue(name));
    if (!target.isEmpty())
        SetField(ShortcutLinkTarget, CNdbFieldValue(target));
    if (type != 0)
        SetField(ShortcutLinkType, CNdbFieldValue(NdbValueShortcutLinkType, type));
}

bool CNdbShortcutLink::IsValidFieldValue(int id, const CNdbFieldValue& value) const
{
    return value.GetType() == (id == ShortcutLinkType ? NdbValueShortcutLinkType : NdbValueText);
}

QString CNdbShortcutLink::GetName() const
{
    return GetString(ShortcutLinkName);
}

QString CNdbShortcutLink::GetPath() const
{
    return GetString(ShortcutLinkTarget);
}
} // namespace ndb
