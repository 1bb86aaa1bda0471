#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class CHttpFile;
class CInternetSession;

// An HTTP server at one port, from which requests are opened.
class CHttpConnection
{
public:
    static std::unique_ptr<CHttpConnection> Open(const CInternetSession& session, const QString& server,
                                                 int port, bool secure);

    // followRedirects: whether a redirect reply is followed to its target. None when the request
    // cannot be set up.
    std::unique_ptr<CHttpFile> OpenRequest(const QByteArray& verb, const QString& objectPath,
                                           bool followRedirects) const;

private:
    CHttpConnection(const CInternetSession& session, const QByteArray& origin);

    const CInternetSession& m_session;
    QByteArray m_origin; // "http://host:port" or "https://host:port"
};
