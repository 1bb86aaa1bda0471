#include "ndb/NdbLog.h"
#include "ndb/NdbSendJournal.h"
#include "ndb/NdbSender.h"

#include "ndb/NdbArchiveHelpers.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace ndb;
using NdbTest::Int;
using NdbTest::Text;

namespace
{
const QString Ann = QStringLiteral("ann@example.com");
const QString Bob = QStringLiteral("bob@example.com");

QDateTime TimeOf(const CNdbLogEntry& entry, int id)
{
    CNdbFieldValue value;
    return entry.GetField(id, value) ? value.GetTime() : QDateTime();
}

// An address mapped to no entry, as a reader that used the map's subscript leaves it.
QByteArray LogWithNullMapping()
{
    CNdbLogEntry entry;
    entry.SetField(LogEntryStatus, CNdbFieldValue(NdbValueSendStatus, NdbSendSent));
    return NdbTest::Write(
        [&entry](CPSArchive& archive)
        {
            ArchiveWriteInt(archive, 2);
            ArchiveWriteString(archive, Ann);
            ArchiveWriteObject(archive, nullptr);
            ArchiveWriteString(archive, Bob);
            ArchiveWriteObject(archive, &entry);
        });
}
} // namespace

TEST(NdbLog, CountAttemptKeepsFirstTimeAndMovesLatest)
{
    CNdbLog log;
    const QDateTime before = QDateTime::currentDateTime();
    log.CountAttempt(Ann);
    const CNdbLogEntry* entry = log.FindEntry(Ann);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->GetAttempts(), 1);
    const QDateTime first = TimeOf(*entry, LogEntryFirstAttempt);
    EXPECT_GE(first, before);
    EXPECT_FALSE(TimeOf(*entry, LogEntryLatestAttempt).isValid());

    log.CountAttempt(Ann);
    const QDateTime second = TimeOf(*entry, LogEntryLatestAttempt);
    EXPECT_EQ(entry->GetAttempts(), 2);
    EXPECT_EQ(TimeOf(*entry, LogEntryFirstAttempt), first);
    EXPECT_GE(second, first);

    QThread::msleep(5);
    log.CountAttempt(Ann);
    EXPECT_EQ(entry->GetAttempts(), 3);
    EXPECT_EQ(TimeOf(*entry, LogEntryFirstAttempt), first);
    EXPECT_GT(TimeOf(*entry, LogEntryLatestAttempt), second);
    EXPECT_EQ(log.FindEntry(Ann), entry) << "an existing entry is never replaced";
}

TEST(NdbLog, SetStatusChangesOnlyTheStatus)
{
    CNdbLog log;
    log.CountAttempt(Ann);
    const CNdbLogEntry* entry = log.FindEntry(Ann);
    log.SetStatus(NdbSendPending, Ann);
    ASSERT_EQ(log.FindEntry(Ann), entry);
    EXPECT_EQ(entry->GetInt(LogEntryStatus), NdbSendPending);
    EXPECT_EQ(entry->GetAttempts(), 1);
    EXPECT_EQ(entry->GetFields().size(), 3u);

    // Another case of the same address is another entry.
    log.SetStatus(NdbSendSent, QStringLiteral("ANN@example.com"));
    EXPECT_EQ(log.GetEntries().size(), 2u);
    EXPECT_EQ(log.FindEntry(QStringLiteral("ANN@example.com"))->GetFields().size(), 1u);
    EXPECT_EQ(entry->GetInt(LogEntryStatus), NdbSendPending);
}

TEST(NdbLog, RemoveEntryAlwaysSucceeds)
{
    CNdbLog log;
    log.SetStatus(NdbSendSent, Ann);
    EXPECT_TRUE(log.RemoveEntry(Bob));
    EXPECT_EQ(log.GetEntries().size(), 1u);
    EXPECT_TRUE(log.RemoveEntry(Ann));
    EXPECT_TRUE(log.GetEntries().empty());
    EXPECT_EQ(log.FindEntry(Ann), nullptr);
}

TEST(NdbLog, DateRangeSpansFirstAndLatestAttempts)
{
    CNdbLog log;
    QDateTime earliest(QDate(2000, 1, 1), QTime(0, 0));
    QDateTime latest = earliest;
    EXPECT_FALSE(log.GetDateRange(earliest, latest));
    log.SetStatus(NdbSendSent, Ann);
    EXPECT_FALSE(log.GetDateRange(earliest, latest));
    EXPECT_EQ(earliest, QDateTime(QDate(2000, 1, 1), QTime(0, 0)));

    const QDateTime may1(QDate(2007, 5, 1), QTime(10, 0));
    const QDateTime may3(QDate(2007, 5, 3), QTime(9, 30));
    const QDateTime april(QDate(2007, 4, 20), QTime(8, 0));
    CNdbLogEntry* ann = const_cast<CNdbLogEntry*>(log.FindEntry(Ann));
    ann->SetField(LogEntryFirstAttempt, CNdbFieldValue(may1));
    ASSERT_TRUE(log.GetDateRange(earliest, latest));
    EXPECT_EQ(earliest, may1);
    EXPECT_EQ(latest, may1);

    ann->SetField(LogEntryLatestAttempt, CNdbFieldValue(may3));
    log.SetStatus(NdbSendFailed, Bob);
    const_cast<CNdbLogEntry*>(log.FindEntry(Bob))->SetField(LogEntryFirstAttempt, CNdbFieldValue(april));
    ASSERT_TRUE(log.GetDateRange(earliest, latest));
    EXPECT_EQ(earliest, april);
    EXPECT_EQ(latest, may3);
}

TEST(NdbLog, NullMappingSurvivesRoundTripAndIsSkipped)
{
    const QByteArray bytes = LogWithNullMapping();
    CNdbLog log;
    ASSERT_TRUE(NdbTest::ReadRoot(bytes, log));
    ASSERT_EQ(log.GetEntries().size(), 2u);
    EXPECT_EQ(log.GetEntries().count(Ann), 1u);
    EXPECT_EQ(log.FindEntry(Ann), nullptr);
    EXPECT_EQ(log.FindEntry(Bob)->GetInt(LogEntryStatus), NdbSendSent);
    QDateTime earliest;
    QDateTime latest;
    EXPECT_FALSE(log.GetDateRange(earliest, latest));
    EXPECT_EQ(NdbTest::WriteRoot(log), bytes);

    // Writing through the null mapping gives the address an entry.
    log.SetStatus(NdbSendPending, Ann);
    ASSERT_NE(log.FindEntry(Ann), nullptr);
    EXPECT_EQ(log.FindEntry(Ann)->GetInt(LogEntryStatus), NdbSendPending);
}

TEST(NdbLog, AddressReadTwiceKeepsItsFirstEntry)
{
    CNdbLogEntry sent;
    sent.SetField(LogEntryStatus, CNdbFieldValue(NdbValueSendStatus, NdbSendSent));
    CNdbLogEntry failed;
    failed.SetField(LogEntryStatus, CNdbFieldValue(NdbValueSendStatus, NdbSendFailed));
    const QByteArray bytes = NdbTest::Write(
        [&](CPSArchive& archive)
        {
            ArchiveWriteInt(archive, 2);
            ArchiveWriteString(archive, Ann);
            ArchiveWriteObject(archive, &sent);
            ArchiveWriteString(archive, Ann);
            ArchiveWriteObject(archive, &failed);
        });
    CNdbLog log;
    ASSERT_TRUE(NdbTest::ReadRoot(bytes, log));
    ASSERT_EQ(log.GetEntries().size(), 1u);
    EXPECT_EQ(log.FindEntry(Ann)->GetInt(LogEntryStatus), NdbSendSent);
}

TEST(NdbLog, EntryOfAnotherClassOrCutDataFailsTheRead)
{
    CNdbSender sender;
    const QByteArray foreign = NdbTest::Write(
        [&sender](CPSArchive& archive)
        {
            ArchiveWriteInt(archive, 1);
            ArchiveWriteString(archive, Ann);
            ArchiveWriteObject(archive, &sender);
        });
    CNdbLog log;
    EXPECT_FALSE(NdbTest::ReadRoot(foreign, log));

    const QByteArray bytes = LogWithNullMapping();
    for (qsizetype size = 0; size < bytes.size(); ++size)
    {
        CNdbLog partial;
        EXPECT_FALSE(NdbTest::ReadRoot(bytes.left(size), partial)) << size;
    }
}

TEST(NdbLogEntry, ArchivesAsKindZeroAndTakesTypedFields)
{
    CNdbLogEntry entry;
    EXPECT_EQ(NdbTest::WriteRoot(entry), Int(0) + Int(0));
    EXPECT_EQ(entry.GetAttempts(), 0);
    EXPECT_FALSE(entry.SetField(LogEntryStatus, CNdbFieldValue(NdbValueInt, 10)));
    EXPECT_FALSE(entry.SetField(LogEntryAttempts, CNdbFieldValue(NdbValueSendStatus, 1)));
    EXPECT_FALSE(entry.SetField(LogEntryFirstAttempt, CNdbFieldValue(u"yesterday")));
    EXPECT_TRUE(entry.SetField(55, CNdbFieldValue(u"note")));
    EXPECT_EQ(entry.GetClassName(), "CNdbLogEntry");
}

TEST(NdbSender, ArchivesAsKindFiveAndChecksFieldTypes)
{
    CNdbSender sender;
    EXPECT_EQ(NdbTest::WriteRoot(sender), Int(5) + Int(0));

    struct Case
    {
        int id;
        int acceptedType;
    };
    const Case cases[] = {
        {SenderDelivery, NdbValueSenderKind}, {SenderThreads, NdbValueInt},
        {SenderRelayPort, NdbValueInt},       {SenderPauseAfter, NdbValueInt},
        {SenderPop3Port, NdbValueInt},        {SenderSiteNumber424, NdbValueInt},
        {SenderRelayAuth, NdbValueBool},      {SenderPauseEnabled, NdbValueBool},
        {SenderSiteSwitch426, NdbValueBool},  {SenderTracking, NdbValueBool},
        {SenderSiteStatistics, NdbValueBool}, {SenderRelayServer, NdbValueText},
        {SenderFromAddress, NdbValueText},    {SenderSiteType, NdbValueText},
        {SenderWebViewUpload, NdbValueText},  {12345, NdbValueText},
    };
    for (const Case& c : cases)
    {
        for (const int type : {NdbValueBool, NdbValueInt, NdbValueSenderKind})
            EXPECT_EQ(sender.SetField(c.id, CNdbFieldValue(type, 1)), type == c.acceptedType)
                << c.id << " " << type;
        EXPECT_EQ(sender.SetField(c.id, CNdbFieldValue(u"text")), c.acceptedType == NdbValueText) << c.id;
    }
}

TEST(NdbSender, CopiesAreIndependent)
{
    CNdbSender profile;
    profile.SetField(SenderFromAddress, CNdbFieldValue(u"news@example.com"));
    CNdbSender edited(profile);
    edited.SetField(SenderFromAddress, CNdbFieldValue(u"other@example.com"));
    edited.SetField(SenderRelayPort, CNdbFieldValue(NdbValueInt, 587));
    EXPECT_EQ(profile.GetString(SenderFromAddress), "news@example.com");
    profile = edited;
    EXPECT_EQ(profile.GetString(SenderFromAddress), "other@example.com");
    EXPECT_EQ(profile.GetInt(SenderRelayPort, 25), 587);
    EXPECT_EQ(profile.GetKind(), NdbKindSender);
}

TEST(NdbSendJournal, RestoredStatusesKeepTheirAttemptsAndTimes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("news.kvnl"));
    const QDateTime first = QDateTime::fromMSecsSinceEpoch(1800000000000);
    const QDateTime latest = first.addSecs(3600);
    QFile journal(CNdbSendJournal::PathFor(path));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    // A deferral and the later delivery of one address, and a line from before times were kept.
    journal.write("40\tann%40example.com\t" + QByteArray::number(first.toMSecsSinceEpoch()) + "\n" +
                  "10\tann%40example.com\t" + QByteArray::number(latest.toMSecsSinceEpoch()) + "\n" +
                  "30\tbob%40example.com\n");
    journal.close();

    CNdbLog log;
    EXPECT_EQ(CNdbSendJournal::ApplyTo(log, path), 3);
    const CNdbLogEntry* ann = log.FindEntry(QStringLiteral("ann@example.com"));
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(ann->GetInt(LogEntryStatus), NdbSendSent);
    EXPECT_EQ(ann->GetAttempts(), 2);
    EXPECT_EQ(TimeOf(*ann, LogEntryFirstAttempt), first);
    EXPECT_EQ(TimeOf(*ann, LogEntryLatestAttempt), latest);
    const CNdbLogEntry* bob = log.FindEntry(QStringLiteral("bob@example.com"));
    ASSERT_NE(bob, nullptr);
    EXPECT_EQ(bob->GetInt(LogEntryStatus), NdbSendFailedPermanently);
    EXPECT_EQ(bob->GetAttempts(), 1);
    EXPECT_TRUE(TimeOf(*bob, LogEntryFirstAttempt).isValid());
}
