#pragma once

#include "support/ServerProcess.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// An FTP server (pyftpdlib) on 127.0.0.1 whose root is a folder of the test. It knows one user;
// every command it receives is kept, so tests can tell what went over the wire.
class FtpServer
{
public:
    struct Options
    {
        bool machineListing{true}; // false: a server that lists with LIST only
        int dropAfterBytes{-1};    // with dropCount: uploads that break off after so many bytes
        int dropCount{0};
        bool noRenameOver{false};   // a server that refuses to rename onto an existing name
        QString refuseRenameFrom{}; // a pattern: renames of files whose name matches fail
    };

    static constexpr const char* User = "publisher";
    static constexpr const char* Password = "s3cret pass";

    explicit FtpServer(const QString& root) : FtpServer(root, Options()) {}
    FtpServer(const QString& root, const Options& options)
    {
        m_logPath = m_logDir.filePath(QStringLiteral("commands.log"));
        QStringList arguments{QStringLiteral("/usr/bin/python3"),
                              QStringLiteral(KV_SOURCE_DIR "/tests/support/ftp_server.py"),
                              root,
                              QString::fromLatin1(User),
                              QString::fromLatin1(Password),
                              m_logPath};
        if (!options.machineListing)
            arguments << QStringLiteral("--no-mlsd");
        if (options.dropAfterBytes >= 0)
            arguments << QStringLiteral("--drop-after") << QString::number(options.dropAfterBytes)
                      << QStringLiteral("--drop-count") << QString::number(options.dropCount);
        if (options.noRenameOver)
            arguments << QStringLiteral("--no-rename-over");
        if (!options.refuseRenameFrom.isEmpty())
            arguments << QStringLiteral("--refuse-rename-from") << options.refuseRenameFrom;
        if (!m_process.Start(arguments, m_logDir.filePath(QStringLiteral("stderr.log")), true))
            ADD_FAILURE() << "the FTP server did not start (python3-pyftpdlib installed?)";
    }

    int Port() const { return m_process.Port(); }

    // Every command received so far, as "COMMAND argument", in order.
    QStringList Commands() const
    {
        QStringList commands;
        for (const QString& line : Lines())
            commands.append(line.section(QStringLiteral(" <- "), 1));
        return commands;
    }

    // How many control connections logged in so far.
    int Logins() const { return int(Commands().filter(QRegularExpression(QStringLiteral("^PASS "))).size()); }

    // The commands of each control connection, in the order the connections opened.
    QList<QStringList> Sessions() const
    {
        QStringList order;
        QHash<QString, QStringList> sessions;
        for (const QString& line : Lines())
        {
            const QString session = line.section(QStringLiteral(" <- "), 0, 0);
            if (!sessions.contains(session))
                order.append(session);
            sessions[session].append(line.section(QStringLiteral(" <- "), 1));
        }
        QList<QStringList> result;
        for (const QString& session : order)
            result.append(sessions.value(session));
        return result;
    }

    void ClearLog() const
    {
        QFile file(m_logPath);
        file.resize(0);
    }

private:
    QStringList Lines() const
    {
        QFile file(m_logPath);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return lines;
    }

    QTemporaryDir m_logDir;
    QString m_logPath;
    ServerProcess m_process;
};
