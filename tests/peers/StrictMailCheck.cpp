#include "peers/StrictMailCheck.h"

#include "peers/PeerProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

QStringList StrictMailFaults(const QByteArrayList& messages)
{
    QTemporaryDir folder;
    QStringList arguments{PeerProcess::ScriptFolder() + QStringLiteral("/mail_check.py")};
    for (qsizetype i = 0; i < messages.size(); ++i)
    {
        const QString path = QDir(folder.path()).filePath(QStringLiteral("message-%1").arg(i));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(messages.at(i)) != messages.at(i).size())
            return {QStringLiteral("message %1 not written").arg(i)};
        arguments << path;
    }
    PeerProcess checker;
    if (!checker.Start(PeerProcess::SystemPython(), arguments))
        return {QStringLiteral("checker not started")};
    QStringList faults;
    for (;;)
    {
        const QString line = QString::fromUtf8(checker.ReadLine(60000));
        if (line.startsWith(QLatin1String("checked ")))
            return faults;
        if (line.isEmpty())
            return faults << QStringLiteral("checker ended without an answer");
        faults << line.mid(folder.path().size() + 1);
    }
}
