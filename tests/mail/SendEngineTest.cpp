#include "MailTestSupport.h"
#include "ScriptedSmtp.h"
#include "SendTestSupport.h"
#include "mail/KVSmtpServer.h"
#include "mail/RecipientMerge.h"
#include "ndb/NdbSendJournal.h"
#include "peers/AiosmtpdServer.h"
#include "peers/DnsmasqServer.h"
#include "peers/SmtpSinkServer.h"
#include "platform/net/DnsQuery.h"
#include "services/QorxInstaller.h"

#include <QObject>
#include <QTemporaryDir>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace SendTest;

namespace
{
// Shortens the take pause of every worker for one test.
class ShortTakePause
{
public:
    explicit ShortTakePause(int milliseconds = 1) { CKVSmtpServer::SetTakePauseForTesting(milliseconds); }
    ~ShortTakePause() { CKVSmtpServer::SetTakePauseForTesting(500); }
};

QString ExpectedWebViewLink(const ndb::CNdbUser& user)
{
    return QStringLiteral("http://site.test/spring.htm?u=%1&t=%2&fc_130=%3&fc_150=%4")
        .arg(CQorxInstaller::UrlEncode(user.GetString(ndb::UserEmail)), NewsletterId,
             CQorxInstaller::UrlEncode(user.GetString(ndb::UserFirstName)),
             CQorxInstaller::UrlEncode(user.GetString(ndb::UserLastName)));
}

// Every recipient has exactly one copy among the messages, merged for that recipient.
void ExpectOneMergedCopyEach(const QByteArrayList& messages, const std::vector<ndb::CNdbUser*>& users)
{
    std::map<QString, std::vector<ReceivedCopy>> byAddress;
    for (const QByteArray& message : messages)
    {
        ReceivedCopy copy = ReadCopy(message);
        byAddress[copy.to].push_back(copy);
    }
    EXPECT_EQ(byAddress.size(), users.size());
    for (const ndb::CNdbUser* user : users)
    {
        const QString address = user->GetString(ndb::UserEmail);
        const auto found = byAddress.find(address);
        ASSERT_NE(found, byAddress.end()) << address.toStdString();
        ASSERT_EQ(found->second.size(), 1u) << address.toStdString();
        const ReceivedCopy& copy = found->second.front();
        EXPECT_EQ(copy.trackingId,
                  QStringLiteral("<%1___%2@sender.test>").arg(NewsletterId, user->GetString(ndb::UserId)));
        const QString expectedName =
            user->GetString(ndb::UserFirstName).toHtmlEscaped() + u' ' + user->GetString(ndb::UserLastName);
        EXPECT_TRUE(copy.html.contains(QStringLiteral("Dear %1,").arg(expectedName)))
            << copy.html.toStdString();
        EXPECT_TRUE(copy.html.contains(QStringLiteral("<p>[[[fc_170]]]</p>")));
        EXPECT_TRUE(copy.html.contains(QStringLiteral("href=\"%1\"").arg(ExpectedWebViewLink(*user))))
            << copy.html.toStdString();
        EXPECT_TRUE(copy.html.contains(u' ' + address + QStringLiteral("</body></html>")));
    }
}

// The log written from the queue survives a save and a load of the newsletter.
void ExpectLogReadBack(CKVSmtpServer& engine, ndb::CNdbNewsletter& newsletter, int expectedStatus)
{
    WriteLog(engine, newsletter.Log());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("spring.kvnl"));
    ASSERT_TRUE(newsletter.Save(path, QStringLiteral("test"), 1, 0));
    ndb::CNdbNewsletter readBack;
    ASSERT_TRUE(readBack.Load(path));
    ASSERT_EQ(readBack.Log().GetEntries().size(), newsletter.Users().GetUsers().size());
    for (const auto& user : newsletter.Users().GetUsers())
    {
        const ndb::CNdbLogEntry* entry = readBack.Log().FindEntry(user->GetString(ndb::UserEmail));
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->GetInt(ndb::LogEntryStatus), expectedStatus);
        EXPECT_EQ(entry->GetAttempts(), 1);
    }
}

TEST(SendEngine, RelayDeliversOneMergedCopyToEveryRecipient)
{
    const ShortTakePause pause;
    AiosmtpdServer aiosmtpd;
    SmtpSinkServer sink;
    for (StoringSmtpServer* server : std::initializer_list<StoringSmtpServer*>{&aiosmtpd, &sink})
    {
        ASSERT_TRUE(server->IsRunning());
        auto newsletter = MakeNewsletter(1000, {QStringLiteral("one.test"), QStringLiteral("two.test")});
        UseRelay(*newsletter, server->Port());
        // Relay mode runs one worker whatever the thread setting says.
        SetSender(*newsletter, ndb::SenderThreads, ndb::CNdbFieldValue(ndb::NdbValueInt, 50));
        const auto engine = std::make_shared<CKVSmtpServer>();
        ASSERT_TRUE(SendAndWait(*engine, *newsletter, AllUsers(*newsletter)));
        int total = 0, inProgress = 0, sent = 0, failed = 0, deferred = 0;
        QString address;
        engine->GetProgress(total, inProgress, sent, failed, deferred, address);
        EXPECT_EQ(total, 1000);
        EXPECT_EQ(sent, 1000);
        EXPECT_EQ(failed, 0);
        ExpectOneMergedCopyEach(server->Messages(), AllUsers(*newsletter));
        ExpectLogReadBack(*engine, *newsletter, ndb::NdbSendSent);
    }
}

class DirectSend : public testing::TestWithParam<int>
{
};

TEST_P(DirectSend, EveryRecipientReachesTheSinkOfItsDomain)
{
    const ShortTakePause pause;
    const int port = PeerProcess::FreePort();
    SmtpSinkServer alpha(QStringLiteral("127.0.0.2"), port);
    SmtpSinkServer beta(QStringLiteral("127.0.0.3"), port);
    DnsmasqServer dns({"local=/test/", "mx-host=alpha.test,mx.alpha.test,10",
                       "host-record=mx.alpha.test,127.0.0.2", "mx-host=beta.test,mx.beta.test,10",
                       "host-record=mx.beta.test,127.0.0.3"});
    ASSERT_TRUE(alpha.IsRunning() && beta.IsRunning() && dns.IsRunning());
    DnsQuery::SetNameServerForTesting(QStringLiteral("127.0.0.1"), dns.Port(), 2, 2);
    CKVSmtpServer::SetDirectDeliveryPortForTesting(port);

    auto newsletter = MakeNewsletter(2000, {QStringLiteral("alpha.test"), QStringLiteral("beta.test")});
    SetSender(*newsletter, ndb::SenderThreads, ndb::CNdbFieldValue(ndb::NdbValueInt, GetParam()));
    const auto engine = std::make_shared<CKVSmtpServer>();
    const bool ended = SendAndWait(*engine, *newsletter, AllUsers(*newsletter));
    DnsQuery::SetNameServerForTesting(QString(), 53, 0, 0);
    CKVSmtpServer::SetDirectDeliveryPortForTesting(25);
    ASSERT_TRUE(ended);

    std::vector<ndb::CNdbUser*> alphaUsers, betaUsers;
    for (ndb::CNdbUser* user : AllUsers(*newsletter))
        (user->GetString(ndb::UserEmail).endsWith(QStringLiteral("alpha.test")) ? alphaUsers : betaUsers)
            .push_back(user);
    ExpectOneMergedCopyEach(alpha.Messages(), alphaUsers);
    ExpectOneMergedCopyEach(beta.Messages(), betaUsers);
    ExpectLogReadBack(*engine, *newsletter, ndb::NdbSendSent);
}

INSTANTIATE_TEST_SUITE_P(Workers, DirectSend, testing::Values(10, 100));

TEST(SendEngine, WorkerCountFollowsTheModeAndItsBounds)
{
    struct Case
    {
        std::optional<int> threads;
        bool relay;
        int expected;
    };
    const ShortTakePause pause(300);
    for (const Case& c : {Case{std::nullopt, false, 1}, Case{0, false, 1}, Case{-3, false, 1},
                          Case{250, false, 100}, Case{7, false, 7}, Case{7, true, 1}})
    {
        // Recipients without a domain fail without any look-up, so nothing leaves the machine.
        auto newsletter = MakeNewsletter(0, {QStringLiteral("x")});
        for (int i = 0; i < 120; ++i)
        {
            auto user = std::make_unique<ndb::CNdbUser>();
            user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("user%1").arg(i)));
            newsletter->Users().AddUser(std::move(user));
        }
        if (c.threads)
            SetSender(*newsletter, ndb::SenderThreads, ndb::CNdbFieldValue(ndb::NdbValueInt, *c.threads));
        if (c.relay)
            UseRelay(*newsletter, 1);
        const auto engine = std::make_shared<CKVSmtpServer>();
        ASSERT_TRUE(engine->Start(MakeMessage(), newsletter.get(), QString(), nullptr, AllUsers(*newsletter),
                                  FieldCodes));
        EXPECT_EQ(engine->GetRunningWorkers(), c.expected);
        // A second start while workers run is refused.
        EXPECT_FALSE(engine->Start(MakeMessage(), newsletter.get(), QString(), nullptr, {}, FieldCodes));
        EXPECT_TRUE(engine->Stop(10));
    }
}

TEST(SendEngine, AddressWithoutDomainFailsWithoutAnyQuery)
{
    const ShortTakePause pause;
    DnsmasqServer dns({"local=/test/"});
    ASSERT_TRUE(dns.IsRunning());
    DnsQuery::SetNameServerForTesting(QStringLiteral("127.0.0.1"), dns.Port(), 1, 1);
    auto newsletter = MakeNewsletter(0, {});
    for (const char* address : {"user", "user@", "", "user@nowhere.test"})
    {
        auto user = std::make_unique<ndb::CNdbUser>();
        user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QString::fromLatin1(address)));
        newsletter->Users().AddUser(std::move(user));
    }
    const auto engine = std::make_shared<CKVSmtpServer>();
    const bool ended = SendAndWait(*engine, *newsletter, AllUsers(*newsletter));
    DnsQuery::SetNameServerForTesting(QString(), 53, 0, 0);
    ASSERT_TRUE(ended);
    for (const auto& [address, status] : engine->GetStatuses())
        EXPECT_EQ(status, SendQueueEntry::Failed) << address.toStdString();
    const QByteArray log = dns.Log();
    EXPECT_EQ(log.count("query[MX]"), 1) << log.toStdString();
    EXPECT_TRUE(log.contains("nowhere.test"));
}

struct FaultCase
{
    const char* name;
    SmtpReplies replies;
    bool authenticate;
    int expected;
};

ScriptedMailServer::Script DropMidData()
{
    return [](ScriptedConnection& connection)
    {
        connection.Send("220 scripted\r\n");
        while (const auto line = connection.ReadLine())
        {
            if (line->toUpper().startsWith("DATA"))
            {
                connection.Send("354 go ahead\r\n");
                connection.ReadLine();
                connection.Close();
                return;
            }
            connection.Send("250 ok\r\n");
        }
    };
}

TEST(SendEngine, FaultsOfTheServerGiveDeferredOrFailed)
{
    const ShortTakePause pause;
    const ShortMailWaits waits(500, 1500);
    SmtpReplies greeting421, rcpt452, rcpt550, auth535, data452, mail452;
    greeting421.greeting = "421 busy, come back later\r\n";
    rcpt452.rcpt = "452 mailbox full\r\n";
    rcpt550.rcpt = "550 no such user\r\n";
    auth535.authPlain = auth535.authLogin = "535 authentication failed\r\n";
    data452.endOfData = "452 out of space\r\n";
    mail452.mail = "452 try later\r\n";
    struct Case
    {
        const char* name;
        ScriptedMailServer::Script script;
        bool authenticate;
        int expected;
    };
    const Case cases[] = {
        {"421 greeting", SmtpScript(greeting421), false, SendQueueEntry::Deferred},
        {"452 at MAIL FROM", SmtpScript(mail452), false, SendQueueEntry::Deferred},
        {"452 at RCPT", SmtpScript(rcpt452), false, SendQueueEntry::Deferred},
        {"550 at RCPT", SmtpScript(rcpt550), false, SendQueueEntry::Failed},
        // A refused login refuses nobody: the job stops and the recipient waits for the next send.
        {"535 at AUTH", SmtpScript(auth535), true, SendQueueEntry::Deferred},
        {"452 at end of data", SmtpScript(data452), false, SendQueueEntry::Deferred},
        {"drop mid-DATA", DropMidData(), false, SendQueueEntry::Deferred},
        {"hanging server", [](ScriptedConnection& connection) { ScriptedMailServer::ListenOnly(connection); },
         false, SendQueueEntry::Deferred},
        {"accepted", SmtpScript(SmtpReplies()), true, SendQueueEntry::Sent},
    };
    for (const Case& c : cases)
    {
        ScriptedMailServer server(c.script);
        auto newsletter = MakeNewsletter(1, {QStringLiteral("one.test")});
        UseRelay(*newsletter, server.Port());
        if (c.authenticate)
        {
            SetSender(*newsletter, ndb::SenderRelayAuth, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
            SetSender(*newsletter, ndb::SenderRelayUser, ndb::CNdbFieldValue(QStringLiteral("user")));
            SetSender(*newsletter, ndb::SenderRelayPassword, ndb::CNdbFieldValue(QStringLiteral("secret")));
        }
        const auto engine = std::make_shared<CKVSmtpServer>();
        ASSERT_TRUE(SendAndWait(*engine, *newsletter, AllUsers(*newsletter), 20)) << c.name;
        server.Stop();
        EXPECT_EQ(engine->GetStatuses().front().second, c.expected) << c.name;
        WriteLog(*engine, newsletter->Log());
        const int logged =
            newsletter->Log().FindEntry(QStringLiteral("r0000@one.test"))->GetInt(ndb::LogEntryStatus);
        EXPECT_EQ(logged, c.expected == SendQueueEntry::Sent       ? 10
                          : c.expected == SendQueueEntry::Deferred ? 40
                                                                   : 30)
            << c.name;
    }
}

TEST(SendEngine, AnnouncesTheHeloFieldElseTheDomainOfTheFromAddress)
{
    const ShortTakePause pause;
    const struct
    {
        const char* helo;
        const char* from;
        const char* announced;
    } cases[] = {
        {"", "news@sender.test", "EHLO sender.test"},
        {" mail.example ", "news@sender.test", "EHLO mail.example"},
        {"", "odd@name@sender.test", "EHLO sender.test"},
    };
    for (const auto& c : cases)
    {
        ScriptedMailServer server(SmtpScript(SmtpReplies()));
        auto newsletter = MakeNewsletter(1, {QStringLiteral("one.test")});
        UseRelay(*newsletter, server.Port());
        SetSender(*newsletter, ndb::SenderHeloDomain, ndb::CNdbFieldValue(QString::fromLatin1(c.helo)));
        SetSender(*newsletter, ndb::SenderFromAddress, ndb::CNdbFieldValue(QString::fromLatin1(c.from)));
        const auto engine = std::make_shared<CKVSmtpServer>();
        ASSERT_TRUE(SendAndWait(*engine, *newsletter, AllUsers(*newsletter), 20)) << c.from;
        server.Stop();
        EXPECT_TRUE(server.Received().contains(c.announced)) << c.announced;
        EXPECT_EQ(engine->GetStatuses().front().second, SendQueueEntry::Sent) << c.announced;
    }
}

// Takes the reports of the engine's workers on the test's thread, as the status window does; a
// report still on its way when the recorder goes is dropped with its receiver.
class CReportRecorder : public ISendObserver
{
public:
    std::vector<std::pair<int, int>> pauses;
    int progress{0};

private:
    void SendProgressed() override
    {
        QMetaObject::invokeMethod(
            &m_receiver, [this] { ++progress; }, Qt::QueuedConnection);
    }
    void SendPaused(bool paused, int step) override
    {
        QMetaObject::invokeMethod(
            &m_receiver, [this, paused, step] { pauses.emplace_back(paused ? 1 : 0, step); },
            Qt::QueuedConnection);
    }

    QObject m_receiver;
};

TEST(SendEngine, ThrottlePausesAfterEveryThirdMessageButNotAfterTheLast)
{
    // The one run at the real pace: 500 ms per take.
    AiosmtpdServer server;
    ASSERT_TRUE(server.IsRunning());
    auto newsletter = MakeNewsletter(7, {QStringLiteral("one.test")});
    UseRelay(*newsletter, server.Port());
    SetSender(*newsletter, ndb::SenderPauseEnabled, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
    SetSender(*newsletter, ndb::SenderPauseAfter, ndb::CNdbFieldValue(ndb::NdbValueInt, 3));
    SetSender(*newsletter, ndb::SenderPauseSeconds, ndb::CNdbFieldValue(ndb::NdbValueInt, 2));
    CReportRecorder recorder;
    const auto engine = std::make_shared<CKVSmtpServer>();
    ASSERT_TRUE(SendAndWait(*engine, *newsletter, AllUsers(*newsletter), 30, &recorder));
    QCoreApplication::processEvents();
    const std::vector<std::pair<int, int>> onePause{{1, 0}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {0, 0}};
    std::vector<std::pair<int, int>> expected = onePause;
    expected.insert(expected.end(), onePause.begin(), onePause.end());
    EXPECT_EQ(recorder.pauses, expected);
    // A take and a result for each of the seven, the worker's last take that found none and its end.
    EXPECT_EQ(recorder.progress, 16);
    EXPECT_EQ(server.Messages().size(), 7);
}

TEST(SendEngine, StopEndsAPauseAtOnceAndLeavesTheRestWaiting)
{
    const ShortTakePause pause;
    AiosmtpdServer server;
    ASSERT_TRUE(server.IsRunning());
    auto newsletter = MakeNewsletter(3, {QStringLiteral("one.test")});
    UseRelay(*newsletter, server.Port());
    SetSender(*newsletter, ndb::SenderPauseEnabled, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
    SetSender(*newsletter, ndb::SenderPauseAfter, ndb::CNdbFieldValue(ndb::NdbValueInt, 1));
    SetSender(*newsletter, ndb::SenderPauseSeconds, ndb::CNdbFieldValue(ndb::NdbValueInt, 60));
    CReportRecorder recorder;
    const auto engine = std::make_shared<CKVSmtpServer>();
    ASSERT_TRUE(engine->Start(MakeMessage(), newsletter.get(), QString(), &recorder, AllUsers(*newsletter),
                              FieldCodes));
    QElapsedTimer timer;
    timer.start();
    while (recorder.pauses.size() < 2 && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_GE(recorder.pauses.size(), 2u);
    timer.restart();
    EXPECT_TRUE(engine->Stop(60));
    EXPECT_LT(timer.elapsed(), 2000);
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.pauses.back(), (std::pair<int, int>{0, 0}));
    const auto statuses = engine->GetStatuses();
    EXPECT_EQ(statuses[0].second, SendQueueEntry::Sent);
    EXPECT_EQ(statuses[1].second, SendQueueEntry::Waiting);
    EXPECT_EQ(statuses[2].second, SendQueueEntry::Waiting);
}

// Waits until the engine has recorded at least that many results.
void WaitForResults(CKVSmtpServer& engine, int count)
{
    QElapsedTimer timer;
    timer.start();
    int total = 0, inProgress = 0, sent = 0, failed = 0, deferred = 0;
    QString address;
    do
    {
        QThread::msleep(5);
        engine.GetProgress(total, inProgress, sent, failed, deferred, address);
    } while (sent + failed + deferred < count && timer.elapsed() < 20000);
}

// Starts a send of the users and stops it once that many results are in; false when it would
// not start or stop.
bool SendAndStopAfter(CKVSmtpServer& engine, const ndb::CNdbNewsletter& newsletter,
                      std::vector<ndb::CNdbUser*> users, int results)
{
    if (!engine.Start(MakeMessage(), &newsletter, QString(), nullptr, std::move(users), FieldCodes))
        return false;
    WaitForResults(engine, results);
    return engine.Stop(60);
}

std::vector<ndb::CNdbUser*> PendingUsers(const ndb::CNdbNewsletter& newsletter)
{
    std::vector<ndb::CNdbUser*> pending;
    for (ndb::CNdbUser* user : AllUsers(newsletter))
    {
        const ndb::CNdbLogEntry* entry = newsletter.Log().FindEntry(user->GetString(ndb::UserEmail));
        const int status = entry ? entry->GetInt(ndb::LogEntryStatus) : 0;
        if (status == 0 || status == ndb::NdbSendPending)
            pending.push_back(user);
    }
    return pending;
}

TEST(SendEngine, AbortedSendResumesWithExactlyTheRest)
{
    const ShortTakePause pause(20);
    AiosmtpdServer server;
    ASSERT_TRUE(server.IsRunning());
    auto newsletter = MakeNewsletter(40, {QStringLiteral("one.test")});
    UseRelay(*newsletter, server.Port());
    auto engine = std::make_shared<CKVSmtpServer>();
    ASSERT_TRUE(SendAndStopAfter(*engine, *newsletter, AllUsers(*newsletter), 10));
    int sent = 0;
    for (const auto& [address, status] : engine->GetStatuses())
        sent += status == SendQueueEntry::Sent;
    EXPECT_GE(sent, 10);
    EXPECT_LT(sent, 40);
    EXPECT_EQ(server.Messages().size(), sent);
    WriteLog(*engine, newsletter->Log());

    const std::vector<ndb::CNdbUser*> rest = PendingUsers(*newsletter);
    EXPECT_EQ(int(rest.size()), 40 - sent);
    engine = std::make_shared<CKVSmtpServer>();
    ASSERT_TRUE(SendAndWait(*engine, *newsletter, rest));
    ExpectOneMergedCopyEach(server.Messages(), AllUsers(*newsletter));
}

TEST(SendEngine, RestartedEngineTakesTheLeftoversAndTheNewcomersOnceAndCountsThemRight)
{
    const ShortTakePause pause(20);
    AiosmtpdServer server;
    ASSERT_TRUE(server.IsRunning());
    auto newsletter = MakeNewsletter(30, {QStringLiteral("one.test")});
    UseRelay(*newsletter, server.Port());
    const std::vector<ndb::CNdbUser*> users = AllUsers(*newsletter);
    const std::vector<ndb::CNdbUser*> firstTwenty(users.begin(), users.begin() + 20);
    const auto engine = std::make_shared<CKVSmtpServer>();
    ASSERT_TRUE(SendAndStopAfter(*engine, *newsletter, firstTwenty, 5));

    // The same engine again with the whole list: the twenty stay queued once, ten join them.
    ASSERT_TRUE(SendAndWait(*engine, *newsletter, users));
    ExpectOneMergedCopyEach(server.Messages(), users);
    int total = 0, inProgress = 0, sent = 0, failed = 0, deferred = 0;
    QString address;
    engine->GetProgress(total, inProgress, sent, failed, deferred, address);
    EXPECT_EQ(total, 30);
    EXPECT_EQ(sent, 30);
    EXPECT_EQ(inProgress + failed + deferred, 0);
}

TEST(SendEngine, StatusesOfASendThatNeverWroteItsLogComeBackFromTheJournal)
{
    const ShortTakePause pause(20);
    AiosmtpdServer server;
    ASSERT_TRUE(server.IsRunning());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("spring.kvnl"));
    {
        auto newsletter = MakeNewsletter(40, {QStringLiteral("one.test")});
        UseRelay(*newsletter, server.Port());
        ASSERT_TRUE(newsletter->Save(path, QStringLiteral("test"), 1, 0));
        // The program dies during the send: the log in memory is lost, the journal is not.
        const auto engine = std::make_shared<CKVSmtpServer>();
        engine->SetJournal(std::make_shared<ndb::CNdbSendJournal>(path));
        ASSERT_TRUE(SendAndStopAfter(*engine, *newsletter, AllUsers(*newsletter), 10));
    }
    const int delivered = int(server.Messages().size());
    ndb::CNdbNewsletter reopened;
    ASSERT_TRUE(reopened.Load(path));
    EXPECT_TRUE(reopened.IsModified());
    const std::vector<ndb::CNdbUser*> rest = PendingUsers(reopened);
    EXPECT_EQ(int(rest.size()), 40 - delivered);
    const auto engine = std::make_shared<CKVSmtpServer>();
    ASSERT_TRUE(SendAndWait(*engine, reopened, rest));
    ExpectOneMergedCopyEach(server.Messages(), AllUsers(reopened));

    // Once the log is saved the journal has done its work.
    EXPECT_TRUE(QFile::exists(ndb::CNdbSendJournal::PathFor(path)));
    ASSERT_TRUE(reopened.Save(path, QStringLiteral("test"), 1, 0));
    EXPECT_FALSE(QFile::exists(ndb::CNdbSendJournal::PathFor(path)));
}

TEST(SendEngine, RepeatedAddressIsMailedOnce)
{
    const ShortTakePause pause;
    AiosmtpdServer server;
    ASSERT_TRUE(server.IsRunning());
    auto newsletter = MakeNewsletter(2, {QStringLiteral("one.test")});
    auto twin = std::make_unique<ndb::CNdbUser>();
    twin->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("R0000@ONE.test")));
    newsletter->Users().AddUser(std::move(twin));
    UseRelay(*newsletter, server.Port());
    const auto engine = std::make_shared<CKVSmtpServer>();
    ASSERT_TRUE(SendAndWait(*engine, *newsletter, AllUsers(*newsletter)));
    EXPECT_EQ(engine->GetStatuses().size(), 2u);
    EXPECT_EQ(server.Messages().size(), 2);
}
} // namespace

namespace
{
TEST(SendEngine, SendOfAKilledProcessResumesWithoutMailingAnyoneTwiceBeyondTheMessageInFlight)
{
    AiosmtpdServer server;
    ASSERT_TRUE(server.IsRunning());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("spring.kvnl"));
    auto newsletter = MakeNewsletter(60, {QStringLiteral("one.test")});
    UseRelay(*newsletter, server.Port());
    ASSERT_TRUE(newsletter->Save(path, QStringLiteral("test"), 1, 0));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        // The sending program: it never gets to write its log.
        CKVSmtpServer::SetTakePauseForTesting(30);
        const auto engine = std::make_shared<CKVSmtpServer>();
        engine->SetJournal(std::make_shared<ndb::CNdbSendJournal>(path));
        engine->Start(MakeMessage(), newsletter.get(), QString(), nullptr, AllUsers(*newsletter), FieldCodes);
        for (;;)
            pause();
    }
    QElapsedTimer timer;
    timer.start();
    while (server.Messages().size() < 15 && timer.elapsed() < 20000)
        QThread::msleep(10);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const qsizetype delivered = server.Messages().size();
    ASSERT_GE(delivered, 15);
    ASSERT_LT(delivered, 60);

    const ShortTakePause pause;
    ndb::CNdbNewsletter reopened;
    ASSERT_TRUE(reopened.Load(path));
    const auto engine = std::make_shared<CKVSmtpServer>();
    ASSERT_TRUE(SendAndWait(*engine, reopened, PendingUsers(reopened)));
    std::map<QString, int> copies;
    for (const QByteArray& message : server.Messages())
        ++copies[ReadCopy(message).to];
    EXPECT_EQ(copies.size(), 60u);
    int twice = 0;
    for (const auto& [address, count] : copies)
    {
        EXPECT_LE(count, 2) << address.toStdString();
        twice += count == 2;
    }
    // One worker had at most one message in flight when the process died.
    EXPECT_LE(twice, 1);
}
} // namespace
