#include "CreateDialogSupport.h"
#include "ScreenPicture.h"
#include "res/dialogs/NewsletterCreate.h"
#include "support/ScriptedHttpServer.h"

#include "base/TextHelpers.h"
#include "gre/GreLayerText.h"
#include "services/TemplateCatalogue.h"

#include <QXmlStreamReader>

using namespace ShellTest;

namespace
{
// What must come back unchanged when a newsletter is closed and opened again.
QStringList Fingerprint(const ndb::CNdbNewsletter& newsletter)
{
    QStringList parts{newsletter.GetString(ndb::NewsletterId),
                      newsletter.GetString(ndb::NewsletterName),
                      newsletter.Layout().GetString(ndb::LayoutHtml),
                      newsletter.Layout().GetString(ndb::LayoutPlainText),
                      newsletter.Sender().GetString(440),
                      QString::number(newsletter.Sender().GetInt(ndb::SenderThreads))};
    for (const auto& [key, style] : newsletter.Styles())
        parts << key + u'=' + style->GetString(ndb::StyleDisplayName) + u'/' +
                     style->GetString(ndb::StyleRuleName);
    for (int i = 0; i < newsletter.Palette().GetColorCount(); ++i)
        parts << newsletter.Palette().GetColorAt(i)->GetName() + u'=' +
                     newsletter.Palette().GetColorAt(i)->ToHex();
    for (const auto& resource : newsletter.Layout().Resources())
        parts << resource->GetString(ndb::ResourcePath) + u'=' +
                     QString::number(resource->GetPayload().size());
    for (const auto& [key, pipeline] : newsletter.Project().GetPipelines())
        parts << key + u'=' + pipeline->GetName();
    return parts;
}

// The texts of a localisation file as an XML reader of its own reads them.
std::map<QString, QString> LocalisedTexts(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::map<QString, QString> texts;
    QXmlStreamReader xml(&file);
    while (xml.readNextStartElement() || !xml.atEnd())
    {
        if (xml.isStartElement() && xml.name() == QLatin1String("replace"))
        {
            const QString key = xml.attributes().value("key").toString().toLower();
            texts[key] = xml.readElementText();
        }
    }
    return texts;
}

QString AsPageText(QString text)
{
    return text.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"));
}

// The name the gallery shows in the cell of the template.
QString GalleryCellName(CDlgNewsletterCreate& dialog, int cell)
{
    const QString script = QStringLiteral("(function(){var h=document.querySelector('#fileid%1 .file_h1');"
                                          " return h && h.firstChild ? h.firstChild.textContent : null;})()")
                               .arg(cell);
    return RunScript(dialog.GetGalleryBrowser(), script).toString();
}

class TemplateLibraryTest : public InstalledLibraryProgram
{
protected:
    ndb::CNdbNewsletter* Open() { return m_app->GetContext()->GetCurrentNewsletter(); }
};
} // namespace

TEST_F(TemplateLibraryTest, InstalledCatalogueListsEveryTemplateWithItsFiles)
{
    CConceptTemplateFolder catalogue;
    ASSERT_TRUE(LoadOfflineTemplateCatalogue(catalogue));
    ASSERT_EQ(catalogue.GetChildCount(), 3);
    EXPECT_TRUE(static_cast<CConceptTemplateFolder*>(catalogue.GetChild(0))->IsInitialFolder());
    EXPECT_EQ(catalogue.GetChild(2)->GetName(), "fromwebpage:Web Page");
    int templates = 0;
    for (int f = 0; f < 2; ++f)
    {
        auto* folder = static_cast<CConceptTemplateFolder*>(catalogue.GetChild(f));
        for (int i = 0; i < folder->GetChildCount(); ++i)
        {
            auto* file = static_cast<CConceptTemplateFile*>(folder->GetChild(i));
            SCOPED_TRACE(file->GetId().toStdString());
            ++templates;
            QFile bytes(FileUrlToPath(file->GetDownloadUrl()));
            ASSERT_TRUE(bytes.open(QIODevice::ReadOnly));
            const QByteArray content = bytes.readAll();
            EXPECT_EQ(content.size(), file->GetSize());
            EXPECT_EQ(QCryptographicHash::hash(content, QCryptographicHash::Md5).toHex(),
                      file->GetChecksum());
            EXPECT_EQ(QImage(FileUrlToPath(file->GetSmallIconUrl())).size(), QSize(202, 254));
            EXPECT_TRUE(QFileInfo::exists(FileUrlToPath(file->GetLocalisationUrl())));
            EXPECT_GT(file->GetDateCreated(), 0);
            ndb::CNdbNewsletter newsletter;
            ndb::CNdbNewsletter::ObjectMap objects;
            ndb::CNdbNewsletter::TextMap texts;
            ASSERT_TRUE(newsletter.LoadTemplate(FileUrlToPath(file->GetDownloadUrl()), objects, texts));
            EXPECT_TRUE(newsletter.Layout().GetString(ndb::LayoutHtml).contains("_(headline)_"));
        }
    }
    EXPECT_EQ(templates, 4);
    for (const char* picture : {"img/bar_bg.jpg", "img/select_frame.gif", "img/select_frame_dis.gif",
                                "img/new_en.gif", "kvct_default.png"})
        EXPECT_FALSE(QImage(GetTemplateLibraryFolder() + picture).isNull()) << picture;
}

TEST_F(TemplateLibraryTest, NewsletterFromAGalleryClickIsCreatedOpenedClosedAndReopenedEqual)
{
    CMainWnd& window = StartProgram();
    const QString path = Document("Harbour News.kvnl");
    ndb::CNdbNewsletter library;
    {
        ndb::CNdbNewsletter::ObjectMap objects;
        ndb::CNdbNewsletter::TextMap texts;
        ASSERT_TRUE(
            library.LoadTemplate(GetTemplateLibraryFolder() + "business/harbour.kvnlt", objects, texts));
    }

    const ModalWatchdog watchdog(60000);
    bool created = false;
    const auto driver = WhenModal<CDlgNewsletterCreate>(
        [&](CDlgNewsletterCreate& dialog)
        {
            ASSERT_TRUE(ClickElement(dialog.GetGalleryBrowser(), "fileid0_imgdiv"));
            ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.GetDlgItem(IDOK)->IsWindowEnabled(); }, 10000));
            EXPECT_EQ(dialog.m_selectedTemplate->GetId(), "KV_BUSINESS_HARBOUR");
            // The selection frame scrolls into view.
            EXPECT_TRUE(QTest::qWaitFor(
                [&]
                {
                    return RunScript(
                               dialog.GetGalleryBrowser(),
                               "(function () { const r = document.getElementById('fileid0_imgdiv')"
                               ".getBoundingClientRect(); return r.top >= 0 && r.bottom <= innerHeight; })()")
                        .toBool();
                },
                10000));
            EXPECT_TRUE(AwaitPaintedPage(dialog.GetGalleryBrowser().GetSafeHwnd()));
            SavePicture(dialog, "DlgNewsletterCreate-library.png");
            auto* name =
                qobject_cast<QLineEdit*>(dialog.GetDlgItem(IDC_NEWSLETTER_CREATE_NAME)->GetSafeHwnd());
            name->selectAll();
            QTest::keyClicks(name, "Harbour News");
            ClickButton(dialog, IDOK);
            created = true;
        });
    ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Create Newsletter..."}));
    ASSERT_TRUE(created);

    ndb::CNdbNewsletter* open = Open();
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->GetPath(), path);
    EXPECT_EQ(open->GetString(ndb::NewsletterId).size(), 38);
    EXPECT_NE(open->GetString(ndb::NewsletterId), library.GetString(ndb::NewsletterId));
    EXPECT_FALSE(open->IsTemplate());
    EXPECT_EQ(open->Sender().GetString(440), "newsletter/" + MakeIdentifier("Harbour News"));
    EXPECT_EQ(open->Sender().GetInt(ndb::SenderThreads), 5);
    EXPECT_EQ(open->Users().GetCount(), 0);
    const QString html = open->Layout().GetString(ndb::LayoutHtml);
    EXPECT_FALSE(html.contains("_(")) << "every token is expanded";
    EXPECT_TRUE(html.contains("A busy season at the quay"));
    EXPECT_EQ(open->FindStyleByTag("h1")->GetString(ndb::StyleDisplayName), "Heading 1");
    EXPECT_EQ(open->FindStyleByTag("h6")->GetString(ndb::StyleDisplayName), "Heading 6");
    EXPECT_EQ(open->FindStyleByTag("normal")->GetString(ndb::StyleDisplayName), "Normal");
    EXPECT_EQ(open->FindStyleByTag("c1000")->GetString(ndb::StyleDisplayName), "Caption");
    EXPECT_EQ(open->Palette().GetColorAt(0)->GetName(), "Deep Sea");
    ASSERT_EQ(open->Project().GetPipelines().size(), 1u);
    const auto& [key, pipeline] = *open->Project().GetPipelines().begin();
    EXPECT_TRUE(html.contains("?pid=" + key)) << "the banner keeps its effect";
    EXPECT_EQ(static_cast<const gre::CGreLayerText*>(pipeline->GetRootGroup().GetLayer(1))->GetText(),
              "Harbour Report");
    EXPECT_TRUE(ShownPageText(window).contains("A busy season at the quay"));
    const QStringList before = Fingerprint(*open);

    ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Close"}));
    EXPECT_EQ(Open(), nullptr);
    ModalAnswers answers;
    answers.File(path);
    ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Open..."}));
    EXPECT_TRUE(answers.Done());
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Fingerprint(*Open()), before);
}

// Each installed template, created from its cell of the gallery, shows the texts of its
// localisation file exactly as written there, its letters beyond ASCII included.
TEST_F(TemplateLibraryTest, EveryTemplateShowsItsLocalisedTextsAsWritten)
{
    CMainWnd& window = StartProgram();
    CConceptTemplateFolder catalogue;
    ASSERT_TRUE(LoadOfflineTemplateCatalogue(catalogue));
    int created = 0;
    for (int f = 0; f < catalogue.GetChildCount(); ++f)
    {
        auto* folder = dynamic_cast<CConceptTemplateFolder*>(catalogue.GetChild(f));
        for (int i = 0; folder && i < folder->GetChildCount(); ++i)
        {
            auto* file = static_cast<CConceptTemplateFile*>(folder->GetChild(i));
            SCOPED_TRACE(file->GetId().toStdString());
            const std::map<QString, QString> texts =
                LocalisedTexts(FileUrlToPath(file->GetLocalisationUrl()));
            ASSERT_FALSE(texts.empty());
            ndb::CNdbNewsletter library;
            {
                ndb::CNdbNewsletter::ObjectMap objects;
                ndb::CNdbNewsletter::TextMap templateTexts;
                ASSERT_TRUE(
                    library.LoadTemplate(FileUrlToPath(file->GetDownloadUrl()), objects, templateTexts));
            }
            const QString tokens = library.Layout().GetString(ndb::LayoutHtml).toLower();

            const ModalWatchdog watchdog(60000);
            bool chosen = false;
            const auto driver = WhenModal<CDlgNewsletterCreate>(
                [&](CDlgNewsletterCreate& dialog)
                {
                    CKVTabButtonList& tabs = dialog.GetTabStrip();
                    for (int t = 0; t < tabs.GetTabCount(); ++t)
                    {
                        if (tabs.GetTab(t)->text == folder->GetName())
                            ClickTab(dialog, tabs.GetTab(t)->commandId);
                    }
                    // The gallery loads the folder's page anew: until then the cell shows another
                    // folder's template.
                    ASSERT_TRUE(QTest::qWaitFor([&] { return GalleryCellName(dialog, i) == file->GetName(); },
                                                15000));
                    ASSERT_TRUE(
                        ClickElement(dialog.GetGalleryBrowser(), QStringLiteral("fileid%1_imgdiv").arg(i)));
                    ASSERT_TRUE(
                        QTest::qWaitFor([&] { return dialog.GetDlgItem(IDOK)->IsWindowEnabled(); }, 10000));
                    ASSERT_EQ(dialog.m_selectedTemplate->GetId(), file->GetId());
                    ClickButton(dialog, IDOK);
                    chosen = true;
                });
            ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Create Newsletter..."}));
            ASSERT_TRUE(chosen);
            ASSERT_NE(Open(), nullptr);
            ++created;

            const QString shown = ShownPageText(window);
            const QString stored = Fingerprint(*Open()).join(u'\n');
            for (const auto& [key, text] : texts)
            {
                SCOPED_TRACE(key.toStdString());
                if (tokens.contains("_(" + key + ")_"))
                {
                    EXPECT_TRUE(shown.contains(AsPageText(text))) << text.toStdString();
                }
                if (text.contains(QRegularExpression(QStringLiteral("[^\\x{0}-\\x{7F}]"))))
                {
                    EXPECT_TRUE(shown.contains(text) || stored.contains(text)) << text.toStdString();
                }
            }
            for (const QString& whole : {shown, stored})
            {
                EXPECT_FALSE(whole.contains(QChar(0x00C2))) << "no UTF-8 read as ANSI";
                EXPECT_FALSE(whole.contains(QChar::ReplacementCharacter));
            }
            ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Close"}));
        }
    }
    EXPECT_EQ(created, 4);
}
