#pragma once

#include <QString>

// An http or https address taken apart into what a request needs, without decoding anything:
// the path and query go to the server exactly as written.
class CWebAddress
{
public:
    // False for another scheme, a missing or malformed host, a bad port, or user information
    // ("user:password@") in front of the host, which is never sent on.
    static bool Crack(const QString& address, CWebAddress& result);

    bool IsSecure() const { return m_secure; }
    const QString& GetHost() const { return m_host; }
    // 0 when the address names none: the default port of the scheme.
    int GetPort() const { return m_port; }
    // Begins with "/"; the fragment is dropped.
    const QString& GetPathWithQuery() const { return m_pathWithQuery; }

private:
    bool m_secure{false};
    QString m_host;
    int m_port{0};
    QString m_pathWithQuery;
};
