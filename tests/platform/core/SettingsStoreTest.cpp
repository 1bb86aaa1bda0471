#include "platform/core/SettingsStore.h"
#include "platform/core/ModulePath.h"
#include "platform/core/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace
{
const QString Key = QStringLiteral("Software\\Maker\\App");

class SettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        CSettingsStore::SetLocations(UserFolder(), MachineFolder());
    }
    void TearDown() override { CSettingsStore::SetLocations({}, {}); }

    QString UserFolder() const { return m_home.filePath("user"); }
    QString MachineFolder() const { return m_home.filePath("machine"); }

    static RegValue Blob(const QByteArray& bytes) { return {REG_BINARY, bytes}; }

    QTemporaryDir m_home;
};
} // namespace

TEST_F(SettingsStoreTest, ScopesAreKeptInTheirOwnFiles)
{
    ASSERT_TRUE(CSettingsStore::SetValue(HKEY_CURRENT_USER, Key, "Name", Blob("user")));
    ASSERT_TRUE(CSettingsStore::SetValue(HKEY_LOCAL_MACHINE, Key, "Name", Blob("machine")));

    RegValue value;
    ASSERT_TRUE(CSettingsStore::QueryValue(HKEY_CURRENT_USER, Key, "Name", value));
    EXPECT_EQ(value.data, "user");
    ASSERT_TRUE(CSettingsStore::QueryValue(HKEY_LOCAL_MACHINE, Key, "Name", value));
    EXPECT_EQ(value.data, "machine");
    EXPECT_EQ(CSettingsStore::FilePath(HKEY_CURRENT_USER), UserFolder() + "/settings.conf");
    EXPECT_EQ(CSettingsStore::FilePath(HKEY_LOCAL_MACHINE), MachineFolder() + "/settings.conf");
    EXPECT_TRUE(QFile::exists(CSettingsStore::FilePath(HKEY_LOCAL_MACHINE)));

    EXPECT_TRUE(CSettingsStore::DeleteValue(HKEY_CURRENT_USER, Key, "Name"));
    EXPECT_FALSE(CSettingsStore::QueryValue(HKEY_CURRENT_USER, Key, "Name", value));
    EXPECT_FALSE(CSettingsStore::DeleteValue(HKEY_CURRENT_USER, Key, "Name"));
    EXPECT_TRUE(CSettingsStore::QueryValue(HKEY_LOCAL_MACHINE, Key, "Name", value));
}

TEST_F(SettingsStoreTest, DefaultScopesAreTheXdgConfigFolderAndTheProgramFolder)
{
    CSettingsStore::SetLocations({}, {});
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
    EXPECT_EQ(CSettingsStore::FilePath(HKEY_CURRENT_USER), m_home.filePath("config/Kelvora/settings.conf"));
    qputenv("XDG_CONFIG_HOME", saved);
    EXPECT_EQ(CSettingsStore::FilePath(HKEY_LOCAL_MACHINE),
              QFileInfo(GetModuleFileName()).absolutePath() + "/settings.conf");
}

TEST_F(SettingsStoreTest, ScopeThatCannotBeWrittenRefusesWrites)
{
    // A folder below a plain file can be created by nobody, root included.
    QFile blocker(m_home.filePath("plain-file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CSettingsStore::SetLocations(UserFolder(), blocker.fileName() + "/machine");

    EXPECT_FALSE(CSettingsStore::SetValue(HKEY_LOCAL_MACHINE, Key, "Name", Blob("x")));
    EXPECT_FALSE(CSettingsStore::DeleteValue(HKEY_LOCAL_MACHINE, Key, "Name"));
    RegValue value;
    EXPECT_FALSE(CSettingsStore::QueryValue(HKEY_LOCAL_MACHINE, Key, "Name", value));
    EXPECT_TRUE(CSettingsStore::SetValue(HKEY_CURRENT_USER, Key, "Name", Blob("x")));
}

TEST_F(SettingsStoreTest, UnreadableFileIsLeftAloneByWrites)
{
    ASSERT_TRUE(QDir().mkpath(UserFolder()));
    const QString path = CSettingsStore::FilePath(HKEY_CURRENT_USER);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray oversized(CSettingsFile::MaxFileSize + 10, '#');
    file.write(oversized);
    file.close();

    EXPECT_FALSE(CSettingsStore::SetValue(HKEY_CURRENT_USER, Key, "Name", Blob("x")));
    EXPECT_EQ(QFileInfo(path).size(), oversized.size());
}

TEST_F(SettingsStoreTest, WritesReplaceTheFileAndLeaveNothingBehind)
{
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(CSettingsStore::SetValue(HKEY_CURRENT_USER, Key, QString("V%1").arg(i), Blob("x")));
    EXPECT_EQ(QDir(UserFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{"settings.conf"});
    // The user's settings may hold account data.
    const QFileDevice::Permissions others =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    const QString path = CSettingsStore::FilePath(HKEY_CURRENT_USER);
    EXPECT_FALSE(QFile::permissions(path) & others);
    // A file opened up by hand is private again after the next write.
    ASSERT_TRUE(QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOther));
    ASSERT_TRUE(CSettingsStore::SetValue(HKEY_CURRENT_USER, Key, "Again", Blob("x")));
    EXPECT_EQ(QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(SettingsStoreTest, ReadersOnOtherThreadsAlwaysSeeAWholeValue)
{
    const QByteArray first(3000, 'a');
    const QByteArray second(5000, 'b');
    ASSERT_TRUE(CSettingsStore::SetValue(HKEY_CURRENT_USER, Key, "Shared", Blob(first)));

    std::atomic<bool> stop = false;
    std::atomic<int> badReads = 0;
    std::vector<std::thread> readers;
    for (int r = 0; r < 4; ++r)
    {
        readers.emplace_back(
            [&]
            {
                while (!stop)
                {
                    RegValue value;
                    if (!CSettingsStore::QueryValue(HKEY_CURRENT_USER, Key, "Shared", value) ||
                        (value.data != first && value.data != second))
                        ++badReads;
                }
            });
    }
    // Writers on two threads, each with its own values: none may be lost.
    std::vector<std::thread> writers;
    for (int w = 0; w < 2; ++w)
    {
        writers.emplace_back(
            [&, w]
            {
                for (int i = 0; i < 25; ++i)
                {
                    CSettingsStore::SetValue(HKEY_CURRENT_USER, Key, "Shared", Blob(i % 2 ? first : second));
                    CSettingsStore::SetValue(HKEY_CURRENT_USER, Key, QString("W%1_%2").arg(w).arg(i),
                                             Blob("x"));
                }
            });
    }
    for (std::thread& writer : writers)
        writer.join();
    stop = true;
    for (std::thread& reader : readers)
        reader.join();

    EXPECT_EQ(badReads, 0);
    for (int w = 0; w < 2; ++w)
    {
        for (int i = 0; i < 25; ++i)
        {
            RegValue value;
            EXPECT_TRUE(
                CSettingsStore::QueryValue(HKEY_CURRENT_USER, Key, QString("W%1_%2").arg(w).arg(i), value));
        }
    }
}
