#pragma once

#include "support/NoProxy.h"

#include "base/AppSettings.h"
#include "platform/core/SettingsStore.h"

#include <QDir>
#include <QTemporaryDir>

namespace ServicesTest
{
// Settings of the test's own: the program's data folder (with its framework packages) or a
// temporary one as the system folder, and a temporary program folder.
class ScopedSettings
{
public:
    explicit ScopedSettings(bool ownDataFolder = false)
    {
        ClearProxyEnvironment();
        CSettingsStore::SetLocations(Folder(QStringLiteral("user")), Folder(QStringLiteral("machine")));
        InitAppPaths(); // the application key
        QDir(m_home.path()).mkpath(QStringLiteral("program"));
        QDir(m_home.path()).mkpath(QStringLiteral("data"));
        WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("SystemPath"),
                              ownDataFolder ? Folder(QStringLiteral("data"))
                                            : QStringLiteral(KV_SOURCE_DIR "/data"));
        WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("AppPath"),
                              Folder(QStringLiteral("program")));
        InitAppPaths();
    }
    ~ScopedSettings()
    {
        CSettingsStore::SetLocations({}, {});
        InitAppPaths();
    }
    QString Folder(const QString& name) const { return m_home.filePath(name); }

private:
    QTemporaryDir m_home;
};
} // namespace ServicesTest
