#include "peers/AiosmtpdPeer.h"

#include <QFile>

namespace
{
constexpr int StartWait = 15000;

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

AiosmtpdPeer::AiosmtpdPeer()
{
    Start({});
}

AiosmtpdPeer::AiosmtpdPeer(const QString& user, const QString& password, const QStringList& mechanisms)
{
    Start(QStringList{user, password} + mechanisms);
}

void AiosmtpdPeer::Start(const QStringList& arguments)
{
    const int port = PeerProcess::FreePort();
    if (port == 0 ||
        !m_process.Start(PeerProcess::SystemPython(),
                         QStringList{PeerProcess::ScriptFolder() + QStringLiteral("/aiosmtpd_peer.py"),
                                     QString::number(port), m_folder.path()} +
                             arguments))
        return;
    if (m_process.ReadLine(StartWait) == "READY")
        m_port = port;
}

QList<QByteArray> AiosmtpdPeer::Messages() const
{
    QList<QByteArray> messages;
    for (int n = 1; QFile::exists(m_folder.filePath(QStringLiteral("%1.eml").arg(n))); ++n)
        messages.append(ReadFile(m_folder.filePath(QStringLiteral("%1.eml").arg(n))));
    return messages;
}

QList<QStringList> AiosmtpdPeer::Envelopes() const
{
    QList<QStringList> envelopes;
    for (int n = 1; QFile::exists(m_folder.filePath(QStringLiteral("%1.envelope").arg(n))); ++n)
        envelopes.append(QString::fromUtf8(ReadFile(m_folder.filePath(QStringLiteral("%1.envelope").arg(n))))
                             .split(u'\n', Qt::SkipEmptyParts));
    return envelopes;
}
