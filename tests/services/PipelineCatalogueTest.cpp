#include "ServiceSettings.h"
#include "support/ScriptedHttpServer.h"

#include "gre/GreLayerText.h"
#include "gre/GreProject.h"
#include "platform/core/AppStrings.h"
#include "services/PipelineCatalogue.h"
#include "services/TemplateCatalogue.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace
{
// A library file of one effect: a text layer in the category (empty for none).
void WriteEffect(const QString& path, const QString& name, const QString& category, const QString& text)
{
    auto pipeline = std::make_unique<gre::CGrePipeline>();
    pipeline->SetName(name);
    pipeline->SetCategory(category);
    auto layer = std::make_unique<gre::CGreLayerText>();
    layer->SetText(text);
    pipeline->GetRootGroup().AddLayer(std::move(layer));
    gre::CGreProject project;
    const QString key = pipeline->GetHashKey();
    project.SetPipeline(key, std::move(pipeline));
    ASSERT_TRUE(project.SaveToFile(path, QStringLiteral("test")));
}

void WriteText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

const CConceptTemplateFolder& FolderAt(const CConceptTemplateFolder& root, int index)
{
    return static_cast<const CConceptTemplateFolder&>(*root.GetChild(index));
}

class PipelineCatalogueTest : public testing::Test
{
protected:
    ServicesTest::ScopedSettings m_settings{true};
    QString m_folder = m_settings.Folder(QStringLiteral("effects"));

    void SetUp() override { QDir().mkpath(m_folder); }
    QString Path(const QString& name) const { return m_folder + u'/' + name; }
};
} // namespace

// Effects without a category share one "Custom" folder; the others go to the folder of their
// category, made once; the thumbnail is the last of gif, png, jpg that exists, else the
// library's default; a damaged file is left out.
TEST_F(PipelineCatalogueTest, LibraryFolderListsEachEffectInItsCategory)
{
    const QString language = GetLanguageCode();
    WriteEffect(Path("rose.kvnlp"), "Rose", "Flowers", "a");
    WriteText(Path("rose_" + language + ".png"), "png");
    WriteText(Path("rose_" + language + ".jpg"), "jpg");
    WriteEffect(Path("tulip.kvnlp"), "Tulip", "Flowers", "b");
    WriteEffect(Path("plain.kvnlp"), "Plain", "", "c");
    WriteEffect(Path("other.kvnlp"), "Other", "", "d");
    WriteText(Path("broken.kvnlp"), "GREPROJECT but nothing after it");

    CConceptTemplateFolder root;
    EXPECT_FALSE(LoadPipelineLibraryFolder(root, QString()));
    ASSERT_TRUE(LoadPipelineLibraryFolder(root, m_folder));
    ASSERT_EQ(root.GetChildCount(), 2);
    const CConceptTemplateBase* flowers = FindChildByName(root, "Flowers");
    const CConceptTemplateBase* custom = FindChildByName(root, "Custom");
    ASSERT_TRUE(flowers && custom);
    EXPECT_EQ(static_cast<const CConceptTemplateFolder*>(flowers)->GetChildCount(), 2);
    EXPECT_EQ(static_cast<const CConceptTemplateFolder*>(custom)->GetChildCount(), 2);
    EXPECT_TRUE(flowers->GetId().startsWith("CUSTOM100"));

    const auto* rose = static_cast<const CConceptTemplateFile*>(
        FindChildByName(static_cast<const CConceptTemplateFolder&>(*flowers), "Rose"));
    ASSERT_TRUE(rose);
    EXPECT_EQ(rose->GetDownloadUrl(), PathToFileUrl(Path("rose.kvnlp")));
    EXPECT_EQ(rose->GetSmallIconUrl(), PathToFileUrl(Path("rose_" + language + ".jpg")));
    EXPECT_EQ(rose->GetId().size(), 32) << "the pipeline's content key";
    const auto& plain = static_cast<const CConceptTemplateFile&>(*FolderAt(root, 0).GetChild(0));
    EXPECT_TRUE(plain.GetSmallIconUrl().endsWith("library/pipelines/kvpl_default.png"));
}

// The localisation file beside an effect names its folder and the effect; an effect whose
// category is a folder of the store's list joins that folder.
TEST_F(PipelineCatalogueTest, LocalisedNamesAndTheStoresFoldersAreUsed)
{
    ScriptedHttpServer store;
    WriteAppSettingString(HKEY_LOCAL_MACHINE, "StoreAddress", store.Url(""));
    store.SetReply("/kv/pl.asp", "<kvpipelines status=\"ok\"><folder id=\"S1\" name=\"Buttons\">"
                                 "<file id=\"X\" name=\"Store button\"/></folder></kvpipelines>");
    WriteEffect(Path("glow.kvnlp"), "_(name)_", "_(cat)_", "x");
    WriteText(Path("glow_" + GetLanguageCode() + ".xml"),
              "<zqlocalizationdata><replace key=\"name\">Sun glow</replace>"
              "<replace key=\"cat\">Glows &amp; shines</replace></zqlocalizationdata>");
    WriteEffect(Path("shiny.kvnlp"), "Shiny", "Buttons", "y");
    WriteAppSettingString(HKEY_CURRENT_USER, "PipelinesCustomPath", m_folder);

    CConceptTemplateFolder root;
    ASSERT_TRUE(LoadOnlinePipelineList(root));
    EXPECT_EQ(store.Requests().first(), "/kv/pl.asp?lang=" + GetLanguageCode());
    ASSERT_TRUE(LoadCustomPipelineLibrary(root));
    ASSERT_EQ(root.GetChildCount(), 2);
    EXPECT_EQ(FolderAt(root, 0).GetChildCount(), 2) << "Shiny joins the store's Buttons";
    EXPECT_EQ(FolderAt(root, 1).GetName(), "Glows & shines");
    const auto& glow = static_cast<const CConceptTemplateFile&>(*FolderAt(root, 1).GetChild(0));
    EXPECT_EQ(glow.GetName(), "Sun glow");
    EXPECT_EQ(glow.GetLocalisationUrl(), PathToFileUrl(Path("glow_" + GetLanguageCode() + ".xml")));

    store.SetReply("/kv/pl.asp", "<kvpipelines status=\"failed\"/>");
    CConceptTemplateFolder refused;
    EXPECT_FALSE(LoadOnlinePipelineList(refused));
}

// The gallery reads the user's effects where Save To Library writes them, whatever the setting
// holds: an empty value counts as none.
TEST_F(PipelineCatalogueTest, TheUsersLibraryFolderFollowsTheSetting)
{
    const QString documents = GetMyDocumentsFolder();
    EXPECT_EQ(GetCustomPipelineFolder(), documents) << "no setting";
    const struct
    {
        QString value;
        QString folder;
    } cases[] = {
        {"", documents},
        {m_folder, m_folder + u'/'},
        {m_folder + u'/', m_folder + u'/'},
    };
    for (const auto& c : cases)
    {
        WriteAppSettingString(HKEY_CURRENT_USER, "PipelinesCustomPath", c.value);
        EXPECT_EQ(GetCustomPipelineFolder(), c.folder) << c.value.toStdString();
    }
}
