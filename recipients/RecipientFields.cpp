#include "recipients/RecipientFields.h"

#include "ndb/NdbUser.h"
#include "platform/core/AppStrings.h"

namespace
{
constexpr quint32 FirstNameId = 12800;
constexpr int TextFieldCount = 22;
constexpr quint32 YesWordId = 14501;
constexpr quint32 NoWordId = 14503;

std::vector<RecipientField> BuildFields()
{
    std::vector<RecipientField> fields;
    for (int i = 0; i < TextFieldCount; ++i)
        fields.push_back({LoadAppString(FirstNameId + quint32(i)), ndb::UserEmail + 10 * i});
    fields.push_back({LoadAppString(FirstNameId + 22), ndb::UserHtmlMail});
    fields.push_back({LoadAppString(FirstNameId + 23), ndb::UserEnabled});
    return fields;
}

bool IsFlagField(int code)
{
    return code == ndb::UserHtmlMail || code == ndb::UserBlocked || code == ndb::UserEnabled;
}

// An absent flag means what the record model says it means.
bool FlagDefault(int code)
{
    return code != ndb::UserBlocked;
}
} // namespace

const std::vector<RecipientField>& GetRecipientFields()
{
    static const std::vector<RecipientField> fields = BuildFields();
    return fields;
}

bool GetRecipientFieldName(int code, QString& name)
{
    for (const RecipientField& field : GetRecipientFields())
    {
        if (field.code == code)
        {
            name = field.name;
            return true;
        }
    }
    return false;
}

QString GetRecipientFieldText(const ndb::CNdbUser& user, int code)
{
    if (!IsFlagField(code))
        return user.GetString(code);
    return LoadAppString(user.GetBool(code, FlagDefault(code)) ? YesWordId : NoWordId);
}
