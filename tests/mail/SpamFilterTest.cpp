#include "mail/SpamFilter.h"

#include "base/PSArchive.h"
#include "base/PSFactoryBase.h"
#include "base/PSStreamMemory.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace SpamFilter;

namespace
{
QByteArray Int(qint32 value)
{
    const auto bits = static_cast<quint32>(value);
    const char bytes[4] = {char(bits), char(bits >> 8), char(bits >> 16), char(bits >> 24)};
    return QByteArray(bytes, 4);
}

QByteArray Record(const QByteArray& word, qint32 ham, qint32 spam)
{
    return Int(static_cast<qint32>(word.size())) + word + Int(ham) + Int(spam);
}

QByteArray Version(qint32 major, qint32 minor, qint32 third)
{
    return Int(major) + Int(minor) + Int(third);
}

// A small database as the file holds it: ham total 20, spam total 30, three records.
QByteArray GoodBody()
{
    return Int(20) + Int(30) + Int(3) + Record("free", 4, 12) +
           Record("gr\xc3\xbc\xc3\x9f"
                  "e",
                  7, 1) +
           Record("meeting", 9, 0);
}

bool Load(CSpamFilter& filter, const QByteArray& bytes)
{
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    return filter.LoadDatabase(stream);
}

void ExpectGoodDatabase(const CSpamDB& database)
{
    EXPECT_EQ(database.GetHamTotal(), 20);
    EXPECT_EQ(database.GetSpamTotal(), 30);
    EXPECT_EQ(database.GetWordCount(), 3);
    EXPECT_EQ(database.GetHamCount(u"free"_qs), 4);
    EXPECT_EQ(database.GetSpamCount(u"free"_qs), 12);
    EXPECT_EQ(database.GetHamCount(u"grüße"_qs), 7);
    EXPECT_EQ(database.GetSpamCount(u"meeting"_qs), 0);
    EXPECT_EQ(database.GetHamCount(u"absent"_qs), 0);
}
} // namespace

TEST(SpamFilter, LoadsADatabaseFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"spamdb.dat"_qs);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Version(1, 2, 3) + GoodBody());
    file.close();

    CSpamFilter filter;
    EXPECT_EQ(filter.GetDatabase().GetWordCount(), 0);
    EXPECT_FALSE(filter.HasClassifier());
    ASSERT_TRUE(filter.LoadDatabase(path));
    ExpectGoodDatabase(filter.GetDatabase());
}

TEST(SpamFilter, MissingFileFailsAndKeepsTheDatabase)
{
    QTemporaryDir dir;
    CSpamFilter filter;
    ASSERT_TRUE(Load(filter, Version(1, 2, 3) + GoodBody()));
    EXPECT_FALSE(filter.LoadDatabase(dir.filePath(u"none.dat"_qs)));
    ExpectGoodDatabase(filter.GetDatabase());
}

TEST(SpamFilter, AcceptsVersionsUpToOnePointTwo)
{
    struct Case
    {
        int major, minor, third;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {1, 2, 3, true},  {1, 2, 9, true},  {1, 0, 0, true},   {0, 9, 0, true},   {0, 999, 0, true},
        {1, 3, 0, false}, {2, 0, 0, false}, {-1, 0, 0, false}, {1, -1, 0, false},
    };
    for (const Case& c : cases)
    {
        CSpamFilter filter;
        // A refused file leaves what was loaded before.
        ASSERT_TRUE(Load(filter, Version(1, 2, 3) + Int(1) + Int(1) + Int(1) + Record("old", 1, 1)));
        EXPECT_EQ(Load(filter, Version(c.major, c.minor, c.third) + GoodBody()), c.accepted)
            << c.major << "." << c.minor << "." << c.third;
        if (c.accepted)
            ExpectGoodDatabase(filter.GetDatabase());
        else
            EXPECT_EQ(filter.GetDatabase().GetHamCount(u"old"_qs), 1);
    }
}

TEST(SpamFilter, ReadsWordsAsTheFileStatesThem)
{
    CSpamFilter filter;
    const QByteArray body = Int(5) + Int(6) + Int(4) + Record("dup", 1, 1) +
                            Record(QByteArray("cut\0tail", 8), 2, 3) + Record("", 8, 9) + Record("dup", 7, 8);
    ASSERT_TRUE(Load(filter, Version(1, 2, 0) + body));
    const CSpamDB& database = filter.GetDatabase();
    EXPECT_EQ(database.GetWordCount(), 3);
    // A repeated word keeps its last counts; a word ends at a NUL byte; the empty word is a word.
    EXPECT_EQ(database.GetHamCount(u"dup"_qs), 7);
    EXPECT_EQ(database.GetSpamCount(u"dup"_qs), 8);
    EXPECT_EQ(database.GetSpamCount(u"cut"_qs), 3);
    EXPECT_EQ(database.GetHamCount(QString()), 8);
}

TEST(SpamFilter, DamagedFileFailsAndEmptiesTheDatabase)
{
    const QByteArray good = Version(1, 2, 3) + GoodBody();
    std::vector<std::pair<const char*, QByteArray>> cases = {
        {"negative ham total", Version(1, 2, 3) + Int(-1) + Int(1) + Int(0)},
        {"negative spam total", Version(1, 2, 3) + Int(1) + Int(-5) + Int(0)},
        {"negative word count", Version(1, 2, 3) + Int(1) + Int(1) + Int(-1)},
        {"more words than the file holds", Version(1, 2, 3) + Int(1) + Int(1) + Int(0x7fffffff)},
        {"word longer than the file", Version(1, 2, 3) + Int(1) + Int(1) + Int(1) + Int(0x7ffffff0) + "abc"},
        {"negative word length", Version(1, 2, 3) + Int(1) + Int(1) + Int(1) + Int(-3) + Int(0) + Int(0)},
        {"negative counts", Version(1, 2, 3) + Int(1) + Int(1) + Int(1) + Record("w", -4, 2)},
    };
    // Every cut through a good file fails too.
    for (qsizetype size = 0; size < good.size(); ++size)
        cases.emplace_back("truncated", good.left(size));

    for (const auto& [name, bytes] : cases)
    {
        CSpamFilter filter;
        ASSERT_TRUE(Load(filter, good));
        EXPECT_FALSE(Load(filter, bytes)) << name << " " << bytes.size();
        EXPECT_EQ(filter.GetDatabase().GetWordCount(), 0) << name << " " << bytes.size();
        EXPECT_EQ(filter.GetDatabase().GetHamTotal(), 0) << name << " " << bytes.size();
    }
}

TEST(SpamFilter, WrittenDatabaseReadsBack)
{
    CSpamDB written;
    written.SetTotals(20, 30);
    written.SetWordCounts(u"free"_qs, 4, 12);
    written.SetWordCounts(u"grüße"_qs, 7, 1);
    written.SetWordCounts(u"meeting"_qs, 9, 0);
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    {
        CPSArchive archive(stream);
        written.Serialize(archive);
        ASSERT_TRUE(archive.Flush());
    }
    // Map order is the file order, so the bytes are exactly the hand-made ones.
    EXPECT_EQ(stream.GetBuffer(), GoodBody());
}

TEST(SpamFilter, ClassifierIsCreatedOnceOnFirstUse)
{
    CSpamFilter filter;
    EXPECT_FALSE(filter.HasClassifier());
    CFilterBayesian* first = &filter.GetClassifier();
    EXPECT_TRUE(filter.HasClassifier());
    EXPECT_EQ(&filter.GetClassifier(), first);
}

TEST(SpamFilter, DatabaseIsRegisteredForArchives)
{
    std::unique_ptr<CPSBase> object(CreatePersistentObject(1, "CSpamDB"));
    ASSERT_NE(dynamic_cast<CSpamDB*>(object.get()), nullptr);
    EXPECT_EQ(object->GetClassName(), "CSpamDB");
    EXPECT_EQ(object->GetClassKey(), 1);
}
