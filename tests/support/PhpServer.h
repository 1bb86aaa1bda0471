#pragma once

#include "support/ServerProcess.h"

#include <QString>
#include <QTemporaryDir>

// PHP's built-in web server on 127.0.0.1 serving a folder of the test, so that scripts put there
// (over FTP, say) run as on a web site.
class PhpServer
{
public:
    explicit PhpServer(const QString& root)
    {
        // php cannot pick its own port; a port just found free is taken, once more if it went.
        for (int attempt = 0; attempt < 3 && Port() == 0; ++attempt)
        {
            const int port = ServerProcess::FreePort();
            const QStringList arguments{QStringLiteral("/usr/bin/php"), QStringLiteral("-S"),
                                        QStringLiteral("127.0.0.1:%1").arg(port), QStringLiteral("-t"), root};
            if (m_process.Start(arguments, m_logDir.filePath(QStringLiteral("stderr.log")), false) &&
                ServerProcess::WaitUntilListening(port, std::chrono::seconds(10)))
                m_process.SetPort(port);
            else
                m_process.Stop();
        }
        if (Port() == 0)
            ADD_FAILURE() << "the PHP server did not start (php-cli installed?)";
    }

    int Port() const { return m_process.Port(); }
    QString Url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(Port()).arg(path);
    }

private:
    QTemporaryDir m_logDir;
    ServerProcess m_process;
};
