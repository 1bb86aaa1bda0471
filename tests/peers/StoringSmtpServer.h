#pragma once

#include "peers/PeerProcess.h"

#include <QByteArrayList>
#include <QTemporaryDir>

// An SMTP server on a free port of 127.0.0.1 that keeps every message it accepts in a file of
// its own in a temporary folder.
class StoringSmtpServer
{
public:
    StoringSmtpServer() = default;
    virtual ~StoringSmtpServer() = default;
    StoringSmtpServer(const StoringSmtpServer&) = delete;
    StoringSmtpServer& operator=(const StoringSmtpServer&) = delete;

    bool IsRunning() const { return m_running; }
    int Port() const { return m_port; }
    // The stored messages as the client wrote them after DATA, with CR LF line ends; file names
    // need not follow the order of arrival.
    virtual QByteArrayList Messages() const = 0;

protected:
    // The files of the folder that match the pattern, with every line end made CR LF.
    QByteArrayList ReadFiles(const QString& pattern) const;

    QTemporaryDir m_folder;
    PeerProcess m_process;
    int m_port{PeerProcess::FreePort()};
    bool m_running{false};
};
