#include "services/QorxQuery.h"

#include "services/QorxInstaller.h"

CQorxQuery::CQorxQuery(const QString& scriptAddress, const QString& user, const QString& password,
                       const QString& type, const QString& command)
    : m_address(scriptAddress)
{
    m_address += QLatin1String("?adminusername=") + CQorxInstaller::UrlEncode(user);
    m_address += QLatin1String("&adminpassword=") + CQorxInstaller::UrlEncode(password);
    m_address += QLatin1String("&type=") + type;
    m_address += QLatin1String("&cmd=") + command;
}

CQorxQuery& CQorxQuery::Add(const QString& name, const QString& value)
{
    m_address += QLatin1Char('&') + name + QLatin1Char('=') + CQorxInstaller::UrlEncode(value);
    return *this;
}

CQorxQuery& CQorxQuery::AddNumber(const QString& name, int value)
{
    m_address += QLatin1Char('&') + name + QLatin1Char('=') + QString::number(value);
    return *this;
}
