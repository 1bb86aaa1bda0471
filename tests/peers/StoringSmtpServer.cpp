#include "peers/StoringSmtpServer.h"

#include <QDir>
#include <QFile>

QByteArrayList StoringSmtpServer::ReadFiles(const QString& pattern) const
{
    QByteArrayList messages;
    const QDir directory(m_folder.path());
    for (const QString& name : directory.entryList({pattern}, QDir::Files, QDir::Name))
    {
        QFile file(directory.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QByteArray bytes = file.readAll();
        bytes.replace("\r\n", "\n").replace("\n", "\r\n");
        messages.append(bytes);
    }
    return messages;
}
