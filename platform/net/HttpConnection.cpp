#include "platform/net/HttpConnection.h"

#include "platform/net/HttpFile.h"
#include "platform/net/InternetSession.h"
#include "platform/net/NetHost.h"

namespace
{
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
                                                       int port, bool secure)
{
    const QByteArray host = HostForUrl(server);
    if (host.isEmpty() || port < 0 || port > 65535)
        return nullptr;
    QByteArray origin = (secure ? "https://" : "http://") + host;
    if (port != 0 && port != (secure ? 443 : 80))
        origin += ":" + QByteArray::number(port);
    return std::unique_ptr<CHttpConnection>(new CHttpConnection(session, origin));
}

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(const QByteArray& verb, const QString& objectPath,
                                                        bool followRedirects) const
{
    return CHttpFile::Open(m_session, verb, m_origin + EscapePath(objectPath), followRedirects);
}
