#pragma once

#include "ndb/NdbUserList.h"

#include <memory>

// A recipient list that only points at recipients owned elsewhere: it hands them all back when
// it goes, never deleting one.
class CBorrowedUserList
{
public:
    CBorrowedUserList() = default;
    CBorrowedUserList(const CBorrowedUserList&) = delete;
    CBorrowedUserList& operator=(const CBorrowedUserList&) = delete;
    ~CBorrowedUserList()
    {
        for (auto& user : m_list.DetachAll())
            static_cast<void>(user.release());
    }

    void Add(ndb::CNdbUser* user) { m_list.AddUser(std::unique_ptr<ndb::CNdbUser>(user)); }
    const ndb::CNdbUserList& Get() const { return m_list; }

private:
    ndb::CNdbUserList m_list;
};
