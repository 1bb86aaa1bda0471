#include "mail/DirectDeliveryTest.h"

#include "base/AppSettings.h"
#include "mail/VexaMail.h"

namespace
{
const QString DefaultServer = QStringLiteral("mx.kelvora.invalid");
const QString DefaultEhloDomain = QStringLiteral("direct-test.kelvora.invalid");
constexpr int DefaultPort = 25;

QString MachineText(const QString& name, const QString& fallback)
{
    QString text;
    return ReadAppSettingString(HKEY_LOCAL_MACHINE, name, text) && !text.isEmpty() ? text : fallback;
}

int MachinePort()
{
    quint32 port = 0;
    return ReadAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("DirectTestPort"), port) && port >= 1 &&
                   port <= 65535
               ? int(port)
               : DefaultPort;
}
} // namespace

namespace DirectDeliveryTest
{
int Run()
{
    CVexaMail mail(MachineText(QStringLiteral("DirectTestEhloDomain"), DefaultEhloDomain),
                   MachineText(QStringLiteral("DirectTestServer"), DefaultServer), MachinePort(), QString(),
                   QString());
    return mail.TestServer(QString(), QString(), false);
}
} // namespace DirectDeliveryTest
