#include "services/UpdateFiles.h"

#include "base/ZipExtractor.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace
{
bool MoveTree(const QString& staging, const QString& target)
{
    const QDir from(staging);
    QDirIterator files(staging, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
    {
        const QString source = files.next();
        const QString destination = QDir(target).filePath(from.relativeFilePath(source));
        if (!QDir().mkpath(QFileInfo(destination).path()))
            return false;
        // A rename replaces a file in one step, also one that is open or running.
        if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(destination).constData()) !=
            0)
            return false;
    }
    return true;
}
} // namespace

namespace UpdateFiles
{
QString DownloadFolder()
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/updates");
    if (!QDir().mkpath(folder) ||
        !QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return QString();
    return folder + QLatin1Char('/');
}

bool UnpackWhole(const QString& zipPath, const QString& targetFolder)
{
    CZipExtractor zip;
    if (!zip.Open(zipPath))
        return false;
    QTemporaryDir staging(QDir(targetFolder).filePath(QStringLiteral(".kvupdate-XXXXXX")));
    if (!staging.isValid())
        return false;
    const bool whole = zip.ExtractAll(staging.path()) == 0;
    zip.Close();
    return whole && MoveTree(staging.path(), targetFolder);
}
} // namespace UpdateFiles
