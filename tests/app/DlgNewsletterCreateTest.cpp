#include "CreateDialogSupport.h"
#include "ScreenPicture.h"
#include "ShellTestSupport.h"
#include "res/dialogs/NewsletterCreate.h"
#include "support/ScriptedHttpServer.h"

#include "app/DlgNewsletterCreate.h"
#include "services/GalleryPage.h"
#include "services/TemplateCatalogue.h"

using namespace ShellTest;

namespace
{
std::unique_ptr<CConceptTemplateFile> Template(const QString& id, int size = 0)
{
    auto file = std::make_unique<CConceptTemplateFile>();
    file->SetId(id);
    file->SetName("Name " + id);
    file->SetSize(size);
    return file;
}

QString NoPicture(const QString&)
{
    return QStringLiteral("pic");
}

} // namespace

TEST(GalleryPage, RowsCellsSizesAndEscaping)
{
    CConceptTemplateFolder folder;
    folder.SetId("F\"1");
    for (const auto& [id, size] : std::vector<std::pair<QString, int>>{{"a", 500}, {"b", 2047}, {"c", 2048}})
        folder.AppendChild(Template(id, size));
    folder.AppendChild(std::make_unique<CConceptTemplateFolder>())->SetId("inner");
    auto hostile = Template("x__'y<");
    hostile->SetName("<script>alert(1)</script>");
    hostile->SetDescription("[FILES] & more");
    hostile->SetDemoUrl("javascript:alert(2)");
    hostile->SetAuthor("Ann");
    hostile->SetAuthorCompany("Ink & Co");
    hostile->SetDateCreated(QDateTime::currentSecsSinceEpoch() - 89 * 86400);
    folder.AppendChild(std::move(hostile));
    auto demo = Template("d");
    demo->SetDemoUrl("https://example.org/it's");
    demo->SetDateCreated(QDateTime::currentSecsSinceEpoch() - 91 * 86400);
    folder.AppendChild(std::move(demo));

    const QString page =
        GalleryPage::Build("[ALERT_DISPLAYTYPE]|[FILES_ID]|[FILES]", folder, true, &NoPicture);
    EXPECT_TRUE(page.startsWith("none|filetable|<tr>"));
    EXPECT_EQ(page.count("<tr>"), 2);
    EXPECT_EQ(page.count("<td>&nbsp;</td>"), 1) << "five cells: the second row is filled with one";
    EXPECT_TRUE(page.endsWith("<td>&nbsp;</td></tr>"));
    EXPECT_FALSE(page.contains("inner"));
    for (const char* size : {"</strong>1 KB</p>", "</strong>2 KB</p>"})
        EXPECT_TRUE(page.contains(size)) << size;
    EXPECT_EQ(page.count("</strong>1 KB</p>"), 2);
    EXPECT_FALSE(page.contains("<script>"));
    EXPECT_TRUE(page.contains("&lt;script&gt;alert(1)&lt;/script&gt;"));
    EXPECT_TRUE(page.contains("[FILES] &amp; more"));
    EXPECT_TRUE(page.contains("Ann, Ink &amp; Co."));
    EXPECT_FALSE(page.contains("javascript:alert(2)")) << "only web addresses open as demos";
    EXPECT_TRUE(page.contains("window.open('https://example.org/it\\u0027s'"));
    EXPECT_EQ(page.count("alt=\"New\""), 1) << "new for 90 days";
    EXPECT_TRUE(
        page.contains("SelectFile('fileid3', '__FOLDER__F%22%31__A__FILE__x%5F%5F%27y%3C__', false)"));

    EXPECT_TRUE(GalleryPage::Build("[ALERT_DISPLAYTYPE]", folder, false, &NoPicture) == "block");
}

TEST(GalleryPage, LinkProtocol)
{
    const struct
    {
        QString url;
        GalleryPage::LinkKind kind;
        QString fileId;
    } cases[] = {
        {"http://localhost:1/webstore/__FOLDER__F__A__FILE__T%201__", GalleryPage::LinkKind::Template, "T 1"},
        {"http://x/" + GalleryPage::MakeLink("a__b", "c__d"), GalleryPage::LinkKind::Template, "c__d"},
        {"http://x/__FOLDER__F__A__", GalleryPage::LinkKind::Template, ""},
        {"http://x/__FOLDER__open", GalleryPage::LinkKind::Unclosed, ""},
        {"http://x/__EMTPY__", GalleryPage::LinkKind::Empty, ""},
        {"http://example.org/", GalleryPage::LinkKind::Other, ""},
    };
    for (const auto& c : cases)
    {
        QString fileId;
        EXPECT_EQ(GalleryPage::ParseLink(c.url, fileId), c.kind) << c.url.toStdString();
        EXPECT_EQ(fileId, c.fileId) << c.url.toStdString();
    }
}

class DlgNewsletterCreateTest : public ShellProgram
{
protected:
    void SetUp() override
    {
        ShellProgram::SetUp();
        UseOwnDataFolder();
        WriteAppSettingString(HKEY_CURRENT_USER, "SavePath_Create", Path("documents/"));
        InitAppPaths();
        QDir().mkpath(GetTemplateImageFolder());
        QImage thumbnail(202, 254, QImage::Format_ARGB32);
        thumbnail.fill(QColor(30, 90, 160));
        thumbnail.save(GetTemplateLibraryFolder() + "t1.png");
        m_catalogue.AppendChild(std::make_unique<CConceptTemplateFolder>())->SetName("First");
        m_catalogue.AppendChild(Template("TOP"));
        auto* business = static_cast<CConceptTemplateFolder*>(
            m_catalogue.AppendChild(std::make_unique<CConceptTemplateFolder>()));
        business->SetName("Business");
        business->SetInitialFolder(true);
        for (const char* id : {"T1", "T2"})
        {
            auto file = Template(id, 4096);
            file->SetSmallIconUrl(PathToFileUrl(GetTemplateLibraryFolder() + "t1.png"));
            business->AppendChild(std::move(file));
        }
        m_catalogue.AppendChild(std::make_unique<CConceptTemplateFolder>())->SetName("fromwebpage:Web Page");
    }

    CConceptTemplateFolder m_catalogue;
};

TEST_F(DlgNewsletterCreateTest, TabsGalleryClickAndWebPageMode)
{
    CMainWnd& window = StartProgram();
    WriteNewsletter(Document("My Newsletter.kvnl"), "a");
    WriteNewsletter(Document("My Newsletter 2.kvnl"), "b");
    ScriptedHttpServer site;
    ScriptedHttpServer::Route page;
    page.type = "text/html; charset=utf-8";
    page.body = "<html><head><style>p { color: #1d5fb4; }</style></head><body><h1>Harbour news</h1>"
                "<p>From the web</p></body></html>";
    site.SetRoute("/page.htm", page);

    bool checked = false;
    const ModalWatchdog watchdog(60000);
    const auto driver = WhenModal<CDlgNewsletterCreate>(
        [&](CDlgNewsletterCreate& shown)
        {
            CDlgNewsletterCreate* dialog = &shown;
            CKVTabButtonList& tabs = dialog->GetTabStrip();
            ASSERT_EQ(tabs.GetTabCount(), 3);
            EXPECT_EQ(tabs.GetTab(1)->commandId, 50002u) << "the index among all top-level entries";
            EXPECT_EQ(tabs.GetTab(1)->text, "Business");
            EXPECT_EQ(tabs.GetTab(2)->text, "Web Page");
            EXPECT_EQ(tabs.GetTab(2)->commandId, CDlgNewsletterCreate::WebPageCommand);
            EXPECT_EQ(tabs.m_currentTab, tabs.GetTab(1)) << "the initial folder is selected";
            EXPECT_EQ(dialog->m_projectName, "My Newsletter 3");
            CWnd* create = dialog->GetDlgItem(IDOK);
            EXPECT_FALSE(create->IsWindowEnabled());

            ASSERT_TRUE(ClickElement(dialog->GetGalleryBrowser(), "fileid1_imgdiv"));
            EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->m_selectedTemplate != nullptr; }, 10000));
            ASSERT_NE(dialog->m_selectedTemplate, nullptr);
            EXPECT_EQ(dialog->m_selectedTemplate->GetId(), "T2");
            EXPECT_TRUE(create->IsWindowEnabled());
            EXPECT_EQ(
                RunScript(dialog->GetGalleryBrowser(), "document.getElementById('fileid1_imgdiv').className")
                    .toString(),
                "fileimg_imgdiv_sel");
            EXPECT_EQ(RunScript(dialog->GetGalleryBrowser(), "document.images[0].naturalWidth").toInt(), 202)
                << "thumbnails reach the page";
            EXPECT_TRUE(AwaitPaintedPage(dialog->GetGalleryBrowser().GetSafeHwnd()));
            SavePicture(*dialog, "DlgNewsletterCreate-gallery.png");

            ClickTab(*dialog, CDlgNewsletterCreate::WebPageCommand);
            EXPECT_TRUE(dialog->m_webPageMode);
            EXPECT_EQ(dialog->m_selectedTemplate->GetId(), "T2") << "the selection survives the tab change";
            auto* address = qobject_cast<QLineEdit*>(dialog->GetDlgItem(IDC_ADDRESS)->GetSafeHwnd());
            address->setFocus();
            QTest::keyClicks(address, site.Url("/page.htm").mid(7));
            ClickButton(*dialog, IDC_LOAD);
            EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->m_webAddress == site.Url("/page.htm"); }, 10000))
                << dialog->m_webAddress.toStdString();
            auto* preview = qobject_cast<QWebEngineView*>(dialog->GetWebBrowser().GetSafeHwnd());
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    return RunScript(dialog->GetWebBrowser(), "document.body.innerText")
                        .toString()
                        .contains("Harbour news");
                },
                10000))
                << "the preview shows the loaded page";
            EXPECT_TRUE(PageMouse::WaitUntilShown(preview));
            EXPECT_TRUE(AwaitPaintedPage(preview));
            SavePicture(*dialog, "DlgNewsletterCreate-webpage.png");

            QStringList boxes;
            AnswerNextBox(boxes, IDOK);
            ClickButton(*dialog, IDOK);
            EXPECT_EQ(boxes, QStringList{"Note! The appearence of the web page could be adjusted."});
            checked = true;
        });
    CDlgNewsletterCreate dialog(m_app->GetContext(), &m_catalogue, false, &window);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(dialog.m_webPageMode);
    EXPECT_EQ(dialog.m_webAddress, site.Url("/page.htm"));
    EXPECT_EQ(dialog.m_projectName, "My Newsletter 3");
    EXPECT_EQ(dialog.m_location, Document(""));
}
