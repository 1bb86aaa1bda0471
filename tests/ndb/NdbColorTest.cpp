#include "ndb/NdbColor.h"
#include "ndb/NdbHsv.h"
#include "ndb/NdbRgba.h"

#include "ndb/NdbArchiveHelpers.h"

#include <gtest/gtest.h>

using namespace ndb;
using NdbTest::Int;
using NdbTest::Text;

TEST(NdbColor, DefaultIsNoColourOpaqueBlackWithoutKey)
{
    const CNdbColor color;
    EXPECT_EQ(color.GetKind(), NdbColorNone);
    EXPECT_EQ(color.GetRgba(), CNdbRgba(0, 0, 0, 255));
    EXPECT_TRUE(color.GetKey().isEmpty());
    EXPECT_EQ(color.GetClassName(), "CNdbColor");
    EXPECT_EQ(color.GetClassKey(), 1);
}

TEST(NdbColor, TextFormsOfEveryKind)
{
    EXPECT_EQ(CNdbColor(CNdbRgba(255, 0, 0, 128)).ToText(), "F{#FF000080}");
    EXPECT_EQ(CNdbColor(0x0a, 0xb0, 0x0c).ToText(), "F{#0AB00CFF}");
    EXPECT_EQ(CNdbColor(QStringLiteral("{1A2B}")).ToText(), "P{1A2B}");
    EXPECT_EQ(CNdbColor(QStringLiteral("1A2B")).ToText(), "P{1A2B}");
    EXPECT_EQ(CNdbColor().ToText(), "F{}");
}

TEST(NdbColor, CssFormIsEmptyUnlessVisibleFixedColour)
{
    EXPECT_EQ(CNdbColor(1, 2, 3).ToHex(), "#010203");
    EXPECT_EQ(CNdbColor(CNdbRgba(0xAB, 0xCD, 0xEF, 1)).ToHex(), "#ABCDEF");
    EXPECT_EQ(CNdbColor(CNdbRgba(1, 2, 3, 0)).ToHex(), "");
    EXPECT_EQ(CNdbColor(QStringLiteral("{K}")).ToHex(), "");
    EXPECT_EQ(CNdbColor().ToHex(), "");
}

struct ParseCase
{
    const char* text;
    int kind;
    CNdbRgba rgba;
    const char* key;
};

TEST(NdbColor, FromTextReadsStoredForms)
{
    const ParseCase cases[] = {
        {"F{#ff000080}", NdbColorFixed, {255, 0, 0, 128}, ""},
        {"F{#FF000080}", NdbColorFixed, {255, 0, 0, 128}, ""},
        {"F{#00FF00FF}junk", NdbColorFixed, {0, 255, 0, 255}, ""},
        {"P{1A2B}", NdbColorPalette, {}, "{1A2B}"},
        {"P{}", NdbColorPalette, {}, "{}"},
        {"P{1A2B}tail", NdbColorPalette, {}, "{1A2B}"},
        {"F{#FF0000}", NdbColorNone, {}, ""},
        {"F{#GG000000}", NdbColorNone, {}, ""},
        {"F{#+1000000}", NdbColorNone, {}, ""},
        {"F{# 1000000}", NdbColorNone, {}, ""},
        {"F{#FF00000080}", NdbColorNone, {}, ""},
        {"F{#FF000080", NdbColorNone, {}, ""},
        {"F{}", NdbColorNone, {}, ""},
        {"", NdbColorNone, {}, ""},
        {" F{#FF000080}", NdbColorNone, {}, ""},
        {"P{1A2B", NdbColorNone, {}, ""},
        {"P{", NdbColorNone, {}, ""},
        {"#FF0000", NdbColorNone, {}, ""},
    };
    for (const ParseCase& c : cases)
    {
        CNdbColor color;
        color.FromText(QString::fromUtf8(c.text));
        EXPECT_EQ(color.GetKind(), c.kind) << c.text;
        if (c.kind == NdbColorFixed)
        {
            EXPECT_EQ(color.GetRgba(), c.rgba) << c.text;
        }
        if (c.kind == NdbColorPalette)
        {
            EXPECT_EQ(color.GetKey(), QString::fromUtf8(c.key)) << c.text;
        }
    }
}

TEST(NdbColor, FailedParseResetsKindOnly)
{
    CNdbColor color(CNdbRgba(9, 8, 7, 6));
    color.FromText(QStringLiteral("F{#nothex!!}"));
    EXPECT_EQ(color.GetKind(), NdbColorNone);
    EXPECT_EQ(color.GetRgba(), CNdbRgba(9, 8, 7, 6));
}

TEST(NdbColor, TextFormRoundTrips)
{
    const CNdbColor colors[] = {CNdbColor(CNdbRgba(1, 2, 3, 4)), CNdbColor(QStringLiteral("{ABC-123}")),
                                CNdbColor()};
    for (const CNdbColor& original : colors)
    {
        CNdbColor read(7, 7, 7);
        read.FromText(original.ToText());
        EXPECT_EQ(read, original) << original.ToText().toStdString();
    }
}

TEST(NdbColor, ColorRefIsRgbOrWhite)
{
    EXPECT_EQ(CNdbColor(CNdbRgba(0x12, 0x34, 0x56, 0x78)).ToColorRef(), 0x563412u);
    EXPECT_EQ(CNdbColor().ToColorRef(), 0xFFFFFFu);
    EXPECT_EQ(CNdbColor(QStringLiteral("{K}")).ToColorRef(), 0xFFFFFFu);
}

TEST(NdbColor, EqualityComparesWhatTheKindMeans)
{
    EXPECT_NE(CNdbColor(QStringLiteral("{A}")), CNdbColor(QStringLiteral("{B}")));
    EXPECT_NE(CNdbColor(QStringLiteral("{a}")), CNdbColor(QStringLiteral("{A}")));
    EXPECT_EQ(CNdbColor(QStringLiteral("{A}")), CNdbColor(QStringLiteral("{A}")));
    CNdbColor noneWithBytes(CNdbRgba(1, 2, 3, 4));
    noneWithBytes.FromText(QString());
    EXPECT_EQ(noneWithBytes, CNdbColor());
    EXPECT_NE(CNdbColor(CNdbRgba(1, 2, 3, 4)), CNdbColor(CNdbRgba(1, 2, 3, 5)));
    EXPECT_NE(CNdbColor(1, 2, 3), CNdbColor());
}

TEST(NdbColor, ArchivesKindPackedBytesAndKey)
{
    CNdbColor fixed(CNdbRgba(0x11, 0x22, 0x33, 0x44));
    EXPECT_EQ(NdbTest::WriteRoot(fixed), Int(1) + Int(0x44332211) + Int(0));

    CNdbColor reference(QStringLiteral("{K}"));
    const QByteArray bytes = NdbTest::WriteRoot(reference);
    EXPECT_EQ(bytes, Int(2) + Int(0xFF000000) + Text("{K}"));
    CNdbColor read;
    ASSERT_TRUE(NdbTest::ReadRoot(bytes, read));
    EXPECT_EQ(read, reference);
    EXPECT_EQ(read.GetRgba(), CNdbRgba(0, 0, 0, 255));
}

TEST(NdbColor, RecreatedByClassNameFromObjectPointer)
{
    CNdbColor color(CNdbRgba(5, 6, 7, 8));
    const std::unique_ptr<CNdbColor> read = NdbTest::ReadObject<CNdbColor>(NdbTest::WriteObject(&color));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, color);
}

TEST(NdbColor, TruncatedArchiveFailsCleanly)
{
    CNdbColor color(QStringLiteral("{K}"));
    const QByteArray bytes = NdbTest::WriteRoot(color);
    for (qsizetype size = 0; size < bytes.size(); ++size)
    {
        CNdbColor read;
        EXPECT_FALSE(NdbTest::ReadRoot(bytes.left(size), read)) << size;
    }
}

struct HsvCase
{
    CNdbRgba rgba;
    double hue;
    double saturation;
    double value;
};

TEST(NdbHsv, ConvertsFromRgb)
{
    const HsvCase cases[] = {
        {{255, 0, 0, 255}, 360, 1, 1},
        {{255, 255, 255, 255}, -1, 0, 1},
        {{0, 0, 0, 255}, -1, 0, 0},
        {{255, 255, 0, 255}, 60, 1, 1},
        {{0, 255, 0, 255}, 120, 1, 1},
        {{0, 0, 255, 255}, 240, 1, 1},
        {{0, 255, 255, 255}, 180, 1, 1},
        {{255, 0, 255, 255}, 300, 1, 1},
        {{128, 64, 64, 255}, 360, 0.5, 128 / 255.0},
    };
    for (const HsvCase& c : cases)
    {
        const CNdbHsv hsv(c.rgba);
        EXPECT_DOUBLE_EQ(hsv.hue, c.hue)
            << int(c.rgba.red) << "," << int(c.rgba.green) << "," << int(c.rgba.blue);
        EXPECT_NEAR(hsv.saturation, c.saturation, 1e-9);
        EXPECT_NEAR(hsv.value, c.value, 1e-9);
    }
    EXPECT_EQ(CNdbHsv(CNdbRgba(1, 2, 3, 77)).alpha, 77);
}

TEST(NdbHsv, PrimaryAndGreyColoursSurviveRoundTrip)
{
    const CNdbRgba colors[] = {{255, 0, 0, 255},     {0, 255, 0, 10},    {0, 0, 255, 0},
                               {255, 255, 0, 255},   {0, 255, 255, 255}, {255, 0, 255, 255},
                               {255, 255, 255, 255}, {0, 0, 0, 255},     {128, 128, 128, 3}};
    for (const CNdbRgba& rgba : colors)
        EXPECT_EQ(CNdbRgba(CNdbHsv(rgba)), rgba)
            << int(rgba.red) << "," << int(rgba.green) << "," << int(rgba.blue);
}

TEST(NdbHsv, ConstructorClampsSaturationAndValueOnly)
{
    const CNdbHsv hsv(400, 1.5, -0.2, 9);
    EXPECT_DOUBLE_EQ(hsv.hue, 400);
    EXPECT_DOUBLE_EQ(hsv.saturation, 1);
    EXPECT_DOUBLE_EQ(hsv.value, 0);
    EXPECT_EQ(hsv.alpha, 9);
}

TEST(NdbHsv, HueOutsideCircleGivesBytesInRange)
{
    // Sector 0 with a negative fraction would compute a channel above 255 or below 0.
    EXPECT_EQ(CNdbRgba(CNdbHsv(-30, 1, 1)), CNdbRgba(255, 0, 0));
    EXPECT_EQ(CNdbRgba(CNdbHsv(1e300, 1, 1)), CNdbRgba(255, 0, 0));
    EXPECT_EQ(CNdbRgba(CNdbHsv(-1, 0, 0.5)), CNdbRgba(127, 127, 127));
}
