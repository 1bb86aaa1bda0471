#pragma once

#include <QString>

#include <memory>

class CFtpConnection;
class CHttpConnection;

// One internet session: the user agent and the time-outs that every connection opened from it
// uses. Proxies come from the environment (http_proxy, https_proxy, all_proxy, no_proxy), as the
// desktop's preconfigured settings do.
class CInternetSession
{
public:
    explicit CInternetSession(const QString& userAgent);

    const QString& GetUserAgent() const { return m_userAgent; }

    void SetConnectTimeout(int milliseconds) { m_connectTimeout = milliseconds; }
    int GetConnectTimeout() const { return m_connectTimeout; }
    // How long a request may go without receiving or sending a single byte.
    void SetTransferTimeout(int milliseconds) { m_transferTimeout = milliseconds; }
    int GetTransferTimeout() const { return m_transferTimeout; }
    // How long a whole request may take, however steadily bytes arrive; 0 sets no limit.
    void SetTotalTimeout(int milliseconds) { m_totalTimeout = milliseconds; }
    int GetTotalTimeout() const { return m_totalTimeout; }
    // The largest response body a request accepts; 0 leaves the request's own ceiling.
    void SetMaxBodySize(qint64 bytes) { m_maxBodySize = bytes; }
    qint64 GetMaxBodySize() const { return m_maxBodySize; }

    // Port 0 is the scheme's default port. A secure connection speaks TLS and checks the
    // server's certificate and name. None when the server name is not a host name or address.
    std::unique_ptr<CHttpConnection> GetHttpConnection(const QString& server, int port,
                                                       bool secure = false) const;

    // A logged-in FTP connection; port 0 is the default FTP port. Null when the server cannot be
    // reached or refuses the login.
    std::unique_ptr<CFtpConnection> GetFtpConnection(const QString& server, const QString& user,
                                                     const QString& password, int port, bool passive) const;

private:
    QString m_userAgent;
    int m_connectTimeout{60000};
    int m_transferTimeout{60000};
    int m_totalTimeout{0};
    qint64 m_maxBodySize{0};
};
