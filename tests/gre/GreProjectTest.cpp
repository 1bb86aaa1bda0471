#include "GreSamples.h"
#include "GreTestSupport.h"

#include "base/PSStreamFile.h"
#include "gre/GreProject.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

using namespace gre;
using namespace GreTest;

namespace
{
std::unique_ptr<CGreImage> Picture(int width, int height, QRgb fill)
{
    auto image = std::make_unique<CGreImage>();
    EXPECT_TRUE(image->Create(width, height));
    image->GetBitmap().fill(fill);
    return image;
}

// Two images and two pipelines, each pipeline under its key.
void FillSample(CGreProject& project)
{
    project.SetImage(QStringLiteral("img-a"), Picture(3, 2, 0xFF336699));
    project.SetImage(QStringLiteral("img-b"), Picture(1, 4, 0x80FF0000));
    for (const QString& imageId : {QStringLiteral("img-a"), QStringLiteral("img-b")})
    {
        auto pipeline = SamplePipeline(imageId);
        const QString key = pipeline->GetHashKey();
        project.SetPipeline(key, std::move(pipeline));
    }
}

void ExpectSameContent(const CGreProject& read, const CGreProject& expected)
{
    ASSERT_EQ(read.GetImages().size(), expected.GetImages().size());
    for (const auto& [id, image] : expected.GetImages())
    {
        ASSERT_NE(read.GetImage(id), nullptr) << id.toStdString();
        EXPECT_EQ(read.GetImage(id)->GetBitmap(), image->GetBitmap());
    }
    ASSERT_EQ(read.GetPipelines().size(), expected.GetPipelines().size());
    for (const auto& [id, pipeline] : expected.GetPipelines())
    {
        ASSERT_NE(read.GetPipeline(id), nullptr) << id.toStdString();
        EXPECT_EQ(read.GetPipeline(id)->GetHashKey(), id);
    }
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Header(const QByteArray& tag, int major, int minor)
{
    return Int(ArchiveMagic) + QByteArray(1, '\1') + Text(tag) + Int(major) + Int(minor) + Text("") + Int(0) +
           Int(0);
}

class GreProjectFile : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }
    QString Path(const QString& name) const { return m_folder.filePath(name); }

    QTemporaryDir m_folder;
};
} // namespace

TEST(GreProject, RoundTripThroughAnArchiveInMemory)
{
    CGreProject project;
    FillSample(project);
    const QByteArray bytes = Save(project);
    // Objects carry their class names.
    EXPECT_TRUE(bytes.contains("CGreImage"));
    EXPECT_TRUE(bytes.contains("CGrePipeline"));
    EXPECT_TRUE(bytes.contains("CGreEffectDropShadow"));

    CGreProject read;
    ASSERT_TRUE(Load(bytes, read));
    ExpectSameContent(read, project);
    EXPECT_EQ(Save(read), bytes);
}

TEST(GreProject, ReadingKeepsEntriesAlreadyPresent)
{
    CGreProject project;
    FillSample(project);
    CGreProject read;
    read.SetImage(QStringLiteral("img-a"), Picture(1, 1, 0xFF000000));
    ASSERT_TRUE(Load(Save(project), read));
    EXPECT_EQ(read.GetImage(QStringLiteral("img-a"))->GetSize(), QSize(1, 1));
    EXPECT_EQ(read.GetImage(QStringLiteral("img-b"))->GetSize(), QSize(1, 4));
}

TEST(GreProject, EmptyEntriesFailTheRead)
{
    CGreProject read;
    EXPECT_FALSE(Load(Int(1) + Text("img") + Int(0) + Int(0), read));
    EXPECT_FALSE(Load(Int(0) + Int(1) + Text("key") + Int(0), read));
}

TEST(GreProject, StoringReplacesWhatTheIdHeld)
{
    CGreProject project;
    project.SetImage(QStringLiteral("a"), Picture(1, 1, 0));
    project.SetImage(QStringLiteral("a"), Picture(2, 2, 0));
    EXPECT_EQ(project.GetImage(QStringLiteral("a"))->GetSize(), QSize(2, 2));

    // Storing the object already held there keeps it.
    CGreImage* held = project.GetImage(QStringLiteral("a"));
    project.SetImage(QStringLiteral("a"), std::unique_ptr<CGreImage>(held));
    EXPECT_EQ(project.GetImage(QStringLiteral("a")), held);
    EXPECT_EQ(project.GetImage(QStringLiteral("A")), nullptr);

    project.SetPipeline(QStringLiteral("k"), SamplePipeline());
    EXPECT_FALSE(project.RemovePipeline(QStringLiteral("K")));
    EXPECT_TRUE(project.RemovePipeline(QStringLiteral("k")));
    EXPECT_EQ(project.GetPipeline(QStringLiteral("k")), nullptr);
}

TEST(GreProject, CollectsTheProjectImagesThatImageLayersName)
{
    auto pipeline = SamplePipeline(QStringLiteral("img-a"));
    auto* badge = static_cast<CGreLayerGroup*>(pipeline->GetRootGroup().GetLayer(2));
    static_cast<CGreLayerImage*>(badge->GetLayer(0))->SetImageId(QStringLiteral("source-only"));
    auto nested = std::make_unique<CGreLayerImage>();
    nested->SetUseSource(false);
    nested->SetImageId(QStringLiteral("img-c"));
    badge->AddLayer(std::move(nested));
    auto unnamed = std::make_unique<CGreLayerImage>();
    unnamed->SetUseSource(false);
    badge->AddLayer(std::move(unnamed));

    std::set<QString> ids;
    CGreProject::CollectImageIds(ids, &pipeline->GetRootGroup());
    EXPECT_EQ(ids, (std::set<QString>{QStringLiteral("img-a"), QStringLiteral("img-c")}));
}

TEST(GreProject, CopyPipelineToTakesOnlyTheImagesTheTargetLacks)
{
    CGreProject source;
    FillSample(source);
    source.SetImage(QStringLiteral("img-unused"), Picture(1, 1, 0));
    const QString key = SamplePipeline(QStringLiteral("img-a"))->GetHashKey();

    CGreProject target;
    target.SetImage(QStringLiteral("img-a"), Picture(5, 5, 0));
    EXPECT_FALSE(source.CopyPipelineTo(target, QStringLiteral("unknown")));
    ASSERT_TRUE(source.CopyPipelineTo(target, key));
    ASSERT_NE(target.GetPipeline(key), nullptr);
    EXPECT_NE(target.GetPipeline(key), source.GetPipeline(key));
    EXPECT_EQ(target.GetPipeline(key)->GetHashKey(), key);
    EXPECT_EQ(target.GetImage(QStringLiteral("img-a"))->GetSize(), QSize(5, 5));
    EXPECT_EQ(target.GetImage(QStringLiteral("img-unused")), nullptr);

    // A target that has the pipeline gets nothing, not even the images it lacks.
    CGreProject other;
    other.SetPipeline(key, std::make_unique<CGrePipeline>());
    EXPECT_TRUE(source.CopyPipelineTo(other, key));
    EXPECT_TRUE(other.GetImages().empty());

    CGreProject fresh;
    ASSERT_TRUE(source.CopyPipelineTo(fresh, key));
    ASSERT_NE(fresh.GetImage(QStringLiteral("img-a")), nullptr);
    fresh.GetImage(QStringLiteral("img-a"))->GetBitmap().fill(0);
    EXPECT_EQ(source.GetImage(QStringLiteral("img-a"))->GetBitmap().pixel(0, 0), 0xFF336699u);
}

TEST_F(GreProjectFile, EffectLibraryFileAndThumbnailRoundTrip)
{
    CGreProject library;
    auto pipeline = SamplePipeline();
    pipeline->SetName(QStringLiteral("Polaroid"));
    pipeline->SetCategory(QStringLiteral("Frames"));
    const QString key = pipeline->GetHashKey();
    library.SetImage(QStringLiteral("img-a"), Picture(3, 2, 0xFF336699));
    library.SetPipeline(key, std::move(pipeline));
    ASSERT_TRUE(library.SaveToFile(Path(QStringLiteral("Polaroid.kvnlp")), QString()));
    CGreImage thumbnail = *Picture(48, 36, 0xFFEEDDCC);
    ASSERT_TRUE(thumbnail.SaveToFile(Path(QStringLiteral("Polaroid_en.png")), QStringLiteral("image/png")));

    const QByteArray bytes = ReadAll(Path(QStringLiteral("Polaroid.kvnlp")));
    EXPECT_TRUE(bytes.startsWith(Header("GREPROJECT", 2, 0)));

    CGreProject read;
    ASSERT_TRUE(read.LoadFromFile(Path(QStringLiteral("Polaroid.kvnlp"))));
    ExpectSameContent(read, library);
    EXPECT_EQ(read.GetPipeline(key)->GetName(), QStringLiteral("Polaroid"));
    EXPECT_EQ(read.GetPipeline(key)->GetCategory(), QStringLiteral("Frames"));
    CGreImage readThumbnail;
    ASSERT_TRUE(readThumbnail.LoadFromFile(Path(QStringLiteral("Polaroid_en.png"))));
    EXPECT_EQ(readThumbnail.GetBitmap(), thumbnail.GetBitmap());
}

TEST_F(GreProjectFile, EmptyProjectIsTheHeaderAndTwoZeros)
{
    CGreProject project;
    ASSERT_TRUE(project.SaveToFile(Path(QStringLiteral("empty.kvnlp")), QStringLiteral("Kelvora")));
    const QByteArray expected = Int(ArchiveMagic) + QByteArray(1, '\1') + Text("GREPROJECT") + Int(2) +
                                Int(0) + Text("Kelvora") + Int(0) + Int(0) + Int(0) + Int(0);
    EXPECT_EQ(ReadAll(Path(QStringLiteral("empty.kvnlp"))), expected);
}

TEST_F(GreProjectFile, NewerVersionsAndOtherTypesAreRefused)
{
    struct Case
    {
        QByteArray tag;
        int major;
        int minor;
        bool accepted;
    };
    const Case cases[] = {
        {"GREPROJECT", 2, 0, true},   {"GREPROJECT", 1, 9, true},  {"GREPROJECT", 2, 1, false},
        {"GREPROJECT", 3, 0, false},  {"GREPROJECt", 2, 0, false}, {"greproject", 2, 0, false},
        {"GREPROJECTS", 2, 0, false}, {"KVN", 2, 0, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.tag.toStdString() + " " + std::to_string(c.major) + "." + std::to_string(c.minor));
        const QString path = Path(QStringLiteral("versions.kvnlp"));
        ASSERT_TRUE(WriteAll(path, Header(c.tag, c.major, c.minor) + Int(0) + Int(0)));
        CGreProject project;
        EXPECT_EQ(project.LoadFromFile(path), c.accepted);
    }
}

TEST_F(GreProjectFile, DamagedFileIsRefusedAndChangesNothing)
{
    CGreProject project;
    FillSample(project);
    const QString good = Path(QStringLiteral("good.kvnlp"));
    ASSERT_TRUE(project.SaveToFile(good, QString()));
    const QByteArray bytes = ReadAll(good);

    const QString damaged = Path(QStringLiteral("damaged.kvnlp"));
    for (qsizetype length = 0; length < bytes.size(); ++length)
    {
        ASSERT_TRUE(WriteAll(damaged, bytes.left(length)));
        CGreProject read;
        read.SetImage(QStringLiteral("mine"), Picture(1, 1, 0));
        ASSERT_FALSE(read.LoadFromFile(damaged)) << "cut at " << length;
        EXPECT_EQ(read.GetImages().size(), 1u);
        EXPECT_TRUE(read.GetPipelines().empty());
    }

    CGreProject missing;
    EXPECT_FALSE(missing.LoadFromFile(Path(QStringLiteral("none.kvnlp"))));
}

TEST_F(GreProjectFile, FailedSaveKeepsThePreviousFile)
{
    CGreProject previous;
    previous.SetImage(QStringLiteral("small"), Picture(2, 2, 0xFF00FF00));
    const QString path = Path(QStringLiteral("library.kvnlp"));
    ASSERT_TRUE(previous.SaveToFile(path, QString()));
    const QByteArray before = ReadAll(path);

    // The larger project hits a file size limit halfway through its write.
    CGreProject larger;
    larger.SetImage(QStringLiteral("large"), Picture(256, 256, 0xFF0000FF));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool saved64k = larger.SaveToFile(path, QString());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(saved64k);

    EXPECT_EQ(ReadAll(path), before);
    CGreProject read;
    ASSERT_TRUE(read.LoadFromFile(path));
    EXPECT_NE(read.GetImage(QStringLiteral("small")), nullptr);
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("library.kvnlp")});

    EXPECT_FALSE(previous.SaveToFile(Path(QStringLiteral("no/such/folder.kvnlp")), QString()));
}
