#include "peers/NtlmAcceptor.h"

#include <QFile>

namespace
{
constexpr int ReplyWait = 10000;
}

NtlmAcceptor::NtlmAcceptor(const QString& domain, const QString& user, const QString& password)
{
    const QString users = m_folder.filePath(QStringLiteral("users"));
    QFile file(users);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QStringLiteral("%1:%2:%3\n").arg(domain, user, password).toUtf8()) < 0)
        return;
    file.close();
    m_process.Start(PeerProcess::SystemPython(),
                    {PeerProcess::ScriptFolder() + QStringLiteral("/ntlm_acceptor.py")},
                    {QStringLiteral("NTLM_USER_FILE=") + users});
}

QByteArray NtlmAcceptor::Challenge(const QByteArray& negotiate)
{
    if (!m_process.WriteLine(negotiate.toBase64()))
        return {};
    const QByteArray reply = m_process.ReadLine(ReplyWait);
    return reply.startsWith("CHALLENGE ") ? QByteArray::fromBase64(reply.mid(10)) : QByteArray();
}

bool NtlmAcceptor::Accepts(const QByteArray& authenticate, QString* verdict)
{
    if (!m_process.WriteLine(authenticate.toBase64()))
        return false;
    const QByteArray reply = m_process.ReadLine(ReplyWait);
    if (verdict)
        *verdict = QString::fromUtf8(reply);
    return reply.startsWith("ACCEPTED ");
}
