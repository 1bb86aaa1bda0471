#include "base/AnsiCodePage.h"
#include "services/QorxInstaller.h"
#include "x2/X2Validator.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
class QorxLocalFilesTest : public testing::Test
{
protected:
    QString Write(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("file%1.txt").arg(++m_count));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }

    QTemporaryDir m_dir;
    int m_count{0};
    CQorxInstaller m_reader;
};
} // namespace

TEST(QorxUrlEncode, KeepsUnreservedCharactersAndDigits)
{
    EXPECT_EQ(CQorxInstaller::UrlEncode("A-z_0.9~"), "A-z_0.9~");
    EXPECT_EQ(CQorxInstaller::UrlEncode("a/b c"), "a%2Fb%20c");
    EXPECT_EQ(CQorxInstaller::UrlEncode(QString::fromUtf16(u"\u00E9\u20AC")), "%C3%A9%E2%82%AC");
    EXPECT_EQ(CQorxInstaller::UrlEncode(QString()), QString());
}

TEST(QorxPlaceholders, ReplaceKnownKeysInAnyCaseAndLeaveTheRest)
{
    const CQorxInstaller::PlaceholderMap map{{"NAME", "x"}, {"EMPTY", ""}, {"BRACKET", "[NAME]"}};
    const struct
    {
        const char* text;
        const char* expected;
    } cases[] = {
        {"[name]!", "x!"},
        {"[[NAME]]", "[x]"},
        {"[other]", "[other]"},
        {"a[b", "a[b"},
        {"[unknown [Name] tail", "[unknown x tail"},
        {"[BRACKET][name]", "[NAME]x"}, // a value is never scanned again
        {"[EMPTY]end", "end"},
        {"no placeholders", "no placeholders"},
        {"z", "z"},
        {"", ""},
        {"]][[", "]][["},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CQorxInstaller().ReplacePlaceholders(map, c.text), c.expected) << c.text;
}

TEST_F(QorxLocalFilesTest, ReadTextFileTellsTheCodePageFromTheMark)
{
    int codePage = -1;
    QString text;
    bool bom = true;
    EXPECT_EQ(m_reader.ReadTextFile(Write("\xEF\xBB\xBF"
                                          "A"),
                                    codePage, text, &bom),
              0);
    EXPECT_EQ(text, "A");
    EXPECT_EQ(codePage, 65001);
    EXPECT_TRUE(bom);

    // The mark alone is too short to count: three ANSI characters.
    EXPECT_EQ(m_reader.ReadTextFile(Write("\xEF\xBB\xBF"), codePage, text, &bom), 0);
    EXPECT_EQ(text, QString::fromUtf16(u"\u00EF\u00BB\u00BF"));
    EXPECT_EQ(codePage, 0);
    EXPECT_FALSE(bom);

    EXPECT_EQ(m_reader.ReadTextFile(Write("Caf\xE9 \x80"), codePage, text), 0);
    EXPECT_EQ(text, QString::fromUtf16(u"Caf\u00E9 \u20AC"));
    EXPECT_EQ(codePage, 0);
}

// Without a mark, the file's own bytes tell UTF-8 from ANSI: its XML declaration when it has one,
// else whether it reads as UTF-8.
TEST_F(QorxLocalFilesTest, ReadTextFileTellsUtf8WithoutAMark)
{
    const QString dot = QString::fromUtf16(u"Issue 12 \u00B7 Autumn \u20AC");
    const QByteArray utf8 = dot.toUtf8();
    const QByteArray ansi = AnsiCodePage::FromText(dot);
    const struct
    {
        QByteArray head;
        QByteArray body;
        int codePage;
    } cases[] = {
        {"", utf8, 65001},
        {"", ansi, 0},
        {"<?xml version=\"1.0\" encoding=\"utf-8\"?>", utf8, 65001},
        {"<?xml version='1.0' encoding='UTF8'?>", utf8, 65001},
        {"<?xml version=\"1.0\"?>", utf8, 65001},
        {"<?xml version=\"1.0\" encoding=\"windows-1252\"?>", ansi, 0},
        // The declaration wins over bytes that happen to read as UTF-8.
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", utf8, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.head.toStdString() + c.body.toStdString());
        int codePage = -1;
        QString text;
        bool bom = true;
        ASSERT_EQ(m_reader.ReadTextFile(Write(c.head + c.body), codePage, text, &bom), 0);
        EXPECT_EQ(codePage, c.codePage);
        EXPECT_FALSE(bom);
        EXPECT_EQ(text,
                  QString::fromLatin1(c.head) + (c.codePage == 65001 ? dot : AnsiCodePage::ToText(c.body)));
    }
}

TEST_F(QorxLocalFilesTest, ReadTextFileFailsWithoutText)
{
    int codePage = -1;
    QString text;

    text = "unchanged";
    EXPECT_EQ(m_reader.ReadTextFile(Write(""), codePage, text), 5);
    EXPECT_EQ(m_reader.ReadTextFile(m_dir.filePath("missing.txt"), codePage, text), 2);
    EXPECT_EQ(m_reader.ReadTextFile(m_dir.path(), codePage, text), 2);
    EXPECT_EQ(text, "unchanged");
}

TEST_F(QorxLocalFilesTest, LoadXmlFilePassesTheReadersCodesOn)
{
    CX2Validator document;
    EXPECT_EQ(m_reader.LoadXmlFile(document, Write("\xEF\xBB\xBF<a x=\"&lt;&amp;\"><b>t&gt;</b></a>")), 0);
    CX2Element* a = document.GetRoot().FindElementByName("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetAttributeValue("x"), "<&");
    CX2Validator missing;
    EXPECT_EQ(m_reader.LoadXmlFile(missing, m_dir.filePath("none.xml")), 2);
    CX2Validator empty;
    EXPECT_EQ(m_reader.LoadXmlFile(empty, Write("")), 5);
    CX2Validator broken;
    EXPECT_EQ(m_reader.LoadXmlFile(broken, Write("<a><b x=\"1\"")), 5);
}
