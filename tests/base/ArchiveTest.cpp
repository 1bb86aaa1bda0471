#include "ArchiveTestClasses.h"

#include "base/ArchiveValues.h"
#include "base/PSArchive.h"
#include "base/PSFactoryBase.h"
#include "base/PSStreamFile.h"
#include "base/PSStreamMemory.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace ArchiveTest;

namespace
{
QByteArray Int(qint32 value)
{
    const auto bits = static_cast<quint32>(value);
    const char bytes[4] = {char(bits), char(bits >> 8), char(bits >> 16), char(bits >> 24)};
    return QByteArray(bytes, 4);
}

QByteArray Text(const QByteArray& bytes)
{
    return Int(static_cast<qint32>(bytes.size())) + bytes;
}

// The bytes of one archive pass over a memory stream.
QByteArray Write(const std::function<void(CPSArchive&)>& write)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    {
        CPSArchive archive(stream);
        write(archive);
        EXPECT_TRUE(archive.Flush());
    }
    return stream.GetBuffer();
}

QByteArray Save(CPSBase& root)
{
    return Write([&](CPSArchive& archive) { EXPECT_TRUE(ArchiveSerializeRoot(archive, root)); });
}

bool Load(const QByteArray& bytes, CPSBase& root)
{
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    return ArchiveSerializeRoot(archive, root);
}

// Runs a read over the bytes; true when it read without failure.
bool Read(const QByteArray& bytes, const std::function<void(CPSArchive&)>& read)
{
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    try
    {
        read(archive);
        return true;
    }
    catch (const CPSArchiveException&)
    {
        return false;
    }
}

// The prefix of a new object: its index, its class index and, on first use, key and name.
QByteArray NewObject(int index, int classIndex, const QByteArray& firstName = {})
{
    QByteArray bytes = Int(index) + Int(classIndex);
    if (!firstName.isEmpty())
        bytes += Int(1) + Text(firstName);
    return bytes;
}

class ArchiveFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        LiveObjects = 0;
        SerializeCalls = 0;
    }
    void TearDown() override { EXPECT_EQ(LiveObjects, 0) << "objects leaked or deleted twice"; }
};

using ArchiveWriter = ArchiveFixture;
using ArchiveReader = ArchiveFixture;
using ArchiveGraph = ArchiveFixture;
} // namespace

TEST_F(ArchiveWriter, NullPointerAndEmptyTextAreFourZeroBytes)
{
    const QByteArray bytes = Write(
        [](CPSArchive& archive)
        {
            ArchiveWriteObject(archive, nullptr);
            ArchiveWriteString(archive, QString());
        });
    EXPECT_EQ(bytes, QByteArray(8, '\0'));
}

TEST_F(ArchiveWriter, PrimitivesAreLittleEndian)
{
    const QByteArray bytes = Write(
        [](CPSArchive& archive)
        {
            ArchiveWriteInt(archive, -2);
            ArchiveWriteBool(archive, true);
            ArchiveWriteBool(archive, false);
            ArchiveWriteChar(archive, 'A');
            ArchiveWriteFloat(archive, 12.5f);
            ArchiveWritePair(archive, QPoint(3, -4));
            ArchiveWritePair(archive, QSize(640, 480));
            ArchiveWriteRect(archive, QRect(1, 2, 3, 4));
            ArchiveWriteStdString(archive, "CNdbUser");
        });
    EXPECT_EQ(bytes, Int(-2) + QByteArray("\x01\x00\x41", 3) + Int(0x41480000) + Int(3) + Int(-4) + Int(640) +
                         Int(480) + Int(1) + Int(2) + Int(4) + Int(6) + Text("CNdbUser"));
}

TEST_F(ArchiveReader, PrimitivesReadBack)
{
    const QByteArray bytes = Int(-2) + QByteArray("\x07\x00", 2) + Int(0x41480000) + Int(3) + Int(-4) +
                             Int(1) + Int(2) + Int(4) + Int(6);
    qint32 number = 0;
    bool on = false, off = true;
    float real = 0;
    QPoint point;
    QRect rect;
    ASSERT_TRUE(Read(bytes,
                     [&](CPSArchive& archive)
                     {
                         ArchiveReadInt(archive, number);
                         ArchiveReadBool(archive, on);
                         ArchiveReadBool(archive, off);
                         ArchiveReadFloat(archive, real);
                         ArchiveReadPair(archive, point);
                         ArchiveReadRect(archive, rect);
                     }));
    EXPECT_EQ(number, -2);
    EXPECT_TRUE(on) << "any non-zero byte reads as true";
    EXPECT_FALSE(off);
    EXPECT_EQ(real, 12.5f);
    EXPECT_EQ(point, QPoint(3, -4));
    EXPECT_EQ(rect, QRect(1, 2, 3, 4));
}

TEST_F(ArchiveGraph, ExtremeRectangleEdgesReadBackUnchanged)
{
    const QByteArray bytes = Int(INT_MIN) + Int(INT_MAX) + Int(INT_MIN) + Int(INT_MAX);
    QRect rect;
    ASSERT_TRUE(Read(bytes, [&](CPSArchive& archive) { ArchiveReadRect(archive, rect); }));
    EXPECT_EQ(Write([&](CPSArchive& archive) { ArchiveWriteRect(archive, rect); }), bytes);
}

TEST_F(ArchiveWriter, TextsAreUtf8OrWindows1252ByTheFlag)
{
    const QString text = QString::fromUtf16(u"\u00E9\u20AC\u4E2D");
    const QByteArray utf8 = Write([&](CPSArchive& archive) { ArchiveWriteString(archive, text); });
    EXPECT_EQ(utf8, Text("\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD"));
    const QByteArray ansi = Write(
        [&](CPSArchive& archive)
        {
            archive.SetUtf8(false);
            ArchiveWriteString(archive, text);
        });
    EXPECT_EQ(ansi, Text("\xE9\x80?"));
}

// Short and long texts take different ways to UTF-8; both write what QString::toUtf8 gives, lone
// surrogates included.
TEST_F(ArchiveWriter, EveryTextIsWrittenAsItsUtf8)
{
    const QChar high(0xD83D);
    const QChar low(0xDE00);
    const QString cases[] = {
        QString(),
        QStringLiteral("plain"),
        QString(high),
        QStringLiteral("ends in half a pair ") + high,
        QString(low) + QStringLiteral(" begins with the other half"),
        QStringLiteral("a pair ") + high + low + QStringLiteral(" and halves ") + low + high +
            QStringLiteral("x"),
        QString(256, QChar(0x4E2D)),
        QString(255, QChar(0x4E2D)) + high,
        QString(257, QChar(0x4E2D)),
        QString(300, QChar(u'a')) + high,
    };
    for (const QString& text : cases)
    {
        SCOPED_TRACE(text.size());
        EXPECT_EQ(Write([&](CPSArchive& archive) { ArchiveWriteString(archive, text); }),
                  Text(text.toUtf8()));
    }
}

TEST_F(ArchiveGraph, TextWithNulIsWrittenWholeAndReadsBackCut)
{
    const QString text = QString::fromUtf16(u"ab\0cd", 5);
    const QByteArray bytes = Write([&](CPSArchive& archive) { ArchiveWriteString(archive, text); });
    EXPECT_EQ(bytes, Text(QByteArray("ab\0cd", 5)));
    QString read = "old";
    ASSERT_TRUE(Read(bytes, [&](CPSArchive& archive) { ArchiveReadString(archive, read); }));
    EXPECT_EQ(read, "ab");
}

TEST_F(ArchiveGraph, SharedObjectIsStoredOnce)
{
    CTestNode root;
    root.value = 7;
    auto leaf = std::make_unique<CTestLeaf>("x");
    root.link = leaf.get();
    root.children.push_back(std::move(leaf));

    const QByteArray bytes = Save(root);
    EXPECT_EQ(bytes, Int(7) + Int(1) + NewObject(1, 1, "CTestLeaf") + Text("x") + Int(1));

    CTestNode read;
    ASSERT_TRUE(Load(bytes, read));
    ASSERT_EQ(read.children.size(), 1u);
    EXPECT_EQ(read.link, read.children[0].get());
    EXPECT_EQ(read.link->text, "x");
}

TEST_F(ArchiveGraph, ClassKeyAndNameAppearOncePerClass)
{
    CTestNode root;
    root.children.push_back(std::make_unique<CTestLeaf>("a"));
    root.children.push_back(std::make_unique<CTestNode>());
    root.children.push_back(std::make_unique<CTestLeaf>("b"));
    root.children.push_back(nullptr);

    const QByteArray bytes = Save(root);
    // The inner node: value 0, no children, no link.
    EXPECT_EQ(bytes, Int(0) + Int(4) + NewObject(1, 1, "CTestLeaf") + Text("a") +
                         NewObject(2, 2, "CTestNode") + Int(0) + Int(0) + Int(0) + NewObject(3, 1) +
                         Text("b") + Int(0) + Int(0));

    CTestNode read;
    ASSERT_TRUE(Load(bytes, read));
    ASSERT_EQ(read.children.size(), 4u);
    EXPECT_EQ(dynamic_cast<CTestLeaf&>(*read.children[2]).text, "b");
    EXPECT_NE(dynamic_cast<CTestNode*>(read.children[1].get()), nullptr);
    EXPECT_EQ(read.children[3], nullptr);
}

TEST_F(ArchiveReader, AnyUnknownClassIndexIntroducesANewClass)
{
    // With one class known, index 2 (C+1) and every index outside 1..C are followed by key and
    // name; index 1 is the known class.
    for (qint32 classIndex : {2, 0, -1, 99})
    {
        SCOPED_TRACE(classIndex);
        const QByteArray bytes = Int(0) + Int(3) + NewObject(1, 1, "CTestLeaf") + Text("a") + Int(2) +
                                 Int(classIndex) + Int(1) + Text("CTestNode") + Int(0) + Int(0) + Int(0) +
                                 NewObject(3, 1) + Text("c") + Int(0);
        CTestNode read;
        ASSERT_TRUE(Load(bytes, read));
        ASSERT_EQ(read.children.size(), 3u);
        EXPECT_NE(dynamic_cast<CTestNode*>(read.children[1].get()), nullptr);
        EXPECT_EQ(dynamic_cast<CTestLeaf&>(*read.children[2]).text, "c");
    }
}

TEST_F(ArchiveReader, NewObjectTakesTheNextIndexWhateverTheFileSays)
{
    // The first object claims index 40; it is still object 1, so the link's 1 finds it.
    const QByteArray bytes = Int(0) + Int(1) + NewObject(40, 1, "CTestLeaf") + Text("a") + Int(1);
    CTestNode read;
    ASSERT_TRUE(Load(bytes, read));
    EXPECT_EQ(read.link, read.children[0].get());
}

TEST_F(ArchiveReader, ArchiveWithoutHeaderStartsAtVersion256AndUtf8)
{
    CPSStreamMemory stream;
    CPSArchive archive(stream);
    EXPECT_EQ(archive.GetVersion(), 256);
    EXPECT_TRUE(archive.IsUtf8());
    EXPECT_EQ(CPSArchive::MakeVersion(2007, 2), 513794);
}

TEST_F(ArchiveWriter, HeaderRoundTrip)
{
    const QByteArray bytes =
        Write([](CPSArchive& archive)
              { EXPECT_TRUE(ArchiveWriteHeader(archive, true, "KVN", 2007, 2, "Kelvora", 3, 1)); });
    EXPECT_EQ(bytes, QByteArray("\x53\x50\x51\x5A\x01", 5) + Text("KVN") + Int(2007) + Int(2) +
                         Text("Kelvora") + Int(3) + Int(1));

    bool utf8 = false;
    QString tag, creator;
    int major = 0, minor = 0, creatorMajor = 0, creatorMinor = 0;
    ASSERT_TRUE(Read(bytes,
                     [&](CPSArchive& archive) {
                         EXPECT_TRUE(ArchiveReadHeader(archive, utf8, tag, major, minor, creator,
                                                       creatorMajor, creatorMinor));
                     }));
    EXPECT_TRUE(utf8);
    EXPECT_EQ(tag, "KVN");
    EXPECT_EQ(creator, "Kelvora");
    EXPECT_EQ(std::tie(major, minor, creatorMajor, creatorMinor), std::make_tuple(2007, 2, 3, 1));
}

TEST_F(ArchiveReader, HeaderFlagZeroReadsEveryTextInWindows1252)
{
    // The flag covers the header's own tag and creator and every later text.
    const QByteArray bytes = Int(ArchiveMagic) + QByteArray(1, '\0') + Text("K\x80N") + Int(2007) + Int(2) +
                             Text("Caf\xE9") + Int(1) + Int(0) + Text("\x93quoted\x94");
    bool utf8 = true;
    QString tag, creator, later;
    int major = 0, minor = 0, creatorMajor = 0, creatorMinor = 0;
    ASSERT_TRUE(Read(bytes,
                     [&](CPSArchive& archive)
                     {
                         ASSERT_TRUE(ArchiveReadHeader(archive, utf8, tag, major, minor, creator,
                                                       creatorMajor, creatorMinor));
                         ArchiveReadString(archive, later);
                     }));
    EXPECT_FALSE(utf8);
    EXPECT_EQ(tag, QString::fromUtf16(u"K\u20ACN"));
    EXPECT_EQ(creator, QString::fromUtf16(u"Caf\u00E9"));
    EXPECT_EQ(later, QString::fromUtf16(u"\u201Cquoted\u201D"));
}

TEST_F(ArchiveReader, HeaderFailsOnWrongMagicOrShortData)
{
    const QByteArray good = Int(ArchiveMagic) + QByteArray(1, '\1') + Text("KVN") + Int(2007) + Int(2) +
                            Text("Kelvora") + Int(1) + Int(0);
    QByteArray wrongMagic = good;
    wrongMagic[3] = 'z';
    for (const QByteArray& bytes : {wrongMagic, good.left(good.size() - 1), good.left(6), QByteArray()})
    {
        bool utf8;
        QString tag, creator;
        int major, minor, creatorMajor, creatorMinor;
        Read(bytes,
             [&](CPSArchive& archive) {
                 EXPECT_FALSE(ArchiveReadHeader(archive, utf8, tag, major, minor, creator, creatorMajor,
                                                creatorMinor));
             });
    }
}

TEST_F(ArchiveGraph, ArchiveLargerThanTheBufferCrossesRefillsBothWays)
{
    // Texts of odd lengths put values across every 8192-byte boundary.
    CTestNode root;
    for (int i = 0; i < 300; ++i)
        root.children.push_back(std::make_unique<CTestLeaf>(QString(i % 97 + 1, QChar(u'a' + i % 26))));
    root.children.push_back(std::make_unique<CTestLeaf>(QString(20000, u'z')));
    const QByteArray bytes = Save(root);
    ASSERT_GT(bytes.size(), 3 * CPSArchive::BufferCapacity);

    CTestNode read;
    ASSERT_TRUE(Load(bytes, read));
    ASSERT_EQ(read.children.size(), root.children.size());
    for (size_t i = 0; i < root.children.size(); ++i)
        EXPECT_EQ(dynamic_cast<CTestLeaf&>(*read.children[i]).text,
                  dynamic_cast<CTestLeaf&>(*root.children[i]).text);
    EXPECT_EQ(Save(read), bytes);
}

TEST_F(ArchiveReader, EveryTruncationFailsTheLoadAndLeavesNothingBehind)
{
    CTestNode root;
    root.value = 5;
    auto inner = std::make_unique<CTestNode>();
    inner->children.push_back(std::make_unique<CTestLeaf>("deep"));
    inner->link = dynamic_cast<CTestLeaf*>(inner->children[0].get());
    root.children.push_back(std::move(inner));
    root.children.push_back(std::make_unique<CTestLeaf>("second"));
    root.link = dynamic_cast<CTestLeaf*>(root.children[1].get());
    const QByteArray bytes = Save(root);

    for (qsizetype size = 0; size < bytes.size(); ++size)
    {
        auto read = std::make_unique<CTestNode>();
        EXPECT_FALSE(Load(bytes.left(size), *read)) << size;
    }
    auto read = std::make_unique<CTestNode>();
    EXPECT_TRUE(Load(bytes, *read));
}

TEST_F(ArchiveReader, CountsBeyondTheDataFailBeforeAllocating)
{
    const QByteArray pad(100, 'x');
    struct Case
    {
        const char* what;
        std::function<void(CPSArchive&)> read;
    };
    QString text;
    std::string name;
    std::vector<std::unique_ptr<CPSBase>> objects;
    std::map<QString, std::unique_ptr<CTestLeaf>> map;
    const Case cases[] = {
        {"text", [&](CPSArchive& archive) { ArchiveReadString(archive, text); }},
        {"narrow", [&](CPSArchive& archive) { ArchiveReadStdString(archive, name); }},
        {"vector", [&](CPSArchive& archive) { ArchiveReadObjectVector(archive, objects); }},
        {"map", [&](CPSArchive& archive) { ArchiveReadObjectMap(archive, map); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(Read(Int(0x7FFFFFFF) + pad, c.read));
        EXPECT_FALSE(Read(Int(-1) + pad, c.read));
        EXPECT_FALSE(Read(Int(104) + pad, c.read));
    }
}

TEST_F(ArchiveReader, TextCountBeyondTheDataFailsOnAStreamThatCannotTellItsSize)
{
    class CUnsizedStream : public CPSStreamMemory
    {
    public:
        qint64 BytesLeft() override { return -1; }
    };
    CUnsizedStream stream;
    stream.SetBuffer(Int(0x7FFFFFFF) + QByteArray(100, 'x'));
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    QString text;
    EXPECT_THROW(ArchiveReadString(archive, text), CPSArchiveException);
}

TEST_F(ArchiveReader, UnknownClassFailsWithoutCreatingAnything)
{
    for (const QByteArray& name :
         {QByteArray("CTestMissing"), QByteArray("ctestleaf"), QByteArray("CTestLea")})
    {
        SCOPED_TRACE(name.constData());
        CTestNode read;
        EXPECT_FALSE(Load(Int(0) + Int(1) + NewObject(1, 1, name) + Text("a") + Int(0), read));
    }
    // The right name under another key is another class too.
    CTestNode read;
    EXPECT_FALSE(
        Load(Int(0) + Int(1) + Int(1) + Int(1) + Int(2) + Text("CTestLeaf") + Text("a") + Int(0), read));
    EXPECT_EQ(SerializeCalls, 4);
}

TEST(ArchiveRegistry, CreatesByExactKeyAndName)
{
    std::unique_ptr<CPSBase> leaf(CreatePersistentObject(1, "CTestLeaf"));
    ASSERT_NE(dynamic_cast<CTestLeaf*>(leaf.get()), nullptr);
    EXPECT_EQ(leaf->GetClassKey(), 1);
    EXPECT_EQ(leaf->GetClassName(), "CTestLeaf");
    EXPECT_EQ(CreatePersistentObject(1, "CTestLeaf "), nullptr);
    EXPECT_EQ(CreatePersistentObject(1, std::string("CTestLeaf\0", 10)), nullptr);
    EXPECT_EQ(CreatePersistentObject(0, "CTestLeaf"), nullptr);
}

TEST_F(ArchiveReader, ObjectOfAnotherClassFailsBeforeItsSerializeRuns)
{
    // A directory holds only leaves; a node in its map is refused.
    const QByteArray bytes =
        Int(1) + Text("k") + NewObject(1, 1, "CTestNode") + Int(0) + Int(0) + Int(0) + Int(0);
    CTestDirectory read;
    EXPECT_FALSE(Load(bytes, read));
    EXPECT_EQ(SerializeCalls, 1) << "only the root ran";
    EXPECT_TRUE(read.leaves.empty());
}

TEST_F(ArchiveReader, BackReferenceIntoAnOwningSlotFails)
{
    // A leaf owned twice, and a node that owns itself: both would be deleted twice.
    const QByteArray ownedTwice =
        Int(0) + Int(2) + NewObject(1, 1, "CTestLeaf") + Text("a") + Int(1) + Int(0);
    const QByteArray ownsItself =
        Int(0) + Int(1) + NewObject(1, 1, "CTestNode") + Int(0) + Int(1) + Int(1) + Int(0) + Int(0);
    for (const QByteArray& bytes : {ownedTwice, ownsItself})
    {
        auto read = std::make_unique<CTestNode>();
        EXPECT_FALSE(Load(bytes, *read));
    }
}

TEST_F(ArchiveReader, ReferenceMustNameAnObjectAlreadyRead)
{
    struct Case
    {
        const char* what;
        QByteArray link;
    };
    const Case cases[] = {
        {"a new object", NewObject(2, 1) + Text("b")},
        {"an index past the table", Int(2)},
        {"a negative index", Int(-1)},
        {"an object of another class", Int(1)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const QByteArray child = std::string_view(c.what) == "an object of another class"
                                     ? NewObject(1, 1, "CTestNode") + Int(0) + Int(0) + Int(0)
                                     : NewObject(1, 1, "CTestLeaf") + Text("a");
        auto read = std::make_unique<CTestNode>();
        EXPECT_FALSE(Load(Int(0) + Int(1) + child + c.link, *read));
    }
}

TEST_F(ArchiveReader, DuplicateMapKeyKeepsTheFirstEntry)
{
    const QByteArray entries = Int(3) + Text("a") + NewObject(1, 1, "CTestLeaf") + Text("first") + Text("a") +
                               NewObject(2, 1) + Text("second") + Text("b") + Int(0);
    {
        CTestDirectory read;
        ASSERT_TRUE(Load(entries + Int(1), read));
        ASSERT_EQ(read.leaves.size(), 2u);
        EXPECT_EQ(read.leaves.at("a")->text, "first");
        EXPECT_EQ(read.leaves.at("b"), nullptr);
        EXPECT_EQ(read.link, read.leaves.at("a").get());
    }
    // The dropped object is gone: a reference to it fails instead of dangling.
    CTestDirectory read;
    EXPECT_FALSE(Load(entries + Int(2), read));
}

TEST_F(ArchiveReader, RawPointerContainersFillAndDropDuplicates)
{
    const QByteArray bytes = Int(2) + Text("a") + NewObject(1, 1, "CTestLeaf") + Text("first") + Text("a") +
                             NewObject(2, 1) + Text("second") + Int(2) + NewObject(3, 1) + Text("v") + Int(0);
    std::map<QString, CTestLeaf*> map;
    std::vector<CTestLeaf*> vector{nullptr, nullptr, nullptr};
    ASSERT_TRUE(Read(bytes,
                     [&](CPSArchive& archive)
                     {
                         ArchiveReadObjectMap(archive, map);
                         ArchiveReadObjectVector(archive, vector);
                     }));
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map["a"]->text, "first");
    ASSERT_EQ(vector.size(), 2u);
    EXPECT_EQ(vector[0]->text, "v");
    EXPECT_EQ(vector[1], nullptr);
    delete map["a"];
    delete vector[0];
}

TEST_F(ArchiveReader, NestingDeeperThanTheLimitFails)
{
    const auto nested = [](int depth)
    {
        QByteArray bytes = Int(0) + Int(1) + NewObject(1, 1, "CTestNode");
        for (int i = 2; i <= depth; ++i)
            bytes += Int(0) + Int(1) + NewObject(i, 1);
        bytes += Int(0) + Int(0) + Int(0);
        for (int i = 1; i < depth; ++i)
            bytes += Int(0);
        return bytes + Int(0);
    };
    CTestNode shallow;
    EXPECT_TRUE(Load(nested(CPSArchive::MaxObjectDepth), shallow));
    CTestNode deep;
    EXPECT_FALSE(Load(nested(CPSArchive::MaxObjectDepth + 1), deep));
}

TEST_F(ArchiveReader, NothingIsReadAfterAFailure)
{
    CPSStreamMemory stream;
    stream.SetBuffer(Int(-1) + Int(5));
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    QString text;
    EXPECT_THROW(ArchiveReadString(archive, text), CPSArchiveException);
    qint32 value = 0;
    EXPECT_THROW(ArchiveReadInt(archive, value), CPSArchiveException);
    EXPECT_EQ(value, 0);
}

TEST(ArchiveFlush, StreamThatRefusesBytesMakesTheClosingFlushFail)
{
    // A stream that takes at most 10000 bytes in all, the rest of a block refused.
    class CLimitedStream : public CPSStreamMemory
    {
    public:
        qint64 Write(const void* bytes, qint64 count) override
        {
            const qint64 taken = std::min<qint64>(count, 10000 - GetBuffer().size());
            return CPSStreamMemory::Write(bytes, taken);
        }
    };
    CLimitedStream stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    QByteArray expected;
    {
        CPSArchive archive(stream);
        for (qint32 i = 0; i < 5000; ++i)
        {
            ArchiveWriteInt(archive, i);
            expected += Int(i);
        }
        EXPECT_FALSE(archive.Flush());
        EXPECT_TRUE(archive.HasWriteFailed());
        EXPECT_FALSE(ArchiveWriteHeader(archive, true, "KVN", 1, 0, "Kelvora", 1, 0));
    }
    // What the stream took is an exact prefix: no block was handed over twice.
    EXPECT_EQ(stream.GetBuffer(), expected.left(10000));
}

TEST(ArchiveFlush, FileWithoutRoomMakesTheClosingFlushFail)
{
    // A full disk: the file opens but no byte written to it is kept. The save must learn that
    // from the archive's Flush, before it renames the file over the old document.
    CPSStreamFile stream;
    ASSERT_TRUE(stream.Open(QStringLiteral("/dev/full"), false, false));
    CPSArchive archive(stream);
    ASSERT_TRUE(ArchiveWriteHeader(archive, true, "KVN", 2007, 2, "Kelvora", 1, 0));
    EXPECT_FALSE(archive.Flush());
}

TEST(ArchiveFlush, DestructorHandsOverBufferedBytes)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    {
        CPSArchive archive(stream);
        ArchiveWriteInt(archive, 42);
    }
    EXPECT_EQ(stream.GetBuffer(), Int(42));
}

TEST_F(ArchiveGraph, DocumentSavedToAFileLoadsBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("letter.kvnl");
    CTestNode root;
    root.value = 2007;
    for (int i = 0; i < 2000; ++i)
        root.children.push_back(std::make_unique<CTestLeaf>(QString::number(i)));
    {
        CPSStreamFile stream;
        ASSERT_TRUE(stream.Open(path, false, false));
        CPSArchive archive(stream);
        ASSERT_TRUE(ArchiveWriteHeader(archive, true, "KVN", 2007, 2, "Kelvora", 1, 0));
        archive.SetVersion(CPSArchive::MakeVersion(2007, 2));
        ASSERT_TRUE(ArchiveSerializeRoot(archive, root));
        ASSERT_TRUE(archive.Flush());
    }
    CPSStreamFile stream;
    ASSERT_TRUE(stream.Open(path, true, false));
    ASSERT_GT(stream.BytesLeft(), CPSArchive::BufferCapacity);
    CPSArchive archive(stream);
    bool utf8 = false;
    QString tag, creator;
    int major = 0, minor = 0, creatorMajor = 0, creatorMinor = 0;
    ASSERT_TRUE(ArchiveReadHeader(archive, utf8, tag, major, minor, creator, creatorMajor, creatorMinor));
    EXPECT_EQ(tag, "KVN");
    CTestNode read;
    ASSERT_TRUE(ArchiveSerializeRoot(archive, read));
    EXPECT_EQ(read.value, 2007);
    ASSERT_EQ(read.children.size(), 2000u);
    EXPECT_EQ(dynamic_cast<CTestLeaf&>(*read.children[1999]).text, "1999");
}
