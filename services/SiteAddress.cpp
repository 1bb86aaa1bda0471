#include "services/SiteAddress.h"

#include "services/WebAddress.h"

CSiteAddress::CSiteAddress(const QString& websiteAddress)
{
    QString address = WithScheme(websiteAddress);
    if (!address.endsWith(QLatin1Char('/')))
        address += QLatin1Char('/');
    const qsizetype afterScheme = address.indexOf(QLatin1String("://")) + 3;
    const QString normalised = address.mid(afterScheme);

    const qsizetype firstSlash = normalised.indexOf(QLatin1Char('/'));
    m_urlPaths.append(QStringLiteral("/"));
    for (qsizetype slash = normalised.indexOf(QLatin1Char('/'), firstSlash + 1); slash >= 0;
         slash = normalised.indexOf(QLatin1Char('/'), slash + 1))
        m_urlPaths.append(normalised.mid(firstSlash, slash - firstSlash));

    CWebAddress web;
    m_valid =
        CWebAddress::Crack(address.left(afterScheme) + normalised.left(firstSlash) + QLatin1Char('/'), web);
    m_host = web.GetHost();
    m_port = web.GetPort();
    m_secure = web.IsSecure();
}

QString CSiteAddress::WithScheme(const QString& websiteAddress)
{
    return websiteAddress.contains(QLatin1String("://")) ? websiteAddress
                                                         : QStringLiteral("http://") + websiteAddress;
}
