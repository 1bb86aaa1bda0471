#include "services/QorxReply.h"

#include "services/QorxText.h"
#include "x2/X2Validator.h"

#include <QList>

namespace
{
const QString FrameworkSystem = QStringLiteral("qorxsystem");

QString SystemOrFramework(const QString& systemName)
{
    return systemName.isEmpty() ? FrameworkSystem : systemName;
}

bool HasStatusOk(const CX2Element* element)
{
    return element && element->GetAttributeValue(QStringLiteral("status")) == QLatin1String("ok");
}
} // namespace

namespace QorxReply
{
QorxResultCode ReadStatus(CX2Validator& reply, const QString& systemName, QString& packageId,
                          int& packageVersion)
{
    CX2Element* status =
        reply.GetRoot().FindElementByName(SystemOrFramework(systemName) + QLatin1String("_admin_getstatus"));
    if (!status)
        return QorxResult::ReplyNotUsable;
    if (!HasStatusOk(status))
        return QorxResult::Refused;
    packageId = status->GetAttributeValue(QStringLiteral("packageid"));
    packageVersion = QorxText::LeadingNumber(status->GetAttributeValue(QStringLiteral("packageversion")));
    if (!HasStatusOk(status->FindElementByName(QStringLiteral("connection"))))
        return QorxResult::NoDatabaseConnection;
    if (!HasStatusOk(status->FindElementByName(QStringLiteral("tables_exist"))))
        return QorxResult::TablesMissing;
    return QorxResult::Success;
}

QorxResultCode ReadInstalledPackages(CX2Validator& reply, const QString& packageName, QString& serviceScript)
{
    const CX2Element* packages =
        reply.GetRoot().FindElementByName(FrameworkSystem + QLatin1String("_admin_getinstalledpackages"));
    if (!packages)
        return QorxResult::ReplyNotUsable;
    if (!HasStatusOk(packages))
        return QorxResult::Refused;
    QList<CX2Element*> found;
    reply.FindElementsByName(found, QStringLiteral("package"));
    for (const CX2Element* package : std::as_const(found))
    {
        if (package->GetAttributeValue(QStringLiteral("name")) == packageName)
        {
            serviceScript = package->GetAttributeValue(QStringLiteral("serviceurl"));
            return QorxResult::Success;
        }
    }
    return QorxResult::ServiceNotInstalled;
}

QorxResultCode ReadInit(CX2Validator& reply, const QString& systemName)
{
    CX2Element* init =
        reply.GetRoot().FindElementByName(SystemOrFramework(systemName) + QLatin1String("_admin_init"));
    if (!HasStatusOk(init))
        return QorxResult::ReplyNotUsable;
    if (!systemName.isEmpty() &&
        !HasStatusOk(init->FindElementByName(QStringLiteral("system_package_register"))))
        return QorxResult::RegistrationNotConfirmed;
    return QorxResult::Success;
}

QorxResultCode ReadServiceReply(CX2Validator& reply, const QString& elementName)
{
    return HasStatusOk(reply.GetRoot().FindElementByName(elementName)) ? QorxResult::Success
                                                                       : QorxResult::ReplyNotUsable;
}

void CollectItems(CX2Validator& reply, const QString& item, const QString& idAttribute,
                  const QString& valueAttribute, std::map<QString, QString>& items)
{
    QList<CX2Element*> found;
    reply.FindElementsByName(found, item);
    for (const CX2Element* element : std::as_const(found))
    {
        const QString id = element->GetAttributeValue(idAttribute);
        if (!id.isEmpty())
            items[id] = element->GetAttributeValue(valueAttribute);
    }
}
} // namespace QorxReply
