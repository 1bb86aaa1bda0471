#include "ndb/NdbUser.h"

namespace ndb
{
CNdbUser::CNdbUser() : CNdbFieldBase(NdbKindUser)
{
    EnsureId();
}

void CNdbUser::EnsureId()
{
    if (GetFields().find(UserId) == GetFields().end())
        SetField(UserId, CNdbFieldValue(CreateGuidString()));
}

void CNdbUser::Serialize(CPSArchive& archive)
{
    CNdbFieldBase::Serialize(archive);
    EnsureId();
}

bool CNdbUser::IsValidFieldValue(int id, const CNdbFieldValue& value) const
{
    switch (id)
    {
    case UserColorLabel:
        return value.GetType() == NdbValueColorLabel;
    case UserHtmlMail:
    case UserBlocked:
    case UserEnabled:
        return value.GetType() == NdbValueBool;
    default:
        return value.GetType() == NdbValueText;
    }
}

bool CNdbUser::HasColorLabel() const
{
    CNdbFieldValue label;
    return GetField(UserColorLabel, label);
}
} // namespace ndb
