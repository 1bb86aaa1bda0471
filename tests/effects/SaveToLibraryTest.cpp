#include "EffectsTestSupport.h"
#include "effects/DlgPipelineProperties.h"
#include "effects/EffectLibraryFiles.h"

#include "servicesui/ServicesUiSupport.h"

#include "base/AppSettings.h"
#include "gre/GreProject.h"

#include <QDirIterator>

using namespace DialogTest;
using namespace EffectsTest;
using namespace EffectLibraryFiles;

namespace
{
constexpr int IdSaveToLibrary = 1275;
constexpr int IdName = 1333;
constexpr int IdCategory = 1565;
const QString SaveTitle = QStringLiteral("Save To Library");

class SaveToLibrary : public ::testing::Test
{
protected:
    SaveToLibrary()
    {
        WriteAppSettingString(HKEY_CURRENT_USER, QStringLiteral("PipelinesCustomPath"), m_folder.path());
    }

    // Runs the editor on a new effect, saves it with the answers the steps give the dialogs
    // that come up, and confirms the editor.
    void SaveThrough(ModalScript& script)
    {
        CDlgPipelineProperties editor(&m_context, QString(), *m_resource);
        WhenModal(
            [&]
            {
                QWidget* window = QApplication::activeModalWidget();
                script.Start();
                Click(window, IdSaveToLibrary);
                EXPECT_TRUE(script.Finished());
                Click(window, IDOK);
            });
        ASSERT_EQ(editor.DoModal(), IDOK);
        m_key = editor.GetResultKey();
    }

    QStringList Files() const { return QDir(m_folder.path()).entryList(QDir::Files, QDir::Name); }

    ServicesUi::ScopedSettings m_settings;
    QTemporaryDir m_folder;
    ndb::CNdbNewsletter m_newsletter;
    FakeContext m_context{&m_newsletter};
    std::unique_ptr<ndb::CNdbResource> m_resource = ImageResource(200, 100);
    QString m_key;
};

ModalScript::Step Answer(const QString& name, const QString& category)
{
    return [name, category](QWidget* w)
    {
        TypeOver(Item(w, IdName), name);
        TypeOver(Item(w, IdCategory), category);
        Click(w, IDOK);
    };
}

ModalScript::Step Confirm()
{
    return [](QWidget* w) { ClickButton(w, QStringLiteral("OK")); };
}

bool IsSaveDialog(QWidget* w)
{
    return w->windowTitle() == SaveTitle;
}
} // namespace

TEST(SaveToLibraryFiles, ThumbnailKeepsTheAspectRatioInSinglePrecision)
{
    const std::pair<QSize, QRect> cases[] = {
        {{160, 120}, {0, 12, 96, 72}}, {{200, 100}, {0, 24, 96, 47}}, {{100, 200}, {24, 0, 47, 96}},
        {{96, 96}, {0, 0, 96, 96}},    {{30, 30}, {0, 0, 96, 96}},    {{1, 500}, {48, 0, 0, 96}},
    };
    for (const auto& [rendered, rect] : cases)
        EXPECT_EQ(ThumbnailRect(rendered), rect) << rendered.width() << " x " << rendered.height();
}

TEST(SaveToLibraryFiles, BaseNamesStayInsideTheFolder)
{
    const ServicesUi::ScopedSettings settings;
    const std::pair<QString, bool> names[] = {
        {"Sun glow", true},
        {"../x", false},
        {"a/b", false},
        {"", false},
        {".", false},
        {"..", false},
        {QString(250, u'x'), false},
        {"..x", true},
        {QString(QChar(0)) + "a", false},
    };
    for (const auto& [name, usable] : names)
        EXPECT_EQ(IsUsableBaseName(BaseName(name)), usable) << name.toStdString();
    WriteAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("DebugMode"), 1);
    EXPECT_EQ(BaseName(QStringLiteral("_(Sun)_ glow")), QStringLiteral("Sunglow"));
    EXPECT_EQ(ThumbnailPaths(QStringLiteral("/l/"), QStringLiteral("Sunglow")),
              (QStringList{"/l/Sunglow_sv.png", "/l/Sunglow_en.png"}));
}

TEST_F(SaveToLibrary, WritesTheProjectAndItsThumbnailUnderTheName)
{
    ModalScript script;
    script.Then(IsSaveDialog, Answer(QStringLiteral("Glow"), QString()))
        .ThenShowing(QStringLiteral("Pipeline save successfully!"),
                     [](QWidget* w)
                     {
                         EXPECT_TRUE(ShowsText(w, QStringLiteral("Category: Default")));
                         Confirm()(w);
                     });
    SaveThrough(script);
    EXPECT_EQ(Files(), (QStringList{"Glow.kvnlp", "Glow_en.png"}));
    gre::CGreProject saved;
    ASSERT_TRUE(saved.LoadFromFile(m_folder.filePath(QStringLiteral("Glow.kvnlp"))));
    ASSERT_EQ(saved.GetPipelines().size(), 1u);
    const gre::CGrePipeline& pipeline = *saved.GetPipelines().begin()->second;
    EXPECT_EQ(pipeline.GetName(), QStringLiteral("Glow"));
    EXPECT_EQ(pipeline.GetCategory(), QStringLiteral("Default"));
    // The newsletter's own copy keeps no name, and OK finds it stored already.
    EXPECT_TRUE(m_newsletter.Project().GetPipeline(m_key));
    EXPECT_TRUE(m_newsletter.Project().GetPipeline(m_key)->GetName().isEmpty());
    QImage thumbnail(m_folder.filePath(QStringLiteral("Glow_en.png")));
    ASSERT_EQ(thumbnail.size(), QSize(96, 96));
    EXPECT_EQ(qAlpha(thumbnail.pixel(48, 10)), 0);
    EXPECT_EQ(qAlpha(thumbnail.pixel(48, 48)), 255);
    EXPECT_EQ(qAlpha(thumbnail.pixel(48, 85)), 0);
}

TEST_F(SaveToLibrary, NamesThatAreNoFileNameBringTheDialogBack)
{
    ModalScript script;
    script.Then(IsSaveDialog, Answer(QString(), QString()))
        .ThenShowing(QStringLiteral("You must specify a name."), Confirm())
        .ThenAgain(IsSaveDialog,
                   [](QWidget* w)
                   {
                       EXPECT_EQ(Text(w, IdCategory), QStringLiteral("Default"));
                       Answer(QStringLiteral("../x"), QStringLiteral("Mine"))(w);
                   })
        .ThenShowing(QStringLiteral("cannot be used as a file name"), Confirm())
        .ThenAgain(IsSaveDialog, Answer(QStringLiteral("a/b"), QStringLiteral("Mine")))
        .ThenShowing(QStringLiteral("cannot be used as a file name"), Confirm())
        .ThenAgain(IsSaveDialog, [](QWidget* w) { Click(w, IDCANCEL); });
    SaveThrough(script);
    EXPECT_TRUE(Files().isEmpty());
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(SaveToLibrary, MissingFolderIsReportedAsAFailure)
{
    WriteAppSettingString(HKEY_CURRENT_USER, QStringLiteral("PipelinesCustomPath"),
                          m_folder.filePath("missing"));
    ModalScript script;
    script.Then(IsSaveDialog, Answer(QStringLiteral("Glow"), QStringLiteral("Mine")))
        .ThenShowing(QStringLiteral("Failed to save pipeline."),
                     [](QWidget* w)
                     {
                         EXPECT_TRUE(ShowsText(w, QStringLiteral("Category: Mine")));
                         Confirm()(w);
                     });
    SaveThrough(script);
    EXPECT_FALSE(QDir(m_folder.filePath("missing")).exists());
}

// The shipped thumbnails are the goldens: the library tool writes them, and a change of the
// engine that alters them shows here until the tool is run again. Text edges may differ by a
// font version, so each channel may be off by 48 on at most 2 % of the pixels.
TEST(SaveToLibraryFiles, ShippedThumbnailsAreWhatTheEngineDrawsNow)
{
    const QString library = QStringLiteral(KV_SOURCE_DIR "/data/library/pipelines/");
    QDirIterator files(library, {QStringLiteral("*.kvnlp")}, QDir::Files, QDirIterator::Subdirectories);
    int checked = 0;
    while (files.hasNext())
    {
        const QString path = files.next();
        SCOPED_TRACE(path.toStdString());
        gre::CGreProject project;
        ASSERT_TRUE(project.LoadFromFile(path));
        ASSERT_EQ(project.GetPipelines().size(), 1u);
        gre::CGrePipeline& pipeline = *project.GetPipelines().begin()->second;
        const QImage drawn = MakeThumbnail(pipeline, &project.GetImages(), SamplePicture())
                                 .GetBitmap()
                                 .convertToFormat(QImage::Format_ARGB32);
        const QImage golden =
            QImage(path.chopped(6) + QStringLiteral("_en.png")).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(drawn.size(), golden.size());
        int off = 0;
        for (int y = 0; y < golden.height(); ++y)
        {
            for (int x = 0; x < golden.width(); ++x)
            {
                const QRgb a = drawn.pixel(x, y);
                const QRgb b = golden.pixel(x, y);
                if (std::abs(qRed(a) - qRed(b)) > 48 || std::abs(qGreen(a) - qGreen(b)) > 48 ||
                    std::abs(qBlue(a) - qBlue(b)) > 48 || std::abs(qAlpha(a) - qAlpha(b)) > 48)
                    ++off;
            }
        }
        EXPECT_LE(off, golden.width() * golden.height() / 50);
        ++checked;
    }
    EXPECT_GE(checked, 6);
}
