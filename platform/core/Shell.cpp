#include "platform/core/Shell.h"

#include <QFileInfo>
#include <QMutex>
#include <QProcess>
#include <QUrl>

namespace
{
QMutex handlerMutex;
std::function<bool(const QString&)> openHandler;

bool OpenWithXdg(const QString& fileOrUrl)
{
    // A file name starting with '-' would be taken for an option of the opener.
    QString argument = fileOrUrl;
    if (argument.startsWith(u'-'))
        argument = QStringLiteral("./") + argument;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {argument});
}
} // namespace

bool ShellOpen(const QString& fileOrUrl)
{
    std::function<bool(const QString&)> handler;
    {
        QMutexLocker lock(&handlerMutex);
        handler = openHandler;
    }
    if (handler)
        return handler(fileOrUrl);
    return OpenWithXdg(fileOrUrl);
}

bool IsDesktopAddress(const QString& address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

bool StartDetachedProcess(const QString& program)
{
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable())
        return false;
    return QProcess::startDetached(info.absoluteFilePath(), {});
}

void SetShellOpenHandler(std::function<bool(const QString&)> handler)
{
    QMutexLocker lock(&handlerMutex);
    openHandler = std::move(handler);
}
