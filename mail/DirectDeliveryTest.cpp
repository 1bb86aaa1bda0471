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
Plan MakePlan(const ndb::CNdbSender& sender, const ndb::CNdbUserList& recipients)
{
    Plan plan;
    plan.server = MachineText(QStringLiteral("DirectTestServer"));
    for (const QString& domain :
         {FirstEnabledDomain(recipients), AddressDomain(sender.GetString(ndb::SenderFromAddress))})
    {
        if (!domain.isEmpty())
            plan.domains << domain;
    }
    plan.ehloDomain = EhloDomain(sender);
    plan.port = Port();
    return plan;
}

QString ChooseServer(const Plan& plan)
{
    if (!plan.server.isEmpty())
        return plan.server;
    // The same look-up as the send itself, on an engine that never starts.
    CKVSmtpServer engine;
    for (const QString& domain : plan.domains)
    {
        QString host;
        if (engine.LookUpMailExchanger(domain, host))
            return host;
    }
    return {};
}

QString ChooseServer(const ndb::CNdbSender& sender, const ndb::CNdbUserList& recipients)
{
    return ChooseServer(MakePlan(sender, recipients));
}

int Run(const Plan& plan)
{
    const QString server = ChooseServer(plan);
    if (server.isEmpty())
        return 1;
    CVexaMail mail(plan.ehloDomain, server, plan.port, QString(), QString());
    return mail.TestServer(QString(), QString(), false);
}

int Run(const ndb::CNdbSender& sender, const ndb::CNdbUserList& recipients)
{
    return Run(MakePlan(sender, recipients));
}
} // namespace DirectDeliveryTest
