#include "ServiceSettings.h"
#include "support/ScriptedHttpServer.h"

#include "base/AppSettings.h"
#include "gre/GreLayerText.h"
#include "gre/GreProject.h"
#include "services/EffectLibraryFile.h"
#include "services/PipelineCatalogue.h"
#include "services/TemplateCatalogue.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<gre::CGrePipeline> TextEffect(const QString& name, const QString& text)
{
    auto pipeline = std::make_unique<gre::CGrePipeline>();
    pipeline->SetName(name);
    auto layer = std::make_unique<gre::CGreLayerText>();
    layer->SetText(text);
    pipeline->GetRootGroup().AddLayer(std::move(layer));
    return pipeline;
}

// A library file of one effect with a token in its name and text, and one image.
QByteArray WriteLibraryFile(const QString& path)
{
    gre::CGreProject project;
    auto pipeline = TextEffect("_(name)_", "_(text)_");
    const QString key = pipeline->GetHashKey();
    project.SetPipeline(key, std::move(pipeline));
    project.SetImage("IMG1", std::make_unique<gre::CGreImage>());
    EXPECT_TRUE(project.SaveToFile(path, "test"));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void CollectFiles(CConceptTemplateBase& entry, std::vector<CConceptTemplateFile*>& files)
{
    if (entry.IsFile())
    {
        files.push_back(static_cast<CConceptTemplateFile*>(&entry));
        return;
    }
    auto& folder = static_cast<CConceptTemplateFolder&>(entry);
    for (int i = 0; i < folder.GetChildCount(); ++i)
        CollectFiles(*folder.GetChild(i), files);
}

// A checkerboard of 10-pixel squares: scaled or cropped, it no longer lies on itself.
gre::CGreImage Checkerboard(QSize size)
{
    gre::CGreImage picture;
    picture.Create(size);
    QPainter painter(&picture.GetBitmap());
    for (int y = 0; y < size.height(); y += 10)
        for (int x = 0; x < size.width(); x += 10)
            painter.fillRect(x, y, 10, 10,
                             (x + y) % 20 ? QColor(0xC0, 0x20, 0x20) : QColor(0x20, 0x40, 0xC0));
    return picture;
}

// The share of the picture's pixels that the rendered effect shows unchanged at the offset.
double UnchangedShare(const QImage& picture, const QImage& rendered, QPoint offset)
{
    int same = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            same += rendered.valid(offset + QPoint(x, y)) &&
                    rendered.pixel(offset + QPoint(x, y)) == picture.pixel(x, y);
    return double(same) / double(picture.width() * picture.height());
}

QStringList LeftoverDownloads()
{
    return QDir(GetTempFolder()).entryList({"_pl_tmp_*"}, QDir::Files);
}
} // namespace

// A library effect is localised, then joins the newsletter's project: the pipeline under its
// new key, the image once; an effect the project holds already is reused.
TEST(EffectLibraryFile, LibraryEffectIsLocalisedAndJoinsTheProjectOnce)
{
    ServicesTest::ScopedSettings settings(true);
    const QString path = settings.Folder("glow.kvnlp");
    WriteLibraryFile(path);
    QFile localisation(settings.Folder("glow_en.xml"));
    ASSERT_TRUE(localisation.open(QIODevice::WriteOnly));
    localisation.write("<zqlocalizationdata><replace key=\"name\">Glow</replace>"
                       "<replace key=\"text\">Summer sale</replace></zqlocalizationdata>");
    localisation.close();
    CConceptTemplateFile entry;
    entry.SetDownloadUrl(PathToFileUrl(path));
    entry.SetLocalisationUrl(PathToFileUrl(localisation.fileName()));

    gre::CGreProject newsletterProject;
    for (int round = 0; round < 2; ++round)
    {
        gre::CGreProject loaded;
        ASSERT_EQ(EffectLibraryFile::Load(entry, loaded), 0u);
        ASSERT_EQ(loaded.GetPipelines().size(), 1u);
        const QString key = EffectLibraryFile::Localise(entry, loaded);
        const gre::CGrePipeline* pipeline = loaded.GetPipeline(key);
        ASSERT_TRUE(pipeline);
        EXPECT_EQ(pipeline->GetName(), "Glow");
        EXPECT_EQ(static_cast<const gre::CGreLayerText*>(pipeline->GetRootGroup().GetLayer(0))->GetText(),
                  "Summer sale");
        EffectLibraryFile::MoveInto(loaded, newsletterProject);
        EXPECT_EQ(key, TextEffect("Glow", "Summer sale")->GetHashKey());
        EXPECT_NE(newsletterProject.GetPipeline(key), nullptr);
    }
    EXPECT_EQ(newsletterProject.GetPipelines().size(), 1u);
    EXPECT_EQ(newsletterProject.GetImages().size(), 1u);
    EXPECT_TRUE(QFile::exists(path)) << "a library file stays";
}

// A store effect comes through a temporary file that is gone afterwards, whatever happened;
// each failure has its message.
TEST(EffectLibraryFile, StoreEffectsAreDownloadedCheckedAndRefusedWithTheirMessages)
{
    ServicesTest::ScopedSettings settings(true);
    ScriptedHttpServer store;
    WriteAppSettingString(HKEY_LOCAL_MACHINE, "StoreAddress", store.Url(""));
    const QByteArray bytes = WriteLibraryFile(settings.Folder("served.kvnlp"));
    const QString md5 = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
    ScriptedHttpServer::Route file;
    file.file = settings.Folder("served.kvnlp");
    store.SetRoute("/effects/glow.kvnlp", file);
    const auto info = [&](const QString& address, const QString& checksum)
    {
        return QStringLiteral("<kvpipelines status=\"ok\"><file id=\"P1\" filedownloadurl=\"%1\" "
                              "filesizeinbytes=\"%2\" md5checksum=\"%3\"/></kvpipelines>")
            .arg(address)
            .arg(bytes.size())
            .arg(checksum);
    };
    const struct
    {
        QString reply;
        int status;
        quint32 message;
        size_t pipelines;
    } cases[] = {
        {info(store.Url("/effects/glow.kvnlp"), md5), 200, 0, 1},
        {info(store.Url("/effects/glow.kvnlp"), QString(32, '0')), 200, 15034, 0},
        {info(store.Url("/effects/missing.kvnlp"), md5), 200, 15034, 0},
        {info("not an address", md5), 200, 15033, 0},
        {info(store.Url("/effects/glow.kvnlp"), md5), 500, 15032, 0},
        {"<kvpipelines status=\"failed\"/>", 200, 15032, 0},
    };
    store.SetReply("*", "", 404);
    for (const auto& c : cases)
    {
        store.SetReply("/kv/pl.asp", c.reply, c.status);
        CConceptTemplateFile entry;
        entry.SetId("P1");
        gre::CGreProject loaded;
        EXPECT_EQ(EffectLibraryFile::Load(entry, loaded), c.message) << c.reply.toStdString();
        EXPECT_EQ(loaded.GetPipelines().size(), c.pipelines);
        EXPECT_TRUE(LeftoverDownloads().isEmpty()) << LeftoverDownloads().join(' ').toStdString();
    }
}

// A library file may hold more pipelines than its effect. Localising changes the keys, and with
// them their order: the effect applied is still the file's own.
TEST(EffectLibraryFile, TheFilesOwnEffectAppliesAfterLocalisation)
{
    ServicesTest::ScopedSettings settings(true);
    const QString path = settings.Folder("pair.kvnlp");
    const QString localisation = settings.Folder("pair_en.xml");
    // Texts whose keys put the effect first before localisation and last after it.
    for (int attempt = 0; attempt < 200; ++attempt)
    {
        auto effect = TextEffect("Effect", "_(text)_");
        auto other = TextEffect("Other", QStringLiteral("plain %1").arg(attempt));
        const QString localised = TextEffect("Effect", QStringLiteral("Sale %1").arg(attempt))->GetHashKey();
        if (!(effect->GetHashKey() < other->GetHashKey() && other->GetHashKey() < localised))
            continue;
        gre::CGreProject project;
        const QString effectKey = effect->GetHashKey();
        const QString otherKey = other->GetHashKey();
        project.SetPipeline(effectKey, std::move(effect));
        project.SetPipeline(otherKey, std::move(other));
        ASSERT_TRUE(project.SaveToFile(path, "test"));
        QFile file(localisation);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("<zqlocalizationdata><replace key=\"text\">Sale %1</replace>"
                                  "</zqlocalizationdata>")
                       .arg(attempt)
                       .toUtf8());
        file.close();

        CConceptTemplateFile entry;
        entry.SetDownloadUrl(PathToFileUrl(path));
        entry.SetLocalisationUrl(PathToFileUrl(localisation));
        gre::CGreProject loaded;
        ASSERT_EQ(EffectLibraryFile::Load(entry, loaded), 0u);
        EXPECT_EQ(EffectLibraryFile::Localise(entry, loaded), localised);
        EXPECT_NE(EffectLibraryFile::EffectKey(loaded), localised) << "no longer the first key";
        return;
    }
    FAIL() << "no texts found whose keys change their order";
}

// Every effect of the installed library keeps the size of the picture it is put on, with the
// room its own margins ask for around it, and shows the picture unscaled: none has a size of its
// own.
TEST(EffectLibraryFile, ShippedEffectsKeepTheSizeOfThePicture)
{
    ServicesTest::ScopedSettings settings(true);
    CConceptTemplateFolder catalogue;
    ASSERT_TRUE(
        LoadPipelineLibraryFolder(catalogue, QStringLiteral(KV_SOURCE_DIR "/data/library/pipelines/")));
    std::vector<CConceptTemplateFile*> files;
    CollectFiles(catalogue, files);
    ASSERT_EQ(files.size(), 6u);
    const gre::CGreImage banner = Checkerboard(QSize(600, 170));
    for (CConceptTemplateFile* entry : files)
    {
        SCOPED_TRACE(entry->GetName().toStdString());
        gre::CGreProject loaded;
        ASSERT_EQ(EffectLibraryFile::Load(*entry, loaded), 0u);
        gre::CGrePipeline* effect = loaded.GetPipeline(EffectLibraryFile::Localise(*entry, loaded));
        ASSERT_NE(effect, nullptr);
        gre::CGreImage rendered;
        effect->Render(&loaded.GetImages(), banner, rendered);
        const QMargins room = effect->GetSizeLayer()->GetMargins();
        EXPECT_EQ(rendered.GetSize(),
                  QSize(600 + room.left() + room.right(), 170 + room.top() + room.bottom()));
        EXPECT_GT(UnchangedShare(banner.GetBitmap(), rendered.GetBitmap(), QPoint(room.left(), room.top())),
                  0.8);
    }
}
