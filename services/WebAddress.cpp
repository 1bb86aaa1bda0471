#include "services/WebAddress.h"

namespace
{
bool IsHostCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('_');
}

bool ParsePort(const QString& text, int& port)
{
    if (text.isEmpty() || text.size() > 5)
        return false;
    for (const QChar c : text)
    {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    port = text.toInt();
    return port >= 1 && port <= 65535;
}

// "host", "host:port", "[v6]" or "[v6]:port".
bool ParseAuthority(const QString& authority, QString& host, int& port)
{
    QString portText;
    bool hasPort = false;
    if (authority.startsWith(QLatin1Char('[')))
    {
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        if (close < 2)
            return false;
        host = authority.mid(1, close - 1);
        const QString rest = authority.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return false;
        hasPort = !rest.isEmpty();
        portText = rest.mid(1);
        for (const QChar c : host)
        {
            if (!c.isLetterOrNumber() && c != QLatin1Char(':') && c != QLatin1Char('.'))
                return false;
        }
    }
    else
    {
        const qsizetype colon = authority.indexOf(QLatin1Char(':'));
        host = colon < 0 ? authority : authority.left(colon);
        hasPort = colon >= 0;
        portText = authority.mid(colon + 1);
        if (host.isEmpty())
            return false;
        for (const QChar c : host)
        {
            if (!IsHostCharacter(c))
                return false;
        }
    }
    port = 0;
    return !hasPort || ParsePort(portText, port);
}
} // namespace

bool CWebAddress::Crack(const QString& address, CWebAddress& result)
{
    const QString trimmed = address.trimmed();
    const qsizetype schemeEnd = trimmed.indexOf(QLatin1String("://"));
    if (schemeEnd <= 0)
        return false;
    const QString scheme = trimmed.left(schemeEnd).toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return false;
    const QString rest = trimmed.mid(schemeEnd + 3);
    qsizetype authorityEnd = rest.size();
    for (const QChar stop : {QLatin1Char('/'), QLatin1Char('?'), QLatin1Char('#')})
    {
        const qsizetype at = rest.indexOf(stop);
        if (at >= 0)
            authorityEnd = std::min(authorityEnd, at);
    }
    const QString authority = rest.left(authorityEnd);
    if (authority.contains(QLatin1Char('@')))
        return false;
    CWebAddress cracked;
    if (!ParseAuthority(authority, cracked.m_host, cracked.m_port))
        return false;
    cracked.m_secure = scheme == QLatin1String("https");
    QString pathWithQuery = rest.mid(authorityEnd);
    const qsizetype fragment = pathWithQuery.indexOf(QLatin1Char('#'));
    if (fragment >= 0)
        pathWithQuery.truncate(fragment);
    if (!pathWithQuery.startsWith(QLatin1Char('/')))
        pathWithQuery.prepend(QLatin1Char('/'));
    cracked.m_pathWithQuery = pathWithQuery;
    result = cracked;
    return true;
}
