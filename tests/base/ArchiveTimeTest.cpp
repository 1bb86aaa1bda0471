#include "base/ArchiveValues.h"
#include "base/PSStreamMemory.h"

#include <gtest/gtest.h>

// The tests run with TZ=Europe/Berlin: summer time starts 2026-03-29 at 02:00 (clocks jump to
// 03:00) and ends 2026-10-25 at 03:00 (clocks go back to 02:00).
namespace
{
QByteArray Fields(std::initializer_list<qint32> fields)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    {
        CPSArchive archive(stream);
        for (qint32 field : fields)
            ArchiveWriteInt(archive, field);
    }
    return stream.GetBuffer();
}

QByteArray WriteTime(const QDateTime& time)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    {
        CPSArchive archive(stream);
        ArchiveWriteTime(archive, time);
    }
    return stream.GetBuffer();
}

// The time read, or nothing when the read failed.
std::optional<QDateTime> ReadTime(const QByteArray& bytes)
{
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    QDateTime time = QDateTime::currentDateTime();
    try
    {
        ArchiveReadTime(archive, time);
    }
    catch (const CPSArchiveException&)
    {
        return std::nullopt;
    }
    return time;
}
} // namespace

TEST(ArchiveTime, IsWrittenAsSixLocalFields)
{
    const QDateTime summer(QDate(2026, 7, 14), QTime(9, 5, 59));
    EXPECT_EQ(WriteTime(summer), Fields({2026, 7, 14, 9, 5, 59}));
    // A time given in UTC is written as the local clock shows it.
    const QDateTime utc(QDate(2026, 12, 31), QTime(23, 30, 0), Qt::UTC);
    EXPECT_EQ(WriteTime(utc), Fields({2027, 1, 1, 0, 30, 0}));
    EXPECT_EQ(ReadTime(WriteTime(utc)), utc);
    EXPECT_EQ(ReadTime(WriteTime(summer)), summer);
}

TEST(ArchiveTime, NullTimeIsTheMarkerAndReadsBackAsNull)
{
    const QByteArray marker = Fields({0, 0, 0, -1, -1, -1});
    EXPECT_EQ(WriteTime(QDateTime()), marker);
    const std::optional<QDateTime> read = ReadTime(marker);
    ASSERT_TRUE(read.has_value()) << "a document holding a null time must stay loadable";
    EXPECT_TRUE(read->isNull());
}

TEST(ArchiveTime, TimeInTheSpringGapReadsAsTheClockAfterTheJump)
{
    // Written by another program, or by us from a time the user typed: 02:30 does not exist.
    const std::optional<QDateTime> read = ReadTime(Fields({2026, 3, 29, 2, 30, 0}));
    ASSERT_TRUE(read.has_value());
    ASSERT_TRUE(read->isValid());
    EXPECT_EQ(read->time(), QTime(3, 30));
    EXPECT_EQ(read->toUTC(), QDateTime(QDate(2026, 3, 29), QTime(1, 30), Qt::UTC));

    const QDateTime inGap(QDate(2026, 3, 29), QTime(2, 30, 0));
    ASSERT_FALSE(inGap.isValid()) << "Qt holds a time in the gap as invalid";
    EXPECT_EQ(WriteTime(inGap), Fields({2026, 3, 29, 2, 30, 0}));
    EXPECT_EQ(ReadTime(WriteTime(inGap)), *read);
}

TEST(ArchiveTime, RepeatedAutumnHourReadsBack)
{
    const std::optional<QDateTime> read = ReadTime(Fields({2026, 10, 25, 2, 30, 0}));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->date(), QDate(2026, 10, 25));
    EXPECT_EQ(read->time(), QTime(2, 30));
}

TEST(ArchiveTime, FieldsOutOfRangeFailTheRead)
{
    const std::initializer_list<qint32> cases[] = {
        {2026, 0, 1, 0, 0, 0},  {2026, 13, 1, 0, 0, 0}, {2026, 1, 0, 0, 0, 0},  {2026, 1, 32, 0, 0, 0},
        {2026, 2, 30, 0, 0, 0}, {2026, 1, 1, 24, 0, 0}, {2026, 1, 1, -1, 0, 0}, {2026, 1, 1, 0, 60, 0},
        {2026, 1, 1, 0, 0, 60}, {0, 1, 1, 0, 0, 0},     {0, 0, 0, -1, -1, 0},   {0, 0, 0, 0, 0, 0},
    };
    for (const auto& fields : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::vector<qint32>(fields)));
        EXPECT_FALSE(ReadTime(Fields(fields)).has_value());
    }
    EXPECT_FALSE(ReadTime(Fields({2026, 1, 1, 0, 0})).has_value()) << "five fields only";
}
