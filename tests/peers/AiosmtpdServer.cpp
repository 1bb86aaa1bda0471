#include "peers/AiosmtpdServer.h"

AiosmtpdServer::AiosmtpdServer()
{
    m_running = m_process.Start(PeerProcess::SystemPython(),
                                {PeerProcess::ScriptFolder() + QStringLiteral("/aiosmtpd_store.py"),
                                 QString::number(m_port), m_folder.path()}) &&
                m_process.ReadLine(15000) == "ready";
}

QByteArrayList AiosmtpdServer::Messages() const
{
    return ReadFiles(QStringLiteral("*.eml"));
}
