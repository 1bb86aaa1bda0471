#include "mail/QuotedPrintable.h"
#include "base/AnsiCodePage.h"
#include "mail/MailDecoding.h"
#include "mail/MailText.h"
#include "mail/VexaMail.h"

#include <QStringList>

#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace
{
const QString Letters70 = QString(70, QLatin1Char('a'));

QString Line(const QString& text)
{
    return CVexaMail::EncodeQPLine(text, false);
}

QString AnsiLine(const QString& text)
{
    return CVexaMail::EncodeQPLine(text, true);
}

QString Body(const QString& text)
{
    return CVexaMail::EncodeQPBody(text, false);
}

QString Word(const QString& text)
{
    return CVexaMail::EncodeHeaderWord(text);
}

QString SubjectWord(const QString& text)
{
    return CVexaMail::EncodeHeaderWord(text, QStringLiteral("Subject: ").size());
}

struct EncoderCase
{
    const char* name;
    QString (*encode)(const QString&);
    QString input;
    QString encoded;
};

class Encoder : public testing::TestWithParam<EncoderCase>
{
};

TEST_P(Encoder, EncodesAsExpected)
{
    EXPECT_EQ(GetParam().encode(GetParam().input), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Encoder,
    testing::Values(
        EncoderCase{"DigitsAndDotEscaped", Line, "Price 10.50", "Price =31=30=2E=35=30"},
        EncoderCase{"SoftBreakAfterSeventy", Line, QString(100, QLatin1Char('a')),
                    Letters70 + "=\r\n" + QString(30, QLatin1Char('a'))},
        EncoderCase{"BlankBeforeBreakEscaped", Line, QString(69, QLatin1Char('a')) + " more",
                    QString(69, QLatin1Char('a')) + "=20=\r\nmore"},
        EncoderCase{"EscapeOvershootsToSeventyTwo", Line, QString(69, QLatin1Char('a')) + ".b",
                    QString(69, QLatin1Char('a')) + "=2E=\r\nb"},
        EncoderCase{"TrailingBlankEscaped", Line, "end ", "end=20"},
        EncoderCase{"EmptyLineStaysEmpty", Line, "", ""},
        EncoderCase{"LoneDotNeverLiteral", Line, ".", "=2E"},
        EncoderCase{"LiteralPunctuation", Line, "a'()+,-/:?b", "a'()+,-/:?b"},
        EncoderCase{"EqualsTabAndUnderscore", Line, "=\t_", "=3D=09=5F"},
        EncoderCase{"Latin1Bytes", AnsiLine, QString::fromUtf8("Grüße"), "Gr=FC=DFe"},
        EncoderCase{"Utf8Bytes", Line, QString::fromUtf8("Grüße"), "Gr=C3=BC=C3=9Fe"},
        EncoderCase{"EuroInTheCodePage", AnsiLine, QString::fromUtf8("5 €"), "=35 =80"},
        EncoderCase{"HtmlReferenceEscaped", Line, "&#233;", "=26=23=32=33=33=3B"},
        EncoderCase{"BlankLinesKept", Body, "a\r\n\r\nb", "a\r\n\r\nb"},
        EncoderCase{"TrailingLineEnd", Body, "a\r\n", "a\r\n"},
        EncoderCase{"LoneLineFeedEndsALine", Body, "a\nb\n\nc", "a\r\nb\r\n\r\nc"},
        EncoderCase{"LoneCarriageReturnEndsALine", Body, "a\rb\r\n\r\rc", "a\r\nb\r\n\r\n\r\nc"},
        EncoderCase{"EndOfDataLineDefused", Body, "x\r\n.\r\ny", "x\r\n=2E\r\ny"},
        EncoderCase{"NulEscaped", Body, QString(QChar(0)) + "z", "=00z"},
        EncoderCase{"ShortAsciiWordUnchanged", Word, QString(69, QLatin1Char('s')),
                    QString(69, QLatin1Char('s'))},
        EncoderCase{"SeventyCharactersEncoded", Word, Letters70,
                    "=?iso-8859-1?Q?" + QString(58, QLatin1Char('a')) + "?=\r\n\t=?iso-8859-1?Q?" +
                        QString(12, QLatin1Char('a')) + "?="},
        EncoderCase{"FirstWordLeavesRoomForTheName", SubjectWord, Letters70,
                    "=?iso-8859-1?Q?" + QString(50, QLatin1Char('a')) + "?=\r\n\t=?iso-8859-1?Q?" +
                        QString(20, QLatin1Char('a')) + "?="},
        EncoderCase{"Latin1Subject", Word, QString::fromUtf8("Grüße"), "=?iso-8859-1?Q?Gr=FC=DFe?="},
        EncoderCase{"AboveLatin1IsUtf8", Word, QString::fromUtf8("Ⓐ b"), "=?utf-8?Q?=E2=92=B6=20b?="},
        EncoderCase{"PhraseSpecialsEscaped", Word, QString::fromUtf8("é (a), b: c' d? e+f-g/h"),
                    "=?iso-8859-1?Q?=E9=20=28a=29=2C=20b=3A=20c=27=20d=3F=20e+f-g/h?="},
        EncoderCase{"EmptyWordStaysEmpty", Word, "", ""}),
    [](const testing::TestParamInfo<EncoderCase>& info) { return std::string(info.param.name); });

QString U(std::u16string_view units)
{
    return QString::fromUtf16(units.data(), units.size());
}

// Where the encoder's corners meet: soft breaks beside blanks, escapes and surrogates, every
// kind of line end, characters outside the code page. The bytes are those messages have always
// carried: a body as UTF-8 and in the code page, and the text as one UTF-8 line.
struct CornerCase
{
    const char* name;
    QString input;
    QString utf8Body;
    QString ansiBody;
    QString utf8Line;
};

std::vector<CornerCase> CornerCases()
{
    const QString A68(68, u'a');
    const QString A69(69, u'a');
    const QString A70(70, u'a');
    return {
        {"BlankBeforeASoftBreak", A69 + " b", QString(69, u'a') + "=20=\r\nb",
         QString(69, u'a') + "=20=\r\nb", QString(69, u'a') + "=20=\r\nb"},
        {"CharacterSplitAcrossASoftBreak", A68 + U(u"\u00e9z"), QString(68, u'a') + "=C3=\r\n=A9z",
         QString(68, u'a') + "=E9=\r\nz", QString(68, u'a') + "=C3=\r\n=A9z"},
        {"BlankAfterASoftBreakEndsTheLine", A70 + " \r\nnext ", QString(70, u'a') + "=\r\n=20\r\nnext=20",
         QString(70, u'a') + "=\r\n=20\r\nnext=20", QString(70, u'a') + "=\r\n =0D=0Anext=20"},
        {"SurrogatesPairedAndAlone",
         A69 + U(u"\U0001D11E") + "\n" + U(u"\xD834") + "\r" + U(u"\xDD1E") + "x" + U(u"\xD834"),
         QString(69, u'a') + "=F0=\r\n=9D=84=9E\r\n?\r\n?x?", QString(69, u'a') + "?\r\n?\r\n?x?",
         QString(69, u'a') + "=F0=\r\n=9D=84=9E=0A?=0D?x?"},
        {"BlanksAtLineEndsOfEveryKind", "a \r\nb \n \r\r\n\n c\t", "a=20\r\nb=20\r\n=20\r\n\r\n\r\n c=09",
         "a=20\r\nb=20\r\n=20\r\n\r\n\r\n c=09", "a =0D=0Ab =0A =0D=0D=0A=0A c=09"},
        {"DotsAndEquals", ".\r\n..x\r\n=.=", "=2E\r\n=2E=2Ex\r\n=3D=2E=3D", "=2E\r\n=2E=2Ex\r\n=3D=2E=3D",
         "=2E=0D=0A=2E=2Ex=0D=0A=3D=2E=3D"},
        {"ControlRangeAndNonCharacters",
         U(u"\u0080\u0081\u009f\u00a0\u20ac\u0178\ufffd\uffff") + QChar(0) + "e",
         "=C2=80=C2=81=C2=9F=C2=A0=E2=82=AC=C5=B8=EF=BF=BD=EF=BF=BF=00e", "?=81?=A0=80=9F??=00e",
         "=C2=80=C2=81=C2=9F=C2=A0=E2=82=AC=C5=B8=EF=BF=BD=EF=BF=BF=00e"},
        {"LongLinesOfWideCharacters", QString(40, QChar(0xfc)) + " " + QString(30, QChar(0x4e2d)),
         "=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=\r\n=C3=BC=C3=BC=C3=BC=C3="
         "BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=\r\n=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC="
         "C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=\r\n=C3=BC=C3=BC=C3=BC=C3=BC "
         "=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=\r\n=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4="
         "B8=AD=E4=B8=AD=E4=B8=AD=\r\n=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8="
         "AD=\r\n=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=\r\n=E4=B8=AD",
         "=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=FC=\r\n=FC=FC=FC=FC=FC=FC=FC="
         "FC=FC=FC=FC=FC=FC=FC=FC=FC ?????????????????????=\r\n?????????",
         "=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=\r\n=C3=BC=C3=BC=C3=BC=C3="
         "BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=\r\n=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=C3=BC="
         "C3=BC=C3=BC=C3=BC=C3=BC=C3=BC=\r\n=C3=BC=C3=BC=C3=BC=C3=BC "
         "=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=\r\n=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4="
         "B8=AD=E4=B8=AD=E4=B8=AD=\r\n=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8="
         "AD=\r\n=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=E4=B8=AD=\r\n=E4=B8=AD"},
        {"LinesOfBlanks", QString(75, u' ') + "\n" + QString(71, u' '),
         QString(69, u' ') + "=20=\r\n    =20\r\n" + QString(69, u' ') + "=20=\r\n=20",
         QString(69, u' ') + "=20=\r\n    =20\r\n" + QString(69, u' ') + "=20=\r\n=20",
         QString(69, u' ') + "=20=\r\n     =0A" + QString(61, u' ') + "=20=\r\n        =20"}};
}

TEST(QuotedPrintable, CornerCasesKeepTheirBytes)
{
    for (const CornerCase& c : CornerCases())
    {
        EXPECT_EQ(Body(c.input), c.utf8Body) << c.name;
        EXPECT_EQ(CVexaMail::EncodeQPBody(c.input, true), c.ansiBody) << c.name;
        EXPECT_EQ(Line(c.input), c.utf8Line) << c.name;
        // The HTML body's one pass gives what escaping and encoding give one after the other.
        QByteArray html;
        QuotedPrintable::AppendHtmlBody(html, c.input);
        EXPECT_EQ(html, Body(EscapeHtmlNonAscii(c.input)).toLatin1()) << c.name;
    }
}

TEST(QuotedPrintable, LongBodyDecodesToItsBytesWithinLineLimits)
{
    QString body;
    for (int line = 0; line < 40; ++line)
        body += QString::fromUtf8("Zeile %1: Grüße, naïve café – ✓ 𝄞 ").arg(line).repeated(line % 7 + 1) +
                (line % 5 == 0 ? "\r\n\r\n" : "\r\n");
    for (const bool ansi : {false, true})
    {
        const QString encoded = CVexaMail::EncodeQPBody(body, ansi);
        for (const QString& line : encoded.split(QLatin1String("\r\n")))
        {
            EXPECT_LE(line.size(), 73) << line.toStdString();
            EXPECT_FALSE(line.startsWith(QLatin1Char('.')));
        }
        const auto decoded = MailDecoding::DecodeQuotedPrintable(encoded.toLatin1());
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, ansi ? AnsiCodePage::FromText(body) : body.toUtf8());
    }
}

TEST(HeaderWordEncoding, WordsStayShortKeepCharactersWholeAndDecodeToTheValue)
{
    const QStringList values = {
        QString::fromUtf8("Newsletter für Mai – mit 𝄞 und ✓ ").repeated(6),
        QString::fromUtf8("ÄÖÜ äöü ß ").repeated(20),
        QString::fromUtf8("日本語のニュースレター").repeated(9),
        QString(200, QLatin1Char('x')),
        QStringLiteral("line\r\nBcc: victim@example.org\r\n.\r\nQUIT") + QChar(0),
    };
    // What stands before the value on its first line: nothing, "Subject: ", "Content-Description: ".
    for (const qsizetype used : {0, 9, 21})
    {
        for (const QString& value : values)
        {
            const QString encoded = CVexaMail::EncodeHeaderWord(value, used);
            const QStringList words = encoded.split(QLatin1String("\r\n\t"));
            EXPECT_LE(used + words.first().size(), 76) << used;
            for (const QString& word : words)
            {
                EXPECT_LE(word.size(), 75) << word.toStdString();
                EXPECT_FALSE(word.contains(QLatin1Char('\r')) || word.contains(QLatin1Char('\n')));
            }
            EXPECT_EQ(MailDecoding::DecodeHeaderValue(encoded), value) << encoded.toStdString();
        }
    }
}

TEST(MailText, CharacterRanges)
{
    EXPECT_TRUE(IsLatin1Text(QString::fromUtf8("Grüße ~")));
    EXPECT_FALSE(IsLatin1Text(QString(QChar(127))));
    EXPECT_FALSE(IsLatin1Text(QString(QChar(159))));
    EXPECT_TRUE(IsLatin1Text(QString(QChar(160))));
    EXPECT_FALSE(IsLatin1Text(QString(QChar(256))));
    EXPECT_TRUE(IsPrintableAscii(QStringLiteral(" ~") + QChar(127)));
    EXPECT_FALSE(IsPrintableAscii(QStringLiteral("tab\there")));
    EXPECT_FALSE(IsPrintableAscii(QString::fromUtf8("é")));
}

TEST(MailText, PlainAddresses)
{
    EXPECT_TRUE(IsPlainMailAddress(QStringLiteral("news+list@example.org")));
    EXPECT_TRUE(IsPlainMailAddress(QStringLiteral("postmaster@localhost")));
    for (const char* address :
         {"", "a2", "a2@", "@example.org", "a b@example.org", "a@example.org\r\nRCPT TO:<x@y>",
          "<a@example.org>", "a@example.org>", "a\t@b", "a\x01@b"})
        EXPECT_FALSE(IsPlainMailAddress(QString::fromLatin1(address))) << address;
    EXPECT_FALSE(IsPlainMailAddress(QString::fromUtf8("jörg@example.org")));
}

TEST(MailText, HtmlEscapingWritesOneReferencePerCodePoint)
{
    EXPECT_EQ(EscapeHtmlNonAscii(QString::fromUtf8("é")), "&#233;");
    EXPECT_EQ(EscapeHtmlNonAscii(QString::fromUtf8("a~\x7f")), "a~&#127;");
    EXPECT_EQ(EscapeHtmlNonAscii(QString::fromUtf8("𝄞")), "&#119070;");
    EXPECT_EQ(EscapeHtmlNonAscii(QString(QChar(0xD834)) + "x"), "&#65533;x");
    EXPECT_EQ(EscapeHtmlNonAscii(QStringLiteral("<p>plain</p>")), "<p>plain</p>");
    EXPECT_EQ(EscapeHtmlNonAscii(QString()), "");
    EXPECT_EQ(EscapeHtmlNonAscii(U(u"~\U0010FFFF")), "~&#1114111;");
    EXPECT_EQ(EscapeHtmlNonAscii(U(u"\xDD1Ex\xD834")), "&#65533;x&#65533;");
    EXPECT_EQ(EscapeHtmlNonAscii(U(u"<p>\u00fc\u00fc</p>\u20ac")), "<p>&#252;&#252;</p>&#8364;");
}
} // namespace
