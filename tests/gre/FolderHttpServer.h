#pragma once

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// Python's static file server on 127.0.0.1 at a port the system picks, serving one folder; its
// access log tells which paths were asked for.
class FolderHttpServer
{
public:
    explicit FolderHttpServer(const QString& folder)
    {
        int output[2];
        if (pipe2(output, O_CLOEXEC) != 0)
        {
            ADD_FAILURE() << "no pipe for the test server";
            return;
        }
        m_logPath = m_logDir.filePath(QStringLiteral("access.log"));
        const QByteArray log = m_logPath.toLocal8Bit();
        const QByteArray root = folder.toLocal8Bit();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.constData(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const char* argv[] = {"python3", "-u",        "-m",          "http.server",    "0",
                              "--bind",  "127.0.0.1", "--directory", root.constData(), nullptr};
        if (posix_spawnp(&m_pid, "python3", &actions, nullptr, const_cast<char* const*>(argv), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(output[1]);
        // "Serving HTTP on 127.0.0.1 port 40123 (http://127.0.0.1:40123/) ..."
        QByteArray line;
        char c = 0;
        while (m_pid > 0 && !line.endsWith('\n') && read(output[0], &c, 1) == 1)
            line += c;
        close(output[0]);
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral(" port (\\d+) ")).match(QString::fromLatin1(line));
        m_port = match.hasMatch() ? match.captured(1).toInt() : 0;
        if (m_port == 0)
            ADD_FAILURE() << "the test server did not start: " << line.toStdString();
    }

    ~FolderHttpServer()
    {
        if (m_pid > 0)
        {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }

    FolderHttpServer(const FolderHttpServer&) = delete;
    FolderHttpServer& operator=(const FolderHttpServer&) = delete;

    int Port() const { return m_port; }
    QString Url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_port).arg(path);
    }

    // The request targets of every GET so far, in order. The server logs a request before it
    // sends the response body, so a request that has been answered is in the log.
    QStringList RequestedPaths() const
    {
        QFile file(m_logPath);
        QStringList paths;
        if (!file.open(QIODevice::ReadOnly))
            return paths;
        static const QRegularExpression request(QStringLiteral("\"GET (\\S+) HTTP/"));
        for (const QByteArray& line : file.readAll().split('\n'))
        {
            const QRegularExpressionMatch match = request.match(QString::fromLatin1(line));
            if (match.hasMatch())
                paths.append(match.captured(1));
        }
        return paths;
    }

private:
    QTemporaryDir m_logDir;
    QString m_logPath;
    pid_t m_pid{-1};
    int m_port{0};
};
