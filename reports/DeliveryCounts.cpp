#include "reports/DeliveryCounts.h"

#include "ndb/NdbNewsletter.h"
#include "ndb/NdbUser.h"

void CountDeliveryStatus(const ndb::CNdbNewsletter& newsletter, DeliveryCounts& counts)
{
    counts = DeliveryCounts();
    counts.total = newsletter.Users().GetCount();
    for (const auto& user : newsletter.Users().GetUsers())
    {
        const ndb::CNdbLogEntry* entry = newsletter.Log().FindEntry(user->GetString(ndb::UserEmail));
        ndb::CNdbFieldValue status;
        if (!entry || !entry->GetField(ndb::LogEntryStatus, status))
        {
            ++counts.notSent;
            continue;
        }
        switch (entry->GetInt(ndb::LogEntryStatus))
        {
        case 0:
            ++counts.notSent;
            break;
        case ndb::NdbSendSent:
            ++counts.logged;
            break;
        case ndb::NdbSendFailed:
            ++counts.logged;
            ++counts.failed;
            break;
        case ndb::NdbSendFailedPermanently:
            ++counts.logged;
            ++counts.failedPermanently;
            break;
        case ndb::NdbSendPending:
            ++counts.logged;
            ++counts.pending;
            break;
        default:
            break;
        }
    }
    counts.delivered = counts.logged - (counts.failed + counts.failedPermanently + counts.pending);
}
