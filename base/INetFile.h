#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class CHttpConnection;
class CHttpFile;
class CInternetSession;

// One HTTP request at a time with its status, content type and whole body. A non-empty body
// makes the request a form POST (redirects not followed), an empty one a GET (redirects followed).
// A secure request goes over TLS with the server's certificate checked.
class CINetFile
{
public:
    static constexpr int DefaultTimeout = 40000;

    CINetFile();
    virtual ~CINetFile();

    CINetFile(const CINetFile&) = delete;
    CINetFile& operator=(const CINetFile&) = delete;

    // Process-wide connect, send and receive time-out in milliseconds for requests sent from now
    // on; tests shorten it.
    static void SetTimeout(int milliseconds);
    static int GetTimeout();

    // Bounds the bodies of the requests sent from now on below the transport's own limit; a
    // longer body fails the request.
    void SetMaxBodySize(qint64 bytes) { m_maxBodySize = bytes; }
    // Told the running total of the body's bytes while they arrive.
    void SetBodyProgress(std::function<void(qint64 received)> progress)
    {
        m_bodyProgress = std::move(progress);
    }

    // True when a response with a readable status line arrived, whatever its status. Port 0 is
    // the default port of the scheme.
    bool SendRequest(const QString& server, const QString& objectPath, const QString& body, int port,
                     bool secure = false);
    qsizetype ReadResponse();
    // UTF-8 when the content type says so, or names no charset and the body is UTF-8 text;
    // else the ANSI code page.
    QString GetResponseText() const;
    const QByteArray& GetBody() const { return m_body; }
    int GetStatusCode() const { return m_statusCode; }
    QString GetContentType() const { return m_contentType; }
    bool IsUtf8Content() const;
    QString GetServerHeader() const;
    QString GetUserAgent() const { return m_userAgent; }
    void Close();

private:
    QString m_userAgent;
    std::unique_ptr<CInternetSession> m_session;
    std::unique_ptr<CHttpConnection> m_connection;
    std::unique_ptr<CHttpFile> m_request;
    qint64 m_maxBodySize{-1};
    std::function<void(qint64)> m_bodyProgress;
    int m_statusCode{-1};
    QString m_contentType;
    QByteArray m_body;
};
