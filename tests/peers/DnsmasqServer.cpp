#include "peers/DnsmasqServer.h"

#include <QFile>
#include <QTextStream>

DnsmasqServer::DnsmasqServer(const QStringList& records)
{
    const QString config = m_folder.filePath(QStringLiteral("dnsmasq.conf"));
    const QString log = m_folder.filePath(QStringLiteral("dnsmasq.log"));
    // The port is free for TCP when chosen; a UDP port taken meanwhile makes dnsmasq fail, so
    // another port is tried.
    for (int attempt = 0; attempt < 5 && !m_running; ++attempt)
    {
        m_process.Stop();
        m_port = PeerProcess::FreePort();
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        QTextStream out(&file);
        out << "port=" << m_port << "\nlisten-address=127.0.0.1\nbind-interfaces\nno-resolv\nno-hosts\n"
            << "no-poll\nuser=root\npid-file=\nlog-queries\nlog-facility=" << log << '\n';
        for (const QString& record : records)
            out << record << '\n';
        file.close();
        m_running = m_process.Start(QStringLiteral("dnsmasq"), {QStringLiteral("--keep-in-foreground"),
                                                                QStringLiteral("--conf-file=") + config}) &&
                    PeerProcess::WaitForPort(m_port, 5000);
    }
}

QByteArray DnsmasqServer::Log() const
{
    QFile file(m_folder.filePath(QStringLiteral("dnsmasq.log")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
