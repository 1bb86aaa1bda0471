#pragma once

#include <QString>
#include <QStringList>

// A site address as the publishing check sees it: where its pages are fetched from (with the
// address's own scheme and port) and the URL paths from the site root down to the address's
// folder: for http://example.com/news/2008/ these are "/", "/news" and "/news/2008".
class CSiteAddress
{
public:
    explicit CSiteAddress(const QString& websiteAddress);

    // "http://" in front when the address names no scheme.
    static QString WithScheme(const QString& websiteAddress);

    // False when the host cannot be read: every fetch then fails.
    bool IsValid() const { return m_valid; }
    const QString& GetHost() const { return m_host; }
    int GetPort() const { return m_port; }
    bool IsSecure() const { return m_secure; }
    const QStringList& GetUrlPaths() const { return m_urlPaths; }
    QString GetDeepestPath() const { return m_urlPaths.last(); }

private:
    bool m_valid{false};
    QString m_host;
    int m_port{0};
    bool m_secure{false};
    QStringList m_urlPaths;
};
