// A send through the status window in a process that is killed half-way: what it delivered
// reaches the log through the journal, and the next send mails exactly the rest.
#include "SendDialogSupport.h"
#include "mail/SendTestSupport.h"
#include "mailui/DlgSendStatus.h"
#include "peers/AiosmtpdServer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace
{
const char* const PathVariable = "KV_KILLED_SEND_NEWSLETTER";

int LoggedSent(const ndb::CNdbNewsletter& newsletter)
{
    int sent = 0;
    for (const auto& [address, entry] : newsletter.Log().GetEntries())
        sent += entry && entry->GetInt(ndb::LogEntryStatus) == ndb::NdbSendSent;
    return sent;
}

// Sends the newsletter through the status window and waits until the dialog says it is done.
bool SendThroughTheWindow(ndb::CNdbNewsletter& newsletter)
{
    CTestContext context;
    context.newsletter = &newsletter;
    CDlgSendStatus dialog(&context, nullptr, false);
    if (!dialog.Create(CDlgSendStatus::IDD) ||
        !WaitFor([&] { return dialog.GetCurrentLine() == QLatin1String("Finished..."); }, 60000))
        return false;
    dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
    return true;
}
} // namespace

// The sending program of the case below, started by it as a process of its own and killed there.
TEST(KilledSend, DISABLED_SendsThroughTheWindowUntilKilled)
{
    const QString path = qEnvironmentVariable(PathVariable);
    if (path.isEmpty())
        GTEST_SKIP() << "started by KilledSend.JournalOfTheWindowBringsBackWhatWasSent";
    CRecordingApp app;
    CKVSmtpServer::SetTakePauseForTesting(30);
    ndb::CNdbNewsletter newsletter;
    ASSERT_TRUE(newsletter.Load(path));
    CTestContext context;
    context.newsletter = &newsletter;
    CDlgSendStatus dialog(&context, nullptr, false);
    ASSERT_TRUE(dialog.Create(CDlgSendStatus::IDD));
    QEventLoop().exec();
}

TEST(KilledSend, JournalOfTheWindowBringsBackWhatWasSent)
{
    AiosmtpdServer server;
    ASSERT_TRUE(server.IsRunning());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Spring news.kvnl"));
    constexpr int Recipients = 60;
    {
        auto newsletter = SendTest::MakeNewsletter(Recipients, {QStringLiteral("one.test")});
        SendTest::UseRelay(*newsletter, server.Port());
        newsletter->Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral("<p>Hello</p>")));
        newsletter->SetField(ndb::NewsletterPath, ndb::CNdbFieldValue(path));
        ASSERT_TRUE(newsletter->Save(path, QStringLiteral("test"), 1, 0));
    }

    QProcess sender;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(PathVariable), path);
    sender.setProcessEnvironment(environment);
    sender.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sender.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_also_run_disabled_tests"),
                  QStringLiteral("--gtest_filter=KilledSend.DISABLED_SendsThroughTheWindowUntilKilled")});
    ASSERT_TRUE(sender.waitForStarted());
    const bool underWay = QTest::qWaitFor([&] { return server.Messages().size() >= 15; }, 60000);
    sender.kill();
    ASSERT_TRUE(sender.waitForFinished(30000));
    ASSERT_TRUE(underWay) << "the killed program sent too little";
    const int delivered = int(server.Messages().size());
    ASSERT_LT(delivered, Recipients);

    CKVSmtpServer::SetTakePauseForTesting(1);
    ndb::CNdbNewsletter reopened;
    ASSERT_TRUE(reopened.Load(path));
    // The one message whose answer was in flight may be on the server without its line.
    EXPECT_GE(LoggedSent(reopened), delivered - 1);
    EXPECT_LE(LoggedSent(reopened), delivered);
    ASSERT_TRUE(SendThroughTheWindow(reopened));
    CKVSmtpServer::SetTakePauseForTesting(500);

    std::map<QString, int> copies;
    for (const QByteArray& message : server.Messages())
        ++copies[SendTest::ReadCopy(message).to];
    EXPECT_EQ(copies.size(), size_t(Recipients)) << "nobody is lost";
    int twice = 0;
    for (const auto& [address, count] : copies)
    {
        EXPECT_LE(count, 2) << address.toStdString();
        twice += count == 2;
    }
    EXPECT_LE(twice, 1);
    EXPECT_EQ(LoggedSent(reopened), Recipients);
}
