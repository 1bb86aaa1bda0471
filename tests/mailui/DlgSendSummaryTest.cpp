#include "SendSummaryFixture.h"
#include "base/AppSettings.h"
#include "mail/DirectDeliveryTest.h"
#include "mailui/DlgSend.h"
#include "mailui/SendDialogContext.h"
#include "ndb/NdbNewsletter.h"
#include "peers/AiosmtpdServer.h"
#include "peers/DnsmasqServer.h"
#include "peers/PeerProcess.h"
#include "platform/core/SettingsStore.h"
#include "platform/net/DnsQuery.h"
#include "webserver/PageGeneratorXhtmlSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
using namespace ndb;

class CSummaryContext : public ISendDialogContext
{
public:
    CNdbNewsletter* GetCurrentNewsletter() const override { return newsletter; }
    int GetServerPort() const override { return 0; }
    const QString& GetUnsubscribeText() const override { return unsubscribe; }
    bool RateSpam(const QString& page, int& result) override
    {
        ratedPage = page;
        result = rating;
        return true;
    }
    void PutPageInWebStore(const QString&, const QString&) override {}
    QString MakeServerUrl(const QString& path) const override
    {
        return QStringLiteral("http://localhost:1/") + path;
    }

    CNdbNewsletter* newsletter{nullptr};
    int rating{0};
    QString ratedPage;
    QString unsubscribe;
};

using SendSummaryFixture::MakeFixture;
using SendSummaryFixture::SetSwitch;

class SendSummary : public testing::Test
{
protected:
    void SetUp() override
    {
        m_newsletter = MakeFixture();
        m_context.newsletter = m_newsletter.get();
    }

    QString Page(bool testSend = false)
    {
        CDlgSend dialog(&m_context, m_newsletter->Users(), testSend);
        return dialog.BuildSummaryPage();
    }

    // The value cell of the row with the title, as written: class and markup.
    QString Row(const QString& title, bool testSend = false)
    {
        const QStringList lines = Page(testSend).split(QStringLiteral("\r\n"));
        const qsizetype at = lines.indexOf(QStringLiteral("\t\t<td class=\"title\">%1</td>").arg(title));
        return at < 0 ? QStringLiteral("(no row)") : lines.value(at + 1).trimmed();
    }

    std::unique_ptr<CNdbNewsletter> m_newsletter;
    CSummaryContext m_context;
};
} // namespace

// The page of a fixture with every field set is the expected page to the byte, valid XHTML 1.0
// Strict, and every value from the records appears as text, never as markup.
TEST_F(SendSummary, FixturePageIsTheExpectedValidXhtml)
{
    const QString page = Page();
    EXPECT_EQ(page, SendSummaryFixture::ExpectedPage());
    EXPECT_EQ(XhtmlValidationErrors(page.toUtf8()), QString());
    EXPECT_FALSE(page.contains(QLatin1String("<script")));
    EXPECT_EQ(m_context.ratedPage, QStringLiteral("<p>Harbour lights</p>"));
}

// Each row's value and colour under the conditions that change it.
TEST_F(SendSummary, RowsFollowTheRecords)
{
    struct Case
    {
        const char* name;
        std::function<void(CNdbNewsletter&, CSummaryContext&)> change;
        QString title;
        QString cell;
    };
    const std::vector<Case> cases = {
        {"empty subject", [](CNdbNewsletter& n, CSummaryContext&) { n.RemoveField(NewsletterName); },
         "Subject", "<td class=\"textdisabled\">[Not Entered]</td>"},
        {"name without address",
         [](CNdbNewsletter& n, CSummaryContext&) { n.Sender().RemoveField(SenderFromAddress); }, "From",
         "<td class=\"textdisabled\">[Not Entered]</td>"},
        {"address without name",
         [](CNdbNewsletter& n, CSummaryContext&) { n.Sender().RemoveField(SenderFromName); }, "From",
         "<td class=\"text\">&lt;news@sender.test&gt;</td>"},
        {"no organization",
         [](CNdbNewsletter& n, CSummaryContext&) { n.Sender().RemoveField(SenderOrganization); },
         "Organization", "(no row)"},
        {"no reply-to", [](CNdbNewsletter& n, CSummaryContext&) { n.Sender().RemoveField(SenderReplyTo); },
         "Reply-to Email", "(no row)"},
        {"medium risk", [](CNdbNewsletter&, CSummaryContext& c) { c.rating = 1; }, "Spam check",
         "<td class=\"textmedium\">Medium risk</td>"},
        {"high risk", [](CNdbNewsletter&, CSummaryContext& c) { c.rating = 2; }, "Spam check",
         "<td class=\"textdisabled\">High risk</td>"},
        {"blocked recipient",
         [](CNdbNewsletter& n, CSummaryContext&)
         { n.Users().GetUserAt(0)->SetField(UserBlocked, CNdbFieldValue(NdbValueBool, 1)); },
         "Number of emails", "<td class=\"text\">1</td>"},
        {"no recipients", [](CNdbNewsletter& n, CSummaryContext&) { n.Users().DeleteAll(); },
         "Number of emails", "<td class=\"textdisabled\">[None]</td>"},
        {"no attachments", [](CNdbNewsletter& n, CSummaryContext&) { n.Layout().DeleteAllAttachments(); },
         "Number of attachments", "(no row)"},
        {"direct", [](CNdbNewsletter& n, CSummaryContext&) { n.Sender().RemoveField(SenderDelivery); },
         "Send mode", "<td class=\"text\">Direct</td>"},
        {"bounces off", [](CNdbNewsletter& n, CSummaryContext&) { SetSwitch(n, SenderBounceEnabled, false); },
         "Detection of email bounces (returned emails)", "<td class=\"textdisabled\">[Not Enabled]</td>"},
        {"web view on, its site check failed",
         [](CNdbNewsletter& n, CSummaryContext&) { SetSwitch(n, SenderSiteWebView, false); }, "Web view",
         "<td class=\"textdisabled\">[Not Enabled]</td>"},
        {"tracking with statistics",
         [](CNdbNewsletter& n, CSummaryContext&) { SetSwitch(n, SenderSiteStatistics, true); },
         "Dynamic Statistics &amp; Tracking", "<td class=\"textenabled\">Enabled</td>"},
        {"dynamic list with statistics",
         [](CNdbNewsletter& n, CSummaryContext&)
         {
             SetSwitch(n, SenderSiteStatistics, true);
             SetSwitch(n, SenderDynamicList, true);
         },
         "Dynamic Mailing List", "<td class=\"textenabled\">Enabled</td>"},
    };
    for (const Case& test : cases)
    {
        SetUp();
        test.change(*m_newsletter, m_context);
        EXPECT_EQ(Row(test.title), test.cell) << test.name;
    }
}

// A test send counts its recipient whatever the send log holds for the address.
TEST_F(SendSummary, TestSendCountsRecipientsAlreadyMailed)
{
    for (const auto& user : m_newsletter->Users().GetUsers())
        m_newsletter->Log().SetStatus(NdbSendSent, user->GetString(UserEmail));
    EXPECT_EQ(Row(QStringLiteral("Number of emails")), QStringLiteral("<td class=\"text\">0</td>"));
    EXPECT_EQ(Row(QStringLiteral("Number of emails"), true), QStringLiteral("<td class=\"text\">3</td>"));
}

// The direct-delivery test talks to the server the machine settings name: a server that takes
// MAIL FROM passes, a port where nothing listens fails.
TEST(DirectDeliveryTest, PassesWithAServerAndFailsWithoutOne)
{
    QTemporaryDir home;
    CSettingsStore::SetLocations(home.filePath(QStringLiteral("user")),
                                 home.filePath(QStringLiteral("machine")));
    InitAppPaths();
    AiosmtpdServer server;
    ASSERT_TRUE(server.IsRunning());
    const CNdbNewsletter newsletter;
    WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("DirectTestServer"),
                          QStringLiteral("127.0.0.1"));
    WriteAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("DirectTestPort"), quint32(server.Port()));
    EXPECT_EQ(DirectDeliveryTest::Run(newsletter.Sender(), newsletter.Users()), 0);
    EXPECT_TRUE(server.Messages().isEmpty());
    WriteAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("DirectTestPort"),
                         quint32(PeerProcess::FreePort()));
    EXPECT_EQ(DirectDeliveryTest::Run(newsletter.Sender(), newsletter.Users()), 1);
    CSettingsStore::SetLocations({}, {});
    InitAppPaths();
}

// Without a machine setting the test asks the mail exchanger of the first enabled recipient's
// domain, and when that domain has none, the one of the sender's domain.
TEST(DirectDeliveryTest, ServerIsTheExchangerOfTheUsersOwnMail)
{
    const DnsmasqServer dns({"local=/test/", "mx-host=reader.test,mx.reader.test,10",
                             "host-record=mx.reader.test,127.0.0.5", "mx-host=sender.test,mx.sender.test,10",
                             "host-record=mx.sender.test,127.0.0.6", "host-record=plain.test,127.0.0.7"});
    ASSERT_TRUE(dns.IsRunning()) << dns.Log().toStdString();
    DnsQuery::SetNameServerForTesting(QStringLiteral("127.0.0.1"), dns.Port(), 1, 1);
    struct Case
    {
        QStringList recipients; // "-" before an address: not enabled
        const char* from;
        const char* server;
    };
    const Case cases[] = {
        {{"a@reader.test"}, "news@sender.test", "127.0.0.5"},
        {{"-a@sender.test", "b@reader.test"}, "news@nowhere.test", "127.0.0.5"},
        {{"a@nowhere.test", "b@reader.test"}, "news@sender.test", "127.0.0.6"},
        {{}, "news@sender.test", "127.0.0.6"},
        {{"a@plain.test"}, "news@sender.test", "127.0.0.7"},
        {{"a@nowhere.test"}, "news@nowhere.test", ""},
        {{}, "", ""},
    };
    for (const Case& c : cases)
    {
        CNdbNewsletter newsletter;
        newsletter.Sender().SetField(SenderFromAddress, CNdbFieldValue(QString::fromLatin1(c.from)));
        for (const QString& entry : c.recipients)
        {
            auto user = std::make_unique<CNdbUser>();
            user->SetField(UserEmail, CNdbFieldValue(entry.startsWith(u'-') ? entry.mid(1) : entry));
            if (entry.startsWith(u'-'))
                user->SetField(UserEnabled, CNdbFieldValue(NdbValueBool, 0));
            newsletter.Users().AddUser(std::move(user));
        }
        EXPECT_EQ(DirectDeliveryTest::ChooseServer(newsletter.Sender(), newsletter.Users()),
                  QString::fromLatin1(c.server))
            << c.recipients.join(u' ').toStdString() << " " << c.from;
    }
    DnsQuery::SetNameServerForTesting(QString(), 53, 0, 0);
}
