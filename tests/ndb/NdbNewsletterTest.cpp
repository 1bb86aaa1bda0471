#include "ndb/NdbNewsletter.h"
#include "ndb/NdbMailGroup.h"
#include "ndb/NdbShortcuts.h"

#include "gre/GreSamples.h"
#include "ndb/NdbFileHelpers.h"

#include <gtest/gtest.h>

using namespace ndb;
using NdbTest::Int;
using NdbTest::Text;

namespace
{
const QString Heading2Key = QStringLiteral("{209CCC29-A9B4-45AA-9A22-4595D34FD885}");
const QString NormalKey = QStringLiteral("{016B14AA-389E-408C-A753-FEBD03303CF1}");

std::unique_ptr<gre::CGreImage> Picture(int width, int height, QRgb fill)
{
    auto image = std::make_unique<gre::CGreImage>();
    EXPECT_TRUE(image->Create(width, height));
    image->GetBitmap().fill(fill);
    return image;
}

std::unique_ptr<CNdbResource> Resource(const QString& path, const QByteArray& payload)
{
    auto resource = std::make_unique<CNdbResource>();
    resource->SetField(ResourcePath, CNdbFieldValue(path));
    resource->SetField(ResourceFileName, CNdbFieldValue(path.section(u'/', -1)));
    resource->SetField(ResourceSize, CNdbFieldValue(NdbValueInt, static_cast<int>(payload.size())));
    resource->SetPayload(payload);
    return resource;
}

// A newsletter with something in every member.
std::unique_ptr<CNdbNewsletter> SampleNewsletter()
{
    auto letter = std::make_unique<CNdbNewsletter>(QStringLiteral("Spring news"));
    letter->SetField(NewsletterId, CNdbFieldValue(u"{LETTER}"));
    letter->SetField(NewsletterImportance, CNdbFieldValue(NdbValueIntCode, 1));
    letter->SetField(NewsletterCreated, CNdbFieldValue(QDateTime(QDate(2007, 3, 1), QTime(9, 15, 30))));
    letter->SetField(NewsletterLastClassStyle, CNdbFieldValue(NdbValueInt, 3));

    letter->Project().SetImage(QStringLiteral("img-a"), Picture(2, 2, 0xFF336699));
    auto pipeline = GreTest::SamplePipeline(QStringLiteral("img-a"));
    const QString pipelineKey = pipeline->GetHashKey();
    letter->Project().SetPipeline(pipelineKey, std::move(pipeline));

    CNdbLayout& layout = letter->Layout();
    layout.SetField(LayoutHtml, CNdbFieldValue(u"<h1>Spring</h1><p><span name=\"fc_130\">Ann</span></p>"));
    layout.SetField(LayoutPlainText, CNdbFieldValue(u"Spring"));
    layout.AddResource(Resource(QStringLiteral("img/logo.png"), QByteArray("\x89PNG\r\n\x1a\n", 8)));
    layout.Attachments().push_back(Resource(QStringLiteral("files/terms.pdf"), "%PDF-1.4"));
    layout.PageStyle().SetField(StyleMarginTop, CNdbFieldValue(8.0f, NdbUnitPx));

    auto classStyle = std::make_unique<CNdbStyle>();
    classStyle->SetField(StyleRuleName, CNdbFieldValue(u"c3"));
    classStyle->SetField(StyleColor, CNdbFieldValue(CNdbColor(QStringLiteral("{BRAND}"))));
    letter->SetStyle(QStringLiteral("{CLASS-3}"), std::move(classStyle));
    letter->EnsureDefaultStyles();
    letter->Palette().AddColor(QStringLiteral("Brand"), QStringLiteral("{BRAND}"), CNdbRgba(10, 20, 30, 255));

    for (const char* email : {"ann@example.com", "bob@example.com"})
    {
        auto user = std::make_unique<CNdbUser>();
        user->SetField(UserEmail, CNdbFieldValue(QString::fromLatin1(email)));
        user->SetField(UserFirstName, CNdbFieldValue(QString::fromLatin1(email).section(u'@', 0, 0)));
        letter->Users().AddUser(std::move(user));
    }
    letter->Log().CountAttempt(QStringLiteral("ann@example.com"));
    letter->Log().SetStatus(NdbSendSent, QStringLiteral("ann@example.com"));
    letter->Log().SetStatus(NdbSendPending, QStringLiteral("bob@example.com"));

    letter->Sender().SetField(SenderFromAddress, CNdbFieldValue(u"news@example.com"));
    letter->Sender().SetField(SenderRelayPort, CNdbFieldValue(NdbValueInt, 587));
    letter->HandledBounces()[QStringLiteral("msg-1")] = true;
    return letter;
}

QByteArray Bytes(CNdbNewsletter& letter)
{
    return NdbTest::Write(
        [&letter](CPSArchive& archive)
        {
            archive.SetVersion(CPSArchive::MakeVersion(2007, 2));
            letter.Serialize(archive);
        });
}

class NdbNewsletterFile : public NdbTest::FileTest
{
protected:
    QString SavedSample(const QString& name)
    {
        const QString path = Path(name);
        EXPECT_TRUE(SampleNewsletter()->Save(path, QStringLiteral("Kelvora"), 2007, 1));
        return path;
    }
};
} // namespace

TEST(NdbNewsletter, NewNewsletterHasNameAndNoStyles)
{
    const CNdbNewsletter named(QStringLiteral("Hello"));
    EXPECT_EQ(named.GetKind(), NdbKindNewsletter);
    EXPECT_EQ(named.GetString(NewsletterName), "Hello");
    EXPECT_EQ(named.GetFields().size(), 1u);
    EXPECT_TRUE(named.Styles().empty());
    EXPECT_FALSE(named.IsModified());
    EXPECT_FALSE(named.IsTemplate());
    EXPECT_EQ(named.Layout().PageStyle().GetFields().size(), 4u);
    EXPECT_TRUE(CNdbNewsletter().GetFields().empty());
}

TEST(NdbNewsletter, TypeCheckFollowsTheFieldTable)
{
    CNdbNewsletter letter;
    const QDateTime now = QDateTime::currentDateTime();
    EXPECT_TRUE(letter.SetField(NewsletterImportance, CNdbFieldValue(NdbValueIntCode, 2)));
    EXPECT_FALSE(letter.SetField(NewsletterImportance, CNdbFieldValue(NdbValueInt, 2)));
    EXPECT_TRUE(letter.SetField(NewsletterCreated, CNdbFieldValue(now)));
    EXPECT_TRUE(letter.SetField(NewsletterTime200, CNdbFieldValue(now)));
    EXPECT_FALSE(letter.SetField(NewsletterCreated, CNdbFieldValue(u"today")));
    EXPECT_TRUE(letter.SetField(NewsletterTemplateFlag, CNdbFieldValue(NdbValueBool, 1)));
    EXPECT_TRUE(letter.SetField(NewsletterFlag510, CNdbFieldValue(NdbValueBool, 0)));
    EXPECT_FALSE(letter.SetField(NewsletterFlag510, CNdbFieldValue(NdbValueInt, 0)));
    EXPECT_TRUE(letter.SetField(NewsletterLastClassStyle, CNdbFieldValue(NdbValueInt, 4)));
    EXPECT_FALSE(letter.SetField(NewsletterLastClassStyle, CNdbFieldValue(u"4")));
    EXPECT_FALSE(letter.SetField(NewsletterPath, CNdbFieldValue(NdbValueBool, 1)));
    EXPECT_TRUE(letter.SetField(NewsletterPath, CNdbFieldValue(u"/home/u/Spring.kvnl")));
    EXPECT_TRUE(letter.SetField(777, CNdbFieldValue(u"any")));
    EXPECT_EQ(letter.GetPath(), "/home/u/Spring.kvnl");
    EXPECT_TRUE(letter.IsTemplate());
}

TEST(NdbNewsletter, DefaultStylesHoldTheirPresets)
{
    CNdbNewsletter letter;
    letter.EnsureDefaultStyles();
    ASSERT_EQ(letter.Styles().size(), 7u);

    struct Expected
    {
        const char* key;
        const char* name;
        const char* element;
        const char* family;
        const char* size;
        int weight;
        int style;
        const char* top;
        const char* bottom;
    };
    const Expected presets[] = {
        {"{1B143B6C-323B-42D7-82D7-1D9EF454DBA4}", "Heading 1", "h1", "Arial, Verdana", "15pt", 1, 0, "12px",
         "3px"},
        {"{209CCC29-A9B4-45AA-9A22-4595D34FD885}", "Heading 2", "h2", "Arial, Verdana", "13pt", 1, 1, "12px",
         "3px"},
        {"{36628ABD-9793-4793-BDC0-135DD9F25EDF}", "Heading 3", "h3", "Arial, Verdana", "12pt", 1, 0, "12px",
         "3px"},
        {"{4E229165-DA33-4097-BB57-AA5371296448}", "Heading 4", "h4", "Verdana", "11pt", 1, 0, "6px", "2px"},
        {"{5A68E4F1-45CE-48E2-88FA-A107A2B68B3F}", "Heading 5", "h5", "Verdana", "10pt", 1, 1, "6px", "2px"},
        {"{66471195-DCC8-4E57-B87B-DCD02BA916C5}", "Heading 6", "h6", "Verdana", "9pt", 1, 0, "3px", "0"},
        {"{016B14AA-389E-408C-A753-FEBD03303CF1}", "Normal", "normal", "Verdana", "9pt", 0, 0, "0", "0"},
    };
    for (const Expected& preset : presets)
    {
        SCOPED_TRACE(preset.name);
        const CNdbStyle* style = letter.FindStyleByKey(QString::fromLatin1(preset.key));
        ASSERT_NE(style, nullptr);
        const auto& fields = style->GetFields();
        EXPECT_EQ(fields.size(), 12u);
        EXPECT_TRUE(style->IsElementStyle());
        EXPECT_EQ(style->GetName(), preset.name);
        EXPECT_EQ(style->GetString(StyleRuleName), preset.element);
        EXPECT_EQ(style->GetString(StyleFontFamily), preset.family);
        EXPECT_EQ(fields.at(StyleFontSize).FormatLength(), preset.size);
        EXPECT_EQ(fields.at(StyleFontWeight).GetType(), NdbValueFontWeight);
        EXPECT_EQ(fields.at(StyleFontWeight).GetInt(), preset.weight);
        EXPECT_EQ(fields.at(StyleFontStyle).GetType(), NdbValueFontStyle);
        EXPECT_EQ(fields.at(StyleFontStyle).GetInt(), preset.style);
        EXPECT_EQ(fields.at(StyleMarginTop).FormatLength(), preset.top);
        EXPECT_EQ(fields.at(StyleMarginBottom).FormatLength(), preset.bottom);
        EXPECT_EQ(fields.at(StyleMarginLeft).FormatLength(), "0");
        EXPECT_EQ(fields.at(StyleMarginRight).GetUnit(), NdbUnitPx);
        EXPECT_EQ(style->GetTextDecorationText(), "none");
    }
}

TEST(NdbNewsletter, EnsureDefaultStylesKeepsChangedOnesAndRestoresMissing)
{
    CNdbNewsletter letter;
    auto changed = std::make_unique<CNdbStyle>();
    changed->SetField(StyleFontSize, CNdbFieldValue(20.0f, NdbUnitPt));
    letter.SetStyle(Heading2Key, std::move(changed));
    letter.EnsureDefaultStyles();
    EXPECT_EQ(letter.Styles().size(), 7u);
    EXPECT_EQ(letter.FindStyleByKey(Heading2Key)->GetFields().size(), 1u);
    EXPECT_EQ(letter.FindStyleByKey(Heading2Key)->GetFields().at(StyleFontSize).FormatLength(), "20pt");

    EXPECT_TRUE(letter.RemoveStyle(letter.FindStyleByKey(NormalKey)));
    EXPECT_EQ(letter.FindStyleByKey(NormalKey), nullptr);
    letter.EnsureDefaultStyles();
    EXPECT_EQ(letter.FindStyleByKey(NormalKey)->GetName(), "Normal");
}

TEST(NdbNewsletter, StyleLookUpsAndReplacement)
{
    CNdbNewsletter letter;
    letter.EnsureDefaultStyles();
    EXPECT_EQ(letter.FindStyleByTag("h1"), letter.FindStyleByKey("{1B143B6C-323B-42D7-82D7-1D9EF454DBA4}"));
    EXPECT_EQ(letter.FindStyleByTag("H1"), nullptr);
    EXPECT_EQ(letter.FindStyleByTag("c1"), nullptr);

    // Two styles for one tag: the smaller key wins.
    auto later = std::make_unique<CNdbStyle>();
    later->SetField(StyleRuleName, CNdbFieldValue(u"c1"));
    auto earlier = std::make_unique<CNdbStyle>();
    earlier->SetField(StyleRuleName, CNdbFieldValue(u"c1"));
    const CNdbStyle* expected = earlier.get();
    letter.SetStyle("{B}", std::move(later));
    letter.SetStyle("{A}", std::move(earlier));
    EXPECT_EQ(letter.FindStyleByTag("c1"), expected);

    letter.SetStyle("{A}", std::make_unique<CNdbStyle>());
    EXPECT_NE(letter.FindStyleByKey("{A}"), expected);
    EXPECT_EQ(letter.Styles().size(), 9u);

    auto keyless = std::make_unique<CNdbStyle>();
    const CNdbStyle* stored = keyless.get();
    letter.SetStyle({}, std::move(keyless));
    ASSERT_EQ(letter.Styles().size(), 10u);
    const auto entry = std::find_if(letter.Styles().begin(), letter.Styles().end(),
                                    [stored](const auto& e) { return e.second.get() == stored; });
    ASSERT_NE(entry, letter.Styles().end());
    EXPECT_EQ(entry->first.size(), 38);

    CNdbStyle foreign;
    EXPECT_FALSE(letter.RemoveStyle(&foreign));
    EXPECT_FALSE(letter.RemoveStyle(nullptr));
    EXPECT_EQ(letter.Styles().size(), 10u);
    letter.DeleteAllStyles();
    EXPECT_TRUE(letter.Styles().empty());
}

TEST(NdbNewsletter, SenderProfileIsArchivedOnlyAfter2007_0)
{
    auto letter = SampleNewsletter();
    const QByteArray current = Bytes(*letter);
    const QByteArray old = NdbTest::Write([&letter](CPSArchive& archive) { letter->Serialize(archive); });
    const QByteArray sender = NdbTest::WriteRoot(letter->Sender());
    EXPECT_TRUE(current.endsWith(sender));
    EXPECT_EQ(old, current.left(current.size() - sender.size()));

    // Read at the default version, the profile keeps what it had.
    CNdbNewsletter read;
    read.Sender().SetField(SenderFromAddress, CNdbFieldValue(u"mine@example.com"));
    ASSERT_TRUE(NdbTest::ReadRoot(old, read));
    EXPECT_EQ(read.Sender().GetString(SenderFromAddress), "mine@example.com");
}

TEST_F(NdbNewsletterFile, RoundTripKeepsEveryMember)
{
    auto letter = SampleNewsletter();
    letter->SetModified(true);
    const QString path = Path("Spring.kvnl");
    ASSERT_TRUE(letter->Save(path, "Kelvora", 2007, 1));
    EXPECT_FALSE(letter->IsModified());
    EXPECT_TRUE(NdbTest::ReadAll(path).startsWith(NdbTest::Header("KVN", 2007, 2, "Kelvora", 2007, 1)));

    CNdbNewsletter read;
    read.SetModified(true);
    read.HandledBounces()[QStringLiteral("old")] = true;
    ASSERT_TRUE(read.Load(path));
    EXPECT_FALSE(read.IsModified());
    EXPECT_TRUE(read.HandledBounces().empty());
    EXPECT_EQ(Bytes(read), Bytes(*letter));

    EXPECT_EQ(read.GetString(NewsletterName), "Spring news");
    EXPECT_EQ(read.Styles().size(), 8u);
    EXPECT_EQ(read.FindStyleByTag("c3")->GetFields().at(StyleColor).GetColor()->ToText(), "P{BRAND}");
    EXPECT_EQ(read.Palette().FindColorByKey("{BRAND}")->GetName(), "Brand");
    ASSERT_NE(read.Layout().FindResourceByPath("img/logo.png"), nullptr);
    EXPECT_EQ(read.Layout().FindResourceByPath("img/logo.png")->GetPayload(),
              QByteArray("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(read.Layout().Attachments()[0]->GetPayload(), "%PDF-1.4");
    EXPECT_EQ(read.Users().GetCount(), 2);
    EXPECT_EQ(read.Log().FindEntry("ann@example.com")->GetAttempts(), 1);
    EXPECT_EQ(read.Log().FindEntry("bob@example.com")->GetInt(LogEntryStatus), NdbSendPending);
    EXPECT_EQ(read.Sender().GetInt(SenderRelayPort, 25), 587);
    ASSERT_EQ(read.Project().GetPipelines().size(), 1u);
    const auto& [key, pipeline] = *read.Project().GetPipelines().begin();
    EXPECT_EQ(pipeline->GetHashKey(), key);
    EXPECT_EQ(pipeline->GetRootGroup().GetLayerCount(), 3);
    EXPECT_EQ(read.Project().GetImage("img-a")->GetBitmap().pixel(1, 1), 0xFF336699u);
}

TEST_F(NdbNewsletterFile, VersionsAreRefusedOnlyWhenNewerAndTagsAreNotLookedAt)
{
    const NdbTest::VersionCase cases[] = {
        {"KVN", 2007, 2, true},   {"KVN", 2007, 0, true},      {"KVN", 2006, 9, true},
        {"KVNLT", 2007, 2, true}, {"anything", 2007, 2, true}, {"KVN", 2007, 3, false},
        {"KVN", 2008, 0, false},
    };
    auto letter = SampleNewsletter();
    for (const NdbTest::VersionCase& c : cases)
    {
        SCOPED_TRACE(c.ToString());
        const QString path = Path("versions.kvnl");
        ASSERT_TRUE(NdbTest::WriteWithHeader(path, c.ToHeader(), *letter));
        CNdbNewsletter read;
        EXPECT_EQ(read.Load(path), c.accepted);
        EXPECT_EQ(read.Users().GetCount(), c.accepted ? 2 : 0);
        const bool hasSender = c.accepted && c.major == 2007 && c.minor == 2;
        EXPECT_EQ(read.Sender().GetString(SenderFromAddress), hasSender ? "news@example.com" : "");
    }
}

TEST_F(NdbNewsletterFile, OldFormatIsSavedAgainWithTheSenderProfile)
{
    auto letter = SampleNewsletter();
    const QString path = Path("old.kvnl");
    ASSERT_TRUE(NdbTest::WriteWithHeader(path, {"KVN", 2007, 0, {}, 0, 0}, *letter));
    CNdbNewsletter read;
    ASSERT_TRUE(read.Load(path));
    EXPECT_TRUE(read.Sender().GetFields().empty());
    ASSERT_TRUE(read.Save(path, {}, 0, 0));
    const QByteArray bytes = NdbTest::ReadAll(path);
    EXPECT_TRUE(bytes.startsWith(NdbTest::Header("KVN", 2007, 2)));
    EXPECT_TRUE(bytes.endsWith(Int(NdbKindSender) + Int(0)));
}

TEST_F(NdbNewsletterFile, FileWithoutDefaultStylesGetsThemBackAndKeepsChangedOnes)
{
    CNdbNewsletter bare;
    const QString path = Path("bare.kvnl");
    ASSERT_TRUE(bare.Save(path, {}, 0, 0));
    CNdbNewsletter read;
    ASSERT_TRUE(read.Load(path));
    EXPECT_EQ(read.Styles().size(), 7u);

    auto changed = std::make_unique<CNdbStyle>();
    changed->SetField(StyleDisplayName, CNdbFieldValue(u"Heading 2"));
    changed->SetField(StyleFontSize, CNdbFieldValue(20.0f, NdbUnitPt));
    bare.SetStyle(Heading2Key, std::move(changed));
    ASSERT_TRUE(bare.Save(path, {}, 0, 0));
    CNdbNewsletter again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(again.Styles().size(), 7u);
    EXPECT_EQ(again.FindStyleByKey(Heading2Key)->GetFields().at(StyleFontSize).FormatLength(), "20pt");
    EXPECT_EQ(again.FindStyleByKey(Heading2Key)->GetFields().size(), 2u);
}

TEST_F(NdbNewsletterFile, DamagedFileLeavesTheNewsletterAsItWas)
{
    // Without the project's images the file stays small enough to try every cut, in memory.
    auto letter = SampleNewsletter();
    letter->Project().RemoveAllImages();
    letter->Project().RemoveAllPipelines();
    const QString good = Path("good.kvnl");
    ASSERT_TRUE(letter->Save(good, {}, 0, 0));
    const QByteArray bytes = NdbTest::ReadAll(good);
    for (qsizetype length = 0; length < bytes.size(); ++length)
    {
        CPSStreamMemory stream;
        stream.SetBuffer(bytes.left(length));
        stream.Open(CPSStreamMemory::ModeRead);
        CNdbNewsletter read(QStringLiteral("Mine"));
        read.SetModified(true);
        ASSERT_FALSE(read.LoadFromStream(stream)) << length;
        EXPECT_EQ(read.GetString(NewsletterName), "Mine");
        EXPECT_TRUE(read.Styles().empty());
        EXPECT_EQ(read.Users().GetCount(), 0);
        EXPECT_TRUE(read.IsModified());
    }

    const QString damaged = Path("damaged.kvnl");
    ASSERT_TRUE(NdbTest::WriteAll(damaged, bytes.left(bytes.size() - 1)));
    CNdbNewsletter read;
    EXPECT_FALSE(read.Load(damaged));
    EXPECT_FALSE(read.Load(Path("none.kvnl")));
    EXPECT_TRUE(read.Load(good));
}

TEST_F(NdbNewsletterFile, FileCannotChangeTheKindOfItsDocument)
{
    // The shell takes a document of kind 7 for a mailing list and one of kind 1 for a newsletter.
    auto letter = SampleNewsletter();
    const QString letterPath = Path("kind.kvnl");
    ASSERT_TRUE(NdbTest::WriteAll(letterPath, NdbTest::Header("KVN", 2007, 2) + Int(NdbKindMailGroup) +
                                                  Bytes(*letter).mid(4)));
    CNdbNewsletter readLetter;
    ASSERT_TRUE(readLetter.Load(letterPath));
    EXPECT_EQ(readLetter.GetKind(), NdbKindNewsletter);

    CNdbMailGroup group;
    const QString groupPath = Path("kind.kvmg");
    ASSERT_TRUE(NdbTest::WriteAll(groupPath, NdbTest::Header("KVM", 2007, 0) + Int(NdbKindNewsletter) +
                                                 NdbTest::WriteRoot(group).mid(4)));
    CNdbMailGroup readGroup;
    ASSERT_TRUE(readGroup.Load(groupPath));
    EXPECT_EQ(readGroup.GetKind(), NdbKindMailGroup);
}

TEST_F(NdbNewsletterFile, TemplateRoundTripCarriesTheExtras)
{
    auto letter = SampleNewsletter();
    letter->SetField(NewsletterTemplateFlag, CNdbFieldValue(NdbValueBool, 1));
    CNdbNewsletter::ObjectMap objects;
    objects.emplace("sample", std::make_unique<CNdbUser>());
    objects.emplace("empty", nullptr);
    const CNdbNewsletter::TextMap texts{{"title", "Spring"}, {"lang", "en"}};
    const QString path = Path("Spring.kvnlt");
    ASSERT_TRUE(letter->SaveTemplate(path, objects, texts, "Kelvora"));
    const QByteArray bytes = NdbTest::ReadAll(path);
    EXPECT_TRUE(bytes.startsWith(NdbTest::Header("KVNLT", 2007, 2, "Kelvora", 2007, 1)));
    EXPECT_TRUE(bytes.endsWith(Int(2) + Text("lang") + Text("en") + Text("title") + Text("Spring")));

    CNdbNewsletter read;
    CNdbNewsletter::ObjectMap readObjects;
    CNdbNewsletter::TextMap readTexts{{"title", "mine"}};
    ASSERT_TRUE(read.LoadTemplate(path, readObjects, readTexts));
    EXPECT_TRUE(read.IsTemplate());
    EXPECT_EQ(Bytes(read), Bytes(*letter));
    ASSERT_EQ(readObjects.size(), 2u);
    EXPECT_NE(dynamic_cast<CNdbUser*>(readObjects["sample"].get()), nullptr);
    EXPECT_EQ(readObjects["empty"], nullptr);
    EXPECT_EQ(readTexts, (CNdbNewsletter::TextMap{{"title", "mine"}, {"lang", "en"}}));

    // A template opens as a newsletter too, flag and all.
    CNdbNewsletter asNewsletter;
    ASSERT_TRUE(asNewsletter.Load(path));
    EXPECT_TRUE(asNewsletter.IsTemplate());
}

TEST_F(NdbNewsletterFile, TemplateLoadRefusesOtherFiles)
{
    CNdbNewsletter::ObjectMap objects;
    CNdbNewsletter::TextMap texts;
    auto letter = SampleNewsletter();

    // A newsletter file, even one with the template flag.
    letter->SetField(NewsletterTemplateFlag, CNdbFieldValue(NdbValueBool, 1));
    ASSERT_TRUE(letter->Save(Path("flagged.kvnl"), {}, 0, 0));
    CNdbNewsletter read;
    EXPECT_FALSE(read.LoadTemplate(Path("flagged.kvnl"), objects, texts));

    // Template files without the flag, or with it false, or of a newer format.
    letter->RemoveField(NewsletterTemplateFlag);
    ASSERT_TRUE(letter->SaveTemplate(Path("absent.kvnlt"), objects, texts, {}));
    letter->SetField(NewsletterTemplateFlag, CNdbFieldValue(NdbValueBool, 0));
    ASSERT_TRUE(letter->SaveTemplate(Path("false.kvnlt"), objects, texts, {}));
    letter->SetField(NewsletterTemplateFlag, CNdbFieldValue(NdbValueBool, 1));
    ASSERT_TRUE(NdbTest::WriteWithHeader(Path("newer.kvnlt"), {"KVNLT", 2007, 3, {}, 0, 0}, *letter));
    for (const char* name : {"absent.kvnlt", "false.kvnlt", "newer.kvnlt"})
    {
        CNdbNewsletter other;
        EXPECT_FALSE(other.LoadTemplate(Path(name), objects, texts)) << name;
        EXPECT_EQ(other.Users().GetCount(), 0) << name;
    }
    EXPECT_TRUE(objects.empty());
    EXPECT_TRUE(texts.empty());
}

// Every document: a small version saved first, then a larger one whose write fails halfway.
TEST_F(NdbNewsletterFile, FailedSaveKeepsThePreviousFile)
{
    struct Document
    {
        const char* name;
        std::function<bool(const QString&, bool large)> save;
        std::function<bool(const QString&)> load;
    };
    const QByteArray big(256 * 1024, 'x');
    const Document documents[] = {
        {"letter.kvnl",
         [&big](const QString& path, bool large)
         {
             CNdbNewsletter letter;
             letter.SetModified(true);
             if (large)
                 letter.Layout().AddResource(Resource("img/big.png", big));
             const bool saved = letter.Save(path, {}, 0, 0);
             EXPECT_EQ(letter.IsModified(), !saved);
             return saved;
         },
         [](const QString& path) { return CNdbNewsletter().Load(path); }},
        {"letter.kvnlt",
         [&big](const QString& path, bool large)
         {
             CNdbNewsletter letter;
             letter.SetField(NewsletterTemplateFlag, CNdbFieldValue(NdbValueBool, 1));
             CNdbNewsletter::TextMap texts;
             if (large)
                 texts["big"] = QString::fromLatin1(big);
             return letter.SaveTemplate(path, {}, texts, {});
         },
         [](const QString& path)
         {
             CNdbNewsletter::ObjectMap objects;
             CNdbNewsletter::TextMap texts;
             return CNdbNewsletter().LoadTemplate(path, objects, texts);
         }},
        {"members.kvmg",
         [&big](const QString& path, bool large)
         {
             CNdbMailGroup group;
             group.SetModified(true);
             if (large)
                 group.SetField(MailGroupName, CNdbFieldValue(QString::fromLatin1(big)));
             const bool saved = group.Save(path, {}, 0, 0);
             EXPECT_EQ(group.IsModified(), !saved);
             return saved;
         },
         [](const QString& path) { return CNdbMailGroup().Load(path); }},
        {"newsletter.kvsc",
         [&big](const QString& path, bool large)
         {
             CNdbShortcuts store;
             if (large)
                 store.AddRecentLink(
                     std::make_unique<CNdbShortcutLink>(QString::fromLatin1(big), "/x.kvnl", 1));
             return store.Save(path, {});
         },
         [](const QString& path) { return CNdbShortcuts().Load(path); }},
    };
    for (const Document& document : documents)
    {
        SCOPED_TRACE(document.name);
        const QString path = Path(document.name);
        ASSERT_TRUE(document.save(path, false));
        const QByteArray before = NdbTest::ReadAll(path);
        bool saved = true;
        {
            const NdbTest::FileSizeLimit limit(64 * 1024);
            saved = document.save(path, true);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(NdbTest::ReadAll(path), before);
        EXPECT_TRUE(document.load(path));
        EXPECT_FALSE(document.save(Path(QStringLiteral("no/such/folder/") + document.name), false));
    }
    EXPECT_EQ(FolderFiles(), QStringList({"letter.kvnl", "letter.kvnlt", "members.kvmg", "newsletter.kvsc"}));
}

// The seeds of the newsletter fuzz target: written with KV_WRITE_FUZZ_SEEDS=1, and loaded on
// every run so that they stay readable newsletters.
TEST_F(NdbNewsletterFile, FuzzSeedsLoad)
{
    const QString corpus = QStringLiteral(KV_SOURCE_DIR "/fuzz/newsletter/corpus/");
    if (qEnvironmentVariableIsSet("KV_WRITE_FUZZ_SEEDS"))
    {
        ASSERT_TRUE(QDir().mkpath(corpus));
        auto letter = SampleNewsletter();
        ASSERT_TRUE(letter->Save(corpus + "sample.kvnl", "Kelvora", 2007, 1));
        ASSERT_TRUE(
            NdbTest::WriteWithHeader(corpus + "format-2007.0.kvnl", {"KVN", 2007, 0, {}, 0, 0}, *letter));
        letter->SetField(NewsletterTemplateFlag, CNdbFieldValue(NdbValueBool, 1));
        CNdbNewsletter::ObjectMap objects;
        objects.emplace("user", std::make_unique<CNdbUser>());
        ASSERT_TRUE(letter->SaveTemplate(corpus + "template.kvnlt", objects, {{"key", "value"}}, {}));
        ASSERT_TRUE(CNdbNewsletter().Save(corpus + "empty.kvnl", {}, 0, 0));
    }
    const QStringList seeds = QDir(corpus).entryList(QDir::Files);
    EXPECT_EQ(seeds.size(), 4);
    for (const QString& seed : seeds)
        EXPECT_TRUE(CNdbNewsletter().Load(corpus + seed)) << seed.toStdString();
}
