#pragma once

#include "peers/PeerProcess.h"

#include <QStringList>
#include <QTemporaryDir>

// dnsmasq answering from its own configuration lines on 127.0.0.1 at a free port, over UDP and
// TCP; it forwards nothing and reads neither the system's hosts nor its resolver configuration.
class DnsmasqServer
{
public:
    explicit DnsmasqServer(const QStringList& records);

    bool IsRunning() const { return m_running; }
    int Port() const { return m_port; }
    // What the server logged, its queries included.
    QByteArray Log() const;

private:
    QTemporaryDir m_folder;
    PeerProcess m_process;
    int m_port{0};
    bool m_running{false};
};
