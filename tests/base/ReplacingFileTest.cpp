#include "base/ReplacingFile.h"
#include "base/ArchiveFile.h"
#include "base/ArchiveValues.h"
#include "base/PSStreamDescriptor.h"
#include "base/PSStreamMemory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace
{
constexpr qint64 Buffer = CPSStreamDescriptor::BufferCapacity;

class ReplacingFileTest : public testing::Test
{
protected:
    QString Path(const QString& name) const { return m_folder.filePath(name); }
    QStringList FolderFiles() const { return QDir(m_folder.path()).entryList(QDir::Files); }

    static QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }

    QTemporaryDir m_folder;
};

// Bytes that differ from one position to the next, so a block written twice or lost shows.
QByteArray Pattern(qint64 size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + seed) % 251);
    return bytes;
}

// An archive of texts that together pass the stream's buffer several times.
void WriteTexts(CPSArchive& archive)
{
    for (int i = 0; i < 3000; ++i)
        ArchiveWriteString(archive, QString::number(i).repeated(i % 97 + 1));
}

const ArchiveFileHeader Header{QStringLiteral("KVN"), 2007, 1, QStringLiteral("Kelvora"), 2007, 1};
} // namespace

// Writes of every size around the buffer's, in mixed order: the file holds each byte once, in order.
TEST_F(ReplacingFileTest, StreamHandsOverEveryByteOnceInOrder)
{
    const qint64 sizes[] = {1, 3, Buffer - 4, 5, Buffer, 7, Buffer + 1, 8192, 2 * Buffer + 9, 1};
    CReplacingFile file(Path("out"));
    ASSERT_GE(file.Descriptor(), 0);
    CPSStreamDescriptor stream(file.Descriptor());
    QByteArray expected;
    for (const qint64 size : sizes)
    {
        const QByteArray bytes = Pattern(size, int(expected.size()));
        ASSERT_EQ(stream.Write(bytes.constData(), size), size);
        expected += bytes;
        EXPECT_EQ(stream.Tell(), expected.size());
    }
    ASSERT_TRUE(stream.Flush());
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadAll(Path("out")), expected);
}

// The archive in the file is byte for byte the one written into memory.
TEST_F(ReplacingFileTest, SavedArchiveEqualsTheArchiveInMemory)
{
    CPSStreamMemory memory;
    memory.Open(CPSStreamMemory::ModeWrite);
    ASSERT_TRUE(WriteArchiveStream(memory, Header, WriteTexts));
    ASSERT_GT(memory.GetBuffer().size(), 2 * Buffer);
    ASSERT_TRUE(WriteArchiveFile(Path("letter.kvnl"), Header, WriteTexts));
    EXPECT_EQ(ReadAll(Path("letter.kvnl")), memory.GetBuffer());
    EXPECT_EQ(FolderFiles(), QStringList{"letter.kvnl"});
}

// A save that fails after much of the new file has reached the disk, or one given up before its
// commit, leaves the old file and nothing else.
TEST_F(ReplacingFileTest, FailedOrAbandonedSaveLeavesTheOldFileAlone)
{
    const QString path = Path("letter.kvnl");
    ASSERT_TRUE(WriteFileReplacing(path, "old"));
    const bool saved = WriteArchiveFile(path, Header,
                                        [](CPSArchive& archive)
                                        {
                                            WriteTexts(archive);
                                            throw std::runtime_error("out of memory halfway");
                                        });
    EXPECT_FALSE(saved);
    {
        CReplacingFile abandoned(path);
        ASSERT_GE(abandoned.Descriptor(), 0);
        const QByteArray bytes = Pattern(Buffer, 0);
        ASSERT_TRUE(WriteAll(abandoned.Descriptor(), bytes));
    }
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(FolderFiles(), QStringList{"letter.kvnl"});
}

// A descriptor the system refuses to write to fails the write that meets the refusal and every
// later one; nothing is committed.
TEST_F(ReplacingFileTest, RefusedWriteFailsTheStreamForGood)
{
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    CPSStreamDescriptor stream(full);
    const QByteArray bytes = Pattern(Buffer / 2, 1);
    EXPECT_EQ(stream.Write(bytes.constData(), bytes.size()), bytes.size()) << "still buffered";
    EXPECT_EQ(stream.Write(bytes.constData(), bytes.size() + 1), 0);
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_EQ(stream.Write(bytes.constData(), 1), 0);
    EXPECT_FALSE(stream.Flush());
    ::close(full);
}
