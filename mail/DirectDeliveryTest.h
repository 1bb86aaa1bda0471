#pragma once

// Whether this computer may talk SMTP to mail servers outside: the exchange up to MAIL FROM with
// a server of ours on port 25, without authentication and without a recipient. The server, its
// port and the EHLO domain announced to it are machine settings ("DirectTestServer",
// "DirectTestPort", "DirectTestEhloDomain") with built-in defaults.
namespace DirectDeliveryTest
{
// The result of CVexaMail::TestServer: 0 when direct delivery works.
int Run();
} // namespace DirectDeliveryTest
