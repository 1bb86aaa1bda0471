#include "app/TestRecipient.h"
#include "base/AppSettings.h"
#include "base/ArchiveFile.h"
#include "base/PSStreamMemory.h"
#include "ndb/NdbUser.h"
#include "platform/core/SettingsStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
class TestRecipientStore : public testing::Test
{
protected:
    void SetUp() override
    {
        CSettingsStore::SetLocations(m_home.filePath(QStringLiteral("user")),
                                     m_home.filePath(QStringLiteral("machine")));
        InitAppPaths();
    }
    void TearDown() override
    {
        CSettingsStore::SetLocations({}, {});
        InitAppPaths();
    }

    // A stored value made of an archive with that header around a recipient.
    static QByteArray Archive(const QString& tag, int major, int minor)
    {
        ndb::CNdbUser user;
        user.SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("other@example.org")));
        CPSStreamMemory stream;
        stream.Open(CPSStreamMemory::ModeWrite);
        EXPECT_TRUE(WriteArchiveStream(stream, {tag, major, minor, QString(), 0, 0},
                                       [&](CPSArchive& archive) { user.Serialize(archive); }));
        return stream.GetBuffer();
    }

    QTemporaryDir m_home;
};
} // namespace

// The test recipient comes back with every field it was saved with.
TEST_F(TestRecipientStore, SavedRecipientReadsBack)
{
    ndb::CNdbUser saved;
    saved.SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("tester@example.org")));
    saved.SetField(ndb::UserFirstName, ndb::CNdbFieldValue(QStringLiteral("Tess")));
    ASSERT_TRUE(TestRecipient::Save(saved));
    ndb::CNdbUser read;
    ASSERT_TRUE(TestRecipient::Load(read));
    EXPECT_EQ(read.GetString(ndb::UserEmail), QStringLiteral("tester@example.org"));
    EXPECT_EQ(read.GetString(ndb::UserFirstName), QStringLiteral("Tess"));
    EXPECT_EQ(read.GetString(ndb::UserId), saved.GetString(ndb::UserId));
}

// A missing, foreign, newer or broken value reads as nothing and leaves the record alone.
TEST_F(TestRecipientStore, UnreadableValuesLeaveTheRecordEmpty)
{
    const std::pair<const char*, QByteArray> values[] = {
        {"foreign type", Archive(QStringLiteral("KVN"), 2007, 0)},
        {"newer version", Archive(QStringLiteral("KVTU"), 2007, 1)},
        {"cut short", Archive(QStringLiteral("KVTU"), 2007, 0).chopped(3)},
        {"not an archive", QByteArray("TestUser")},
    };
    ndb::CNdbUser none;
    EXPECT_FALSE(TestRecipient::Load(none));
    for (const auto& [name, bytes] : values)
    {
        ASSERT_TRUE(WriteAppSettingBinary(HKEY_CURRENT_USER, QStringLiteral("TestUser"), bytes));
        ndb::CNdbUser user;
        EXPECT_FALSE(TestRecipient::Load(user)) << name;
        EXPECT_TRUE(user.GetString(ndb::UserEmail).isEmpty()) << name;
    }
    ASSERT_TRUE(WriteAppSettingBinary(HKEY_CURRENT_USER, QStringLiteral("TestUser"),
                                      Archive(QStringLiteral("KVTU"), 2006, 3)));
    ndb::CNdbUser older;
    EXPECT_TRUE(TestRecipient::Load(older));
    EXPECT_EQ(older.GetString(ndb::UserEmail), QStringLiteral("other@example.org"));
}
