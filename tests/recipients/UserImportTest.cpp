#include "recipients/UserImport.h"
#include "base/ArchiveFile.h"
#include "ndb/NdbUserList.h"
#include "recipients/UserImportProfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
bool WriteProfileFile(const QString& path, const QString& tag, int major, int minor,
                      const ImportMapping& mapping)
{
    CUserImportProfile profile;
    profile.SetMapping(mapping);
    return WriteArchiveFile(path, {tag, major, minor, QString(), 0, 0},
                            [&profile](CPSArchive& archive) { profile.Serialize(archive); });
}

const ImportMapping Custom{{110, 2}, {130, 0}, {900, 1}};
} // namespace

TEST(UserImportProfile, DefaultMappingFollowsTheFieldTable)
{
    const CUserImportProfile profile;
    EXPECT_EQ(profile.GetMapping().size(), 25u);
    EXPECT_EQ(profile.FindColumn(110), 0);
    EXPECT_EQ(profile.FindColumn(320), 21);
    EXPECT_EQ(profile.FindColumn(600), 30);
    EXPECT_EQ(profile.FindColumn(700), 40);
    EXPECT_EQ(profile.FindColumn(900), 60);
    EXPECT_EQ(profile.FindColumn(800), -1);
}

TEST(UserImportProfile, SavedProfileLoadsBackAndForeignFilesLeaveTheMapping)
{
    QTemporaryDir folder;
    const QString saved = folder.filePath(QStringLiteral("mine.nprof"));
    CUserImportProfile profile;
    profile.SetMapping(Custom);
    ASSERT_TRUE(profile.Save(saved, QString()));
    CUserImportProfile loaded;
    ASSERT_TRUE(loaded.Load(saved));
    EXPECT_EQ(loaded.GetMapping(), Custom);

    const QString otherTag = folder.filePath(QStringLiteral("tag.nprof"));
    const QString newer = folder.filePath(QStringLiteral("newer.nprof"));
    const QString truncated = folder.filePath(QStringLiteral("cut.nprof"));
    ASSERT_TRUE(WriteProfileFile(otherTag, QStringLiteral("KVIX"), 2007, 0, {{110, 5}}));
    ASSERT_TRUE(WriteProfileFile(newer, QStringLiteral("KVIP"), 2007, 1, {{110, 5}}));
    QFile::copy(saved, truncated);
    QFile cut(truncated);
    cut.resize(cut.size() - 6);
    for (const QString& path : {otherTag, newer, truncated, folder.filePath(QStringLiteral("missing.nprof"))})
    {
        EXPECT_FALSE(loaded.Load(path)) << path.toStdString();
        EXPECT_EQ(loaded.GetMapping(), Custom) << path.toStdString();
    }
}

TEST(UserImport, BooleanWords)
{
    const std::pair<const char*, bool> words[] = {
        {"true", true}, {" YES ", true}, {"1", true},     {"False", false},  {"no", false},
        {"0", false},   {"", true},      {"maybe", true}, {"\tNo\n", false},
    };
    for (const auto& [word, expected] : words)
        EXPECT_EQ(ParseImportBoolean(QString::fromUtf8(word), true), expected) << word;
    EXPECT_FALSE(ParseImportBoolean(QStringLiteral("maybe"), false));
}

TEST(UserImport, RowsBecomeRecipientsThroughTheMapping)
{
    struct Case
    {
        const char* name;
        ImportMapping mapping;
        bool header;
        TextRows rows;
        // Per created recipient: the fields that must hold these texts ("" = absent).
        std::vector<std::map<int, QString>> users;
    };
    const Case cases[] = {
        {"default mapping, final empty row creates nothing",
         CUserImportProfile().GetMapping(),
         false,
         {{"a@x.com", "Dr"}, {"b@x.com", "Prof"}, {}},
         {{{110, "a@x.com"}, {120, "Dr"}, {130, ""}}, {{110, "b@x.com"}, {120, "Prof"}}}},
        {"header row skipped",
         CUserImportProfile().GetMapping(),
         true,
         {{"Email"}, {"c@x.com"}},
         {{{110, "c@x.com"}}}},
        {"quotes kept as they came", {{110, 0}}, false, {{"\"q@x.com\""}}, {{{110, "\"q@x.com\""}}}},
        {"row without mapped columns creates nothing", {{110, 3}}, false, {{"a", "b"}}, {}},
        {"two fields from one column",
         {{110, 0}, {290, 0}},
         false,
         {{"s@x.com"}},
         {{{110, "s@x.com"}, {290, "s@x.com"}}}},
        {"colour label never imported",
         {{600, 0}, {110, 1}},
         false,
         {{"3", "l@x.com"}},
         {{{110, "l@x.com"}}}},
        {"negative column ignored", {{110, -1}, {130, 0}}, false, {{"Ann"}}, {{{130, "Ann"}, {110, ""}}}},
    };
    for (const Case& c : cases)
    {
        CUserImportProfile profile;
        profile.SetMapping(c.mapping);
        ndb::CNdbUserList target;
        CUserImport::CreateUsers(profile, c.rows, c.header, target);
        ASSERT_EQ(size_t(target.GetCount()), c.users.size()) << c.name;
        for (size_t i = 0; i < c.users.size(); ++i)
        {
            const ndb::CNdbUser* user = target.GetUserAt(int(i));
            EXPECT_FALSE(user->GetString(100).isEmpty()) << c.name;
            EXPECT_FALSE((user->GetFields().find(600) != user->GetFields().end())) << c.name;
            for (const auto& [code, text] : c.users[i])
            {
                EXPECT_EQ(user->GetFields().find(code) != user->GetFields().end(), !text.isEmpty())
                    << c.name << " " << code;
                EXPECT_EQ(user->GetString(code), text) << c.name << " " << code;
            }
        }
    }
}

TEST(UserImport, FlagColumnsReadWordsAndAnUnclearBlockedCellBlocksNobody)
{
    CUserImportProfile profile;
    profile.SetMapping({{110, 0}, {700, 1}, {800, 2}, {900, 3}});
    const TextRows rows = {
        {"a@x.com", "no", "", " YES "}, {"b@x.com", "1", "blocked?", "0"}, {"c@x.com", "", "true", ""}};
    ndb::CNdbUserList target;
    CUserImport::CreateUsers(profile, rows, false, target);
    ASSERT_EQ(target.GetCount(), 3);
    const bool expected[3][3] = {{false, false, true}, {true, false, false}, {true, true, true}};
    for (int i = 0; i < 3; ++i)
    {
        const ndb::CNdbUser* user = target.GetUserAt(i);
        EXPECT_EQ(user->GetBool(700, !expected[i][0]), expected[i][0]) << i;
        EXPECT_EQ(user->GetBool(800, !expected[i][1]), expected[i][1]) << i;
        EXPECT_EQ(user->GetBool(900, !expected[i][2]), expected[i][2]) << i;
    }
}
