#include "recipients/TextRows.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

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

// What python's csv module reads from the same bytes, the encoding found by the same rule: a
// byte-order mark, else UTF-8 when it decodes, else Windows-1252.
const char* PythonReader = R"(
import csv, io, json, sys
data = open(sys.argv[1], 'rb').read()
if data.startswith(b'\xef\xbb\xbf'): text = data[3:].decode('utf-8')
elif data.startswith(b'\xff\xfe') or data.startswith(b'\xfe\xff'): text = data.decode('utf-16')
else:
    try: text = data.decode('utf-8')
    except UnicodeDecodeError: text = data.decode('cp1252')
print(json.dumps(list(csv.reader(io.StringIO(text, newline=''), delimiter=sys.argv[2]))))
)";

TextRows PythonRows(const QString& path, QChar delimiter)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(PythonReader), path, delimiter});
    EXPECT_TRUE(python.waitForFinished(20000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    TextRows rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array())
    {
        QStringList cells;
        for (const QJsonValue& cell : row.toArray())
            cells.append(cell.toString());
        rows.append(cells);
    }
    return rows;
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
        const TextRows python = PythonRows(path, delimiter);
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
