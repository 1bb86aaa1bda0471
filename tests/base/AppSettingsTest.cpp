#include "base/AppSettings.h"
#include "ScopedEnvironment.h"
#include "platform/core/ModulePath.h"
#include "platform/core/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
class AppSettings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        CSettingsStore::SetLocations(m_home.filePath("user"), m_home.filePath("machine"));
        InitAppPaths();
    }
    void TearDown() override { CSettingsStore::SetLocations({}, {}); }

    // A folder below a plain file cannot be created, not even by root.
    QString UnwritableFolder()
    {
        QFile blocker(m_home.filePath("plain-file"));
        EXPECT_TRUE(blocker.open(QIODevice::WriteOnly));
        return blocker.fileName() + "/scope";
    }

    QString UserString(const QString& name)
    {
        QString text;
        return ReadAppSettingString(HKEY_CURRENT_USER, name, text) ? text : QStringLiteral("<absent>");
    }
    QString MachineOnlyString(const QString& name)
    {
        QString text;
        return ReadRegString(HKEY_LOCAL_MACHINE, GetAppRegistryKey(), name, text)
                   ? text
                   : QStringLiteral("<absent>");
    }

    QTemporaryDir m_home;
};
} // namespace

TEST_F(AppSettings, UserValueWinsOverMachineValue)
{
    const QString key = GetAppRegistryKey();
    ASSERT_TRUE(WriteRegString(HKEY_LOCAL_MACHINE, key, "Lang", "de"));
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key, "Lang", "fr"));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, key, "Count", 1));
    ASSERT_TRUE(WriteRegDword(HKEY_CURRENT_USER, key, "Count", 2));
    ASSERT_TRUE(WriteRegBinary(HKEY_LOCAL_MACHINE, key, "Blob", "machine"));
    ASSERT_TRUE(WriteRegBinary(HKEY_CURRENT_USER, key, "Blob", "user"));

    QString text;
    quint32 number = 0;
    QByteArray bytes;
    for (RegRoot root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
    {
        ASSERT_TRUE(ReadAppSettingString(root, "Lang", text));
        EXPECT_EQ(text, "fr");
        ASSERT_TRUE(ReadAppSettingDword(root, "Count", number));
        EXPECT_EQ(number, 2u);
        ASSERT_TRUE(ReadAppSettingBinary(root, "Blob", bytes));
        EXPECT_EQ(bytes, "user");
    }

    // Without the user's copy the machine value shows through, but only for the machine root.
    for (const char* name : {"Lang", "Count", "Blob"})
        ASSERT_TRUE(DeleteRegValueInUser(key, name));
    ASSERT_TRUE(ReadAppSettingString(HKEY_LOCAL_MACHINE, "Lang", text));
    EXPECT_EQ(text, "de");
    ASSERT_TRUE(ReadAppSettingDword(HKEY_LOCAL_MACHINE, "Count", number));
    EXPECT_EQ(number, 1u);
    EXPECT_FALSE(ReadAppSettingString(HKEY_CURRENT_USER, "Lang", text));
    EXPECT_FALSE(ReadAppSettingDword(HKEY_CURRENT_USER, "Count", number));
    EXPECT_FALSE(ReadAppSettingBinary(HKEY_CURRENT_USER, "Blob", bytes));
    EXPECT_FALSE(DeleteRegValueInUser(key, "Lang"));
}

TEST_F(AppSettings, MachineWriteGoesToTheUsersCopyWhenThereIsOne)
{
    ASSERT_TRUE(WriteAppSettingString(HKEY_CURRENT_USER, "Folder", "/home/a/"));
    EXPECT_TRUE(WriteAppSettingString(HKEY_LOCAL_MACHINE, "Folder", "/home/b/"));
    EXPECT_EQ(UserString("Folder"), "/home/b/");
    EXPECT_EQ(MachineOnlyString("Folder"), "<absent>");

    // Without a user copy it lands in the machine scope.
    EXPECT_TRUE(WriteAppSettingString(HKEY_LOCAL_MACHINE, "Other", "m"));
    EXPECT_EQ(MachineOnlyString("Other"), "m");
    EXPECT_EQ(UserString("Other"), "<absent>");
}

TEST_F(AppSettings, RefusedMachineWriteLandsInTheUserScope)
{
    CSettingsStore::SetLocations(m_home.filePath("user"), UnwritableFolder());
    EXPECT_TRUE(WriteAppSettingString(HKEY_LOCAL_MACHINE, "Name", "private"));
    EXPECT_TRUE(WriteAppSettingDword(HKEY_LOCAL_MACHINE, "UpdateOnStart", 0));
    EXPECT_TRUE(WriteAppSettingBinary(HKEY_LOCAL_MACHINE, "Blob", QByteArray()));
    EXPECT_EQ(UserString("Name"), "private");
    quint32 number = 7;
    EXPECT_TRUE(ReadAppSettingDword(HKEY_CURRENT_USER, "UpdateOnStart", number));
    EXPECT_EQ(number, 0u);
    QByteArray bytes = "x";
    EXPECT_TRUE(ReadAppSettingBinary(HKEY_LOCAL_MACHINE, "Blob", bytes));
    EXPECT_TRUE(bytes.isEmpty());
}

TEST_F(AppSettings, RefusedUserWriteFailsWithoutTouchingTheMachineScope)
{
    CSettingsStore::SetLocations(UnwritableFolder(), m_home.filePath("machine"));
    EXPECT_FALSE(WriteAppSettingString(HKEY_CURRENT_USER, "Name", "x"));
    EXPECT_FALSE(WriteAppSettingDword(HKEY_CURRENT_USER, "Name", 1));
    EXPECT_EQ(MachineOnlyString("Name"), "<absent>");
}

TEST_F(AppSettings, TextOverTheSizeLimitCountsAsAbsent)
{
    const QString key = GetAppRegistryKey();
    // 1023 characters and the terminator fill the 2048 bytes exactly.
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key, "Fits", QString(1023, u'x')));
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, key, "TooLong", QString(1024, u'x')));
    QString text;
    EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, key, "Fits", text));
    EXPECT_EQ(text.size(), 1023);
    EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, key, "TooLong", text));
}

TEST_F(AppSettings, NumberReadRefusesValuesLongerThanFourBytes)
{
    const QString key = GetAppRegistryKey();
    ASSERT_TRUE(WriteRegBinary(HKEY_CURRENT_USER, key, "Long", QByteArray(8, '\1')));
    ASSERT_TRUE(WriteRegDword(HKEY_CURRENT_USER, key, "Max", 0xFFFFFFFFu));
    quint32 number = 0;
    EXPECT_FALSE(ReadRegDword(HKEY_CURRENT_USER, key, "Long", number));
    EXPECT_TRUE(ReadRegDword(HKEY_CURRENT_USER, key, "Max", number));
    EXPECT_EQ(number, 0xFFFFFFFFu);
}

TEST_F(AppSettings, DebugModeOnlyForTheNumberOne)
{
    struct Case
    {
        int user; // -1: absent
        int machine;
        bool debug;
    };
    const Case cases[] = {
        {-1, -1, false}, {1, -1, true}, {-1, 1, true}, {2, -1, false}, {0, 1, false}, {2, 1, false},
    };
    const QString key = GetAppRegistryKey();
    for (const Case& c : cases)
    {
        DeleteRegValueInUser(key, "DebugMode");
        CSettingsStore::DeleteValue(HKEY_LOCAL_MACHINE, key, "DebugMode");
        if (c.user >= 0)
            WriteRegDword(HKEY_CURRENT_USER, key, "DebugMode", quint32(c.user));
        if (c.machine >= 0)
            WriteRegDword(HKEY_LOCAL_MACHINE, key, "DebugMode", quint32(c.machine));
        EXPECT_EQ(IsDebugMode(), c.debug) << "user " << c.user << ", machine " << c.machine;
    }
}

TEST_F(AppSettings, FoldersComeFromTheInstallationsSettings)
{
    // An installer writes the machine scope as text.
    QDir().mkpath(m_home.filePath("machine"));
    QFile file(CSettingsStore::FilePath(HKEY_LOCAL_MACHINE));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Software\\Talvecor\\Kelvora\\2007]\n"
               "AppPath=sz:/opt/kelvora\n"
               "SystemPath=sz:/opt/kelvora/data\n");
    file.close();

    InitAppPaths();
    EXPECT_EQ(GetAppRegistryKey(), "Software\\Talvecor\\Kelvora\\2007");
    EXPECT_EQ(GetAppPath(), "/opt/kelvora/");
    EXPECT_EQ(GetSystemPath(), "/opt/kelvora/data/");
    EXPECT_EQ(GetIntroFolder(), "/opt/kelvora/data/help/intro/");

    // A user's own value wins; an empty data folder stays empty.
    WriteAppSettingString(HKEY_CURRENT_USER, "AppPath", "/home/me/kelvora/");
    WriteAppSettingString(HKEY_CURRENT_USER, "SystemPath", "");
    InitAppPaths();
    EXPECT_EQ(GetAppPath(), "/home/me/kelvora/");
    EXPECT_EQ(GetSystemPath(), "");
    EXPECT_EQ(GetIntroFolder(), "help/intro/");
}

TEST_F(AppSettings, ProgramFolderDefaultsToTheProgramsOwnFolder)
{
    InitAppPaths();
    EXPECT_EQ(GetAppPath(), QFileInfo(GetModuleFileName()).absolutePath() + "/");
    EXPECT_EQ(GetSystemPath(), "");
}

TEST_F(AppSettings, SettingFolderIsTheUsersValueElseTheDocumentsFolder)
{
    const ScopedEnvironment home("HOME", m_home.path().toUtf8());
    const ScopedEnvironment config("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());

    EXPECT_EQ(GetMyDocumentsFolder(), m_home.filePath("Documents") + "/");
    // Only the user's own value counts: a machine value is no folder of this user.
    WriteRegString(HKEY_LOCAL_MACHINE, GetAppRegistryKey(), "SavePath_Create", "/srv/shared/");
    EXPECT_EQ(GetSettingFolder("SavePath_Create"), m_home.filePath("Documents") + "/");
    WriteAppSettingString(HKEY_CURRENT_USER, "SavePath_Create", "");
    EXPECT_EQ(GetSettingFolder("SavePath_Create"), m_home.filePath("Documents") + "/") << "empty is none";
    WriteAppSettingString(HKEY_CURRENT_USER, "SavePath_Create", "/home/me/letters");
    EXPECT_EQ(GetSettingFolder("SavePath_Create"), "/home/me/letters");
}

TEST_F(AppSettings, TemporaryFolderEndsInASlash)
{
    const ScopedEnvironment temp("TMPDIR", m_home.path().toUtf8());
    EXPECT_EQ(GetTempFolder(), m_home.path() + "/");
}
