#pragma once

#include "ndb/NdbFieldBase.h"

namespace ndb
{
// Sending options of a newsletter; the same record holds a site account. Where a field is absent,
// readers use the default given here.
enum SENDERFIELDS
{
    SenderDelivery = 100,   // NdbSenderKind: 0 direct to each mail exchanger, else relay
    SenderThreads = 101,    // direct delivery threads, kept within 1 to 100 by the sender
    SenderHeloDomain = 102, // empty: the domain of the From address
    SenderRelayServer = 200,
    SenderRelayPort = 201, // default 25
    SenderRelayAuth = 202,
    SenderRelayUser = 203,
    SenderRelayPassword = 204,
    SenderPauseAfter = 205,   // e-mails between pauses, default 5
    SenderPauseSeconds = 206, // default 1
    SenderPauseEnabled = 207,
    SenderBounceEnabled = 220,
    SenderPop3Server = 221,
    SenderPop3Port = 222, // default 110
    SenderPop3Setting = 224,
    SenderPop3User = 225,
    SenderPop3Password = 226,
    SenderOption240 = 240,
    SenderFromAddress = 300,
    SenderFromName = 301,
    SenderOrganization = 302,
    SenderReplyTo = 303,
    SenderSiteAddress = 410,
    SenderFtpServer = 420,
    SenderFtpUser = 421,
    SenderFtpPassword = 422,
    SenderFtpFolder = 423,     // the FTP folder that serves the site address
    SenderSiteNumber424 = 424, // default 21
    SenderSiteNumber425 = 425, // default 1
    SenderSiteSwitch426 = 426, // default true
    SenderWebViewFolder = 440,
    SenderSiteType = 450, // "asp", "php"; anything else is a static site
    SenderDatabaseServer = 600,
    SenderDatabaseName = 601,
    SenderDatabaseUser = 602,
    SenderDatabasePassword = 603,
    SenderSiteAccess630 = 630,
    SenderSiteAccess631 = 631,
    SenderAdminEmail = 632,
    SenderSiteMailServer = 640,
    SenderDynamicServices = 644,
    SenderSiteAccess650 = 650,
    SenderSiteAccount = 800, // the id (field 1) of the site account chosen for the newsletter
    SenderWebView = 810,
    SenderTracking = 811,
    SenderDynamicList = 812,
    SenderWebViewUpload = 820,
    SenderServerListId = 821,
    SenderUnsubscribeMessage = 822,
    SenderOption830 = 830,
    SenderSiteWebView = 900,
    SenderSiteStatistics = 901,
};

class CNdbSender : public CNdbFieldBase<SENDERFIELDS>
{
    KV_PERSISTENT_CLASS()
    CNdbSender() : CNdbFieldBase(NdbKindSender) {}
    // The e-mail settings edit a copy and assign it back.
    CNdbSender(const CNdbSender&) = default;
    CNdbSender& operator=(const CNdbSender&) = default;

    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;
    // Whether a relay, POP3, FTP or database password is filled in.
    bool HoldsPassword() const;
};
} // namespace ndb
