#pragma once

#include "platform/core/RegValue.h"

#include <QString>

// The program's settings in place of a system registry: one file per scope, the user scope
// under the XDG config folder, the machine scope beside the program. Every call reads the
// file afresh, so other threads and processes see a write at once; a write replaces the file
// atomically under a lock file. A scope whose folder cannot be written refuses writes.
class CSettingsStore
{
public:
    static constexpr const char* FileName = "settings.conf";

    // False when the key or the value is missing or the scope's file cannot be read.
    static bool QueryValue(RegRoot root, const QString& subkey, const QString& name, RegValue& value);
    // Creates the key when it is missing; false when the scope cannot be written.
    static bool SetValue(RegRoot root, const QString& subkey, const QString& name, const RegValue& value);
    // False when the value is missing or the scope cannot be written.
    static bool DeleteValue(RegRoot root, const QString& subkey, const QString& name);

    static QString FilePath(RegRoot root);

    // Points the two scopes at other folders (tests use temporary ones); an empty folder
    // restores the default of that scope.
    static void SetLocations(const QString& userFolder, const QString& machineFolder);
};
