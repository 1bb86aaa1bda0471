#include "platform/core/SettingsStore.h"

#include "platform/core/ModulePath.h"
#include "platform/core/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutex>
#include <QSaveFile>
#include <QStandardPaths>

#include <functional>

namespace
{
QMutex locationMutex;
QString userFolderOverride;
QString machineFolderOverride;

// Serialises the read-modify-write of this process; the lock file guards against others.
QMutex writeMutex;

QString DefaultFolder(RegRoot root)
{
    if (root == HKEY_CURRENT_USER)
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/Kelvora");
    const QString program = GetModuleFileName();
    return program.isEmpty() ? QString() : QFileInfo(program).absolutePath();
}

enum class LoadResult
{
    Loaded,
    Missing,
    Failed,
};

LoadResult Load(const QString& path, CSettingsFile& file)
{
    // Open first: a look-up of the name alone can miss the file while a writer renames it.
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return in.exists() ? LoadResult::Failed : LoadResult::Missing;
    const QByteArray bytes = in.read(CSettingsFile::MaxFileSize + 1);
    if (in.error() != QFileDevice::NoError || !file.Parse(bytes))
        return LoadResult::Failed;
    return LoadResult::Loaded;
}

bool Modify(RegRoot root, const std::function<bool(CSettingsFile&)>& change)
{
    const QString path = CSettingsStore::FilePath(root);
    if (path.isEmpty())
        return false;
    QMutexLocker locker(&writeMutex);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(5000))
        return false;

    CSettingsFile file;
    const LoadResult loaded = Load(path, file);
    // A file that is there but unreadable (or oversized) is left alone rather than replaced.
    if (loaded == LoadResult::Failed || !change(file))
        return false;

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    // The user's settings hold account passwords: the file is private before it holds anything,
    // whatever the mode of the file it replaces.
    if (root == HKEY_CURRENT_USER && !out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    out.write(file.Serialize());
    return out.commit();
}
} // namespace

QString CSettingsStore::FilePath(RegRoot root)
{
    QString folder;
    {
        QMutexLocker locker(&locationMutex);
        folder = root == HKEY_CURRENT_USER ? userFolderOverride : machineFolderOverride;
    }
    if (folder.isEmpty())
        folder = DefaultFolder(root);
    if (folder.isEmpty())
        return {};
    return QDir(folder).filePath(QString::fromLatin1(FileName));
}

void CSettingsStore::SetLocations(const QString& userFolder, const QString& machineFolder)
{
    QMutexLocker locker(&locationMutex);
    userFolderOverride = userFolder;
    machineFolderOverride = machineFolder;
}

bool CSettingsStore::QueryValue(RegRoot root, const QString& subkey, const QString& name, RegValue& value)
{
    const QString path = FilePath(root);
    CSettingsFile file;
    if (path.isEmpty() || Load(path, file) != LoadResult::Loaded)
        return false;
    const RegValue* found = file.Find(subkey, name);
    if (!found)
        return false;
    value = *found;
    return true;
}

bool CSettingsStore::SetValue(RegRoot root, const QString& subkey, const QString& name, const RegValue& value)
{
    return Modify(root,
                  [&](CSettingsFile& file)
                  {
                      file.Set(subkey, name, value);
                      return true;
                  });
}

bool CSettingsStore::DeleteValue(RegRoot root, const QString& subkey, const QString& name)
{
    return Modify(root, [&](CSettingsFile& file) { return file.Remove(subkey, name); });
}
