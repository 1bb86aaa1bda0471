#include "base/PSStreamFile.h"
#include "base/PSStreamMemory.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
class StreamFile : public testing::Test
{
protected:
    QByteArray Contents() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void Put(const QByteArray& bytes) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir;
    // A name outside ASCII, as a user's document may have.
    const QString path{dir.filePath(QString::fromUtf16(u"Newsletter \u00E9t\u00E9.kvnl"))};
};
} // namespace

TEST_F(StreamFile, ReadStreamRefusesWritingAndWriteStreamRefusesReading)
{
    Put("abc");
    CPSStreamFile reader;
    ASSERT_TRUE(reader.Open(path, true, false));
    EXPECT_TRUE(reader.IsReading());
    EXPECT_FALSE(reader.WriteByte('x'));
    EXPECT_EQ(reader.Write("xy", 2), 0);
    EXPECT_FALSE(reader.Flush());

    CPSStreamFile writer;
    ASSERT_TRUE(writer.Open(path + ".new", false, false));
    EXPECT_FALSE(writer.IsReading());
    quint8 byte = 0;
    char block[4];
    EXPECT_FALSE(writer.ReadByte(byte));
    EXPECT_EQ(writer.Read(block, 4), 0);
    EXPECT_EQ(writer.BytesLeft(), 0);
}

TEST_F(StreamFile, ClosedStreamRefusesEverything)
{
    CPSStreamFile stream;
    EXPECT_TRUE(stream.IsReading()) << "a new file stream reads";
    EXPECT_FALSE(stream.IsOpen());
    quint8 byte = 0;
    EXPECT_FALSE(stream.WriteByte('x'));
    EXPECT_FALSE(stream.ReadByte(byte));
    EXPECT_FALSE(stream.Flush());
    EXPECT_EQ(stream.Tell(), 0);
    EXPECT_FALSE(stream.Seek(0));
    EXPECT_FALSE(stream.Open(dir.filePath("missing"), true, false));
    EXPECT_FALSE(stream.IsOpen());
}

TEST_F(StreamFile, AppendKeepsAndWriteTruncates)
{
    Put("old");
    {
        CPSStreamFile stream;
        ASSERT_TRUE(stream.Open(path, false, true));
        EXPECT_EQ(stream.Write("+new", 4), 4);
    }
    EXPECT_EQ(Contents(), "old+new");
    {
        CPSStreamFile stream;
        ASSERT_TRUE(stream.Open(path, false, false));
        EXPECT_TRUE(stream.WriteByte('x'));
        EXPECT_FALSE(stream.Open(path, true, false)) << "a stream is opened once";
    }
    EXPECT_EQ(Contents(), "x");
}

TEST_F(StreamFile, ReadsSeeksAndReportsTheEnd)
{
    Put("0123456789");
    CPSStreamFile stream;
    ASSERT_TRUE(stream.Open(path, true, false));
    EXPECT_EQ(stream.BytesLeft(), 10);
    char block[16] = {};
    EXPECT_EQ(stream.Read(block, 4), 4);
    EXPECT_EQ(QByteArray(block, 4), "0123");
    EXPECT_EQ(stream.Tell(), 4);
    EXPECT_EQ(stream.BytesLeft(), 6);
    ASSERT_TRUE(stream.Seek(8));
    quint8 byte = 0;
    EXPECT_TRUE(stream.ReadByte(byte));
    EXPECT_EQ(byte, '8');
    EXPECT_FALSE(stream.IsEof());
    EXPECT_EQ(stream.Read(block, 16), 1);
    EXPECT_TRUE(stream.IsEof());
    EXPECT_FALSE(stream.ReadByte(byte));
    stream.Close();
    EXPECT_FALSE(stream.IsOpen());
}

TEST(StreamMemory, NewStreamIsClosedEmptyAndReading)
{
    CPSStreamMemory stream;
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_TRUE(stream.IsReading());
    EXPECT_TRUE(stream.GetBuffer().isEmpty());
}

TEST(StreamMemory, WrittenBytesReadBackAfterOpenForReading)
{
    CPSStreamMemory stream;
    ASSERT_TRUE(stream.Open(CPSStreamMemory::ModeWrite));
    EXPECT_FALSE(stream.IsReading());
    EXPECT_TRUE(stream.WriteByte('a'));
    EXPECT_EQ(stream.Write("bcde", 4), 4);
    EXPECT_EQ(stream.Write("", 0), 0);
    EXPECT_TRUE(stream.Flush());
    stream.Close();
    EXPECT_EQ(stream.GetBuffer(), "abcde") << "closing keeps the bytes";

    ASSERT_TRUE(stream.Open(CPSStreamMemory::ModeRead));
    EXPECT_TRUE(stream.IsReading());
    char block[8] = {};
    EXPECT_EQ(stream.Read(block, 3), 3);
    EXPECT_EQ(stream.Tell(), 3);
    EXPECT_EQ(stream.BytesLeft(), 2);
    EXPECT_EQ(stream.Read(block, 8), 2) << "only what is left";
    EXPECT_EQ(QByteArray(block, 2), "de");
    quint8 byte = 0;
    EXPECT_FALSE(stream.ReadByte(byte));
    EXPECT_EQ(stream.Read(block, 8), 0);
    EXPECT_EQ(stream.Read(block, -1), 0);

    ASSERT_TRUE(stream.Open(CPSStreamMemory::ModeWrite));
    EXPECT_TRUE(stream.GetBuffer().isEmpty()) << "writing starts empty";
}

TEST(StreamMemory, SeekIsClampedToTheBytes)
{
    CPSStreamMemory stream;
    stream.SetBuffer("abcdef");
    stream.Open(CPSStreamMemory::ModeRead);
    EXPECT_TRUE(stream.Seek(-5));
    EXPECT_EQ(stream.Tell(), 0);
    EXPECT_TRUE(stream.Seek(100));
    EXPECT_EQ(stream.Tell(), 6);
    EXPECT_TRUE(stream.Seek(2));
    stream.SetBuffer("xyz123");
    EXPECT_EQ(stream.Tell(), 2) << "replacing the bytes keeps the position";
    quint8 byte = 0;
    EXPECT_TRUE(stream.ReadByte(byte));
    EXPECT_EQ(byte, 'z');
}

TEST(StreamMemory, BytesShorterThanThePositionLeaveNothingToRead)
{
    // A negative count would read as "size unknown" and lift the bound on what an archive may
    // allocate for a stored count.
    CPSStreamMemory stream;
    stream.SetBuffer("abcdef");
    stream.Open(CPSStreamMemory::ModeRead);
    stream.Seek(5);
    stream.SetBuffer("ab");
    EXPECT_EQ(stream.BytesLeft(), 0);
    quint8 byte = 0;
    EXPECT_FALSE(stream.ReadByte(byte));
}
