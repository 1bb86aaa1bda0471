// Pictures of the effect dialogs for a look by eye, in build/Release/test-artifacts/.
#include "EffectsTestSupport.h"
#include "QueuedEvents.h"
#include "ScreenPicture.h"
#include "effects/DlgPipelineLibrary.h"
#include "effects/DlgPipelineProperties.h"
#include "effects/ImageEffectText.h"

#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "gre/GreProject.h"
#include "res/dialogs/PipelineProperties.h"
#include "services/ConceptTemplateFile.h"
#include "services/ConceptTemplateFolder.h"
#include "services/PipelineCatalogue.h"

#include <QDirIterator>
#include <QGuiApplication>

using namespace DialogTest;
using namespace EffectsTest;

namespace
{
const QString Library = QStringLiteral(KV_SOURCE_DIR "/data/library/pipelines/");

void Save(QWidget* window, const QString& name)
{
    window->grab().toImage().save(ArtifactPath(name));
}

// The shipped effect "Sale": a photo, a badge of its own and a text with a shadow.
QString StoreSale(ndb::CNdbNewsletter& newsletter)
{
    gre::CGreProject library;
    EXPECT_TRUE(library.LoadFromFile(Library + QStringLiteral("Sale.kvnlp")));
    const QString key = library.GetPipelines().begin()->first;
    library.CopyPipelineTo(newsletter.Project(), key);
    return key;
}
} // namespace

TEST(EffectPictures, EditorAndItsDialogs)
{
    ndb::CNdbNewsletter newsletter;
    FakeContext context(&newsletter);
    const QString key = StoreSale(newsletter);
    const auto image = ImageResource(160, 120);
    CDlgPipelineProperties editor(&context, key, *image);
    const auto pictureOf = [](const QString& name)
    {
        return [name](QWidget* w)
        {
            AwaitQueuedEvents();
            Save(w, name);
            Click(w, IDCANCEL);
        };
    };
    WhenModal(
        [&]
        {
            QWidget* window = QApplication::activeModalWidget();
            AwaitQueuedEvents();
            Save(window, QStringLiteral("effect-219-editor.png"));
            ModalScript script;
            script.ThenTitled(QStringLiteral("Text Layer Properties"), pictureOf("effect-246-text-layer.png"))
                .ThenTitled(QStringLiteral("Layer Effect - Drop Shadow"),
                            pictureOf("effect-252-drop-shadow.png"))
                .ThenTitled(QStringLiteral("Image Layer Properties"), pictureOf("effect-248-image-layer.png"))
                .ThenTitled(QStringLiteral("Save To Library"), pictureOf("effect-260-save-to-library.png"));
            script.Start();
            ClickRow(window, IDC_LAYER_LIST, 0);
            Click(window, IDC_EDIT_LAYER);
            Click(window, IDC_EDIT_EFFECT);
            ClickRow(window, IDC_LAYER_LIST, 1);
            Click(window, IDC_EDIT_LAYER);
            Click(window, IDC_SAVE_TO_LIBRARY);
            EXPECT_TRUE(script.Finished());
            Click(window, IDCANCEL);
        });
    editor.DoModal();

    ModalScript script;
    script.ThenTitled(QStringLiteral("Text for Image Effect"), pictureOf("effect-353-text.png"));
    script.Start();
    QString newKey;
    ChangeImageEffectText(context, key, newKey);
    EXPECT_TRUE(script.Finished());
}

TEST(EffectPictures, GalleryOfTheShippedLibrary)
{
    // Web pages show in pictures of a real display only: run under Xvfb with QT_QPA_PLATFORM=xcb.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "pictures of web pages need a display";
    CKVContext context;
    CKVWebServer server(&context);
    ASSERT_GT(server.Start(), 0);
    CConceptTemplateFolder catalogue;
    ASSERT_TRUE(LoadPipelineLibraryFolder(catalogue, Library));
    CDlgPipelineLibrary gallery(&context, &catalogue, false);
    WhenModal(
        [&]
        {
            QWidget* window = QApplication::activeModalWidget();
            QWebEngineView* view = GalleryPage(window);
            ASSERT_TRUE(view);
            ASSERT_TRUE(ClickGalleryCell(window, view, 1));
            // The gallery's pictures of the effects, in many colours, drawn in its page.
            const QRect page = AreaInWindow(view);
            QImage picture;
            const bool shown = GrabWhenShown(
                window, [&](const QImage& grab) { return DistinctColours(grab, page) > 200; }, picture);
            picture.save(ArtifactPath(QStringLiteral("effect-207-gallery.png")));
            EXPECT_TRUE(shown) << "the gallery never showed its pictures";
            Click(window, IDCANCEL);
        });
    gallery.DoModal();
}
