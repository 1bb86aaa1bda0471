#include "CreateDialogSupport.h"
#include "support/ScriptedHttpServer.h"

#include "app/DlgNewsletterCreateEmpty.h"
#include "app/NewsletterCreation.h"
#include "base/TextHelpers.h"
#include "gre/GreLayerText.h"
#include "services/TemplateCatalogue.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

using namespace ShellTest;

namespace
{
const QString Localisation = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><zqlocalizationdata>"
                                            "<replace key=\"title\">Harbour &amp; Sea</replace>"
                                            "<replace key=\"effect\">Banner</replace>"
                                            "<replace key=\"colour\">Ocean</replace></zqlocalizationdata>");

// A template as the library holds them: texts as tokens, an effect whose text layer holds one,
// the built-in styles, a palette colour, a recipient and upload settings that must not survive.
bool WriteTemplate(const QString& path)
{
    ndb::CNdbNewsletter newsletter("_(title)_");
    newsletter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(QStringLiteral("template-guid")));
    newsletter.SetField(ndb::NewsletterTemplateFlag, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
    newsletter.EnsureDefaultStyles();
    newsletter.FindStyleByTag("h2")->SetField(ndb::StyleDisplayName,
                                              ndb::CNdbFieldValue(QStringLiteral("Big")));
    auto pipeline = std::make_unique<gre::CGrePipeline>();
    pipeline->SetName("_(effect)_");
    auto layer = std::make_unique<gre::CGreLayerText>();
    layer->SetText("_(title)_");
    pipeline->GetRootGroup().AddLayer(std::move(layer));
    const QString key = pipeline->GetHashKey();
    newsletter.Project().SetPipeline(key, std::move(pipeline));
    newsletter.Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral("<h1>_(title)_</h1>")));
    newsletter.Palette().AddColor("_(colour)_", "k1", ndb::CNdbRgba(0, 80, 160));
    auto user = std::make_unique<ndb::CNdbUser>();
    user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("ann@example.org")));
    newsletter.Users().AddUser(std::move(user));
    newsletter.Sender().SetField(810, ndb::CNdbFieldValue(QStringLiteral("ftp.example.org")));
    newsletter.Sender().SetField(ndb::SenderThreads, ndb::CNdbFieldValue(ndb::NdbValueInt, 40));
    return newsletter.SaveTemplate(path, {}, {}, QStringLiteral("test"));
}

void WriteText(const QString& path, const QString& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

QStringList TemporaryTemplates()
{
    return QDir(GetTempFolder()).entryList({QStringLiteral("_ct_tmp*")}, QDir::Files);
}

class NewsletterCreationTest : public ShellProgram
{
protected:
    void SetUp() override
    {
        ShellProgram::SetUp();
        QDir().mkpath(Path("data/library/newsletters/business"));
        UseOwnDataFolder();
        WriteAppSettingString(HKEY_CURRENT_USER, "ConceptTemplatesCustomPath", Path("custom"));
        WriteAppSettingString(HKEY_LOCAL_MACHINE, "StoreAddress", m_store.Url(""));
        InitAppPaths();
        m_library = GetTemplateLibraryFolder();
        ASSERT_TRUE(WriteTemplate(m_library + "business/harbour.kvnlt"));
        WriteText(m_library + "business/harbour_en.xml", Localisation);
        m_store.SetReply("/kv/ct.asp", "", 503);
        WriteText(
            m_library + "kvct_en.xml",
            "<kvconcepttemplates status=\"ok\"><folder id=\"BUS\" name=\"Business\" initialfolder=\"yes\">"
            "<file id=\"T1\" name=\"Harbour\" filedownloadurl=\"$root_ct$business/harbour.kvnlt\" "
            "localizationurl=\"$root_ct$business/harbour_en.xml\"/></folder>"
            "<folder id=\"WEB\" name=\"fromwebpage:Web Page\"/></kvconcepttemplates>");
    }

    // The dialog's choice: the catalogue entry of that id, or a web page.
    void Choose(const QString& id, const QString& name, const QString& webAddress = {})
    {
        ShellHooks::Get().chooseNewsletterStart =
            [this, id, name, webAddress](CWnd*, CConceptTemplateFolder& catalogue, bool online,
                                         NewsletterStart& start)
        {
            m_online = online;
            start.webPageMode = !webAddress.isEmpty();
            start.webAddress = webAddress;
            CConceptTemplateBase* entry = catalogue.FindById(id);
            start.selectedTemplate =
                entry && entry->IsFile() ? static_cast<CConceptTemplateFile*>(entry) : nullptr;
            start.projectName = name;
            start.location = Path("documents/");
            return true;
        };
    }
    ndb::CNdbNewsletter* Open() { return m_app->GetContext()->GetCurrentNewsletter(); }

    void ExpectNewsletterOfTemplate(const QString& name)
    {
        ndb::CNdbNewsletter* open = Open();
        ASSERT_NE(open, nullptr);
        EXPECT_EQ(open->GetPath(), Document(name + ".kvnl"));
        EXPECT_NE(open->GetString(ndb::NewsletterId), "template-guid");
        EXPECT_EQ(open->GetString(ndb::NewsletterId).size(), 38);
        EXPECT_FALSE(open->IsTemplate());
        EXPECT_EQ(open->GetString(ndb::NewsletterName), name);
        EXPECT_EQ(open->GetString(ndb::NewsletterFileName), name + ".kvnl");
        EXPECT_EQ(open->Sender().GetString(440), "newsletter/" + MakeIdentifier(name));
        EXPECT_EQ(open->Sender().GetInt(ndb::SenderThreads), 5);
        EXPECT_EQ(open->Sender().GetString(810), QString());
        EXPECT_EQ(open->Users().GetCount(), 0);
        EXPECT_EQ(open->Layout().GetString(ndb::LayoutHtml), "<h1>Harbour &amp; Sea</h1>");
        EXPECT_EQ(open->FindStyleByTag("h2")->GetString(ndb::StyleDisplayName), "Heading 2");
        EXPECT_EQ(open->Palette().GetColorAt(0)->GetName(), "Ocean");
        ASSERT_EQ(open->Project().GetPipelines().size(), 1u);
        const auto& [key, pipeline] = *open->Project().GetPipelines().begin();
        EXPECT_EQ(pipeline->GetName(), "Banner");
        EXPECT_EQ(static_cast<gre::CGreLayerText*>(pipeline->GetRootGroup().GetLayer(0))->GetText(),
                  "Harbour & Sea");

        ndb::CNdbNewsletter reopened;
        ASSERT_TRUE(reopened.Load(open->GetPath()));
        EXPECT_EQ(reopened.GetString(ndb::NewsletterId), open->GetString(ndb::NewsletterId));
        EXPECT_EQ(reopened.Layout().GetString(ndb::LayoutHtml), open->Layout().GetString(ndb::LayoutHtml));
        EXPECT_EQ(reopened.Project().GetPipelines().begin()->first, key);
    }

    ScriptedHttpServer m_store;
    QString m_library;
    bool m_online{true};
};
} // namespace

TEST_F(NewsletterCreationTest, LibraryTemplateIsLocalisedGivenItsOwnIdentityAndOpened)
{
    CMainWnd& window = StartProgram();
    Choose("T1", "Spring News");
    window.SendMessage(WM_COMMAND, ID_FILE_CREATE_NEWSLETTER);
    EXPECT_FALSE(m_online) << "the store is down: the offline catalogue";
    ExpectNewsletterOfTemplate("Spring News");
    EXPECT_TRUE(QFileInfo::exists(m_library + "business/harbour.kvnlt")) << "a local template stays";
}

TEST_F(NewsletterCreationTest, StoreTemplateIsConfirmedDownloadedCheckedAndLocalised)
{
    QFile source(m_library + "business/harbour.kvnlt");
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    const QString md5 = QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
    const QString catalogue = "<kvconcepttemplates status=\"ok\"><folder id=\"ONLINE\" name=\"Online\"><file "
                              "id=\"S 1\" name=\"Store\"/>"
                              "</folder></kvconcepttemplates>";
    ScriptedHttpServer::Route download;
    download.file = source.fileName();
    download.type = "application/octet-stream";
    m_store.SetRoute("/files/harbour.kvnlt", download);
    m_store.SetReply("/files/harbour_en.xml", Localisation);
    const auto fileInfo = [&](const QString& size, const QString& checksum)
    {
        return QString(
                   "<kvconcepttemplates status=\"ok\"><file id=\"S 1\" filedownloadurl=\"%1\" "
                   "filesizeinbytes=\"%2\" md5checksum=\"%3\" localizationurl=\"%4\"/></kvconcepttemplates>")
            .arg(m_store.Url("/files/harbour.kvnlt"), size, checksum, m_store.Url("/files/harbour_en.xml"));
    };
    CMainWnd& window = StartProgram();
    Choose("S 1", "Store Letter");

    const struct
    {
        QString reply;
        QString box; // empty: created
    } cases[] = {
        {"<kvconcepttemplates status=\"ok\"><file id=\"other\"/></kvconcepttemplates>",
         "Can't download file information"},
        {fileInfo(QString::number(bytes.size() + 1), md5), "Can't load template."},
        {fileInfo(QString::number(bytes.size()), QString(32, u'0')), "Can't load template."},
        {fileInfo(QString::number(bytes.size()), md5.toUpper()), ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.box.toStdString());
        m_store.SetReply("/kv/ct.asp", catalogue);
        // The store's two questions share one path: the catalogue comes first, then the file.
        m_store.ClearRequests();
        ShellHooks::Get().chooseNewsletterStart =
            [&, previous = ShellHooks::Get().chooseNewsletterStart](
                CWnd* parent, CConceptTemplateFolder& root, bool online, NewsletterStart& start)
        {
            m_store.SetReply("/kv/ct.asp", c.reply);
            return previous(parent, root, online, start);
        };
        ModalAnswers answers;
        if (!c.box.isEmpty())
            answers.Box("OK");
        window.SendMessage(WM_COMMAND, ID_FILE_CREATE_NEWSLETTER);
        EXPECT_TRUE(answers.Done());
        EXPECT_TRUE(m_online);
        EXPECT_EQ(answers.boxTexts, c.box.isEmpty() ? QStringList() : QStringList{c.box});
        EXPECT_EQ(TemporaryTemplates(), QStringList()) << "no download is left behind";
        EXPECT_EQ(QFileInfo::exists(Document("Store Letter.kvnl")), c.box.isEmpty());
        Choose("S 1", "Store Letter");
    }
    ExpectNewsletterOfTemplate("Store Letter");
    EXPECT_TRUE(m_store.Requests().contains("/kv/ct.asp?lang=en&fileid=S%201"));
}

TEST_F(NewsletterCreationTest, NotFoundDownloadEndsInCantLoadTemplate)
{
    m_store.SetReply("/kv/ct.asp", "<kvconcepttemplates status=\"ok\"><file id=\"S\" filedownloadurl=\"" +
                                       m_store.Url("/missing.kvnlt") +
                                       "\" filesizeinbytes=\"10\"/></kvconcepttemplates>");
    CMainWnd& window = StartProgram();
    Choose("S", "Missing");
    ModalAnswers answers;
    answers.Box("OK");
    window.SendMessage(WM_COMMAND, ID_FILE_CREATE_NEWSLETTER);
    EXPECT_EQ(answers.boxTexts, QStringList{"Can't load template."});
    EXPECT_EQ(TemporaryTemplates(), QStringList());
    EXPECT_EQ(Open(), nullptr);
}

TEST_F(NewsletterCreationTest, WithoutAnyCatalogueNothingIsCreated)
{
    QFile::remove(m_library + "kvct_en.xml");
    CMainWnd& window = StartProgram();
    bool asked = false;
    ShellHooks::Get().chooseNewsletterStart = [&](CWnd*, CConceptTemplateFolder&, bool, NewsletterStart&)
    { return asked = true; };
    ModalAnswers answers;
    answers.Box("OK");
    window.SendMessage(WM_COMMAND, ID_FILE_CREATE_NEWSLETTER);
    EXPECT_EQ(answers.boxTexts, QStringList{"Can't load online/offline newsletter template"});
    EXPECT_FALSE(asked);
}

TEST_F(NewsletterCreationTest, NameWithoutIdentifierCharactersGetsATimeFolder)
{
    ndb::CNdbNewsletter newsletter;
    NewsletterCreation::GiveIdentity(newsletter, "!!!", Path("documents/"));
    const QString folder = newsletter.Sender().GetString(440);
    EXPECT_TRUE(QRegularExpression("^newsletter/\\d{14}$").match(folder).hasMatch()) << folder.toStdString();
    EXPECT_EQ(newsletter.GetString(ndb::NewsletterPath), Path("documents/!!!.kvnl"));
}

TEST_F(NewsletterCreationTest, EmptyNewsletterDialogProposesAFreeNameAndRefusesUnusableOnes)
{
    const QString folder = Path("documents/");
    EXPECT_EQ(CDlgNewsletterCreateEmpty::ProposeName(folder), "My Newsletter");
    WriteNewsletter(folder + "My Newsletter.kvnl", "a");
    WriteNewsletter(folder + "My Newsletter 2.kvnl", "b");
    EXPECT_EQ(CDlgNewsletterCreateEmpty::ProposeName(folder), "My Newsletter 3");
    for (const char* name : {"", "a/b", "a\\b"})
        EXPECT_FALSE(CDlgNewsletterCreateEmpty::IsUsableName(name)) << name;
    EXPECT_TRUE(CDlgNewsletterCreateEmpty::IsUsableName("Spring"));

    WriteAppSettingString(HKEY_CURRENT_USER, "SavePath_Create", folder);
    CMainWnd& window = StartProgram();
    const auto typeAndAccept = [](const QString& text)
    {
        QTimer::singleShot(100,
                           [text]
                           {
                               QWidget* dialog = QApplication::activeModalWidget();
                               ASSERT_NE(dialog, nullptr);
                               auto* edit = dialog->findChild<QLineEdit*>();
                               ASSERT_NE(edit, nullptr);
                               EXPECT_EQ(edit->text(), "My Newsletter 3");
                               edit->selectAll();
                               QTest::keyClicks(edit, text);
                               QTest::keyClick(edit, Qt::Key_Return);
                           });
    };
    // The refusal's box comes up inside the dialog's own loop: it is answered first, then the
    // dialog, which stays open, is closed.
    QStringList boxTexts;
    QTimer::singleShot(400,
                       [&]
                       {
                           auto* box = dynamic_cast<CDlgMessageBox*>(
                               CWnd::FromHandle(QApplication::activeModalWidget()));
                           ASSERT_NE(box, nullptr);
                           boxTexts << box->m_text;
                           box->EndDialog(IDOK);
                       });
    QTimer::singleShot(700, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    typeAndAccept("bad/name");
    window.SendMessage(WM_COMMAND, ID_FILE_CREATE_EMPTY_NEWSLETTER);
    EXPECT_EQ(boxTexts, QStringList{"Can't create newsletter file:\n" + folder + "bad/name"});
    EXPECT_EQ(Open(), nullptr);

    typeAndAccept("Autumn");
    window.SendMessage(WM_COMMAND, ID_FILE_CREATE_EMPTY_NEWSLETTER);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Open()->GetPath(), folder + "Autumn.kvnl");
    ndb::CNdbNewsletter reopened;
    ASSERT_TRUE(reopened.Load(folder + "Autumn.kvnl"));
    EXPECT_EQ(reopened.GetString(ndb::NewsletterId), Open()->GetString(ndb::NewsletterId));
}
