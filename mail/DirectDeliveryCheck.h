#pragma once

#include <QString>

// Whether this computer may deliver mail itself: one SMTP test dialogue, without a recipient,
// with a mail server outside. The server, its port and the EHLO domain are machine settings
// ("DirectTestServer", "DirectTestPort", "DirectTestDomain") with defaults of ours, so that an
// installation can name a server it trusts.
namespace DirectDeliveryCheck
{
// The EHLO domain that every server check of the program announces.
QString TestDomain();
// The code of CVexaMail::TestServer: 0 when the server took the test sender.
int Run();
} // namespace DirectDeliveryCheck
