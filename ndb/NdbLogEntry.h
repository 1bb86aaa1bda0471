#pragma once

#include "ndb/NdbFieldBase.h"

namespace ndb
{
enum LOGUSERENTRY
{
    LogEntryStatus = 110,        // NdbSendStatus
    LogEntryFirstAttempt = 120,  // time
    LogEntryLatestAttempt = 121, // time; absent while there was only one attempt
    LogEntryAttempts = 130,
};

// Delivery status of one address. 20 and 30 both mean failed; the sender writes 30.
enum NdbSendStatus
{
    NdbSendSent = 10,
    NdbSendFailed = 20,
    NdbSendFailedPermanently = 30,
    NdbSendPending = 40, // deferred by a temporary error, to be tried again
};

// What the send log knows of one address.
class CNdbLogEntry : public CNdbFieldBase<LOGUSERENTRY>
{
    KV_PERSISTENT_CLASS()
    CNdbLogEntry() : CNdbFieldBase(NdbKindBase) {}

    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;

    int GetAttempts() const { return GetInt(LogEntryAttempts); }
};
} // namespace ndb
