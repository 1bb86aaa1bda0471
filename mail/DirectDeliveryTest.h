#pragma once

#include <QString>

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
// The server of the test; empty when no mail exchanger was found.
QString ChooseServer(const ndb::CNdbSender& sender, const ndb::CNdbUserList& recipients);
// The result of CVexaMail::TestServer: 0 when direct delivery works, 1 also when no server
// was found.
int Run(const ndb::CNdbSender& sender, const ndb::CNdbUserList& recipients);
} // namespace DirectDeliveryTest
