#pragma once

#include "platform/ui/WinTypes.h"

#include <QString>

#include <vector>

namespace ndb
{
class CNdbUser;
class CNdbUserList;
} // namespace ndb

// Moves imported recipients into a recipient list: invalid addresses are dropped, known addresses
// (letter case aside) count as duplicates, the rest are appended. The imported recipients are
// taken from the last to the first, so the new ones stand in the list in reverse order.
class CUserMerge
{
public:
    // With disable, every added recipient and every recipient whose address was imported again
    // is disabled.
    CUserMerge(ndb::CNdbUserList& target, bool disable) : m_target(target), m_disable(disable) {}

    // Empties imported.
    void Merge(ndb::CNdbUserList& imported);

    int GetTotal() const { return m_total; }
    int GetAdded() const { return m_added; }
    int GetDuplicates() const { return m_duplicates; }
    int GetInvalid() const { return m_invalid; }
    // In the order they were appended.
    const std::vector<ndb::CNdbUser*>& GetAddedUsers() const { return m_addedUsers; }
    // Recipients of the list that the disable option changed.
    const std::vector<ndb::CNdbUser*>& GetUpdatedUsers() const { return m_updatedUsers; }

    QString GetSummaryText() const;
    UINT GetSummaryIcon() const;

private:
    ndb::CNdbUserList& m_target;
    const bool m_disable;
    int m_total = 0;
    int m_added = 0;
    int m_duplicates = 0;
    int m_invalid = 0;
    std::vector<ndb::CNdbUser*> m_addedUsers;
    std::vector<ndb::CNdbUser*> m_updatedUsers;
};
