#include "base/AnsiCodePage.h"

#include <gtest/gtest.h>

TEST(AnsiCodePage, ConvertsTheWindows1252RangeBothWays)
{
    const QString text = QString::fromUtf16(u"A\u00E9\u20AC\u201C\u0178\u00FF");
    const QByteArray bytes("A\xE9\x80\x93\x9F\xFF", 6);
    EXPECT_EQ(AnsiCodePage::FromText(text), bytes);
    EXPECT_EQ(AnsiCodePage::ToText(bytes), text);
}

TEST(AnsiCodePage, UnmappableCharactersBecomeTheDefaultCharacter)
{
    // One question mark per character, also for a character outside the basic plane.
    const QString text = QString::fromUtf16(u"\u4E2D\U0001F600x");
    EXPECT_EQ(AnsiCodePage::FromText(text), QByteArray("??x"));
}

TEST(AnsiCodePage, KeepsNulCharacters)
{
    const QByteArray bytes("a\0b", 3);
    EXPECT_EQ(AnsiCodePage::ToText(bytes).size(), 3);
    EXPECT_EQ(AnsiCodePage::FromText(AnsiCodePage::ToText(bytes)), bytes);
}

TEST(AnsiCodePage, EveryUnitHasItsByteOrTheDefaultCharacter)
{
    // The 256 characters of the code page come back as their bytes; every other unit, the
    // surrogates included, is the default character. A blank after each unit keeps surrogates
    // from pairing.
    QString all;
    for (int unit = 0; unit < 0x10000; ++unit)
        all += QChar(char16_t(unit)) + QLatin1Char(' ');
    const QByteArray bytes = AnsiCodePage::FromText(all);
    ASSERT_EQ(bytes.size(), 0x20000);
    int mapped = 0;
    for (int unit = 0; unit < 0x10000; ++unit)
    {
        const char byte = bytes[2 * unit];
        EXPECT_EQ(AnsiCodePage::FromUnit(char16_t(unit)), byte) << unit;
        const bool inCodePage = AnsiCodePage::ToText(QByteArray(1, byte)) == QString(QChar(char16_t(unit)));
        mapped += inCodePage;
        if (!inCodePage)
            EXPECT_EQ(byte, AnsiCodePage::DefaultCharacter) << unit;
    }
    EXPECT_EQ(mapped, 256);
}
