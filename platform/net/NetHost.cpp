#include "platform/net/NetHost.h"

#include <QUrl>

QByteArray HostForUrl(const QString& server)
{
    const QByteArray host = QUrl::toAce(server.trimmed());
    if (host.isEmpty() || host.size() > 253)
        return {};
    bool colon = false;
    for (const char c : host)
    {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '-' || c == '_';
        if (c == ':')
            colon = true;
        else if (!plain)
            return {};
    }
    return colon ? "[" + host + "]" : host;
}
