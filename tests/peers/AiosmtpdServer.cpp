#include "peers/AiosmtpdServer.h"

AiosmtpdServer::AiosmtpdServer()
{
    Start({});
}

AiosmtpdServer::AiosmtpdServer(const QString& user, const QString& password, const QStringList& mechanisms)
{
    Start(QStringList{user, password} + mechanisms);
}

void AiosmtpdServer::Start(const QStringList& arguments)
{
    m_running =
        m_process.Start(PeerProcess::SystemPython(),
                        QStringList{PeerProcess::ScriptFolder() + QStringLiteral("/aiosmtpd_store.py"),
                                    QString::number(m_port), m_folder.path()} +
                            arguments) &&
        m_process.ReadLine(15000) == "ready";
}

QByteArrayList AiosmtpdServer::Messages() const
{
    return ReadFiles(QStringLiteral("*.eml"));
}
