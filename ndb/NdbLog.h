#pragma once

#include "base/PSFactory.h"
#include "ndb/NdbLogEntry.h"

#include <QDateTime>
#include <QString>

#include <map>
#include <memory>

namespace ndb
{
// The send log of a newsletter: one entry per e-mail address, keyed by the exact address text
// (case-sensitive). An address may be mapped to no entry; that counts as no entry everywhere and
// is archived as a null object pointer.
class CNdbLog : public CPSBase
{
    KV_PERSISTENT_CLASS()
    using EntryMap = std::map<QString, std::unique_ptr<CNdbLogEntry>>;

    CNdbLog() = default;
    CNdbLog(const CNdbLog&) = delete;
    CNdbLog& operator=(const CNdbLog&) = delete;

    // The entries as an object map. Reading adds to the map; an address already present keeps
    // its entry.
    void Serialize(CPSArchive& archive) override;

    // Stores the status in the address's entry, creating the entry when there is none.
    void SetStatus(int status, const QString& address);
    // Counts one more attempt, by default at the current time: the first attempt's time goes into 120, every
    // later one into 121.
    void CountAttempt(const QString& address) { CountAttempt(address, QDateTime::currentDateTime()); }
    void CountAttempt(const QString& address, const QDateTime& when);
    // True whether or not the address was there.
    bool RemoveEntry(const QString& address);
    void DeleteAllEntries() { m_entries.clear(); }

    // The earliest and latest attempt times over all entries; false, and both unchanged, when no
    // entry has a time.
    bool GetDateRange(QDateTime& earliest, QDateTime& latest) const;

    // The entry of the address, or null; looks without leaving a mapping behind.
    const CNdbLogEntry* FindEntry(const QString& address) const;
    const EntryMap& GetEntries() const { return m_entries; }

    void TakeContentOf(CNdbLog& other) { m_entries = std::move(other.m_entries); }

private:
    CNdbLogEntry& EntryOf(const QString& address);

    EntryMap m_entries;
};
} // namespace ndb
