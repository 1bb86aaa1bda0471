#include "platform/core/AppStrings.h"
#include "platform/core/StringTable.h"
#include "res/ResourceInit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

TEST(StringTable, ReadsIdsTextsAndEscapes)
{
    const QByteArray text = "\xEF\xBB\xBF# comment\r\n"
                            "1\tplain\r\n"
                            "\n"
                            "2\tline\\nnext\\ttab \\\\ back\\x\n"
                            "3\ttext\twith a tab\n"
                            "4\t\n"
                            "65535\t\xC3\xA9t\xC3\xA9\n"
                            "5\ttrailing backslash\\";
    CStringTable table;
    QStringList problems;
    EXPECT_TRUE(table.Parse(text, &problems)) << problems.join("; ").toStdString();
    EXPECT_EQ(table.Text(1), "plain");
    EXPECT_EQ(table.Text(2), "line\nnext\ttab \\ back\\x");
    EXPECT_EQ(table.Text(3), "text\twith a tab");
    EXPECT_TRUE(table.Contains(4));
    EXPECT_EQ(table.Text(4), "");
    EXPECT_EQ(table.Text(65535), QString::fromUtf16(u"\u00E9t\u00E9"));
    EXPECT_EQ(table.Text(5), "trailing backslash\\");
    EXPECT_EQ(table.Size(), 6);
}

TEST(StringTable, BadLinesAndRepeatedIdsAreReportedAndSkipped)
{
    const QByteArray text = "10\tfirst\n"
                            "no tab here\n"
                            "x1\tnot a number\n"
                            "\tno id\n"
                            "65536\ttoo big\n"
                            "-1\tnegative\n"
                            "10\tsecond\n"
                            "11\tgood\n";
    CStringTable table;
    QStringList problems;
    EXPECT_FALSE(table.Parse(text, &problems));
    EXPECT_EQ(problems.size(), 6);
    EXPECT_EQ(table.Text(10), "first");
    EXPECT_EQ(table.Text(11), "good");
    EXPECT_EQ(table.Size(), 2);

    CStringTable huge;
    EXPECT_FALSE(huge.Parse(QByteArray(CStringTable::MaxTableSize + 1, '#')));
    EXPECT_EQ(huge.Size(), 0);
}

TEST(AppStrings, BuiltInTablesAreWellFormed)
{
    InitKelvoraResources();
    const QDir folder(":/strings");
    const QStringList files = folder.entryList({"*.txt"}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    CStringTable all;
    for (const QString& name : files)
    {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QStringList problems;
        EXPECT_TRUE(all.Parse(file.readAll(), &problems))
            << name.toStdString() << ": " << problems.join("; ").toStdString();
    }
}

namespace
{
// Compiles a language module from string tables, as the build of a translation does.
QString BuildModule(const QTemporaryDir& dir, const QString& name, const QMap<QString, QByteArray>& tables)
{
    const QString source = dir.filePath(name);
    QDir().mkpath(source + "/strings");
    QByteArray qrc = "<RCC><qresource prefix=\"/\">\n";
    for (auto it = tables.begin(); it != tables.end(); ++it)
    {
        QFile file(source + "/strings/" + it.key());
        file.open(QIODevice::WriteOnly);
        file.write(it.value());
        qrc += "<file>strings/" + it.key().toUtf8() + "</file>\n";
    }
    qrc += "</qresource></RCC>\n";
    QFile qrcFile(source + "/module.qrc");
    qrcFile.open(QIODevice::WriteOnly);
    qrcFile.write(qrc);
    qrcFile.close();

    const QString output = dir.filePath("KelvoraRes" + name + ".rcc");
    QProcess rcc;
    rcc.setWorkingDirectory(source);
    rcc.start("/usr/lib/qt6/libexec/rcc", {"-binary", "module.qrc", "-o", output});
    if (!rcc.waitForFinished(30000) || rcc.exitCode() != 0)
        return {};
    return output;
}

class ResourceModules : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    void TearDown() override { UseBuiltInResources(); }

    QTemporaryDir m_dir;
};
} // namespace

TEST_F(ResourceModules, BuiltInResourcesAreEnglish)
{
    EXPECT_EQ(GetLanguageCode(), "en");
    EXPECT_EQ(GetLanguageFolder(), "en/");
    EXPECT_EQ(LoadAppString(1), "");
    EXPECT_EQ(GetResourceRoot(), ":/");
}

TEST_F(ResourceModules, CurrentModuleIsSearchedBeforeTheBuiltInResources)
{
    const QString german = BuildModule(m_dir, "de", {{"de.txt", "3002\tde\n100\tHallo\\nWelt\n"}});
    const QString partial =
        BuildModule(m_dir, "xx", {{"a.txt", "200\tonly here\n"}, {"b.txt", "201\tand here\n"}});
    ASSERT_FALSE(german.isEmpty());
    ASSERT_FALSE(partial.isEmpty());

    ASSERT_TRUE(LoadResourceModule(german));
    EXPECT_EQ(GetLanguageCode(), "de");
    EXPECT_EQ(GetLanguageFolder(), "de/");
    EXPECT_EQ(LoadAppString(100), "Hallo\nWelt");
    EXPECT_TRUE(QFile::exists(GetResourceRoot() + "strings/de.txt"));

    // A module without an id leaves it to the built-in resources.
    ASSERT_TRUE(LoadResourceModule(partial));
    EXPECT_EQ(LoadAppString(200), "only here");
    EXPECT_EQ(LoadAppString(201), "and here");
    EXPECT_EQ(LoadAppString(100), "");
    EXPECT_EQ(GetLanguageCode(), "en");

    UseBuiltInResources();
    EXPECT_EQ(LoadAppString(200), "");
    EXPECT_EQ(GetResourceRoot(), ":/");
    EXPECT_FALSE(QFile::exists(":/strings/a.txt"));
}

TEST_F(ResourceModules, UnusableModuleLeavesTheCurrentOneInPlace)
{
    const QString german = BuildModule(m_dir, "de", {{"de.txt", "3002\tde\n"}});
    const QString empty = BuildModule(m_dir, "nostrings", {{"readme.md", "no tables"}});
    QFile garbage(m_dir.filePath("garbage.rcc"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("qres but not really");
    garbage.close();

    ASSERT_TRUE(LoadResourceModule(german));
    EXPECT_FALSE(LoadResourceModule(m_dir.filePath("missing.rcc")));
    EXPECT_FALSE(LoadResourceModule(garbage.fileName()));
    EXPECT_FALSE(LoadResourceModule(empty));
    EXPECT_EQ(GetLanguageCode(), "de");
}

TEST_F(ResourceModules, LookUpsOnOtherThreadsSeeOneModuleOrTheOther)
{
    const QString german = BuildModule(m_dir, "de", {{"de.txt", "3002\tde\n"}});
    ASSERT_FALSE(german.isEmpty());
    std::atomic<bool> stop = false;
    std::atomic<int> bad = 0;
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i)
    {
        readers.emplace_back(
            [&]
            {
                while (!stop)
                {
                    const QString code = GetLanguageCode();
                    if (code != "en" && code != "de")
                        ++bad;
                }
            });
    }
    for (int i = 0; i < 50; ++i)
    {
        EXPECT_TRUE(LoadResourceModule(german));
        UseBuiltInResources();
    }
    stop = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(bad, 0);
}
