#include "recipients/TextRows.h"
#include "PythonCsv.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace
{
QString DataPath(const QString& name)
{
    return QStringLiteral(KV_TEST_DATA_DIR "/text/") + name;
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TextRows OurRows(const QString& path, QChar delimiter)
{
    TextRows rows;
    EXPECT_TRUE(SplitDelimitedText(DecodeImportText(ReadBytes(path)), delimiter, rows));
    return rows;
}

std::string Describe(const TextRows& rows)
{
    QString text;
    for (const QStringList& row : rows)
        text += u'[' + row.join(QStringLiteral("|")) + QStringLiteral("]\n");
    return text.toStdString();
}
} // namespace

TEST(TextRows, RowsEqualThoseOfPythonsCsvModule)
{
    const std::pair<const char*, QChar> files[] = {
        {"comma-utf8.csv", u','},   {"semicolon-utf8-bom.csv", u';'}, {"tab-utf16le.txt", u'\t'},
        {"tab-utf16be.txt", u'\t'}, {"comma-cp1252.csv", u','},
    };
    for (const auto& [name, delimiter] : files)
    {
        const QString path = DataPath(QString::fromLatin1(name));
        const TextRows ours = OurRows(path, delimiter);
        const TextRows python = PythonCsvRows(path, delimiter);
        EXPECT_FALSE(python.isEmpty()) << name;
        EXPECT_EQ(ours, python) << name << "\nours:\n" << Describe(ours) << "python:\n" << Describe(python);
    }
}

TEST(TextRows, EncodingFollowsMarkThenUtf8ThenWindows1252)
{
    EXPECT_EQ(DecodeImportText("\xEF\xBB\xBF"
                               "a\xC3\xA9"),
              QStringLiteral("a\u00E9"));
    EXPECT_EQ(DecodeImportText(QByteArray("\xFF\xFE"
                                          "a\0b\0",
                                          6)),
              QStringLiteral("ab"));
    EXPECT_EQ(DecodeImportText(QByteArray("\xFE\xFF\0a\0b", 6)), QStringLiteral("ab"));
    EXPECT_EQ(DecodeImportText("caf\xC3\xA9"), QStringLiteral("caf\u00E9"));
    EXPECT_EQ(DecodeImportText("caf\xE9 \x80"), QStringLiteral("caf\u00E9 \u20AC"));
    EXPECT_EQ(DecodeImportText(QByteArray()), QString());
}

TEST(TextRows, QuotesLineBreaksAndEmptyLines)
{
    struct Case
    {
        const char* text;
        TextRows rows;
    };
    const Case cases[] = {
        {"a;b;c", {{"a", "b", "c"}}},
        {"a;b\n", {{"a", "b"}}},
        {"a\n\nb", {{"a"}, {}, {"b"}}},
        {"a\rb\r\nc", {{"a"}, {"b"}, {"c"}}},
        {"\"x;y\";z", {{"x;y", "z"}}},
        {"\"say \"\"hi\"\"\"", {{"say \"hi\""}}},
        {"\"two\r\nlines\";3", {{"two\r\nlines", "3"}}},
        {"ab\"c;d", {{"ab\"c", "d"}}},
        {"\"ab\"cd;e", {{"abcd", "e"}}},
        {"\"open;to the end\nstill", {{"open;to the end\nstill"}}},
        {";", {{"", ""}}},
        {"", {}},
    };
    for (const Case& c : cases)
    {
        TextRows rows;
        EXPECT_TRUE(SplitDelimitedText(QString::fromUtf8(c.text), u';', rows));
        EXPECT_EQ(rows, c.rows) << c.text << "\n" << Describe(rows);
    }
}

TEST(TextRows, TooManyCellsInARowIsRefusedWhole)
{
    TextRows rows;
    const QString wide = QString(TextRowLimits::MaxCellsPerRow, u';');
    EXPECT_FALSE(SplitDelimitedText(QStringLiteral("a\n") + wide, u';', rows));
    EXPECT_TRUE(rows.isEmpty());
    EXPECT_TRUE(SplitDelimitedText(wide.left(TextRowLimits::MaxCellsPerRow - 1), u';', rows));
    EXPECT_EQ(rows.front().size(), TextRowLimits::MaxCellsPerRow);
}

TEST(TextRows, ParseAsksForTheDelimiterOnlyWhenThereIsText)
{
    TextRows rows;
    int asked = 0;
    const DelimiterQuestion comma = [&asked](QChar& delimiter)
    {
        ++asked;
        delimiter = u',';
        return true;
    };
    ParseDelimitedTextToRows(rows, QString(), comma);
    EXPECT_EQ(asked, 0);
    ParseDelimitedTextToRows(rows, QStringLiteral("a;b;c"), comma);
    EXPECT_EQ(rows, TextRows({{"a;b;c"}}));
    ParseDelimitedTextToRows(rows, QStringLiteral("a;b"), [](QChar&) { return false; });
    EXPECT_TRUE(rows.isEmpty());
}
