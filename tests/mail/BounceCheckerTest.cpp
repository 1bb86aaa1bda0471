#include "mail/BounceChecker.h"
#include "ScriptedMailServer.h"
#include "ndb/NdbNewsletter.h"
#include "peers/BounceReports.h"
#include "peers/DovecotServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QThread>

#include <functional>

#include <gtest/gtest.h>

namespace
{
const QString NewsletterId = QStringLiteral("{0B9C4E21-7D3A-4F5B-8A61-2E4C9D7B3F10}");

QByteArray TrackingHeader(const char* recipientId, const QString& newsletterId = NewsletterId)
{
    return BounceReports::TrackingHeader(newsletterId, recipientId);
}

QByteArray Report(const char* recipientId, const QByteArray& statusLine,
                  const QString& newsletterId = NewsletterId)
{
    return BounceReports::Report(newsletterId, recipientId, statusLine);
}

// Counts the checks that ended, taking the worker's word on the test's thread as the newsletter
// view does; a word still on its way when the owner goes is dropped with its receiver.
class COwner
{
public:
    int done{0};

    std::function<void()> Done()
    {
        return [this]
        {
            QMetaObject::invokeMethod(
                &m_receiver, [this] { ++done; }, Qt::QueuedConnection);
        };
    }

private:
    QObject m_receiver;
};

std::unique_ptr<ndb::CNdbNewsletter> MakeNewsletter(int port)
{
    auto newsletter = std::make_unique<ndb::CNdbNewsletter>();
    newsletter->SetField(ndb::NewsletterId, ndb::CNdbFieldValue(NewsletterId));
    ndb::CNdbSender& sender = newsletter->Sender();
    sender.SetField(ndb::SenderBounceEnabled, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
    sender.SetField(ndb::SenderPop3Server, ndb::CNdbFieldValue(QStringLiteral("127.0.0.1")));
    sender.SetField(ndb::SenderPop3Port, ndb::CNdbFieldValue(ndb::NdbValueInt, port));
    sender.SetField(ndb::SenderPop3User, ndb::CNdbFieldValue(QStringLiteral("bounces")));
    sender.SetField(ndb::SenderPop3Password, ndb::CNdbFieldValue(QStringLiteral("pa55word")));
    return newsletter;
}

bool RunCheck(CBounceChecker& checker, ndb::CNdbNewsletter& newsletter, COwner& owner)
{
    const int before = owner.done;
    if (!checker.Start(newsletter, owner.Done()))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (owner.done == before && timer.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return owner.done == before + 1 && !checker.IsRunning();
}

TEST(BounceChecker, ReturnedCopiesInDovecotGiveTemporaryAndPermanentFailures)
{
    const QByteArray outOfOffice =
        "From: away@example.test\nSubject: Out of office\n\nI am away. You wrote:\n" +
        TrackingHeader("{U-OOO}") + "Content-Type: text/html\n\nDear reader\n";
    const DovecotServer server(
        QStringLiteral("bounces"), QStringLiteral("pa55word"),
        {Report("{U-511}", "Status: 5.1.1"), Report("{U-422}", "Status: 4.2.2"),
         Report("{U-450}", "Status: 450"), Report("{U-554}", "Status: 554"),
         Report("{U-NONE}", "Diagnostic-Code: smtp; 550 gone"), outOfOffice,
         Report("{U-OTHER}", "Status: 5.1.1", QStringLiteral("{FFFFFFFF-0000-0000-0000-000000000000}"))});
    ASSERT_TRUE(server.IsRunning()) << server.Log().toStdString();
    auto newsletter = MakeNewsletter(server.Port());
    COwner owner;
    CBounceChecker checker;
    ASSERT_TRUE(RunCheck(checker, *newsletter, owner));
    EXPECT_EQ(checker.GetResults(), (CBounceChecker::ResultMap{{"{U-511}", false},
                                                               {"{U-422}", true},
                                                               {"{U-450}", true},
                                                               {"{U-554}", false},
                                                               {"{U-NONE}", false}}));
    const CBounceChecker::SeenMap seen = checker.GetSeenMessages();
    ASSERT_EQ(seen.size(), 7u);
    int withoutRecipient = 0;
    for (const auto& [id, key] : seen)
        withoutRecipient += key.isEmpty();
    EXPECT_EQ(withoutRecipient, 2);
    EXPECT_EQ(server.MailboxMessages().size(), 7) << "nothing is deleted";

    // Messages the newsletter has handled are not examined again.
    for (const auto& [id, key] : seen)
        newsletter->HandledBounces()[id] = true;
    ASSERT_TRUE(RunCheck(checker, *newsletter, owner));
    EXPECT_TRUE(checker.GetResults().empty());
}

TEST(BounceChecker, FailedDownloadIsTriedAgainNextTime)
{
    std::atomic<bool> failRetrieve{true};
    const QByteArray report = Report("{U-1}", "Status: 5.1.1").replace("\n", "\r\n");
    ScriptedMailServer server(
        [&](ScriptedConnection& connection)
        {
            connection.Send("+OK ready\r\n");
            while (const auto line = connection.ReadLine())
            {
                QByteArray answer = "+OK\r\n";
                if (line->startsWith("AUTH"))
                    answer = "-ERR no\r\n";
                else if (line->startsWith("LIST "))
                    answer = "+OK " + line->mid(5) + " 900\r\n";
                else if (*line == "UIDL")
                    answer = "+OK\r\n1 first\r\n2 second\r\n.\r\n";
                else if (*line == "RETR 1")
                    answer = failRetrieve ? "-ERR busy\r\n" : "+OK\r\n" + report + ".\r\n";
                else if (*line == "RETR 2")
                    answer = "+OK\r\nSubject: hello\r\n\r\nnot a bounce\r\n.\r\n";
                if (!connection.Send(answer) || *line == "QUIT")
                    return;
            }
        });
    auto newsletter = MakeNewsletter(server.Port());
    COwner owner;
    CBounceChecker checker;
    ASSERT_TRUE(RunCheck(checker, *newsletter, owner));
    EXPECT_EQ(checker.GetSeenMessages(), (CBounceChecker::SeenMap{{"second", ""}}));
    for (const auto& [id, key] : checker.GetSeenMessages())
        newsletter->HandledBounces()[id] = true;
    failRetrieve = false;
    ASSERT_TRUE(RunCheck(checker, *newsletter, owner));
    EXPECT_EQ(checker.GetResults(), (CBounceChecker::ResultMap{{"{U-1}", false}}));
    server.Stop();
}

TEST(BounceChecker, SwitchedOffStartsNothing)
{
    auto newsletter = MakeNewsletter(1);
    newsletter->Sender().SetField(ndb::SenderBounceEnabled, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
    CBounceChecker checker;
    EXPECT_FALSE(checker.Start(*newsletter, nullptr));
    EXPECT_FALSE(checker.IsRunning());
}

TEST(BounceChecker, ScanReadsTheRecipientAndTheStatusCode)
{
    struct Case
    {
        QByteArray text;
        QString newsletterId;
        QString key;
        int code;
    };
    const QString other = QStringLiteral("{OTHER}");
    for (const Case& c : {
             Case{Report("{U-1}", "Status: 5.1.1"), NewsletterId, "{U-1}", 5},
             Case{Report("{U-1}", "Status:   4.4.7  "), NewsletterId, "{U-1}", 4},
             Case{Report("{U-1}", "Status: +450 x"), NewsletterId, "{U-1}", 450},
             Case{Report("{U-1}", "Status: 99999999999999999"), NewsletterId, "{U-1}", 999999999},
             Case{Report("{U-1}", "Status: x"), NewsletterId, "{U-1}", 0},
             Case{Report("{U-1}", "Status: 5.1.1"), QString(), "", 0},
             Case{Report("{U-1}", "Status: 5.1.1"), other, "", 0},
             Case{TrackingHeader("{U-1}") + "no report", NewsletterId, "", 0},
             Case{NewsletterId.toLatin1() + "___@x message/delivery-status", NewsletterId, "", 0},
         })
    {
        QString key = QStringLiteral("stale");
        int code = -1;
        CBounceChecker::ScanMessage(QString::fromLatin1(c.text), c.newsletterId, key, code);
        EXPECT_EQ(key, c.key) << c.text.toStdString();
        EXPECT_EQ(code, c.code) << c.text.toStdString();
    }
    for (const auto& [code, temporary] : std::initializer_list<std::pair<int, bool>>{
             {4, true}, {450, true}, {499, true}, {5, false}, {0, false}, {500, false}})
        EXPECT_EQ(CBounceChecker::IsTemporary(code), temporary) << code;
}
} // namespace

namespace
{
TEST(BounceChecker, ClosingDuringACheckFinishesTheCurrentMessageOnly)
{
    std::atomic<int> retrieved{0};
    ScriptedMailServer server(
        [&](ScriptedConnection& connection)
        {
            connection.Send("+OK ready\r\n");
            while (const auto line = connection.ReadLine())
            {
                QByteArray answer = "+OK\r\n";
                if (line->startsWith("AUTH"))
                    answer = "-ERR no\r\n";
                else if (line->startsWith("LIST "))
                    answer = "+OK " + line->mid(5) + " 100\r\n";
                else if (*line == "UIDL")
                    answer = "+OK\r\n1 a\r\n2 b\r\n3 c\r\n4 d\r\n5 e\r\n.\r\n";
                else if (line->startsWith("RETR"))
                {
                    QThread::msleep(300);
                    ++retrieved;
                    answer = "+OK\r\nSubject: slow\r\n\r\nbody\r\n.\r\n";
                }
                if (!connection.Send(answer) || *line == "QUIT")
                    return;
            }
        });
    auto newsletter = MakeNewsletter(server.Port());
    COwner owner;
    QElapsedTimer timer;
    {
        CBounceChecker checker;
        ASSERT_TRUE(checker.Start(*newsletter, owner.Done()));
        EXPECT_TRUE(checker.IsRunning());
        EXPECT_FALSE(checker.Start(*newsletter, owner.Done())) << "one check at a time";
        QThread::msleep(400);
        timer.start();
    }
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_LT(retrieved.load(), 5);
    server.Stop();
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.done, 0) << "a closed view hears nothing";
}
} // namespace
