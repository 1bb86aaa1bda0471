#include "peers/AiosmtpdServer.h"

AiosmtpdServer::AiosmtpdServer(Recipients recipients)
{
    Start({}, recipients);
}

AiosmtpdServer::AiosmtpdServer(const QString& user, const QString& password, const QStringList& mechanisms,
                               Recipients recipients)
{
    Start(QStringList{user, password} + mechanisms, recipients);
}

void AiosmtpdServer::Start(const QStringList& arguments, Recipients recipients)
{
    const QStringList environment{
        QStringLiteral("KV_REFUSE_RECIPIENTS=%1").arg(recipients == Recipients::Refused)};
    m_running =
        m_process.Start(PeerProcess::SystemPython(),
                        QStringList{PeerProcess::ScriptFolder() + QStringLiteral("/aiosmtpd_store.py"),
                                    QString::number(m_port), m_folder.path()} +
                            arguments,
                        environment) &&
        m_process.ReadLine(15000) == "ready";
}

QByteArrayList AiosmtpdServer::Messages() const
{
    return ReadFiles(QStringLiteral("*.eml"));
}
