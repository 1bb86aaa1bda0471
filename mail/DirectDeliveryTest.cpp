#include "mail/DirectDeliveryTest.h"

#include "base/AppSettings.h"
#include "mail/KVSmtpServer.h"
#include "mail/MailDomains.h"
#include "mail/VexaMail.h"
#include "ndb/NdbSender.h"
#include "ndb/NdbUserList.h"

namespace
{
QString MachineText(const QString& name)
{
    QString text;
    return ReadAppSettingString(HKEY_LOCAL_MACHINE, name, text) ? text.trimmed() : QString();
}

int Port()
{
    quint32 port = 0;
    return ReadAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("DirectTestPort"), port) && port >= 1 &&
                   port <= 65535
               ? int(port)
               : CKVSmtpServer::GetDirectDeliveryPort();
}

QString FirstEnabledDomain(const ndb::CNdbUserList& recipients)
{
    for (const auto& user : recipients.GetUsers())
    {
        const QString domain = AddressDomain(user->GetString(ndb::UserEmail));
        if (user->IsEnabled() && !domain.isEmpty())
            return domain;
    }
    return {};
}

QString EhloDomain(const ndb::CNdbSender& sender)
{
    const QString domain = MachineText(QStringLiteral("DirectTestEhloDomain"));
    return domain.isEmpty() ? CheckEhloDomain(sender) : domain;
}
} // namespace

namespace DirectDeliveryTest
{
QString ChooseServer(const ndb::CNdbSender& sender, const ndb::CNdbUserList& recipients)
{
    const QString configured = MachineText(QStringLiteral("DirectTestServer"));
    if (!configured.isEmpty())
        return configured;
    // The same look-up as the send itself, on an engine that never starts.
    CKVSmtpServer engine;
    for (const QString& domain :
         {FirstEnabledDomain(recipients), AddressDomain(sender.GetString(ndb::SenderFromAddress))})
    {
        QString host;
        if (!domain.isEmpty() && engine.LookUpMailExchanger(domain, host))
            return host;
    }
    return {};
}

int Run(const ndb::CNdbSender& sender, const ndb::CNdbUserList& recipients)
{
    const QString server = ChooseServer(sender, recipients);
    if (server.isEmpty())
        return 1;
    CVexaMail mail(EhloDomain(sender), server, Port(), QString(), QString());
    return mail.TestServer(QString(), QString(), false);
}
} // namespace DirectDeliveryTest
