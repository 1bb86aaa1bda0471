#pragma once

#include "peers/PeerProcess.h"

#include <QTemporaryDir>

// gss-ntlmssp as an NTLM acceptor that knows one user, reached through python3-gssapi: an
// implementation independent of ours that judges our tokens.
class NtlmAcceptor
{
public:
    NtlmAcceptor(const QString& domain, const QString& user, const QString& password);

    bool IsRunning() const { return m_process.IsRunning(); }
    // The CHALLENGE for a NEGOTIATE; empty when the acceptor refused it.
    QByteArray Challenge(const QByteArray& negotiate);
    // Whether the AUTHENTICATE proves the user; verdict gets the acceptor's words.
    bool Accepts(const QByteArray& authenticate, QString* verdict = nullptr);

private:
    QTemporaryDir m_folder;
    PeerProcess m_process;
};
