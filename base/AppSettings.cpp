#include "base/AppSettings.h"

#include "platform/core/ModulePath.h"
#include "platform/core/SettingsStore.h"

#include <QDir>
#include <QMutex>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>

namespace
{
// A text value bigger than this counts as absent, as callers have always seen it.
constexpr qsizetype MaxTextValueBytes = 2048;

struct AppPaths
{
    QString registryKey;
    QString appPath;
    QString systemPath;
};

QMutex pathsMutex;
AppPaths paths;

AppPaths CurrentPaths()
{
    QMutexLocker locker(&pathsMutex);
    return paths;
}

template <typename T>
bool ReadAppSetting(RegRoot root, const QString& valueName, T& out,
                    bool (*read)(RegRoot, const QString&, const QString&, T&))
{
    const QString key = GetAppRegistryKey();
    if (root == HKEY_LOCAL_MACHINE && read(HKEY_CURRENT_USER, key, valueName, out))
        return true;
    return read(root, key, valueName, out);
}

template <typename T>
bool WriteAppSetting(RegRoot root, const QString& valueName, const T& value,
                     bool (*write)(RegRoot, const QString&, const QString&, const T&))
{
    const QString key = GetAppRegistryKey();
    if (root == HKEY_LOCAL_MACHINE && RegValueExistsInUser(key, valueName))
        return write(HKEY_CURRENT_USER, key, valueName, value);
    if (write(root, key, valueName, value))
        return true;
    // Without rights on the machine scope the user keeps a private value.
    if (root == HKEY_LOCAL_MACHINE)
        return write(HKEY_CURRENT_USER, key, valueName, value);
    return false;
}

bool WriteDwordRef(RegRoot root, const QString& subkey, const QString& valueName, const quint32& number)
{
    return WriteRegDword(root, subkey, valueName, number);
}
} // namespace

bool ReadRegString(RegRoot root, const QString& subkey, const QString& valueName, QString& text)
{
    RegValue value;
    if (!CSettingsStore::QueryValue(root, subkey, valueName, value) || value.data.size() > MaxTextValueBytes)
        return false;
    // The stored type is not checked: whatever is there is read as UTF-16 up to its terminator.
    text = value.TextToNul();
    return true;
}

bool ReadRegDword(RegRoot root, const QString& subkey, const QString& valueName, quint32& number)
{
    RegValue value;
    if (!CSettingsStore::QueryValue(root, subkey, valueName, value) || value.data.size() > 4)
        return false;
    char bytes[4] = {};
    std::copy(value.data.cbegin(), value.data.cend(), bytes);
    number = qFromLittleEndian<quint32>(bytes);
    return true;
}

bool ReadRegBinary(RegRoot root, const QString& subkey, const QString& valueName, QByteArray& bytes)
{
    RegValue value;
    if (!CSettingsStore::QueryValue(root, subkey, valueName, value))
        return false;
    bytes = value.data;
    return true;
}

bool RegValueExistsInUser(const QString& subkey, const QString& valueName)
{
    RegValue value;
    return CSettingsStore::QueryValue(HKEY_CURRENT_USER, subkey, valueName, value);
}

bool DeleteRegValueInUser(const QString& subkey, const QString& valueName)
{
    return CSettingsStore::DeleteValue(HKEY_CURRENT_USER, subkey, valueName);
}

bool WriteRegString(RegRoot root, const QString& subkey, const QString& valueName, const QString& text)
{
    return CSettingsStore::SetValue(root, subkey, valueName, RegValue::FromText(text));
}

bool WriteRegDword(RegRoot root, const QString& subkey, const QString& valueName, quint32 number)
{
    return CSettingsStore::SetValue(root, subkey, valueName, RegValue::FromDword(number));
}

bool WriteRegBinary(RegRoot root, const QString& subkey, const QString& valueName, const QByteArray& bytes)
{
    return CSettingsStore::SetValue(root, subkey, valueName, RegValue{REG_BINARY, bytes});
}

bool ReadAppSettingString(RegRoot root, const QString& valueName, QString& text)
{
    return ReadAppSetting(root, valueName, text, &ReadRegString);
}

bool ReadAppSettingDword(RegRoot root, const QString& valueName, quint32& number)
{
    return ReadAppSetting(root, valueName, number, &ReadRegDword);
}

bool ReadAppSettingBinary(RegRoot root, const QString& valueName, QByteArray& bytes)
{
    return ReadAppSetting(root, valueName, bytes, &ReadRegBinary);
}

bool WriteAppSettingString(RegRoot root, const QString& valueName, const QString& text)
{
    return WriteAppSetting(root, valueName, text, &WriteRegString);
}

bool WriteAppSettingDword(RegRoot root, const QString& valueName, quint32 number)
{
    return WriteAppSetting(root, valueName, number, &WriteDwordRef);
}

bool WriteAppSettingBinary(RegRoot root, const QString& valueName, const QByteArray& bytes)
{
    return WriteAppSetting(root, valueName, bytes, &WriteRegBinary);
}

bool IsDebugMode()
{
    quint32 mode = 0;
    return ReadAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("DebugMode"), mode) && mode == 1;
}

void InitAppPaths()
{
    {
        QMutexLocker locker(&pathsMutex);
        paths = AppPaths{QStringLiteral("Software\\Talvecor\\Kelvora\\2007"), {}, {}};
    }

    QString appPath;
    if (!ReadAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("AppPath"), appPath))
    {
        appPath = GetModuleFileName();
        const qsizetype slash = appPath.lastIndexOf(u'/');
        if (slash >= 0)
            appPath.truncate(slash);
    }
    QString systemPath;
    ReadAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("SystemPath"), systemPath);

    QMutexLocker locker(&pathsMutex);
    paths.appPath = WithTrailingSlash(appPath);
    paths.systemPath = WithTrailingSlash(systemPath);
}

QString GetAppRegistryKey()
{
    return CurrentPaths().registryKey;
}

QString GetAppPath()
{
    return CurrentPaths().appPath;
}

QString GetSystemPath()
{
    return CurrentPaths().systemPath;
}

QString GetIntroFolder()
{
    return GetSystemPath() + QStringLiteral("help/intro/");
}

QString WithTrailingSlash(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

QString GetMyDocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.size() >= 3 && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

QString GetSettingFolder(const QString& valueName)
{
    // An empty value names no folder: file dialogs would open in the working directory.
    QString folder;
    if (ReadAppSettingString(HKEY_CURRENT_USER, valueName, folder) && !folder.isEmpty())
        return folder;
    return GetMyDocumentsFolder();
}

QString GetTempFolder()
{
    return WithTrailingSlash(QDir::tempPath());
}

QString GetStoreAddress()
{
    QString address;
    ReadAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("StoreAddress"), address);
    return address;
}

void GetWindowsVersion(quint32& major, quint32& minor)
{
    major = 6;
    minor = 0;
}
