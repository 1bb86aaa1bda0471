#include "support/ScriptedHttpServer.h"

#include "services/TemplateCatalogue.h"
#include "services/TemplateLocalisation.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
const QString Data = QStringLiteral("<?xml version=\"1.0\"?><zqlocalizationdata>"
                                    "<replace key=\"Title\">Hello &amp; welcome</replace>"
                                    "<replace key=\"quote\">a&amp;b\"c'd&lt;e&gt;f</replace>"
                                    "<replace key=\"empty\"></replace><replace key=\"\">x</replace>"
                                    "<replace key=\"nested\">_(title)_</replace>"
                                    "<replace key=\"TITLE\">Hello again</replace>"
                                    "</zqlocalizationdata><replace key=\"outside\">out</replace>");
} // namespace

TEST(TemplateLocalisation, ParsesKeysInLowerCaseAnywhereInTheDocument)
{
    LocalisationMap map;
    ASSERT_TRUE(ParseLocalisationXml(map, Data));
    const LocalisationMap expected{{"title", "Hello again"},
                                   {"quote", "a&b\"c'd<e>f"},
                                   {"empty", ""},
                                   {"nested", "_(title)_"},
                                   {"outside", "out"}};
    EXPECT_EQ(map, expected);

    for (const QString& refused : {QString("<other><replace key=\"a\">b</replace></other>"), QString(),
                                   QString("<zqlocalizationdat/>")})
    {
        LocalisationMap none;
        EXPECT_FALSE(ParseLocalisationXml(none, refused)) << refused.toStdString();
    }
}

TEST(TemplateLocalisation, ExpandsTokensAndCollectsUnknownKeys)
{
    const LocalisationMap map{{"title", "T&\"<>'"}, {"nested", "_(title)_"}};
    const struct
    {
        QString text;
        bool escape;
        QString expected;
    } cases[] = {
        {"no tokens", false, "no tokens"},
        {"a _(TiTlE)_ b", false, "a T&\"<>' b"},
        {"a _(title)_ b", true, "a T&amp;&quot;&lt;&gt;&apos; b"},
        {"_(nested)_", false, "_(title)_"},
        {"x _(Missing)_ y", true, "x _(Missing)_ y"},
        {"_()_", false, "_()_"},
        {"_(title)_ and _(open", false, "T&\"<>' and _(open"},
        {"_(title", false, "_(title"},
        {")_ _(title)_(title)_", false, ")_ T&\"<>'(title)_"},
    };
    UnknownLocalisationKeys().clear();
    for (const auto& c : cases)
        EXPECT_EQ(ExpandLocalisationTokens(c.text, map, c.escape), c.expected) << c.text.toStdString();
    EXPECT_EQ(UnknownLocalisationKeys(), (std::set<QString>{"", "missing"}));
}

TEST(TemplateLocalisation, LoadsFromFilesAndFromTheWeb)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a b_en.xml");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF" + Data.toUtf8());
    file.close();
    QFile(dir.filePath("zero.xml")).open(QIODevice::WriteOnly);

    LocalisationMap map;
    EXPECT_TRUE(LoadLocalisationData(PathToFileUrl(path) + "  ", map));
    EXPECT_EQ(map["title"], "Hello again");
    EXPECT_FALSE(LoadLocalisationData(PathToFileUrl(dir.filePath("zero.xml")), map));
    EXPECT_FALSE(LoadLocalisationData(PathToFileUrl(dir.filePath("missing.xml")), map));

    ScriptedHttpServer server;
    server.SetReply("/ok.xml", "<zqlocalizationdata><replace key=\"web\">w</replace></zqlocalizationdata>");
    server.SetReply("/gone.xml", "<zqlocalizationdata><replace key=\"gone\">g</replace></zqlocalizationdata>",
                    404);
    LocalisationMap web;
    EXPECT_TRUE(LoadLocalisationData(server.Url("/ok.xml"), web));
    EXPECT_FALSE(LoadLocalisationData(server.Url("/gone.xml"), web)) << "only status 200 counts";
    EXPECT_FALSE(LoadLocalisationData("ftp://127.0.0.1/x.xml", web));
    EXPECT_EQ(web, (LocalisationMap{{"web", "w"}}));
}
