#include "reports/ReportText.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbUser.h"
#include "reports/DeliveryCounts.h"

#include <gtest/gtest.h>

TEST(ReportTextTest, ShortenWithEllipsisCutsOnlyPastTheLimitAndThree)
{
    struct Case
    {
        int length;
        bool shortened;
        int resultLength;
    };
    for (const Case& c : {Case{42, false, 42}, Case{43, true, 40}, Case{0, false, 0}, Case{3, false, 3}})
    {
        QString text(c.length, u'x');
        EXPECT_EQ(ShortenWithEllipsis(text, 40), c.shortened) << c.length;
        EXPECT_EQ(text.size(), c.resultLength);
        if (c.shortened)
        {
            EXPECT_TRUE(text.endsWith(QStringLiteral("xx...")));
        }
    }
}

TEST(ReportTextTest, LineBreaksBecomeBreakTags)
{
    EXPECT_EQ(LineBreaksToHtml(QStringLiteral("a\r\nb\nc")), QStringLiteral("a<br />b<br />c"));
    EXPECT_EQ(LineBreaksToHtml(QStringLiteral("\r")), QString());
}

TEST(ReportTextTest, LocalTimesFollowTheFormatAndTheZone)
{
    const qint64 time = QDateTime(QDate(2008, 3, 30), QTime(3, 4, 5)).toSecsSinceEpoch();
    EXPECT_EQ(FormatLocalTime(time, QStringLiteral("%m/%d/%Y %H:%M:%S")),
              QStringLiteral("03/30/2008 03:04:05"));
    EXPECT_EQ(LocalMidnight(time), QDateTime(QDate(2008, 3, 30), QTime(0, 0)).toSecsSinceEpoch());
}

TEST(ReportTextTest, DeliveryCountsFollowTheSendLog)
{
    ndb::CNdbNewsletter newsletter;
    const int statuses[] = {10, 10, 20, 30, 40, -1, 0, 99};
    int n = 0;
    for (int status : statuses)
    {
        auto user = std::make_unique<ndb::CNdbUser>();
        const QString address = QStringLiteral("u%1@x.se").arg(n++);
        user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(address));
        newsletter.Users().AddUser(std::move(user));
        if (status >= 0)
            newsletter.Log().SetStatus(status, address);
    }
    // An entry that only counts an attempt has no status: not sent.
    auto user = std::make_unique<ndb::CNdbUser>();
    user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("tried@x.se")));
    newsletter.Users().AddUser(std::move(user));
    newsletter.Log().CountAttempt(QStringLiteral("tried@x.se"));

    DeliveryCounts counts;
    CountDeliveryStatus(newsletter, counts);
    EXPECT_EQ(counts.total, 9);
    EXPECT_EQ(counts.notSent, 3);
    EXPECT_EQ(counts.logged, 5);
    EXPECT_EQ(counts.delivered, 2);
    EXPECT_EQ(counts.pending, 1);
    EXPECT_EQ(counts.failed + counts.failedPermanently, 2);
}
