#include "recipients/UserMerge.h"

#include "base/TextHelpers.h"
#include "ndb/NdbUserList.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/WinConstants.h"

#include <map>
#include <set>

namespace
{
// The merge compares addresses the way adding one by hand does: without regard to case.
QString AddressKey(const QString& address)
{
    return address.toCaseFolded();
}
} // namespace

void CUserMerge::Merge(ndb::CNdbUserList& imported)
{
    m_total = imported.GetCount();
    std::map<QString, ndb::CNdbUser*> index;
    for (const auto& user : m_target.GetUsers())
        index.try_emplace(AddressKey(user->GetString(ndb::UserEmail)), user.get());
    std::set<ndb::CNdbUser*> updated;
    ndb::CNdbUserList::UserVector users = imported.DetachAll();
    for (auto user = users.rbegin(); user != users.rend(); ++user)
    {
        const QString address = (*user)->GetString(ndb::UserEmail).trimmed();
        (*user)->SetField(ndb::UserEmail, ndb::CNdbFieldValue(address));
        const ndb::CNdbFieldValue disabled(ndb::NdbValueBool, 0);
        if (!IsValidEmailAddress(address))
        {
            ++m_invalid;
            continue;
        }
        const auto [known, isNew] = index.try_emplace(AddressKey(address), user->get());
        if (!isNew)
        {
            ++m_duplicates;
            if (m_disable && updated.insert(known->second).second)
            {
                known->second->SetField(ndb::UserEnabled, disabled);
                m_updatedUsers.push_back(known->second);
            }
            continue;
        }
        ++m_added;
        if (m_disable)
            (*user)->SetField(ndb::UserEnabled, disabled);
        m_addedUsers.push_back(user->get());
        m_target.AddUser(std::move(*user));
    }
}

QString CUserMerge::GetSummaryText() const
{
    if (m_disable)
        return FormatResourceText(LoadAppString(15347),
                                  {QString::number(m_total - m_invalid), QString::number(m_added),
                                   QString::number(m_duplicates), QString::number(m_invalid)});
    return FormatResourceText(LoadAppString(15330), {QString::number(m_added), QString::number(m_duplicates),
                                                     QString::number(m_invalid)});
}

UINT CUserMerge::GetSummaryIcon() const
{
    const bool warn = m_disable ? m_invalid != 0 : m_added == 0 && m_invalid != 0;
    return warn ? MB_ICONEXCLAMATION : MB_ICONINFORMATION;
}
