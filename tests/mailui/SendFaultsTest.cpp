#include "PanelPicture.h"
#include "SendDialogSupport.h"
#include "mail/MailTestSupport.h"
#include "mail/ScriptedSmtp.h"
#include "mail/SendTestSupport.h"
#include "mailui/DlgSendStatus.h"
#include "peers/AiosmtpdServer.h"
#include "peers/PeerProcess.h"
#include "platform/net/DnsQuery.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

// The send status dialog as the program runs it, against SMTP servers with scripted faults: what
// each recipient's status, the send log, the dialog's counters and the next send make of them.
namespace
{
using namespace SendTest;

constexpr int Sent = ndb::NdbSendSent;
constexpr int Failed = ndb::NdbSendFailedPermanently;
constexpr int Deferred = ndb::NdbSendPending;

QWidget* AbortButton(CDlgSendStatus& dialog)
{
    return dialog.GetDlgItem(IDCANCEL)->GetSafeHwnd();
}

int StatusOf(const ndb::CNdbNewsletter& newsletter, const ndb::CNdbUser* user)
{
    const ndb::CNdbLogEntry* entry = newsletter.Log().FindEntry(user->GetString(ndb::UserEmail));
    return entry ? entry->GetInt(ndb::LogEntryStatus) : 0;
}

SmtpReplies With(QByteArray SmtpReplies::*field, const char* reply)
{
    SmtpReplies replies;
    replies.*field = reply;
    return replies;
}

class SendFaults : public testing::Test
{
protected:
    void SetUp() override { CKVSmtpServer::SetTakePauseForTesting(1); }
    void TearDown() override { CKVSmtpServer::SetTakePauseForTesting(500); }

    std::unique_ptr<ndb::CNdbNewsletter> MakeRelayed(int recipients, int port)
    {
        auto newsletter = MakeNewsletter(recipients, {QStringLiteral("one.test")});
        UseRelay(*newsletter, port);
        newsletter->Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral("<p>Hello</p>")));
        return newsletter;
    }

    // Runs the send through the dialog and closes it with its button once it has finished (or it
    // closed itself); false when it never got there.
    bool SendThroughDialog(ndb::CNdbNewsletter& newsletter)
    {
        m_app.boxes.clear();
        CTestContext context;
        context.newsletter = &newsletter;
        CDlgSendStatus dialog(&context, nullptr, false);
        if (!dialog.Create(CDlgSendStatus::IDD))
            return false;
        const auto done = [&]
        { return dialog.GetCurrentLine() == QLatin1String("Finished...") || !m_app.boxes.isEmpty(); };
        if (!WaitFor(done, 30000))
            return false;
        if (m_app.boxes.isEmpty())
            QTest::mouseClick(AbortButton(dialog), Qt::LeftButton);
        counts = {dialog.GetSentCount(), dialog.GetFailedCount(), dialog.GetDeferredCount()};
        return !newsletter.Log().GetEntries().empty();
    }

    struct Counts
    {
        int sent{0};
        int failed{0};
        int deferred{0};
        bool operator==(const Counts&) const = default;
    } counts;
    CRecordingApp m_app;
};

TEST_F(SendFaults, EachFaultGivesEveryRecipientATruthfulStatus)
{
    const ShortMailWaits waits(1000, 4000);
    enum Peer
    {
        Scripted,
        SilentGreeting,
        NothingListening,
        UnansweredNameServer
    };
    SmtpReplies late;
    late.endOfDataDelayMs = 2000;
    SmtpReplies cut;
    cut.cutDuringData = true;
    SmtpReplies auth454;
    auth454.authPlain = auth454.authLogin = "454 try again later\r\n";
    SmtpReplies auth535;
    auth535.authPlain = auth535.authLogin = "535 authentication failed\r\n";
    const struct
    {
        const char* name;
        Peer peer;
        SmtpReplies replies;
        bool authenticate;
        std::vector<int> statuses;
        // The client ends every connection that got a refusal with QUIT.
        bool quits;
        const char* box;
    } cases[] = {
        {"421 greeting",
         Scripted,
         With(&SmtpReplies::greeting, "421 busy\r\n"),
         false,
         {Deferred, Deferred},
         true,
         ""},
        {"silent greeting", SilentGreeting, {}, false, {Deferred, Deferred}, false, ""},
        {"refused connection", NothingListening, {}, false, {Deferred, Deferred}, false, ""},
        {"name server that does not answer",
         UnansweredNameServer,
         {},
         false,
         {Deferred, Deferred},
         false,
         ""},
        {"452 at RCPT",
         Scripted,
         With(&SmtpReplies::rcpt, "452 too many\r\n"),
         false,
         {Deferred, Deferred},
         true,
         ""},
        {"550 at RCPT",
         Scripted,
         With(&SmtpReplies::rcpt, "550 no such user\r\n"),
         false,
         {Failed, Failed},
         true,
         ""},
        {"451 at end of data",
         Scripted,
         With(&SmtpReplies::endOfData, "451 local error\r\n"),
         false,
         {Deferred, Deferred},
         true,
         ""},
        {"552 at end of data",
         Scripted,
         With(&SmtpReplies::endOfData, "552 too big\r\n"),
         false,
         {Failed, Failed},
         true,
         ""},
        {"cut during DATA", Scripted, cut, false, {Deferred, Deferred}, false, ""},
        {"end-of-data reply later than the byte wait", Scripted, late, false, {Sent, Sent}, false, ""},
        {"454 at AUTH", Scripted, auth454, true, {Deferred, Deferred}, true, ""},
        // The job ends at the first refusal: the second recipient is left as it was.
        {"535 at AUTH",
         Scripted,
         auth535,
         true,
         {Deferred, 0},
         true,
         "The mail server refused the user name or password (reply 535). Nothing more was sent; the "
         "recipients wait for the next send."},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<ScriptedMailServer> server;
        if (c.peer == Scripted)
            server = std::make_unique<ScriptedMailServer>(SmtpScript(c.replies));
        else if (c.peer == SilentGreeting)
            server = std::make_unique<ScriptedMailServer>([](ScriptedConnection& connection)
                                                          { connection.WaitForClose(); });
        auto newsletter = MakeRelayed(2, server ? server->Port() : PeerProcess::FreePort());
        if (c.peer == UnansweredNameServer)
        {
            SetSender(*newsletter, ndb::SenderDelivery, ndb::CNdbFieldValue(ndb::NdbValueSenderKind, 0));
            DnsQuery::SetNameServerForTesting(QStringLiteral("127.0.0.1"), PeerProcess::FreePort(), 1, 1);
        }
        if (c.authenticate)
        {
            SetSender(*newsletter, ndb::SenderRelayAuth, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
            SetSender(*newsletter, ndb::SenderRelayUser, ndb::CNdbFieldValue(QStringLiteral("user")));
            SetSender(*newsletter, ndb::SenderRelayPassword, ndb::CNdbFieldValue(QStringLiteral("wrong")));
        }
        const bool sent = SendThroughDialog(*newsletter);
        DnsQuery::SetNameServerForTesting(QString(), 53, 0, 0);
        ASSERT_TRUE(sent);
        if (server)
            server->Stop();

        const auto users = AllUsers(*newsletter);
        std::vector<int> statuses;
        Counts logged;
        for (const ndb::CNdbUser* user : users)
        {
            statuses.push_back(StatusOf(*newsletter, user));
            logged.sent += statuses.back() == Sent;
            logged.failed += statuses.back() == Failed;
            logged.deferred += statuses.back() == Deferred;
        }
        EXPECT_EQ(statuses, c.statuses);
        EXPECT_EQ(counts, logged) << "the dialog's counters are those of the list";
        EXPECT_EQ(m_app.boxes.join(u'|'), QString::fromUtf8(c.box));
        if (server && c.quits)
        {
            EXPECT_EQ(server->Received().count("QUIT"), server->Connections());
        }
        if (c.box[0])
        {
            const QList<QByteArray> received = server->Received();
            EXPECT_EQ(std::count_if(received.begin(), received.end(),
                                    [](const QByteArray& line) { return line.startsWith("AUTH"); }),
                      2)
                << "PLAIN and LOGIN once, not again for every recipient";
        }

        // The next send takes again exactly those that were not mailed and not refused for good.
        CTestContext context;
        context.newsletter = newsletter.get();
        const CDlgSendStatus next(&context, nullptr, false);
        std::vector<ndb::CNdbUser*> retried;
        for (size_t i = 0; i < users.size(); ++i)
            if (c.statuses[i] == Deferred || c.statuses[i] == 0)
                retried.push_back(users[i]);
        EXPECT_EQ(next.GetRecipients(), retried);
    }
}

TEST_F(SendFaults, AbortWaitsForTheLateAnswerWithoutBlockingAndNobodyIsMailedTwice)
{
    const ShortMailWaits waits(1000, 10000);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Spring news.kvnl"));
    SmtpReplies slow;
    slow.endOfDataDelayMs = 3000;
    ScriptedMailServer slowServer(SmtpScript(slow));
    auto newsletter = MakeRelayed(4, slowServer.Port());
    newsletter->SetField(ndb::NewsletterPath, ndb::CNdbFieldValue(path));
    ASSERT_TRUE(newsletter->Save(path, QStringLiteral("test"), 1, 0));

    CTestContext context;
    context.newsletter = newsletter.get();
    CDlgSendStatus dialog(&context, nullptr, false);
    ASSERT_TRUE(dialog.Create(CDlgSendStatus::IDD));
    // The first message is on the server, its answer not yet back.
    ASSERT_TRUE(WaitFor([&] { return slowServer.Received().contains("."); }));
    QTest::mouseClick(AbortButton(dialog), Qt::LeftButton);
    EXPECT_EQ(dialog.GetCurrentLine(),
              QStringLiteral("Stopping: waiting for the server's answer about r0000@one.test (1 under way)"));
    EXPECT_FALSE(AbortButton(dialog)->isEnabled());
    SavePanel(dialog, QStringLiteral("stopping"));

    // The event loop keeps turning while the answer is awaited: a loop held up until the answer came
    // would turn once then, where a free one turns many times over the server's seconds, however
    // busy the machine.
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    ASSERT_TRUE(WaitFor([&] { return !m_app.boxes.isEmpty(); }));
    ticker.stop();
    EXPECT_GE(ticks, 10);
    EXPECT_EQ(m_app.boxes, QStringList{"Aborted!"});
    EXPECT_EQ(StatusOf(*newsletter, newsletter->Users().GetUserAt(0)), Sent)
        << "the answer that came after Abort is in the log";
    slowServer.Stop();

    ASSERT_TRUE(newsletter->Save(path, QStringLiteral("test"), 1, 0));
    ndb::CNdbNewsletter reopened;
    ASSERT_TRUE(reopened.Load(path));
    reopened.SetField(ndb::NewsletterPath, ndb::CNdbFieldValue(path));
    AiosmtpdServer relay;
    ASSERT_TRUE(relay.IsRunning());
    UseRelay(reopened, relay.Port());
    ASSERT_TRUE(SendThroughDialog(reopened));

    QStringList mailed;
    for (const QByteArray& line : slowServer.Received())
        if (line.startsWith("RCPT TO:"))
            mailed << QString::fromLatin1(line);
    for (const QByteArray& message : relay.Messages())
        mailed << QStringLiteral("RCPT TO:<%1>").arg(ReadCopy(message).to);
    mailed.sort();
    EXPECT_EQ(mailed, (QStringList{"RCPT TO:<r0000@one.test>", "RCPT TO:<r0001@one.test>",
                                   "RCPT TO:<r0002@one.test>", "RCPT TO:<r0003@one.test>"}));
}

TEST_F(SendFaults, TheDialogJournalsEveryResultBeforeItsLogIsWritten)
{
    const ShortMailWaits waits(1000, 20000);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("news.kvnl"));
    // The first recipient is mailed at once; the second's answer keeps the send going.
    std::atomic<int> connections{0};
    SmtpReplies quick;
    SmtpReplies hanging;
    hanging.endOfDataDelayMs = 4000;
    ScriptedMailServer server([&](ScriptedConnection& connection)
                              { SmtpScript(connections++ == 0 ? quick : hanging)(connection); });
    auto newsletter = MakeRelayed(2, server.Port());
    newsletter->SetField(ndb::NewsletterPath, ndb::CNdbFieldValue(path));
    ASSERT_TRUE(newsletter->Save(path, QStringLiteral("test"), 1, 0));

    CTestContext context;
    context.newsletter = newsletter.get();
    auto dialog = std::make_unique<CDlgSendStatus>(&context, nullptr, false);
    ASSERT_TRUE(dialog->Create(CDlgSendStatus::IDD));
    ASSERT_TRUE(WaitFor([&] { return server.Received().count(".") == 2; }));
    const QDateTime beforeCrash = QDateTime::currentDateTime();

    // The program dies here: its log was never written, the document never saved.
    ndb::CNdbNewsletter reopened;
    ASSERT_TRUE(reopened.Load(path));
    const ndb::CNdbLogEntry* first = reopened.Log().FindEntry(QStringLiteral("r0000@one.test"));
    ASSERT_NE(first, nullptr) << "nothing journaled";
    EXPECT_EQ(first->GetInt(ndb::LogEntryStatus), Sent);
    EXPECT_EQ(first->GetAttempts(), 1);
    ndb::CNdbFieldValue time;
    ASSERT_TRUE(first->GetField(ndb::LogEntryFirstAttempt, time));
    EXPECT_LE(time.GetTime(), beforeCrash);
    EXPECT_GE(time.GetTime(), beforeCrash.addSecs(-30));
    EXPECT_EQ(reopened.Log().FindEntry(QStringLiteral("r0001@one.test")), nullptr)
        << "the message in flight has no status yet";
    CTestContext reopenedContext;
    reopenedContext.newsletter = &reopened;
    const CDlgSendStatus next(&reopenedContext, nullptr, false);
    EXPECT_EQ(next.GetRecipients(), std::vector<ndb::CNdbUser*>{reopened.Users().GetUserAt(1)});

    ASSERT_TRUE(WaitFor([&] { return dialog->GetCurrentLine() == QLatin1String("Finished..."); }));
    QTest::mouseClick(AbortButton(*dialog), Qt::LeftButton);
    server.Stop();
}
} // namespace
