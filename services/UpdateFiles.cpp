#include "services/UpdateFiles.h"

#include "base/ZipExtractor.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace
{
// One file put in place: the file it replaced waits in the backup folder until all are in.
struct Swap
{
    QByteArray destination;
    QByteArray backup; // empty when nothing was there
};

bool Rename(const QByteArray& from, const QByteArray& to)
{
    return std::rename(from.constData(), to.constData()) == 0;
}

void RollBack(const std::vector<Swap>& done)
{
    for (auto swap = done.rbegin(); swap != done.rend(); ++swap)
    {
        if (swap->backup.isEmpty())
            std::remove(swap->destination.constData());
        else
            Rename(swap->backup, swap->destination);
    }
}

// Moves the file that is at the destination aside, then the staged file in; a failure leaves the
// destination as it was.
bool PutInPlace(const QString& staged, const QString& destination, const QString& aside, Swap& swap)
{
    swap.destination = QFile::encodeName(destination);
    if (!QDir().mkpath(QFileInfo(destination).path()))
        return false;
    if (const QFileInfo there(destination); there.exists() || there.isSymLink())
    {
        if (!QDir().mkpath(QFileInfo(aside).path()) || !Rename(swap.destination, QFile::encodeName(aside)))
            return false;
        swap.backup = QFile::encodeName(aside);
    }
    if (Rename(QFile::encodeName(staged), swap.destination))
        return true;
    if (!swap.backup.isEmpty())
        Rename(swap.backup, swap.destination);
    return false;
}

// Every staged file goes in by a rename, which replaces a file in one step, also one that is open
// or running; the first failure puts back every file replaced so far.
bool SwapTree(const QString& staging, const QString& backup, const QString& target)
{
    const QDir from(staging);
    QStringList files;
    QDirIterator found(staging, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
    while (found.hasNext())
        files.append(from.relativeFilePath(found.next()));
    files.sort();
    std::vector<Swap> done;
    for (const QString& file : files)
    {
        Swap swap;
        if (!PutInPlace(from.filePath(file), QDir(target).filePath(file), QDir(backup).filePath(file), swap))
        {
            RollBack(done);
            return false;
        }
        done.push_back(swap);
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
    QTemporaryDir backup(QDir(targetFolder).filePath(QStringLiteral(".kvbackup-XXXXXX")));
    if (!staging.isValid() || !backup.isValid())
        return false;
    const bool whole = zip.ExtractAll(staging.path()) == 0;
    zip.Close();
    return whole && SwapTree(staging.path(), backup.path(), targetFolder);
}
} // namespace UpdateFiles
