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
