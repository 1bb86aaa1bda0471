#pragma once

#include <QByteArray>
#include <QString>

// The client's two NTLM tokens with explicit credentials: first the NEGOTIATE, then the
// answer to the server's CHALLENGE (an NTLMv2 response).
class CNtlmHelper
{
public:
    CNtlmHelper() = default;
    virtual ~CNtlmHelper() = default;

    // False when the NTLM computations are not available on this system.
    bool Init(const QString& domain, const QString& user, const QString& password);
    // Without input the NEGOTIATE; with the server's CHALLENGE the AUTHENTICATE. False for a
    // challenge that cannot be read or answered. done is 0 while another token must follow.
    bool MakeToken(const QByteArray& input = QByteArray(), int* done = nullptr);
    const QByteArray& GetToken() const { return m_token; }

private:
    QString m_domain;
    QString m_user;
    QString m_password;
    bool m_negotiated{false};
    QByteArray m_token;
};
