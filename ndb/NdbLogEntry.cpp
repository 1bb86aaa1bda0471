#include "ndb/NdbLogEntry.h"

namespace ndb
{
bool CNdbLogEntry::IsValidFieldValue(int id, const CNdbFieldValue& value) const
{
    switch (id)
    {
    case LogEntryStatus:
        return value.GetType() == NdbValueSendStatus;
    case LogEntryFirstAttempt:
    case LogEntryLatestAttempt:
        return value.GetType() == NdbValueTime;
    case LogEntryAttempts:
        return value.GetType() == NdbValueInt;
    default:
        return value.GetType() == NdbValueText;
    }
}
} // namespace ndb
