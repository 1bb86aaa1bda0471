#include "peers/SmtpSinkServer.h"

#include <QFile>

#include <unistd.h>

SmtpSinkServer::SmtpSinkServer() : SmtpSinkServer(QStringLiteral("127.0.0.1"), 0) {}

SmtpSinkServer::SmtpSinkServer(const QString& host, int port)
{
    if (port > 0)
        m_port = port;
    // Run as root, the sink must drop to an account of its own, which then writes the dumps.
    QFile::setPermissions(m_folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                               QFileDevice::WriteOther | QFileDevice::ExeOther);
    QStringList arguments{QStringLiteral("-d"), m_folder.path() + QStringLiteral("/%Y%m%d%H%M%S.")};
    if (geteuid() == 0)
        arguments += {QStringLiteral("-u"), QStringLiteral("nobody")};
    // A backlog for a hundred senders at once.
    arguments += {QStringLiteral("%1:%2").arg(host).arg(m_port), QStringLiteral("128")};
    m_running = m_process.Start(QStringLiteral("/usr/sbin/smtp-sink"), arguments) &&
                PeerProcess::WaitForPort(m_port, 10000, host);
}

QByteArrayList SmtpSinkServer::Messages() const
{
    QByteArrayList messages;
    for (QByteArray dump : ReadFiles(QStringLiteral("*.*")))
    {
        // The sink's own headers end with its "Received" header and that header's continuation lines.
        qsizetype start = dump.indexOf("Received: from ");
        if (start < 0)
            continue;
        do
            start = dump.indexOf("\r\n", start) + 2;
        while (start > 1 && dump.mid(start, 1) == "\t");
        dump.remove(0, start);
        if (dump.endsWith("\r\n\r\n"))
            dump.chop(2);
        messages.append(dump);
    }
    return messages;
}
