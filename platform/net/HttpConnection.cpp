#include "platform/net/HttpConnection.h"

#include "platform/net/HttpFile.h"
#include "platform/net/InternetSession.h"

#include <QUrl>

namespace
{
// Only host names and addresses may reach the URL: a server text such as "user@host" or
// "host/path" must not turn into another destination.
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

// Path and query go out as given; only bytes that cannot stand in a request line are escaped.
QByteArray EscapePath(const QString& objectPath)
{
    QByteArray path = objectPath.toUtf8();
    if (!path.startsWith('/'))
        path.prepend('/');
    QByteArray escaped;
    escaped.reserve(path.size());
    for (const char c : path)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F)
            escaped += c;
        else
            escaped += '%' + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
    }
    return escaped;
}
} // namespace

CHttpConnection::CHttpConnection(const CInternetSession& session, const QByteArray& origin)
    : m_session(session), m_origin(origin)
{
}

std::unique_ptr<CHttpConnection> CHttpConnection::Open(const CInternetSession& session, const QString& server,
                                                       int port)
{
    const QByteArray host = HostForUrl(server);
    if (host.isEmpty() || port < 0 || port > 65535)
        return nullptr;
    QByteArray origin = "http://" + host;
    if (port != 0 && port != 80)
        origin += ":" + QByteArray::number(port);
    return std::unique_ptr<CHttpConnection>(new CHttpConnection(session, origin));
}

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(const QByteArray& verb, const QString& objectPath,
                                                        bool followRedirects) const
{
    return CHttpFile::Open(m_session, verb, m_origin + EscapePath(objectPath), followRedirects);
}
