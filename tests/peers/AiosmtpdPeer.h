#pragma once

#include "peers/PeerProcess.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

// python3-aiosmtpd on a free port of 127.0.0.1, keeping every accepted message as a file.
// With a user it offers AUTH without TLS over the given mechanisms ("PLAIN", "LOGIN"; both
// when none is given).
class AiosmtpdPeer
{
public:
    AiosmtpdPeer();
    AiosmtpdPeer(const QString& user, const QString& password, const QStringList& mechanisms = {});

    bool IsRunning() const { return m_port != 0; }
    int Port() const { return m_port; }
    // The accepted messages in the order they came, as received after DATA.
    QList<QByteArray> Messages() const;
    // "from", then every recipient, of each accepted message.
    QList<QStringList> Envelopes() const;

private:
    void Start(const QStringList& arguments);

    QTemporaryDir m_folder;
    PeerProcess m_process;
    int m_port{0};
};
