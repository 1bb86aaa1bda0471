#include "ndb/NdbSender.h"

namespace ndb
{
bool CNdbSender::IsValidFieldValue(int id, const CNdbFieldValue& value) const
{
    switch (id)
    {
    case SenderDelivery:
        return value.GetType() == NdbValueSenderKind;
    case SenderThreads:
    case SenderRelayPort:
    case SenderPauseAfter:
    case SenderPauseSeconds:
    case SenderPop3Port:
    case SenderOption240:
    case SenderSiteNumber424:
    case SenderSiteNumber425:
        return value.GetType() == NdbValueInt;
    case SenderRelayAuth:
    case SenderPauseEnabled:
    case SenderBounceEnabled:
    case SenderSiteSwitch426:
    case SenderDynamicServices:
    case SenderWebView:
    case SenderTracking:
    case SenderDynamicList:
    case SenderOption830:
    case SenderSiteWebView:
    case SenderSiteStatistics:
        return value.GetType() == NdbValueBool;
    default:
        return value.GetType() == NdbValueText;
    }
}
} // namespace ndb
