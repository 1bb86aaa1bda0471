#include "base/HtmlEntities.h"

#include <gtest/gtest.h>

TEST(HtmlEntities, EscapesMarkupCharactersAndEveryCharacterFrom128Up)
{
    const std::pair<QString, QString> cases[] = {
        {QString(), QString()},
        {QStringLiteral("a<b & \"c\""), QStringLiteral("a&lt;b &amp; &quot;c&quot;")},
        {QStringLiteral("&amp;"), QStringLiteral("&amp;amp;")},
        {QStringLiteral("It's plain\r\n\t~"), QStringLiteral("It's plain\r\n\t~")},
        {QString(QChar(0x7F)), QString(QChar(0x7F))},
        {QString(QChar(0x80)), QStringLiteral("&#128;")},
        {QStringLiteral("caf\u00e9"), QStringLiteral("caf&#233;")},
        {QStringLiteral("\u20ac 5"), QStringLiteral("&#8364; 5")},
        {QString::fromUtf8("\xF0\x9F\x98\x80"), QStringLiteral("&#128512;")},
        {QString(QChar(0xD83D)) + QLatin1Char('x'), QStringLiteral("&#65533;x")},
        {QString(QChar(0xDE00)), QStringLiteral("&#65533;")},
        {QString(QChar(0xFFFF)), QStringLiteral("&#65535;")},
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(EncodeHtmlEntities(text), escaped) << qPrintable(text);
}
