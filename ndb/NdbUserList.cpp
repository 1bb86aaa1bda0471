#include "ndb/NdbUserList.h"

#include "ndb/NdbArchiveValues.h"
#include "ndb/NdbNewsletter.h"

#include <algorithm>

namespace ndb
{
void CNdbUserList::Serialize(CPSArchive& archive)
{
    CNdbFieldBase::Serialize(archive);
    if (archive.IsReading())
        ArchiveReadObjectList(archive, m_users);
    else
        ArchiveWriteObjectVector(archive, m_users);
}

bool CNdbUserList::IsValidFieldValue(int id, const CNdbFieldValue& value) const
{
    if (id == UserListTime140 || id == UserListTime150)
        return value.GetType() == NdbValueTime;
    return value.GetType() == NdbValueText;
}

QString CNdbUserList::GetName() const
{
    return GetString(UserListName);
}

CNdbUser* CNdbUserList::GetUserAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_users[index].get() : nullptr;
}

void CNdbUserList::AddUser(std::unique_ptr<CNdbUser> user)
{
    if (user)
        m_users.push_back(std::move(user));
}

int CNdbUserList::CountEnabled() const
{
    return static_cast<int>(
        std::count_if(m_users.begin(), m_users.end(), [](const auto& user) { return user->IsEnabled(); }));
}

int CNdbUserList::CountPending(const CNdbNewsletter* newsletter) const
{
    int pending = 0;
    for (const auto& user : m_users)
    {
        if (!user->IsEnabled() || user->IsBlocked())
            continue;
        const CNdbLogEntry* entry =
            newsletter ? newsletter->Log().FindEntry(user->GetString(UserEmail)) : nullptr;
        const int status = entry ? entry->GetInt(LogEntryStatus) : 0;
        if (status != NdbSendSent && status != NdbSendFailed && status != NdbSendFailedPermanently)
            ++pending;
    }
    return pending;
}

void CNdbUserList::RemoveUserAt(int index)
{
    if (index >= 0 && index < GetCount())
        m_users.erase(m_users.begin() + index);
}

void CNdbUserList::RemoveUser(const CNdbUser* user)
{
    std::erase_if(m_users, [user](const auto& held) { return held.get() == user; });
}

CNdbUserList::UserVector CNdbUserList::DetachAll()
{
    return std::exchange(m_users, {});
}

CNdbUser* CNdbUserList::FindById(const QString& id) const
{
    const auto found = std::find_if(
        m_users.begin(), m_users.end(),
        [&id](const auto& user) { return user->GetString(UserId).compare(id, Qt::CaseInsensitive) == 0; });
    return found == m_users.end() ? nullptr : found->get();
}

CNdbUser* CNdbUserList::FindDuplicateAddress(const QString& address, const CNdbUser* except) const
{
    const auto found = std::find_if(m_users.begin(), m_users.end(),
                                    [&address, except](const auto& user) {
                                        return user.get() != except && user->GetString(UserEmail).compare(
                                                                           address, Qt::CaseInsensitive) == 0;
                                    });
    return found == m_users.end() ? nullptr : found->get();
}

bool CNdbUserList::IndexByAddress(std::map<QString, CNdbUser*>& index) const
{
    for (const auto& user : m_users)
        index[user->GetString(UserEmail)] = user.get();
    return true;
}

void CNdbUserList::TakeContentOf(CNdbUserList& other)
{
    CNdbFieldBase::operator=(other);
    m_users = std::move(other.m_users);
}
} // namespace ndb
