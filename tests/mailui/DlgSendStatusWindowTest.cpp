#include "PanelPicture.h"
#include "SendDialogSupport.h"
#include "mail/SendTestSupport.h"
#include "mailui/DlgSendStatus.h"
#include "mailui/SendContext.h"
#include "peers/AiosmtpdServer.h"
#include "platform/ui/WinApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

namespace
{
class SendStatusWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_relay.IsRunning());
        m_newsletter = SendTest::MakeNewsletter(10, {QStringLiteral("one.test")});
        SendTest::UseRelay(*m_newsletter, m_relay.Port());
        m_newsletter->Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral("<p>Hello</p>")));
        m_context.newsletter = m_newsletter.get();
    }

    void TearDown() override { CKVSmtpServer::SetTakePauseForTesting(500); }

    int LoggedWith(int status) const
    {
        int count = 0;
        for (const auto& [address, entry] : m_newsletter->Log().GetEntries())
            count += entry && entry->GetInt(ndb::LogEntryStatus) == status;
        return count;
    }

    CRecordingApp m_app;
    AiosmtpdServer m_relay;
    std::unique_ptr<ndb::CNdbNewsletter> m_newsletter;
    CTestContext m_context;
};

TEST_F(SendStatusWindow, SendsEveryoneShowsFinishedAndWritesTheLogOnClose)
{
    CKVSmtpServer::SetTakePauseForTesting(1);
    CDlgSendStatus dialog(&m_context, nullptr, false);
    ASSERT_TRUE(dialog.Create(CDlgSendStatus::IDD));
    CRect client;
    dialog.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 490);
    EXPECT_EQ(client.Height(), 220);
    ASSERT_TRUE(WaitFor([&] { return dialog.GetCurrentLine() == QLatin1String("Finished..."); }));
    EXPECT_EQ(dialog.GetPanelTitle(), QStringLiteral("Status"));
    EXPECT_EQ(dialog.GetDlgItem(IDCANCEL)->GetSafeHwnd()->property("text").toString(),
              QStringLiteral("&Close"));
    SendTest::SavePanel(dialog, QStringLiteral("finished"));
    dialog.SendMessage(WM_SENDPAUSE, 1, 23);
    EXPECT_EQ(dialog.GetCurrentLine(), QStringLiteral("Paused..."));
    SendTest::SavePanel(dialog, QStringLiteral("paused"));

    dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(m_relay.Messages().size(), 10);
    EXPECT_EQ(LoggedWith(ndb::NdbSendSent), 10);
    EXPECT_TRUE(m_app.boxes.isEmpty()) << m_app.boxes.join(u'|').toStdString();
    for (const auto& [address, entry] : m_newsletter->Log().GetEntries())
        EXPECT_EQ(entry->GetAttempts(), 1);
}

TEST_F(SendStatusWindow, AbortStopsTheSendAndLogsWhatWasDone)
{
    CKVSmtpServer::SetTakePauseForTesting(40);
    CDlgSendStatus dialog(&m_context, nullptr, false);
    ASSERT_TRUE(dialog.Create(CDlgSendStatus::IDD));
    int total = 0, inProgress = 0, sent = 0, failed = 0, deferred = 0;
    QString address;
    ASSERT_TRUE(WaitFor(
        [&]
        {
            dialog.GetEngine().GetProgress(total, inProgress, sent, failed, deferred, address);
            return sent >= 3;
        }));
    SendTest::SavePanel(dialog, QStringLiteral("sending"));
    dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
    // The window closes once the delivery under way has ended.
    ASSERT_TRUE(WaitFor([&] { return !m_app.boxes.isEmpty(); }));
    EXPECT_EQ(m_app.boxes, QStringList{"Aborted!"});
    const int delivered = int(m_relay.Messages().size());
    EXPECT_LT(delivered, 10);
    EXPECT_EQ(LoggedWith(ndb::NdbSendSent), delivered);
    // Every queued address counts an attempt; those never taken keep no status.
    EXPECT_EQ(m_newsletter->Log().GetEntries().size(), 10u);
    EXPECT_EQ(LoggedWith(0), 10 - delivered);

    // The next send takes exactly the rest.
    CKVSmtpServer::SetTakePauseForTesting(1);
    CDlgSendStatus resumed(&m_context, nullptr, false);
    EXPECT_EQ(int(resumed.GetRecipients().size()), 10 - delivered);
}

TEST_F(SendStatusWindow, NothingToSendSaysSo)
{
    for (const auto& user : m_newsletter->Users().GetUsers())
        m_newsletter->Log().SetStatus(ndb::NdbSendSent, user->GetString(ndb::UserEmail));
    CDlgSendStatus dialog(&m_context, nullptr, false);
    ASSERT_TRUE(dialog.Create(CDlgSendStatus::IDD));
    ASSERT_TRUE(WaitFor([&] { return !m_app.boxes.isEmpty(); }, 5000));
    EXPECT_EQ(m_app.boxes, QStringList{"There are no recipients for this newsletter..."});
    EXPECT_TRUE(m_relay.Messages().isEmpty());
}

TEST_F(SendStatusWindow, TestSendWritesNoLog)
{
    CKVSmtpServer::SetTakePauseForTesting(1);
    const std::vector<ndb::CNdbUser*> one{m_newsletter->Users().GetUserAt(0)};
    m_newsletter->Log().SetStatus(ndb::NdbSendSent, one.front()->GetString(ndb::UserEmail));
    CDlgSendStatus dialog(&m_context, &one, true);
    ASSERT_TRUE(dialog.Create(CDlgSendStatus::IDD));
    ASSERT_TRUE(WaitFor([&] { return dialog.GetCurrentLine() == QLatin1String("Finished..."); }));
    dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(m_relay.Messages().size(), 1);
    const ndb::CNdbLogEntry* entry = m_newsletter->Log().FindEntry(one.front()->GetString(ndb::UserEmail));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->GetAttempts(), 0);
}
} // namespace
