#pragma once

#include "ndb/NdbFieldBase.h"
#include "ndb/NdbUser.h"

#include <map>
#include <memory>
#include <vector>

namespace ndb
{
class CNdbNewsletter;

enum USERLISTFIELDS
{
    UserListName = 110,
    UserListTime140 = 140,
    UserListTime150 = 150,
};

// The recipients of a newsletter or a mailing list, in the order of adding. Nothing here checks
// for duplicate addresses: callers ask FindDuplicateAddress before they add or change one.
class CNdbUserList : public CNdbFieldBase<USERLISTFIELDS>
{
    KV_PERSISTENT_CLASS()
    using UserVector = std::vector<std::unique_ptr<CNdbUser>>;

    CNdbUserList() : CNdbFieldBase(NdbKindUserList) {}
    CNdbUserList(const CNdbUserList&) = delete;
    CNdbUserList& operator=(const CNdbUserList&) = delete;

    // The field record, then the recipients as an object vector; reading replaces them.
    void Serialize(CPSArchive& archive) override;
    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;
    QString GetName() const override;

    int GetCount() const { return static_cast<int>(m_users.size()); }
    CNdbUser* GetUserAt(int index) const;
    const UserVector& GetUsers() const { return m_users; }
    void AddUser(std::unique_ptr<CNdbUser> user);

    int CountEnabled() const;
    // Enabled, unblocked recipients not yet sent to or failed according to the newsletter's send
    // log (an address that is pending or absent from the log counts); without a newsletter, all
    // enabled, unblocked recipients. The log is not changed.
    int CountPending(const CNdbNewsletter* newsletter) const;

    void RemoveUserAt(int index);
    // Nothing happens when the recipient is not in the list.
    void RemoveUser(const CNdbUser* user);
    void DeleteAll() { m_users.clear(); }
    // Empties the list and hands the recipients to the caller.
    [[nodiscard]] UserVector DetachAll();

    // Identifiers compare without regard to case.
    CNdbUser* FindById(const QString& id) const;
    // The first recipient other than except whose address equals the address without regard to
    // case.
    CNdbUser* FindDuplicateAddress(const QString& address, const CNdbUser* except) const;
    // Maps every exact address text to its last recipient in list order.
    bool IndexByAddress(std::map<QString, CNdbUser*>& index) const;

    // Moves everything of a list read aside into this one.
    void TakeContentOf(CNdbUserList& other);

private:
    UserVector m_users;
};
} // namespace ndb
