#include "LayerGraph.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

namespace
{
const QString Root = QStringLiteral(KV_SOURCE_DIR);

QStringList Order()
{
    return ReadLayerOrder(Root + QStringLiteral("/cmake/Layers.txt"));
}

QString Where(const IncludeLine& include)
{
    return QStringLiteral("%1:%2 includes %3").arg(include.file).arg(include.line).arg(include.target);
}

// The folders below each folder whose files it includes.
std::map<QString, QSet<QString>> IncludedFolders(const QStringList& order)
{
    std::map<QString, QSet<QString>> included;
    for (const IncludeLine& include : ReadIncludes(Root, order))
    {
        if (!include.toLayer.isEmpty() && include.toLayer != include.fromLayer)
            included[include.fromLayer].insert(include.toLayer);
    }
    return included;
}

void Write(const QTemporaryDir& dir, const QString& path, const QByteArray& text)
{
    QFile file(dir.filePath(path));
    ASSERT_TRUE(QFileInfo(file).dir().mkpath(QStringLiteral(".")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}
} // namespace

TEST(Layers, NoFolderIncludesOneAboveItOrOutsideTheLayers)
{
    const QStringList order = Order();
    ASSERT_TRUE(order.contains(QStringLiteral("base")) && order.contains(QStringLiteral("app")));
    QStringList wrong;
    for (const IncludeLine& include : ReadIncludes(Root, order))
    {
        if (include.toLayer.isEmpty() || order.indexOf(include.toLayer) > order.indexOf(include.fromLayer))
            wrong.append(Where(include));
    }
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join(u'\n').toStdString();
}

// Every link points to a folder before its own in one order, so the link graph has no cycle; and
// a library declares what its files use, so no link hides another and none is left unused.
TEST(Layers, EachLibraryLinksExactlyTheLowerFoldersItIncludes)
{
    const QStringList order = Order();
    const std::map<QString, QStringList> links = ReadLinks(QStringLiteral(KV_LAYER_LINKS), order);
    std::map<QString, QSet<QString>> included = IncludedFolders(order);
    for (const QString& folder : order)
    {
        SCOPED_TRACE(folder.toStdString());
        const auto declared = links.find(folder);
        ASSERT_NE(declared, links.end()) << "no library";
        for (const QString& linked : declared->second)
        {
            EXPECT_LT(order.indexOf(linked), order.indexOf(folder)) << "links " << linked.toStdString();
            EXPECT_TRUE(included[folder].contains(linked))
                << "links " << linked.toStdString() << " and includes nothing of it";
        }
        for (const QString& used : std::as_const(included[folder]))
            EXPECT_TRUE(declared->second.contains(used)) << "includes " << used.toStdString() << " unlinked";
    }
}

// The README's folder map has a row per folder, "| `folder/` | what it is | uses |", whose uses
// are the folders it links.
TEST(Layers, TheReadmeMapShowsWhatEachFolderUses)
{
    QFile readme(Root + QStringLiteral("/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    static const QRegularExpression row(QStringLiteral(R"(^\| `([^`]+)/` \|.*\| ([^|]*) \|$)"),
                                        QRegularExpression::MultilineOption);
    std::map<QString, QSet<QString>> shown;
    for (const QRegularExpressionMatch& match : row.globalMatch(QString::fromUtf8(readme.readAll())))
    {
        const QString uses = match.captured(2).trimmed();
        const QStringList folders = uses == u'-' ? QStringList() : uses.split(QStringLiteral(", "));
        shown[match.captured(1)] = QSet<QString>(folders.begin(), folders.end());
    }
    const QStringList order = Order();
    for (const auto& [folder, linked] : ReadLinks(QStringLiteral(KV_LAYER_LINKS), order))
    {
        SCOPED_TRACE(folder.toStdString());
        ASSERT_TRUE(shown.count(folder)) << "no row";
        EXPECT_EQ(shown[folder], QSet<QString>(linked.begin(), linked.end()));
    }
}

TEST(LayerGraph, FindsEachQuotedIncludeWhereTheCompilerDoes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Write(dir, QStringLiteral("order.txt"), "# bottom first\nlow\nlow/sub\n\nhigh\n");
    Write(dir, QStringLiteral("low/B.h"), "#pragma once\n#include \"high/A.h\"\n");
    Write(dir, QStringLiteral("low/sub/D.h"), "#pragma once\n");
    Write(dir, QStringLiteral("high/C.h"), "#pragma once\n");
    Write(dir, QStringLiteral("high/A.cpp"),
          "#include \"low/B.h\"\n"
          "  #  include \"low/sub/D.h\"\n"
          "// #include \"low/sub/D.h\"\n"
          "#include <low/B.h>\n"
          "#include \"C.h\"\n"
          "#include \"tests/Helper.h\"\n");
    Write(dir, QStringLiteral("high/notes.txt"), "#include \"low/B.h\"\n");

    const QStringList order = ReadLayerOrder(dir.filePath(QStringLiteral("order.txt")));
    ASSERT_EQ(order, QStringList({"low", "low/sub", "high"}));
    struct Expected
    {
        const char* file;
        int line;
        const char* target;
        const char* fromLayer;
        const char* toLayer;
    };
    const Expected expected[] = {
        {"high/A.cpp", 1, "low/B.h", "high", "low"},   {"high/A.cpp", 2, "low/sub/D.h", "high", "low/sub"},
        {"high/A.cpp", 5, "high/C.h", "high", "high"}, {"high/A.cpp", 6, "tests/Helper.h", "high", ""},
        {"low/B.h", 2, "high/A.h", "low", "high"},
    };
    std::vector<IncludeLine> found = ReadIncludes(dir.path(), order);
    std::sort(found.begin(), found.end(),
              [](const IncludeLine& a, const IncludeLine& b)
              { return std::pair(a.file, a.line) < std::pair(b.file, b.line); });
    ASSERT_EQ(found.size(), std::size(expected));
    for (std::size_t i = 0; i < found.size(); ++i)
    {
        SCOPED_TRACE(Where(found[i]).toStdString());
        EXPECT_EQ(found[i].file, QLatin1String(expected[i].file));
        EXPECT_EQ(found[i].line, expected[i].line);
        EXPECT_EQ(found[i].target, QLatin1String(expected[i].target));
        EXPECT_EQ(found[i].fromLayer, QLatin1String(expected[i].fromLayer));
        EXPECT_EQ(found[i].toLayer, QLatin1String(expected[i].toLayer));
    }
}

TEST(LayerGraph, LinksNameTheFoldersOfTheLayerLibrariesOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Write(dir, QStringLiteral("links.txt"),
          "low: Qt6::Core\n"
          "low/sub: kv_low;kv_lower\n"
          "high: kv_low;$<LINK_ONLY:kv_low_sub>;kv_test_peers;kv_low\n");
    const QStringList order = {"low", "low/sub", "high"};
    const std::map<QString, QStringList> links = ReadLinks(dir.filePath(QStringLiteral("links.txt")), order);
    const std::map<QString, QStringList> expected = {
        {"low", {}}, {"low/sub", {"low"}}, {"high", {"low", "low/sub"}}};
    EXPECT_EQ(links, expected);
}
