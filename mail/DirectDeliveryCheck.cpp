#include "mail/DirectDeliveryCheck.h"

#include "base/AppSettings.h"
#include "mail/VexaMail.h"

namespace
{
constexpr int DefaultPort = 25;

QString MachineText(const QString& name, const QString& fallback)
{
    QString text;
    return ReadAppSettingString(HKEY_LOCAL_MACHINE, name, text) && !text.isEmpty() ? text : fallback;
}

int MachinePort()
{
    quint32 port = 0;
    if (!ReadAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("DirectTestPort"), port) || port < 1 ||
        port > 65535)
        return DefaultPort;
    return int(port);
}
} // namespace

namespace DirectDeliveryCheck
{
QString TestDomain()
{
    return MachineText(QStringLiteral("DirectTestDomain"), QStringLiteral("test.talvecor.com"));
}

int Run()
{
    CVexaMail mail(TestDomain(),
                   MachineText(QStringLiteral("DirectTestServer"), QStringLiteral("mail.talvecor.com")),
                   MachinePort(), QString(), QString());
    return mail.TestServer(QString(), QString(), false);
}
} // namespace DirectDeliveryCheck
