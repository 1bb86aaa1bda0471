#include "effects/ImageResources.h"

#include "servicesui/ServicesUiSupport.h"

#include "base/AppSettings.h"
#include "gre/GreLayerImage.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbStyle.h"

#include <QFileDialog>
#include <QImage>

using namespace DialogTest;

namespace
{
const QString FolderSetting = QStringLiteral("SavePath_InsertImage");

void WritePng(const QString& path, QSize size)
{
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(path, "PNG"));
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class ImageFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WritePng(Path("wide.png"), {1000, 500});
        WritePng(Path("small.png"), {30, 20});
        WriteBytes(Path("notes.txt"), "a note");
        WriteBytes(Path("empty.png"), {});
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    ServicesUi::ScopedSettings m_settings;
    QTemporaryDir m_dir;
};

QStringList FileNames(const ResourceList& resources)
{
    QStringList names;
    for (const auto& resource : resources)
        names << resource->GetString(ndb::ResourceFileName);
    return names;
}
} // namespace

TEST_F(ImageFiles, ChoosingSeveralFilesLoadsThemAllOrNone)
{
    struct Case
    {
        QStringList names;
        int flags;
        int result;
        QStringList loaded;
    };
    const Case cases[] = {
        {{"small.png", "wide.png"}, ChooseImagesOnly, ImageResourceDone, {"small.png", "wide.png"}},
        {{"notes.txt"}, 0, ImageResourceDone, {"notes.txt"}},
        // The empty file cannot become a record: nothing of the choice is kept.
        {{"small.png", "empty.png", "wide.png"}, ChooseImagesOnly, ImageResourceFailed, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.names.join(u',').toStdString());
        QStringList paths;
        for (const QString& name : c.names)
            paths << Path(name);
        ModalScript script;
        script.Then(IsFileDialog, [paths](QWidget* window) { ChooseFiles(window, paths); });
        script.Start();
        ResourceList resources;
        resources.push_back(nullptr); // what the caller had stays
        EXPECT_EQ(ChooseImageFiles(QString(), resources, c.flags), c.result);
        EXPECT_TRUE(script.Finished());
        ASSERT_FALSE(resources.empty());
        EXPECT_EQ(resources.front(), nullptr);
        resources.erase(resources.begin());
        EXPECT_EQ(FileNames(resources), c.loaded);
    }
}

TEST_F(ImageFiles, OneChosenImageIsRememberedAndOffersTheNextChoiceThere)
{
    std::unique_ptr<ndb::CNdbResource> resource;
    ModalScript first;
    first.Then(IsFileDialog,
               [this](QWidget* window)
               {
                   const QStringList filters = qobject_cast<QFileDialog*>(window)->nameFilters();
                   EXPECT_EQ(filters, QStringList(QStringLiteral("Image Files (*.gif *.jpg *.jpeg *.png)")));
                   EXPECT_EQ(qobject_cast<QFileDialog*>(window)->fileMode(), QFileDialog::ExistingFile);
                   ChooseFiles(window, {Path("wide.png")});
               });
    first.Start();
    ASSERT_EQ(ChooseImageFile(QString(), resource), ImageResourceDone);
    ASSERT_TRUE(resource);
    EXPECT_EQ(resource->GetString(ndb::ResourcePath), QStringLiteral("img/wide.png"));
    EXPECT_EQ(resource->GetInt(ndb::ResourceWidth), 1000);
    QString remembered;
    EXPECT_TRUE(ReadAppSettingString(HKEY_CURRENT_USER, FolderSetting, remembered));
    EXPECT_EQ(remembered, Path("wide.png"));

    // Without a folder of the caller's the next dialog opens where the last choice was made;
    // cancelling it changes nothing.
    QString shownFolder;
    ModalScript second;
    second.Then(IsFileDialog,
                [&shownFolder](QWidget* window)
                {
                    shownFolder = qobject_cast<QFileDialog*>(window)->directory().absolutePath();
                    qobject_cast<QFileDialog*>(window)->reject();
                });
    second.Start();
    std::unique_ptr<ndb::CNdbResource> none;
    EXPECT_EQ(ChooseImageFile(QString(), none), ImageResourceCancelled);
    EXPECT_FALSE(none);
    EXPECT_EQ(shownFolder, QFileInfo(Path("wide.png")).absolutePath());
}

TEST(ImportImageWithOptions, ImageIsFittedIntoTheLimitsWithItsAspectRatio)
{
    struct Case
    {
        ImageImportOptions options;
        QSize image;
        QSize pipeline; // empty when the image is used as it is
    };
    const Case cases[] = {
        {{1, 0, 400, 300, 400, 300}, {1000, 500}, {400, 200}},
        {{1, 0, 400, 300, 400, 300}, {300, 2000}, {}},
        {{1, 0, 400, 300, 400, 300}, {400, 20}, {}},
        {{0, 1, 400, 300, 400, 300}, {1000, 600}, {500, 300}},
        {{1, 1, 400, 300, 400, 300}, {800, 300}, {400, 150}},
        {{1, 1, 400, 300, 400, 300}, {500, 900}, {166, 300}},
        {{2, 2, 400, 300, 400, 300}, {30, 20}, {400, 300}},
        {{2, 2, 400, 300, 64, 48}, {1000, 500}, {64, 48}},
        {{0, 0, 400, 300, 400, 300}, {5000, 5000}, {}},
        // Without a known size there is nothing to fit.
        {{1, 0, 400, 300, 400, 300}, {1000, 0}, {}},
    };
    gre::CGreColor background(1, 2, 3, 0xFF);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(c.image.width()).arg(c.image.height()).toStdString());
        const auto pipeline = MakeImportPipeline(c.options, c.image, background);
        ASSERT_EQ(pipeline != nullptr, !c.pipeline.isEmpty());
        if (!pipeline)
            continue;
        EXPECT_EQ(pipeline->GetSize(), c.pipeline);
        EXPECT_EQ(pipeline->GetSizeMode(), gre::SizeModeFixed);
        EXPECT_EQ(pipeline->GetBackgroundColor(), background);
        ASSERT_EQ(pipeline->GetRootGroup().GetLayerCount(), 1);
        const auto* layer = dynamic_cast<const gre::CGreLayerImage*>(pipeline->GetRootGroup().GetLayer(0));
        ASSERT_TRUE(layer);
        EXPECT_EQ(layer->GetPlacement(), 14);
        EXPECT_TRUE(layer->IsSizeLayer());
        EXPECT_TRUE(layer->IsUseSource());
        EXPECT_EQ(layer->GetName(), QStringLiteral("Source Image Layer"));
    }
}

TEST(ImportImageWithOptions, EveryRecordGetsOneEntryOverThePageColour)
{
    const ServicesUi::ScopedSettings settings;
    WriteRegDword(HKEY_CURRENT_USER, GetAppRegistryKey(), QStringLiteral("ImportOptionsWidthSetting"), 1);
    ResourceList resources;
    const QSize sizes[] = {{1000, 500}, {}, {1000, -1}, {30, 20}};
    for (const QSize& size : sizes)
    {
        if (!size.isValid() && size.width() < 0)
        {
            resources.push_back(nullptr);
            continue;
        }
        auto resource = std::make_unique<ndb::CNdbResource>();
        resource->SetField(ndb::ResourceWidth, ndb::CNdbFieldValue(ndb::NdbValueInt, size.width()));
        if (size.height() >= 0)
            resource->SetField(ndb::ResourceHeight, ndb::CNdbFieldValue(ndb::NdbValueInt, size.height()));
        resources.push_back(std::move(resource));
    }
    struct Case
    {
        std::optional<ndb::CNdbColor> page;
        quint32 value;
        QString name;
    };
    const Case cases[] = {
        {ndb::CNdbColor(10, 20, 30), 0xFF0A141E, {}},
        {ndb::CNdbColor(QStringLiteral("{key}")), 0xFFFFFFFF, QStringLiteral("{key}")},
        {std::nullopt, 0xFFFFFFFF, {}},
    };
    for (const Case& c : cases)
    {
        ndb::CNdbNewsletter newsletter;
        if (c.page)
            newsletter.Layout().PageStyle().SetField(ndb::StyleBackgroundColor, ndb::CNdbFieldValue(*c.page));
        WhenModal([] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
        PipelineList pipelines;
        ASSERT_EQ(ImportImageWithOptions(&newsletter, resources, pipelines), ImageResourceDone);
        ASSERT_EQ(pipelines.size(), resources.size());
        ASSERT_TRUE(pipelines[0]);
        EXPECT_EQ(pipelines[0]->GetSize(), QSize(400, 200));
        EXPECT_EQ(pipelines[0]->GetBackgroundColor().GetValue(), c.value);
        EXPECT_EQ(pipelines[0]->GetBackgroundColor().GetName(), c.name);
        EXPECT_FALSE(pipelines[1] || pipelines[2] || pipelines[3]);
    }
}

TEST(ImportImageWithOptions, AsksNothingWithoutImagesAndFailsWithoutNewsletter)
{
    const ServicesUi::ScopedSettings settings;
    // A dialog that came up would be cancelled at once, and the result would show it.
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout,
                     []
                     {
                         if (QWidget* modal = QApplication::activeModalWidget())
                             QTest::keyClick(modal, Qt::Key_Escape);
                     });
    guard.start(20);
    ndb::CNdbNewsletter newsletter;
    PipelineList pipelines;
    EXPECT_EQ(ImportImageWithOptions(&newsletter, {}, pipelines), ImageResourceDone);
    ResourceList one;
    one.push_back(std::make_unique<ndb::CNdbResource>());
    EXPECT_EQ(ImportImageWithOptions(nullptr, one, pipelines), ImageResourceFailed);
    EXPECT_TRUE(pipelines.empty());
    EXPECT_EQ(ImportImageWithOptions(&newsletter, one, pipelines), ImageResourceCancelled);
    EXPECT_TRUE(pipelines.empty());
}
