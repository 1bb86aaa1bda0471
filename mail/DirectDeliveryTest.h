#pragma once

#include <QString>
#include <QStringList>

namespace ndb
{
class CNdbSender;
class CNdbUserList;
} // namespace ndb

// Whether this computer may talk SMTP to mail servers outside: the exchange up to MAIL FROM,
// without authentication and without a recipient, with a mail exchanger the user's own mail
// will reach anyway: that of the first enabled recipient's domain, else that of the sender's
// domain. Machine settings override the server and its port ("DirectTestServer",
// "DirectTestPort") and the EHLO domain ("DirectTestEhloDomain").
namespace DirectDeliveryTest
{
// What a test needs of the document and the settings, taken on the thread that owns them; the
// test itself may then run on any thread.
struct Plan
{
    // The configured server; empty to look up the mail exchanger of the domains in turn.
    QString server;
    QStringList domains;
    QString ehloDomain;
    int port{25};
};

Plan MakePlan(const ndb::CNdbSender& sender, const ndb::CNdbUserList& recipients);
// The server of the test; empty when no mail exchanger was found.
QString ChooseServer(const Plan& plan);
QString ChooseServer(const ndb::CNdbSender& sender, const ndb::CNdbUserList& recipients);
// The result of CVexaMail::TestServer: 0 when direct delivery works, 1 also when no server
// was found.
int Run(const Plan& plan);
int Run(const ndb::CNdbSender& sender, const ndb::CNdbUserList& recipients);
} // namespace DirectDeliveryTest
