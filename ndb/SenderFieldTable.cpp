#include "ndb/SenderFieldTable.h"

#include "ndb/NdbSender.h"

#include <algorithm>

namespace ndb
{
namespace
{
constexpr SenderFieldInfo Fields[] = {
    {SenderDelivery, NdbValueSenderKind, 0, 0},
    {SenderThreads, NdbValueInt, 1, 1},
    {SenderHeloDomain, NdbValueText},
    {SenderRelayServer, NdbValueText},
    {SenderRelayPort, NdbValueInt, 25, 25},
    {SenderRelayAuth, NdbValueBool},
    {SenderRelayUser, NdbValueText},
    {SenderRelayPassword, NdbValueText},
    {SenderPauseAfter, NdbValueInt, 5, 0},
    {SenderPauseSeconds, NdbValueInt, 1, 0},
    {SenderPauseEnabled, NdbValueBool},
    {SenderBounceEnabled, NdbValueBool},
    {SenderPop3Server, NdbValueText},
    {SenderPop3Port, NdbValueInt, 110, 110},
    {SenderPop3Setting, NdbValueText},
    {SenderPop3User, NdbValueText},
    {SenderPop3Password, NdbValueText},
    {SenderOption240, NdbValueInt},
    {SenderFromAddress, NdbValueText},
    {SenderFromName, NdbValueText},
    {SenderOrganization, NdbValueText},
    {SenderReplyTo, NdbValueText},
    {SenderSiteAddress, NdbValueText},
    {SenderFtpServer, NdbValueText},
    {SenderFtpUser, NdbValueText},
    {SenderFtpPassword, NdbValueText},
    {SenderFtpFolder, NdbValueText},
    {SenderSiteNumber424, NdbValueInt, 21, 21},
    {SenderSiteNumber425, NdbValueInt, 1, 1},
    {SenderSiteSwitch426, NdbValueBool, 1, 1},
    {SenderWebViewFolder, NdbValueText},
    {SenderSiteType, NdbValueText},
    {SenderDatabaseServer, NdbValueText},
    {SenderDatabaseName, NdbValueText},
    {SenderDatabaseUser, NdbValueText},
    {SenderDatabasePassword, NdbValueText},
    {SenderSiteAccess630, NdbValueText},
    {SenderSiteAccess631, NdbValueText},
    {SenderAdminEmail, NdbValueText},
    {SenderSiteMailServer, NdbValueText},
    {SenderDynamicServices, NdbValueBool},
    {SenderSiteAccess650, NdbValueText},
    {SenderSiteAccount, NdbValueText},
    {SenderWebView, NdbValueBool},
    {SenderTracking, NdbValueBool},
    {SenderDynamicList, NdbValueBool},
    {SenderWebViewUpload, NdbValueText},
    {SenderServerListId, NdbValueText},
    {SenderUnsubscribeMessage, NdbValueText},
    {SenderOption830, NdbValueBool},
    {SenderSiteWebView, NdbValueBool},
    {SenderSiteStatistics, NdbValueBool},
};
} // namespace

std::span<const SenderFieldInfo> SenderFields()
{
    return Fields;
}

const SenderFieldInfo* FindSenderField(int id)
{
    const auto* found = std::find_if(std::begin(Fields), std::end(Fields),
                                     [id](const SenderFieldInfo& f) { return f.id == id; });
    return found == std::end(Fields) ? nullptr : found;
}

NdbValueType SenderFieldTag(int id)
{
    const SenderFieldInfo* field = FindSenderField(id);
    return field ? field->tag : NdbValueText;
}

int SenderPageDefault(int id)
{
    const SenderFieldInfo* field = FindSenderField(id);
    return field ? field->pageDefault : 0;
}
} // namespace ndb
