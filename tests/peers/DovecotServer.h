#pragma once

#include "peers/PeerProcess.h"

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>

// Dovecot's POP3 server on a free port of 127.0.0.1 with one user whose Maildir holds the
// given messages, all in a temporary folder with its own configuration. Only USER/PASS and
// AUTH PLAIN are offered.
class DovecotServer
{
public:
    DovecotServer(const QString& user, const QString& password, const QList<QByteArray>& messages);
    ~DovecotServer();

    bool IsRunning() const { return m_port != 0; }
    int Port() const { return m_port; }
    // The contents of the messages in the Maildir now, in the order of their file names.
    QList<QByteArray> MailboxMessages() const;
    // The server's log, for a failure message.
    QByteArray Log() const;

private:
    bool WriteSetup(const QString& user, const QString& password, const QList<QByteArray>& messages);

    QTemporaryDir m_folder;
    PeerProcess m_process;
    int m_port{0};
};
