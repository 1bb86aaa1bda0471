#include "base/PSStreamFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The bytes left of a file being read decide whether an archive count is refused before anything
// is allocated for it, so the figure must follow every way the position moves.
TEST(StreamFileBytesLeft, FollowsEveryReadAndSeek)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ten"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("0123456789");
    }
    enum Step
    {
        ReadByte,
        ReadBlock,
        SeekTo
    };
    const struct
    {
        Step step;
        int amount;
        qint64 delivered;
        qint64 left;
    } steps[] = {
        {ReadByte, 1, 1, 9},    {ReadBlock, 3, 3, 6}, {SeekTo, 2, 1, 8},  {ReadBlock, 0, 0, 8},
        {ReadBlock, 20, 8, 0},  {ReadByte, 1, 0, 0},  {SeekTo, 9, 1, 1},  {ReadBlock, 5, 1, 0},
        {SeekTo, 15, 1, 0},     {ReadByte, 1, 0, 0},  {SeekTo, -1, 0, 0}, {SeekTo, 0, 1, 10},
        {ReadBlock, 10, 10, 0},
    };
    CPSStreamFile stream;
    ASSERT_TRUE(stream.Open(path, true, false));
    EXPECT_EQ(stream.BytesLeft(), 10);
    int index = 0;
    for (const auto& [step, amount, delivered, left] : steps)
    {
        SCOPED_TRACE(index++);
        char block[32] = {};
        quint8 byte = 0;
        switch (step)
        {
        case ReadByte:
            EXPECT_EQ(stream.ReadByte(byte) ? 1 : 0, delivered);
            break;
        case ReadBlock:
            EXPECT_EQ(stream.Read(block, amount), delivered);
            break;
        case SeekTo:
            EXPECT_EQ(stream.Seek(amount) ? 1 : 0, delivered);
            break;
        }
        EXPECT_EQ(stream.BytesLeft(), left);
    }

    // Opened again, the stream starts over.
    stream.Close();
    EXPECT_EQ(stream.BytesLeft(), 0);
    ASSERT_TRUE(stream.Open(path, true, false));
    EXPECT_EQ(stream.BytesLeft(), 10);
}

TEST(StreamFileBytesLeft, DeviceCannotTellItsSize)
{
    CPSStreamFile stream;
    ASSERT_TRUE(stream.Open(QStringLiteral("/dev/zero"), true, false));
    EXPECT_EQ(stream.BytesLeft(), -1);
    char block[4] = {};
    EXPECT_EQ(stream.Read(block, 4), 4);
    EXPECT_EQ(stream.BytesLeft(), -1);
}
