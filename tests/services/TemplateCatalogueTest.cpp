#include "ServiceSettings.h"
#include "support/ScriptedHttpServer.h"

#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"
#include "services/TemplateCatalogue.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace
{
bool ReadCatalogue(const QString& xml, CConceptTemplateFolder& root)
{
    CX2Validator document;
    document.Parse(xml, CX2TransformXmlFennick());
    return ReadCatalogueDocument(document, QStringLiteral("kvconcepttemplates"), root);
}

QString Catalogue(const QString& body, const QString& status = QStringLiteral("ok"))
{
    return QStringLiteral("<?xml version=\"1.0\"?><kvconcepttemplates status=\"%1\">%2</kvconcepttemplates>")
        .arg(status, body);
}

void WriteTemplate(const QString& path, const QString& name)
{
    ndb::CNdbNewsletter newsletter(name);
    newsletter.SetField(ndb::NewsletterTemplateFlag, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
    ASSERT_TRUE(newsletter.SaveTemplate(path, {}, {}, QStringLiteral("test")));
}

void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
}

class TemplateCatalogueTest : public testing::Test
{
protected:
    ServicesTest::ScopedSettings m_settings{true};
    // ".kvnlt" inside a folder name must not disturb the look-ups beside a template.
    QString m_custom = m_settings.Folder(QStringLiteral("custom.kvnlt.d"));

    void SetUp() override
    {
        QDir().mkpath(m_custom);
        WriteAppSettingString(HKEY_CURRENT_USER, QStringLiteral("ConceptTemplatesCustomPath"), m_custom);
    }
};
} // namespace

TEST(TemplateCatalogueReader, ReadsEntriesAttributesAndNestingAsWritten)
{
    CConceptTemplateFolder root;
    ASSERT_TRUE(
        ReadCatalogue(Catalogue("text<!-- c --><other id=\"o\"/>"
                                "<folder id=\"F1\" name=\"News &amp; more\" initialfolder=\"yes\" "
                                "datecreated=\"2007,5,1,0,0,0\" lanugage=\"en\" language=\"de\">"
                                "<file id=\"T1\" filesizeinbytes=\"  +1234kb\" md5checksum=\"abc\" "
                                "filedownloadurl=\"$root_ct$a.kvnlt\" iconsmallurl=\"$root_ct$a.png\" "
                                "demourl=\"http://x/\" copyright=\"(c)\" author=\"A\" authorcompany=\"B\" "
                                "localizationurl=\"$root_ct$a_en.xml\" description=\"d\">"
                                "<folder id=\"INNER\"/></file>"
                                "<folder id=\"F2\" initialfolder=\"Yes\" datecreated=\"2007-05-01\">"
                                "<file id=\"T2\"/></folder></folder><file id=\"TOP\"/>"),
                      root));
    ASSERT_EQ(root.GetChildCount(), 2);
    auto* folder = static_cast<CConceptTemplateFolder*>(root.GetChild(0));
    ASSERT_TRUE(folder->IsFolder());
    EXPECT_EQ(folder->GetName(), "News & more");
    EXPECT_TRUE(folder->IsInitialFolder());
    EXPECT_EQ(folder->GetLanguage(), "en");
    EXPECT_EQ(folder->GetDateCreated(), QDateTime(QDate(2007, 5, 1), QTime(0, 0)).toSecsSinceEpoch());
    ASSERT_EQ(folder->GetChildCount(), 2);

    auto* file = static_cast<CConceptTemplateFile*>(folder->GetChild(0));
    ASSERT_TRUE(file->IsFile());
    const QString library = PathToFileUrl(GetTemplateLibraryFolder());
    EXPECT_EQ(file->GetSize(), 1234);
    EXPECT_EQ(file->GetChecksum(), "abc");
    EXPECT_EQ(file->GetDownloadUrl(), library + "a.kvnlt");
    EXPECT_EQ(file->GetSmallIconUrl(), library + "a.png");
    EXPECT_EQ(file->GetLocalisationUrl(), library + "a_en.xml");
    EXPECT_EQ(file->GetDemoUrl(), "http://x/");
    EXPECT_EQ(file->GetCopyright(), "(c)");
    EXPECT_EQ(file->GetAuthor(), "A");
    EXPECT_EQ(file->GetAuthorCompany(), "B");
    EXPECT_EQ(file->GetDescription(), "d");
    EXPECT_EQ(root.FindById("INNER"), nullptr) << "a file's child nodes are not read";

    auto* inner = static_cast<CConceptTemplateFolder*>(folder->GetChild(1));
    EXPECT_FALSE(inner->IsInitialFolder()) << "only \"yes\" sets the flag";
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    EXPECT_NEAR(double(inner->GetDateCreated()), double(now), 5.0)
        << "a date with hyphens is the time of reading";
    EXPECT_EQ(root.FindById("T2"), inner->GetChild(0));
    EXPECT_EQ(root.FindById("F2"), inner);
    EXPECT_EQ(root.FindById("TOP"), root.GetChild(1));
    EXPECT_EQ(root.FindById("t2"), nullptr) << "ids compare case-sensitively";
}

TEST(TemplateCatalogueReader, RefusesDocumentsWithoutRootOrOkStatus)
{
    for (const QString& xml : {Catalogue("<file id=\"a\"/>", "OK"), Catalogue("<file id=\"a\"/>", ""),
                               QStringLiteral("<kvpipelines status=\"ok\"><file id=\"a\"/></kvpipelines>"),
                               QStringLiteral("not xml at all")})
    {
        CConceptTemplateFolder root;
        EXPECT_FALSE(ReadCatalogue(xml, root)) << xml.toStdString();
    }
}

TEST(TemplateCatalogueReader, FileUrlsRoundTripAbsolutePaths)
{
    const struct
    {
        QString path;
        QString url;
    } cases[] = {
        {"/home/a b/x.kvnlt", "file:///home/a b/x.kvnlt"}, {"/", "file:///"}, {"/tmp/", "file:///tmp/"}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(PathToFileUrl(c.path), c.url);
        EXPECT_EQ(FileUrlToPath(c.url), c.path);
    }
}

TEST(TemplateCatalogueFolder, InsertChildPlacesBeforeIndexOrAppends)
{
    const struct
    {
        int index;
        QString order;
    } cases[] = {{0, "NAB"}, {1, "ANB"}, {2, "ABN"}, {7, "ABN"}, {-1, "ABN"}};
    for (const auto& c : cases)
    {
        CConceptTemplateFolder root;
        for (const char* id : {"A", "B"})
            root.AppendChild(std::make_unique<CConceptTemplateFolder>())->SetId(id);
        auto entry = std::make_unique<CConceptTemplateFile>();
        entry->SetId("N");
        root.InsertChild(std::move(entry), c.index);
        QString order;
        for (int i = 0; i < root.GetChildCount(); ++i)
            order += root.GetChild(i)->GetId();
        EXPECT_EQ(order, c.order) << c.index;
    }
}

TEST_F(TemplateCatalogueTest, CustomTemplatesGetNumberedIdsThumbnailsAndLocalisation)
{
    CConceptTemplateFolder empty;
    EXPECT_TRUE(AddCustomTemplates(empty));
    EXPECT_EQ(empty.GetChildCount(), 0) << "no folder without templates";

    WriteTemplate(m_custom + "/one.kvnlt", "One");
    Touch(m_custom + "/one.gif");
    Touch(m_custom + "/one.jpg");
    Touch(m_custom + "/one_" + GetLanguageCode() + ".xml");
    WriteTemplate(m_custom + "/two.kvnlt", "Two");
    Touch(m_custom + "/broken.kvnlt");

    CConceptTemplateFolder root;
    root.AppendChild(std::make_unique<CConceptTemplateFolder>())->SetId("STORE");
    ASSERT_TRUE(AddCustomTemplates(root));
    ASSERT_EQ(root.GetChildCount(), 2);
    auto* custom = static_cast<CConceptTemplateFolder*>(root.GetChild(1));
    EXPECT_EQ(custom->GetId(), "CUSTOMFOLDER");
    EXPECT_EQ(custom->GetName(), LoadAppString(12906));
    ASSERT_EQ(custom->GetChildCount(), 2);
    QStringList ids;
    for (int i = 0; i < 2; ++i)
    {
        auto* file = static_cast<CConceptTemplateFile*>(custom->GetChild(i));
        ids << file->GetId();
        const QString base = m_custom + "/" + file->GetName().toLower();
        EXPECT_EQ(file->GetDownloadUrl(), PathToFileUrl(base + ".kvnlt"));
        EXPECT_EQ(file->GetSize(), QFileInfo(base + ".kvnlt").size());
        if (file->GetName() == "One")
        {
            EXPECT_EQ(file->GetSmallIconUrl(), PathToFileUrl(base + ".jpg")) << ".jpg wins over .gif";
            EXPECT_EQ(file->GetLocalisationUrl(), PathToFileUrl(base + "_" + GetLanguageCode() + ".xml"));
        }
        else
        {
            EXPECT_EQ(file->GetSmallIconUrl(),
                      PathToFileUrl(GetTemplateLibraryFolder() + "kvct_default.png"));
            EXPECT_EQ(file->GetLocalisationUrl(), QString());
        }
    }
    ids.sort();
    EXPECT_EQ(ids, QStringList({"CUSTOM_2", "CUSTOM_3"}));
}

TEST_F(TemplateCatalogueTest, CustomFolderGoesWhereTheIndexSays)
{
    WriteTemplate(m_custom + "/one.kvnlt", "One");
    WriteAppSettingString(HKEY_CURRENT_USER, "ConceptTemplatesCustomName", "Mine");
    const struct
    {
        qint64 index; // -1: no setting
        int position;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {99, 2}, {-1, 2}};
    for (const auto& c : cases)
    {
        if (c.index < 0)
            DeleteRegValueInUser(GetAppRegistryKey(), "ConceptTemplatesCustomIndex");
        else
            WriteAppSettingDword(HKEY_CURRENT_USER, "ConceptTemplatesCustomIndex", quint32(c.index));
        CConceptTemplateFolder root;
        for (const char* id : {"A", "B"})
            root.AppendChild(std::make_unique<CConceptTemplateFolder>())->SetId(id);
        AddCustomTemplates(root);
        ASSERT_EQ(root.GetChildCount(), 3);
        EXPECT_EQ(root.GetChild(c.position)->GetId(), "CUSTOMFOLDER") << c.index;
        EXPECT_EQ(root.GetChild(c.position)->GetName(), "Mine");
    }
}

TEST_F(TemplateCatalogueTest, OnlineCatalogueAndFileInformationComeFromTheStore)
{
    ScriptedHttpServer store;
    WriteAppSettingString(HKEY_LOCAL_MACHINE, "StoreAddress", store.Url(""));
    store.SetReply("/kv/ct.asp",
                   Catalogue("<folder id=\"F\"><file id=\"a&amp;b\" filesizeinbytes=\"1\"/></folder>"));
    CConceptTemplateFolder root;
    ASSERT_TRUE(LoadOnlineTemplateCatalogue(root));
    auto* file = static_cast<CConceptTemplateFile*>(root.FindById("a&b"));
    ASSERT_NE(file, nullptr);

    const struct
    {
        QString reply;
        bool ok;
    } replies[] = {
        {Catalogue("<folder><file id=\"other\" filedownloadurl=\"u\" filesizeinbytes=\"9\"/>"
                   "<file id=\"a&amp;b\" filedownloadurl=\"u\" filesizeinbytes=\"9\"/></folder>"),
         false},
        {Catalogue("<file id=\"a&amp;b\" filedownloadurl=\"\" filesizeinbytes=\"9\"/>"), false},
        {Catalogue("<file id=\"a&amp;b\" filedownloadurl=\"u\"/>"), false},
        {Catalogue("<file id=\"a&amp;b\" filedownloadurl=\"u\" filesizeinbytes=\"9\"/>", "OK"), false},
        {Catalogue("<file id=\"a&amp;b\" filedownloadurl=\"$root_ct$x\" filesizeinbytes=\"77\" "
                   "localizationurl=\"l\" md5checksum=\"m\"/>"),
         true},
    };
    for (const auto& r : replies)
    {
        store.SetReply("/kv/ct.asp", r.reply);
        EXPECT_EQ(FetchCatalogueFileInfo(*file, 0), r.ok) << r.reply.toStdString();
        EXPECT_EQ(file->GetSize(), r.ok ? 77 : 1) << "a refused reply leaves the entry as it was";
    }
    EXPECT_EQ(file->GetDownloadUrl(), "$root_ct$x") << "file information is taken as it is";
    EXPECT_EQ(file->GetLocalisationUrl(), "l");
    EXPECT_EQ(file->GetChecksum(), "m");
    EXPECT_EQ(store.Requests().first(), "/kv/ct.asp?lang=" + GetLanguageCode());
    EXPECT_EQ(store.Requests().last(), "/kv/ct.asp?lang=" + GetLanguageCode() + "&fileid=a%26b")
        << "the id is percent-encoded";

    store.SetReply("/kv/pl.asp", "<kvpipelines status=\"ok\"><file id=\"a&amp;b\" filedownloadurl=\"p\" "
                                 "filesizeinbytes=\"5\"/></kvpipelines>");
    EXPECT_TRUE(FetchCatalogueFileInfo(*file, 1));
    EXPECT_EQ(file->GetDownloadUrl(), "p");
}

TEST_F(TemplateCatalogueTest, OfflineCatalogueIsReadFromTheLibraryWhenTheStoreIsDown)
{
    ScriptedHttpServer store;
    WriteAppSettingString(HKEY_LOCAL_MACHINE, "StoreAddress", store.Url(""));
    store.SetReply("/kv/ct.asp", Catalogue("<folder id=\"F\"/>"), 500);
    CConceptTemplateFolder online;
    EXPECT_FALSE(LoadOnlineTemplateCatalogue(online));

    CConceptTemplateFolder offline;
    EXPECT_FALSE(LoadOfflineTemplateCatalogue(offline)) << "no file yet";
    QDir().mkpath(GetTemplateLibraryFolder());
    QFile file(GetTemplateLibraryFolder() + "kvct_" + GetLanguageCode() + ".xml");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Catalogue("<folder id=\"OFF\"/>").toUtf8());
    file.close();
    ASSERT_TRUE(LoadOfflineTemplateCatalogue(offline));
    EXPECT_NE(offline.FindById("OFF"), nullptr);
}
