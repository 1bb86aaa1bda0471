#include "mail/MailDomains.h"

#include "ndb/NdbSender.h"

QString AddressDomain(const QString& address)
{
    const qsizetype at = address.lastIndexOf(u'@');
    return at < 0 ? QString() : address.mid(at + 1).trimmed();
}

QString SenderDomain(const ndb::CNdbSender& sender)
{
    const QString domain = sender.GetString(ndb::SenderHeloDomain).trimmed();
    return domain.isEmpty() ? AddressDomain(sender.GetString(ndb::SenderFromAddress)) : domain;
}

QString CheckEhloDomain(const ndb::CNdbSender& sender)
{
    const QString domain = SenderDomain(sender);
    return domain.isEmpty() ? QStringLiteral("localhost") : domain;
}
