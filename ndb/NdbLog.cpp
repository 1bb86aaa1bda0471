#include "ndb/NdbLog.h"

#include "base/ArchiveValues.h"

namespace ndb
{
void CNdbLog::Serialize(CPSArchive& archive)
{
    if (archive.IsReading())
        ArchiveReadObjectMap(archive, m_entries);
    else
        ArchiveWriteObjectMap(archive, m_entries);
}

CNdbLogEntry& CNdbLog::EntryOf(const QString& address)
{
    std::unique_ptr<CNdbLogEntry>& entry = m_entries[address];
    if (!entry)
        entry = std::make_unique<CNdbLogEntry>();
    return *entry;
}

void CNdbLog::SetStatus(int status, const QString& address)
{
    EntryOf(address).SetField(LogEntryStatus, CNdbFieldValue(NdbValueSendStatus, status));
}

void CNdbLog::CountAttempt(const QString& address, const QDateTime& when)
{
    CNdbLogEntry& entry = EntryOf(address);
    entry.SetField(LogEntryAttempts, CNdbFieldValue(NdbValueInt, entry.GetAttempts() + 1));
    CNdbFieldValue first;
    const int timeField =
        entry.GetField(LogEntryFirstAttempt, first) ? LogEntryLatestAttempt : LogEntryFirstAttempt;
    entry.SetField(timeField, CNdbFieldValue(when));
}

bool CNdbLog::RemoveEntry(const QString& address)
{
    m_entries.erase(address);
    return true;
}

bool CNdbLog::GetDateRange(QDateTime& earliest, QDateTime& latest) const
{
    bool found = false;
    for (const auto& [address, entry] : m_entries)
    {
        if (!entry)
            continue;
        for (const int id : {LogEntryFirstAttempt, LogEntryLatestAttempt})
        {
            CNdbFieldValue value;
            if (!entry->GetField(id, value))
                continue;
            // A time that did not survive the file (another value type, a null time) is no time.
            const QDateTime time = value.GetTime();
            if (!time.isValid())
                continue;
            if (!found || time < earliest)
                earliest = time;
            if (!found || time > latest)
                latest = time;
            found = true;
        }
    }
    return found;
}

const CNdbLogEntry* CNdbLog::FindEntry(const QString& address) const
{
    const auto found = m_entries.find(address);
    return found == m_entries.end() ? nullptr : found->second.get();
}
} // namespace ndb
