#pragma once

#include "platform/core/RegValue.h"

#include <QByteArray>
#include <QString>

// Settings store access with an explicit scope and key.
bool ReadRegString(RegRoot root, const QString& subkey, const QString& valueName, QString& text);
bool ReadRegDword(RegRoot root, const QString& subkey, const QString& valueName, quint32& number);
bool ReadRegBinary(RegRoot root, const QString& subkey, const QString& valueName, QByteArray& bytes);
bool RegValueExistsInUser(const QString& subkey, const QString& valueName);
bool DeleteRegValueInUser(const QString& subkey, const QString& valueName);
bool WriteRegString(RegRoot root, const QString& subkey, const QString& valueName, const QString& text);
bool WriteRegDword(RegRoot root, const QString& subkey, const QString& valueName, quint32 number);
bool WriteRegBinary(RegRoot root, const QString& subkey, const QString& valueName, const QByteArray& bytes);

// Values under the application key. A read for the machine scope takes the user's value when
// there is one; a write for the machine scope updates the user's value when there is one, and
// lands in the user scope when the machine scope refuses it.
bool ReadAppSettingString(RegRoot root, const QString& valueName, QString& text);
bool ReadAppSettingDword(RegRoot root, const QString& valueName, quint32& number);
bool ReadAppSettingBinary(RegRoot root, const QString& valueName, QByteArray& bytes);
bool WriteAppSettingString(RegRoot root, const QString& valueName, const QString& text);
bool WriteAppSettingDword(RegRoot root, const QString& valueName, quint32 number);
bool WriteAppSettingBinary(RegRoot root, const QString& valueName, const QByteArray& bytes);

bool IsDebugMode();

// Sets the application key and reads the program and data folders; called once at start-up
// before any folder is read.
void InitAppPaths();

QString GetAppRegistryKey();
// The folder ending in '/'; an empty one stays empty.
QString WithTrailingSlash(const QString& folder);
// Folders end in '/' (the data folder only when it is set).
QString GetAppPath();
QString GetSystemPath();
QString GetIntroFolder();
QString GetMyDocumentsFolder();
QString GetSettingFolder(const QString& valueName);
QString GetTempFolder();
// Scheme and host of the store that serves updates, catalogues and the online pages: the setting
// "StoreAddress". Empty when none is set: then nothing of the program goes to the network for them.
QString GetStoreAddress();

// Linux reports the version of the newest system the program knows, 6.0: like there, the
// program folder of an installation is not writable by the user.
void GetWindowsVersion(quint32& major, quint32& minor);
