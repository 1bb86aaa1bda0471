// The whole user path: an effect built in the editor goes into the library, is picked from the
// gallery and applied to an image of another newsletter, which the local server then serves.
#include "EffectsTestSupport.h"
#include "effects/DlgPipelineLibrary.h"
#include "effects/DlgPipelineProperties.h"

#include "servicesui/ServicesUiSupport.h"

#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "base/INetFile.h"
#include "gre/GreProject.h"
#include "services/ConceptTemplateFile.h"
#include "services/ConceptTemplateFolder.h"

using namespace DialogTest;
using namespace EffectsTest;

namespace
{
constexpr int IdLayers = 1517;
constexpr int IdEffects = 1530;
constexpr int IdAddText = 1521;
constexpr int IdAddImage = 1526;
constexpr int IdMoveUp = 1272;
constexpr int IdSaveToLibrary = 1275;

// Builds the effect in the editor as the user does; the key it was confirmed with.
QString BuildAndSaveEffect(IDialogContext& context, const ndb::CNdbResource& image, const QString& logo)
{
    ModalScript script;
    script.Then(IsFileDialog, [logo](QWidget* w) { ChooseFiles(w, {logo}); })
        .ThenTitled(QStringLiteral("Text Layer Properties"),
                    [](QWidget* w)
                    {
                        QWidget* text = Item(w, 1541);
                        TypeOver(text, QStringLiteral("Spring"));
                        Click(w, IDOK);
                    })
        .ThenTitled(QStringLiteral("Layer Effect - Drop Shadow"),
                    [](QWidget* w)
                    {
                        TypeOver(Item(w, 1535), QStringLiteral("4"));
                        TypeOver(Item(w, 1531), QStringLiteral("90"));
                        Click(w, IDOK);
                    })
        .ThenTitled(QStringLiteral("Save To Library"),
                    [](QWidget* w)
                    {
                        TypeOver(Item(w, 1333), QStringLiteral("Spring Sale"));
                        TypeOver(Item(w, 1565), QStringLiteral("Mine"));
                        Click(w, IDOK);
                    })
        .ThenShowing(QStringLiteral("Pipeline save successfully!"),
                     [](QWidget* w) { ClickButton(w, QStringLiteral("OK")); });
    CDlgPipelineProperties editor(&context, QString(), image);
    WhenModal(
        [&]
        {
            QWidget* window = QApplication::activeModalWidget();
            script.Start();
            Click(window, IdAddImage);
            Click(window, IdAddText);
            EXPECT_EQ(Rows(window, IdLayers), (QStringList{"[+Spring]", "+logo.png", "+Source Image Layer"}));
            ClickCheckBox(window, IdEffects, 0);
            Click(window, IdMoveUp); // "Spring" is at the top already: nothing moves
            ClickRow(window, IdLayers, 1);
            Click(window, IdMoveUp);
            EXPECT_EQ(Rows(window, IdLayers), (QStringList{"[+logo.png]", "+Spring", "+Source Image Layer"}));
            Click(window, IdSaveToLibrary);
            EXPECT_TRUE(script.Finished());
            Click(window, IDOK);
        });
    EXPECT_EQ(editor.DoModal(), IDOK);
    return editor.GetResultKey();
}

QImage Fetch(int port, const QString& path)
{
    CINetFile file;
    if (!file.SendRequest(QStringLiteral("127.0.0.1"), path, QString(), port) || file.GetStatusCode() != 200)
        return {};
    file.ReadResponse();
    return QImage::fromData(file.GetBody()).convertToFormat(QImage::Format_ARGB32);
}
} // namespace

TEST(EffectUserPath, EffectSavedToTheLibraryIsPickedInTheGalleryAndServedOnAnotherNewsletter)
{
    const ServicesUi::ScopedSettings settings;
    QTemporaryDir folder;
    WriteAppSettingString(HKEY_CURRENT_USER, QStringLiteral("PipelinesCustomPath"), folder.path());
    const QString logo = folder.filePath(QStringLiteral("logo.png"));
    ASSERT_TRUE(Picture(24, 24).save(logo, "PNG"));

    ndb::CNdbNewsletter first;
    FakeContext firstContext(&first);
    const auto image = ImageResource(120, 80);
    const QString firstKey = BuildAndSaveEffect(firstContext, *image, logo);
    ASSERT_FALSE(firstKey.isEmpty());
    const QString project = folder.filePath(QStringLiteral("Spring Sale.kvnlp"));
    const QString thumbnail = folder.filePath(QStringLiteral("Spring Sale_en.png"));
    ASSERT_TRUE(QFileInfo::exists(project));
    ASSERT_TRUE(QFileInfo::exists(thumbnail));

    // The second newsletter is the open document of the program, served by its local server.
    CKVContext context;
    CKVWebServer server(&context);
    const int port = server.Start();
    ASSERT_GT(port, 0);
    auto second = std::make_unique<ndb::CNdbNewsletter>();
    ndb::CNdbNewsletter* target = second.get();
    auto photo = ImageResource(90, 60);
    photo->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(QStringLiteral("image/png")));
    target->Layout().AddResource(std::move(photo));
    context.SetCurrentDocument(std::move(second));

    CConceptTemplateFolder catalogue;
    auto category = std::make_unique<CConceptTemplateFolder>();
    category->SetId(QStringLiteral("mine"));
    category->SetName(QStringLiteral("Mine"));
    auto entry = std::make_unique<CConceptTemplateFile>();
    entry->SetId(project);
    entry->SetName(QStringLiteral("Spring Sale"));
    entry->SetSmallIconUrl(thumbnail);
    category->AppendChild(std::move(entry));
    catalogue.AppendChild(std::move(category));

    CDlgPipelineLibrary gallery(&context, &catalogue, false);
    WhenModal(
        [&]
        {
            QWidget* window = QApplication::activeModalWidget();
            QWebEngineView* view = GalleryPage(window);
            ASSERT_TRUE(view);
            EXPECT_FALSE(Item(window, IDOK)->isEnabled());
            EXPECT_TRUE(ClickGalleryCell(window, view, 0));
            Click(window, IDOK);
        });
    ASSERT_EQ(gallery.DoModal(), IDOK);
    ASSERT_EQ(gallery.GetSelectedEffect(), catalogue.FindById(project));

    // As the opener does: the chosen effect goes into the newsletter's project under its key.
    gre::CGreProject library;
    ASSERT_TRUE(library.LoadFromFile(gallery.GetSelectedEffect()->GetId()));
    ASSERT_EQ(library.GetPipelines().size(), 1u);
    const QString key = library.GetPipelines().begin()->first;
    {
        const auto lock = context.WriteDocument();
        ASSERT_TRUE(library.CopyPipelineTo(target->Project(), key));
    }
    const QImage served = Fetch(port, QStringLiteral("/img/photo.png?pid=") + key);
    ASSERT_FALSE(served.isNull());
    gre::CGreImage source;
    ASSERT_TRUE(source.LoadFromBytes(PngBytes(Picture(90, 60))));
    gre::CGreImage expected;
    library.GetPipeline(key)->Render(&library.GetImages(), source, expected);
    EXPECT_EQ(served.size(), expected.GetSize());
    EXPECT_EQ(served, expected.GetBitmap().convertToFormat(QImage::Format_ARGB32));
    // The effect is more than the photo: the logo, the text and its shadow changed pixels.
    EXPECT_NE(served.copy(0, 0, 90, 60), Picture(90, 60));
    served.save(ArtifactPath(QStringLiteral("effect-served.png")));
}
