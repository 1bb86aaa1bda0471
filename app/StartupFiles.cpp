#include "app/StartupFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

namespace StartupFiles
{
bool Retry(const std::function<bool()>& step, int attempts, int pauseMs)
{
    for (int attempt = 0; attempt < attempts; ++attempt)
    {
        if (step())
            return true;
        if (attempt + 1 < attempts)
            QThread::msleep(unsigned(pauseMs));
    }
    return false;
}

bool CopyOver(const QString& source, const QString& target)
{
    const QString temporary = target + QStringLiteral(".kvcopy");
    QFile::remove(temporary);
    if (!QFile::copy(source, temporary))
        return false;
    // A rename replaces the target in one step, also a program that is still running.
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0)
    {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

bool FinishPendingCopy(const QString& pending, const QString& target, int attempts, int pauseMs)
{
    if (!QFileInfo::exists(pending))
        return true;
    if (!Retry([&] { return CopyOver(pending, target); }, attempts, pauseMs))
        return false;
    QFile::remove(pending);
    return true;
}
} // namespace StartupFiles
