#include "mailui/DlgSendStatus.h"
#include "PanelPicture.h"
#include "SendDialogSupport.h"
#include "mail/SendTestSupport.h"
#include "mailui/SendContext.h"
#include "ndb/NdbResource.h"
#include "peers/AiosmtpdServer.h"
#include "services/QorxInstaller.h"
#include "services/QorxReplies.h"
#include "support/FtpServer.h"
#include "support/ScriptedHttpServer.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
void AddResource(ndb::CNdbNewsletter& newsletter, const QString& path, const QString& name,
                 const QByteArray& bytes)
{
    auto resource = std::make_unique<ndb::CNdbResource>();
    resource->SetField(ndb::ResourceId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    resource->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(path));
    resource->SetField(ndb::ResourceFileName, ndb::CNdbFieldValue(name));
    resource->SetPayload(bytes);
    newsletter.Layout().AddResource(std::move(resource));
}

QStringList FilesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(DlgSendStatus, RenderedImagesAreFoundInsideOneQuotedValue)
{
    struct Case
    {
        const char* page;
        CDlgSendStatus::RenderedImageMap expected;
    };
    for (const Case& c : {
             Case{R"(<img src="img/banner.old.gif?pid=12" />)",
                  {{"img/banner.old.gif?pid=12", "banner.old_12.gif"}}},
             Case{R"(<img src="http://site.test/news/img/logo.png?pid={P-1}" /><td x="img/a.b?pid=3">)",
                  {{"img/logo.png?pid={P-1}", "logo_{P-1}.png"}, {"img/a.b?pid=3", "a_3.b"}}},
             Case{R"(<p title="img/a.png?pid=" alt="img/.png?pid=1" x="img/a?pid=2">)", {}},
             Case{R"(<p a="x" img/c.png?pid=4" b="y">)", {{"img/c.png?pid=4", "c_4.png"}}},
             Case{R"(<img src="img/a.png?pid=1)", {}},
             Case{"", {}},
         })
    {
        CDlgSendStatus::RenderedImageMap images;
        EXPECT_TRUE(CDlgSendStatus::CollectRenderedImages(QString::fromUtf8(c.page), images));
        EXPECT_EQ(images, c.expected) << c.page;
    }
}

TEST(DlgSendStatus, RecipientsAreThoseTheLogStillWaitsForAndNeverBlocked)
{
    auto newsletter = SendTest::MakeNewsletter(6, {QStringLiteral("one.test")});
    const auto users = SendTest::AllUsers(*newsletter);
    const int statuses[] = {10, 20, 30, 40, 0};
    for (int i = 0; i < 5; ++i)
        if (statuses[i] != 0)
            newsletter->Log().SetStatus(statuses[i], users[size_t(i)]->GetString(ndb::UserEmail));
    users[5]->SetField(ndb::UserBlocked, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
    CTestContext context;
    context.newsletter = newsletter.get();
    const CDlgSendStatus send(&context, nullptr, false);
    EXPECT_EQ(send.GetRecipients(), (std::vector<ndb::CNdbUser*>{users[3], users[4]}));
    // A test send reaches its recipient whatever the log holds.
    const std::vector<ndb::CNdbUser*> testRecipient{users[0], users[5]};
    const CDlgSendStatus test(&context, &testRecipient, true);
    EXPECT_EQ(test.GetRecipients(), (std::vector<ndb::CNdbUser*>{users[0]}));
}

class WebViewUpload : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("site/htdocs")));
        m_ftp = std::make_unique<FtpServer>(m_root.filePath(QStringLiteral("site")));
        m_newsletter = SendTest::MakeNewsletter(1, {QStringLiteral("one.test")});
        ndb::CNdbSender& sender = m_newsletter->Sender();
        sender.SetField(420, ndb::CNdbFieldValue(QStringLiteral("127.0.0.1")));
        sender.SetField(ndb::SenderSiteNumber424, ndb::CNdbFieldValue(ndb::NdbValueInt, m_ftp->Port()));
        sender.SetField(421, ndb::CNdbFieldValue(QString::fromLatin1(FtpServer::User)));
        sender.SetField(422, ndb::CNdbFieldValue(QString::fromLatin1(FtpServer::Password)));
        sender.SetField(423, ndb::CNdbFieldValue(QStringLiteral("htdocs")));
        sender.SetField(ndb::SenderWebViewFolder, ndb::CNdbFieldValue(QStringLiteral("/news/")));
        sender.SetField(ndb::SenderSiteType, ndb::CNdbFieldValue(QStringLiteral("php")));
        m_images.SetRoute(QStringLiteral("/img/logo.png"),
                          {200, QStringLiteral("RENDERED"), QStringLiteral("image/png")});
        m_context.newsletter = m_newsletter.get();
        m_context.port = m_images.Port();
    }

    void SetBody(const QString& body)
    {
        m_newsletter->Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(body));
    }

    QString SitePath(const QString& path) const { return m_root.filePath(QStringLiteral("site/") + path); }

    QTemporaryDir m_root;
    std::unique_ptr<FtpServer> m_ftp;
    ScriptedHttpServer m_images;
    std::unique_ptr<ndb::CNdbNewsletter> m_newsletter;
    CTestContext m_context;
};

TEST_F(WebViewUpload, PageFilesAndRenderedImagesGoToTheirRemotePlaces)
{
    SetBody(QStringLiteral("<p><img src=\"img/photo.png\" /><img src=\"img/logo.png?pid=7\" />"
                           "<a href=\"files/My%20Doc.pdf\">doc</a></p>"));
    AddResource(*m_newsletter, QStringLiteral("img/photo.png"), QStringLiteral("photo.png"), "PHOTO");
    AddResource(*m_newsletter, QStringLiteral("files/my doc.pdf"), QStringLiteral("my doc.pdf"), "PDF");
    AddResource(*m_newsletter, QStringLiteral("img/unused.png"), QStringLiteral("unused.png"), "UNUSED");
    CDlgSendStatus dialog(&m_context, nullptr, false);
    ASSERT_TRUE(dialog.UploadWebView(false)) << m_ftp->Commands().join(u'\n').toStdString();
    EXPECT_EQ(dialog.GetPanelTitle(), QStringLiteral("Uploading Web View Files..."));
    SendTest::SavePanel(dialog, QStringLiteral("uploading"));
    EXPECT_EQ(FilesBelow(SitePath(QString())),
              (QStringList{"htdocs/news/files/my doc.pdf", "htdocs/news/img/logo_7.png",
                           "htdocs/news/img/photo.png", "htdocs/news/spring.php"}));
    EXPECT_EQ(ReadAll(SitePath(QStringLiteral("htdocs/news/img/logo_7.png"))), "RENDERED");
    EXPECT_EQ(ReadAll(SitePath(QStringLiteral("htdocs/news/img/photo.png"))), "PHOTO");
    const QByteArray page = ReadAll(SitePath(QStringLiteral("htdocs/news/spring.php")));
    EXPECT_TRUE(page.contains("img/logo_7.png")) << page.toStdString();
    EXPECT_FALSE(page.contains("?pid=7")) << page.toStdString();
    EXPECT_EQ(m_images.Requests(), QStringList{"/img/logo.png?pid=7"});
}

TEST_F(WebViewUpload, DocumentNamesWithBlanksAndAccentsArePublished)
{
    SetBody(QStringLiteral("<p><img src=\"img/photo one.png\" /></p>"));
    AddResource(*m_newsletter, QStringLiteral("img/photo one.png"), QStringLiteral("photo one.png"), "PHOTO");
    for (const QString& name :
         {QStringLiteral("Spring news.kvnl"), QStringLiteral("Fr\u00fchling Gr\u00fc\u00dfe.kvnl")})
    {
        m_newsletter->SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(name));
        CDlgSendStatus dialog(&m_context, nullptr, false);
        ASSERT_TRUE(dialog.UploadWebView(false)) << dialog.GetUploadFailure().toStdString() << "\n"
                                                 << m_ftp->Commands().join(u'\n').toStdString();
        const QString page = CRecipientMerge::WebViewFileName(name, QStringLiteral("php"));
        EXPECT_TRUE(FilesBelow(SitePath(QString())).contains(QStringLiteral("htdocs/news/") + page))
            << FilesBelow(SitePath(QString())).join(u' ').toStdString();
    }
}

TEST_F(WebViewUpload, SendPublishesThePagesOnlyWhenTheSiteOffersAWebView)
{
    CRecordingApp app;
    AiosmtpdServer relay;
    ASSERT_TRUE(relay.IsRunning());
    SendTest::UseRelay(*m_newsletter, relay.Port());
    CKVSmtpServer::SetTakePauseForTesting(1);
    SetBody(QStringLiteral("<p><a href=\"[[[WEBVIEWURL]]]\">Read it on the web</a></p>"));
    const QString name = QStringLiteral("Fr\u00fchling news.kvnl");
    m_newsletter->SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(name));
    const QString page = CRecipientMerge::WebViewFileName(name, QStringLiteral("php"));
    ndb::CNdbSender& sender = m_newsletter->Sender();
    sender.SetField(ndb::SenderWebView, ndb::CNdbFieldValue(ndb::NdbValueBool, true));
    // Tracking asked for on a site without statistics is off, for the summary and the sender alike.
    sender.SetField(ndb::SenderTracking, ndb::CNdbFieldValue(ndb::NdbValueBool, true));
    const auto send = [&]
    {
        app.boxes.clear();
        m_newsletter->Log().DeleteAllEntries();
        CDlgSendStatus dialog(&m_context, nullptr, false);
        EXPECT_TRUE(dialog.Create(CDlgSendStatus::IDD));
        EXPECT_TRUE(WaitFor(
            [&] { return dialog.GetCurrentLine() == QLatin1String("Finished...") || !app.boxes.isEmpty(); }));
    };

    // The site does not offer the web view: the summary says so, and the mail goes out alone.
    send();
    EXPECT_TRUE(app.boxes.isEmpty()) << app.boxes.join(u'|').toStdString();
    EXPECT_EQ(relay.Messages().size(), 1);
    EXPECT_TRUE(m_ftp->Commands().isEmpty());

    sender.SetField(ndb::SenderSiteWebView, ndb::CNdbFieldValue(ndb::NdbValueBool, true));
    send();
    EXPECT_TRUE(app.boxes.isEmpty()) << app.boxes.join(u'|').toStdString();
    EXPECT_TRUE(FilesBelow(SitePath(QString())).contains(QStringLiteral("htdocs/news/") + page));
    ASSERT_EQ(relay.Messages().size(), 2);
    EXPECT_TRUE(SendTest::ReadCopy(relay.Messages().last()).html.contains(page))
        << SendTest::ReadCopy(relay.Messages().last()).html.toStdString();

    // A refused upload says which step failed and on what file, and nothing is mailed.
    sender.SetField(422, ndb::CNdbFieldValue(QStringLiteral("wrong")));
    send();
    EXPECT_EQ(app.boxes,
              QStringList{QStringLiteral("Failed to upload web view files (step: uploading over FTP, "
                                         "file: \"htdocs/news/%1\")")
                              .arg(page)});
    EXPECT_EQ(relay.Messages().size(), 2);
    EXPECT_TRUE(m_images.Requests().isEmpty()) << "no tracker was registered";
    CKVSmtpServer::SetTakePauseForTesting(500);
}

TEST_F(WebViewUpload, NamesReachingOutsideTheWebViewFolderWriteNothingThere)
{
    struct Case
    {
        const char* body;
        const char* path;
        const char* name;
    };
    for (const Case& c : {Case{"<img src=\"img/../../../evil.png\" />", "img/../../../evil.png", "evil.png"},
                          Case{"<img src=\"img/../../../evil.png\" />", "img/x.png", "../../../evil.png"},
                          Case{"<img src=\"img/evil.png\" />", "/evil/x.png", "evil.png"},
                          Case{"<img src=\"img/evil.png\" />", "img\\..\\..\\x.png", "evil.png"},
                          Case{"<img src=\"img/../../../evil.png?pid=7\" />", "img/a.png", "a.png"}})
    {
        m_newsletter->Layout().DeleteAllResources();
        SetBody(QString::fromLatin1(c.body));
        AddResource(*m_newsletter, QString::fromLatin1(c.path), QString::fromLatin1(c.name), "EVIL");
        CDlgSendStatus dialog(&m_context, nullptr, false);
        EXPECT_FALSE(dialog.UploadWebView(false)) << c.path << " " << c.name;
        for (const QString& file : FilesBelow(m_root.path()))
            EXPECT_TRUE(file.startsWith(QStringLiteral("site/htdocs/news/")) &&
                        !file.contains(QLatin1String("evil")))
                << file.toStdString();
    }
}

TEST_F(WebViewUpload, RenderedImageTheServerCannotGiveStopsTheUpload)
{
    SetBody(QStringLiteral("<img src=\"img/missing.png?pid=3\" />"));
    CDlgSendStatus dialog(&m_context, nullptr, false);
    EXPECT_FALSE(dialog.UploadWebView(false));
}
} // namespace

namespace
{
// A newsletter whose recipients are mailed through aiosmtpd and whose pages take their images
// from a stand-in for the local web server.
class MessagePreparation : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_relay.IsRunning());
        CKVSmtpServer::SetTakePauseForTesting(1);
        m_newsletter = SendTest::MakeNewsletter(3, {QStringLiteral("one.test")});
        SendTest::UseRelay(*m_newsletter, m_relay.Port());
        m_newsletter->Layout().SetField(
            ndb::LayoutHtml,
            ndb::CNdbFieldValue(QStringLiteral(
                "<p>Hi <span name=\"fc_130\">First name</span> <img src=\"img/photo.png\" /></p>")));
        AddResource(*m_newsletter, QStringLiteral("img/photo.png"), QStringLiteral("photo.png"), "PHOTO");
        m_context.newsletter = m_newsletter.get();
        m_context.port = m_server.Port();
    }

    void TearDown() override { CKVSmtpServer::SetTakePauseForTesting(500); }

    bool WaitForEngine(CDlgSendStatus& dialog)
    {
        for (int i = 0; i < 2000 && dialog.GetEngine().GetRunningWorkers() > 0; ++i)
            QThread::msleep(5);
        return dialog.GetEngine().GetRunningWorkers() == 0;
    }

    AiosmtpdServer m_relay;
    ScriptedHttpServer m_server;
    std::unique_ptr<ndb::CNdbNewsletter> m_newsletter;
    CTestContext m_context;
};

TEST_F(MessagePreparation, EmbeddedImagesTravelAsPartsOfEveryCopy)
{
    m_server.SetRoute(QStringLiteral("/img/photo.png"),
                      {200, QStringLiteral("PHOTO"), QStringLiteral("image/png")});
    CDlgSendStatus dialog(&m_context, nullptr, false);
    ASSERT_TRUE(dialog.PrepareMessageAndStart(false, false));
    ASSERT_TRUE(WaitForEngine(dialog));
    const QByteArrayList messages = m_relay.Messages();
    ASSERT_EQ(messages.size(), 3);
    for (const QByteArray& message : messages)
    {
        const SendTest::ReceivedCopy copy = SendTest::ReadCopy(message);
        EXPECT_TRUE(copy.html.contains(QStringLiteral("src=\"cid:i_"))) << copy.html.toStdString();
        EXPECT_TRUE(copy.html.contains(QStringLiteral("Hi N"))) << copy.html.toStdString();
        EXPECT_EQ(copy.html.count(QStringLiteral("<html")), 1) << message.toStdString();
        EXPECT_TRUE(message.contains("Content-ID: <i_")) << message.toStdString();
        EXPECT_TRUE(message.contains(QByteArray("PHOTO").toBase64()));
    }
}

TEST_F(MessagePreparation, InlineImageThatCannotBeFetchedSendsNothing)
{
    CDlgSendStatus dialog(&m_context, nullptr, false);
    EXPECT_FALSE(dialog.PrepareMessageAndStart(false, false));
    EXPECT_TRUE(dialog.GetEngine().GetStatuses().empty());
    EXPECT_EQ(dialog.GetEngine().GetRunningWorkers(), 0);
    EXPECT_TRUE(m_relay.Messages().isEmpty());
}

TEST_F(MessagePreparation, EachNewExternalLinkGetsOneTracker)
{
    using namespace QorxReplies;
    const auto ok = [](const char* command)
    {
        return Document(
            Element(QStringLiteral("ws_stats_newsletter_stats_") + command, QStringLiteral("status=\"ok\"")));
    };
    m_server.SetReply(QStringLiteral("/qorx.php?cmd=getstatus"), Status(QStringLiteral("qorxsystem")));
    m_server.SetReply(
        QStringLiteral("/qorx.php?cmd=getinstalledpackages"),
        InstalledPackages(Package(QStringLiteral("ws_stats_newsletter"), QStringLiteral("stats.php"))));
    m_server.SetReply(QStringLiteral("/stats.php?cmd=getstatus"),
                      Status(QStringLiteral("ws_stats_newsletter")));
    for (const char* command : {"channelgroupadd", "channeladd", "trackeradd"})
        m_server.SetReply(QStringLiteral("/stats.php?cmd=") + command, ok(command));
    m_server.SetReply(
        QStringLiteral("/stats.php?cmd=channelgetalltrackers"),
        Document(Element(QStringLiteral("ws_stats_newsletter_stats_channelgetalltrackers"),
                         QStringLiteral("status=\"ok\""),
                         Element(QStringLiteral("tracker"),
                                 QStringLiteral("trackerid=\"{T-OLD}\" trackerurl=\"http://old.test/\"")))));
    ndb::CNdbSender& sender = m_newsletter->Sender();
    sender.SetField(ndb::SenderSiteAccess650, ndb::CNdbFieldValue(m_server.Url(QStringLiteral("/qorx.php"))));
    sender.SetField(ndb::SenderSiteAccess630, ndb::CNdbFieldValue(QStringLiteral("admin")));
    m_newsletter->Layout().SetField(
        ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral(
                             "<a href=\"http://old.test/\">old</a><a href=\"https://new.test/a\">new</a>"
                             "<a href=\"https://new.test/a\" name=\"src_action_type:ext;\">again</a>"
                             "<a href=\"mailto:x@y.test\">mail</a><a href=\"http://b.test/\" "
                             "name=\"src_action_type:bookmark;\">b</a>"
                             "<a href=\"http://empty.test/\"></a>")));
    CDlgSendStatus dialog(&m_context, nullptr, false);
    LinkTrackerMap trackers;
    ASSERT_TRUE(dialog.RegisterLinkTrackers(trackers)) << m_server.Requests().join(u'\n').toStdString();
    ASSERT_EQ(trackers.size(), 2u);
    EXPECT_EQ(trackers[QStringLiteral("http://old.test/")], QStringLiteral("{T-OLD}"));
    const QStringList added = m_server.Requests().filter(QStringLiteral("cmd=trackeradd"));
    ASSERT_EQ(added.size(), 1);
    EXPECT_TRUE(
        added.front().contains(CQorxInstaller::UrlEncode(trackers[QStringLiteral("https://new.test/a")])));

    // Without the service nothing is sent.
    sender.SetField(ndb::SenderSiteAccess650,
                    ndb::CNdbFieldValue(QStringLiteral("http://127.0.0.1:1/qorx.php")));
    EXPECT_FALSE(dialog.PrepareMessageAndStart(false, true));
    EXPECT_TRUE(dialog.GetEngine().GetStatuses().empty());
}
} // namespace
