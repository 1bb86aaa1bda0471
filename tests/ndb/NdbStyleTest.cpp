#include "ndb/NdbStyle.h"
#include "ndb/NdbCssKeywords.h"

#include "ndb/NdbArchiveHelpers.h"

#include <gtest/gtest.h>

using namespace ndb;
using NdbTest::Int;
using NdbTest::Text;

namespace
{
using Getter = QString (CNdbStyle::*)() const;
using Parser = bool (CNdbStyle::*)(const QString&);

struct KeywordField
{
    int id;
    int valueType;
    Getter get;
    Parser parse; // null when the field is only written
};

const KeywordField KeywordFields[] = {
    {220, 300, &CNdbStyle::GetFontStyleText, nullptr},
    {230, 310, &CNdbStyle::GetFontVariantText, nullptr},
    {240, 320, &CNdbStyle::GetFontWeightText, nullptr},
    {310, 330, &CNdbStyle::GetTextAlignText, &CNdbStyle::SetTextAlignText},
    {330, 340, &CNdbStyle::GetVerticalAlignText, &CNdbStyle::SetVerticalAlignText},
    {360, 350, &CNdbStyle::GetTextTransformText, nullptr},
    {710, 370, &CNdbStyle::GetBorderLeftStyleText, &CNdbStyle::SetBorderLeftStyleText},
    {740, 370, &CNdbStyle::GetBorderTopStyleText, &CNdbStyle::SetBorderTopStyleText},
    {770, 370, &CNdbStyle::GetBorderRightStyleText, &CNdbStyle::SetBorderRightStyleText},
    {800, 370, &CNdbStyle::GetBorderBottomStyleText, &CNdbStyle::SetBorderBottomStyleText},
    {920, 380, &CNdbStyle::GetBackgroundRepeatText, &CNdbStyle::SetBackgroundRepeatText},
    {930, 390, &CNdbStyle::GetBackgroundAttachmentText, nullptr},
    {940, 500, &CNdbStyle::GetBackgroundPositionXText, &CNdbStyle::SetBackgroundPositionXText},
    {960, 510, &CNdbStyle::GetBackgroundPositionYText, &CNdbStyle::SetBackgroundPositionYText},
    {1000, 600, &CNdbStyle::GetCursorText, nullptr},
    {1400, 700, &CNdbStyle::GetWhiteSpaceText, nullptr},
    {1410, 710, &CNdbStyle::GetFloatText, &CNdbStyle::SetFloatText},
    {1420, 720, &CNdbStyle::GetClearText, &CNdbStyle::SetClearText},
    {1430, 730, &CNdbStyle::GetOverflowText, &CNdbStyle::SetOverflowText},
    {1440, 740, &CNdbStyle::GetPositionText, nullptr},
    {1450, 750, &CNdbStyle::GetDisplayText, &CNdbStyle::SetDisplayText},
};

const std::pair<int, Getter> DecorationFields[] = {
    {370, &CNdbStyle::GetTextDecorationText},
    {1230, &CNdbStyle::GetLinkDecorationText},
    {1260, &CNdbStyle::GetHoverLinkDecorationText},
    {1290, &CNdbStyle::GetVisitedLinkDecorationText},
};

// The value type each style id takes; every other id takes a text.
const std::pair<int, int> FieldTypes[] = {
    {1, 0},      {100, 3},    {110, 3},    {200, 3},    {210, 200},  {220, 300},  {230, 310},  {240, 320},
    {300, 200},  {310, 330},  {320, 200},  {330, 340},  {340, 200},  {350, 200},  {360, 350},  {370, 1},
    {400, 210},  {500, 200},  {510, 200},  {520, 200},  {530, 200},  {600, 200},  {610, 200},  {620, 200},
    {630, 200},  {700, 200},  {710, 370},  {720, 210},  {730, 200},  {740, 370},  {750, 210},  {760, 200},
    {770, 370},  {780, 210},  {790, 200},  {800, 370},  {810, 210},  {900, 210},  {910, 3},    {915, 3},
    {920, 380},  {930, 390},  {940, 500},  {950, 200},  {960, 510},  {970, 200},  {1000, 600}, {1200, 0},
    {1210, 210}, {1220, 320}, {1230, 1},   {1240, 210}, {1250, 320}, {1260, 1},   {1270, 210}, {1280, 320},
    {1290, 1},   {1300, 200}, {1310, 200}, {1320, 200}, {1330, 200}, {1340, 200}, {1350, 200}, {1360, 1},
    {1400, 700}, {1410, 710}, {1420, 720}, {1430, 730}, {1440, 740}, {1450, 750}, {9999, 3},
};

CNdbFieldValue SampleOfType(int type)
{
    switch (type)
    {
    case NdbValueText:
        return CNdbFieldValue(u"text");
    case NdbValueLength:
        return CNdbFieldValue(1.0f, NdbUnitPx);
    case NdbValueColor:
        return CNdbFieldValue(CNdbColor(1, 2, 3));
    case NdbValueTime:
        return CNdbFieldValue(QDateTime(QDate(2020, 1, 1), QTime(0, 0)));
    default:
        return CNdbFieldValue(type, 1);
    }
}

int Stored(const CNdbStyle& style, int id)
{
    CNdbFieldValue value;
    return style.GetField(id, value) ? value.GetInt() : -1;
}
} // namespace

TEST(NdbStyle, NewStyleHasKindTwelveAndNoFields)
{
    CNdbStyle style;
    EXPECT_EQ(style.GetKind(), NdbKindStyle);
    EXPECT_TRUE(style.GetFields().empty());
    EXPECT_FALSE(style.IsElementStyle());
    EXPECT_EQ(style.GetClassName(), "CNdbStyle");
    EXPECT_EQ(NdbTest::WriteRoot(style), Int(12) + Int(0));
}

TEST(NdbStyle, TypeCheckAcceptsExactlyTheFieldsType)
{
    const int types[] = {0,   1,   2,   3,   4,   100, 200, 210, 300, 310, 320, 330, 340, 350, 370, 380,
                         390, 500, 510, 600, 700, 710, 720, 730, 740, 750, 800, 850, 900, 950, 999, 360};
    std::vector<std::pair<int, int>> ids(std::begin(FieldTypes), std::end(FieldTypes));
    for (int unknownId : {0, 2, 105, 215, 1100, 5000, 10000, -1})
        ids.emplace_back(unknownId, NdbValueText);
    for (const auto& [id, accepted] : ids)
    {
        for (int type : types)
        {
            CNdbStyle style;
            EXPECT_EQ(style.SetField(id, SampleOfType(type)), type == accepted)
                << "id " << id << " type " << type;
        }
    }
}

TEST(NdbStyle, KeywordGettersFollowTheirEnumeration)
{
    for (const KeywordField& field : KeywordFields)
    {
        CNdbStyle style;
        EXPECT_EQ((style.*field.get)(), "") << field.id;
        for (int code = 0; code < 20; ++code)
        {
            ASSERT_TRUE(style.SetField(field.id, CNdbFieldValue(field.valueType, code)));
            const bool lengthCode = (field.id == 940 || field.id == 960) && code == 3;
            const QString expected = lengthCode ? QString() : KeywordToText(field.valueType, code);
            EXPECT_EQ((style.*field.get)(), expected) << field.id << "/" << code;
        }
    }
}

TEST(NdbStyle, ParsersStoreTheEnumerationTypeOrRemoveTheField)
{
    for (const KeywordField& field : KeywordFields)
    {
        if (!field.parse)
            continue;
        CNdbStyle style;
        ASSERT_TRUE(style.SetField(field.id, CNdbFieldValue(field.valueType, 2)));
        EXPECT_FALSE((style.*field.parse)(QString())) << field.id;
        EXPECT_EQ(Stored(style, field.id), -1) << field.id;

        EXPECT_TRUE((style.*field.parse)(QStringLiteral("RIGHT center left none solid no-repeat top auto")))
            << field.id;
        CNdbFieldValue value;
        ASSERT_TRUE(style.GetField(field.id, value));
        EXPECT_EQ(value.GetType(), field.valueType) << field.id;
        EXPECT_EQ((style.*field.get)(), KeywordToText(field.valueType, value.GetInt())) << field.id;
    }
}

TEST(NdbStyle, ParserExamples)
{
    const struct
    {
        Parser parse;
        const char* text;
        int id;
        int code; // -1: refused, field absent afterwards
    } cases[] = {
        {&CNdbStyle::SetTextAlignText, "Center", 310, 1},
        {&CNdbStyle::SetTextAlignText, "middle", 310, -1},
        {&CNdbStyle::SetVerticalAlignText, "text-top", 330, 6},
        {&CNdbStyle::SetVerticalAlignText, "top", 330, 3},
        {&CNdbStyle::SetVerticalAlignText, "text-bottom", 330, 7},
        {&CNdbStyle::SetVerticalAlignText, "bottom", 330, 5},
        {&CNdbStyle::SetVerticalAlignText, "baseline", 330, 0},
        {&CNdbStyle::SetBackgroundRepeatText, "no-repeat", 920, 3},
        {&CNdbStyle::SetBackgroundRepeatText, "repeat-x", 920, 1},
        {&CNdbStyle::SetDisplayText, "inline-block", 1450, 3},
        {&CNdbStyle::SetDisplayText, "inline", 1450, 1},
        {&CNdbStyle::SetBorderTopStyleText, "solid 1px #000000", 740, 4},
        {&CNdbStyle::SetClearText, "both sides", 1420, 3},
        {&CNdbStyle::SetFloatText, "none", 1410, -1},
    };
    for (const auto& c : cases)
    {
        CNdbStyle style;
        // A field that held a value before: a refused text must not leave it behind.
        style.FieldRef(c.id) = CNdbFieldValue(NdbValueInt, 2);
        EXPECT_EQ((style.*c.parse)(QString::fromUtf8(c.text)), c.code >= 0) << c.text;
        EXPECT_EQ(Stored(style, c.id), c.code) << c.text;
    }

    CNdbStyle style;
    style.SetField(1410, CNdbFieldValue(NdbValueFloatKeyword, 0));
    EXPECT_EQ(style.GetFloatText(), "");
}

TEST(NdbStyle, BackgroundPositionFallsBackToLengthCode)
{
    CNdbStyle style;
    ASSERT_TRUE(style.SetField(950, CNdbFieldValue(4.0f, NdbUnitPt)));
    EXPECT_TRUE(style.SetBackgroundPositionXText(QStringLiteral("right")));
    EXPECT_EQ(Stored(style, 940), 2);
    EXPECT_TRUE(style.SetBackgroundPositionXText(QStringLiteral("15px")));
    EXPECT_EQ(Stored(style, 940), 3);
    EXPECT_EQ(style.GetBackgroundPositionXText(), "4pt");
    EXPECT_FALSE(style.SetBackgroundPositionXText(QString()));
    EXPECT_EQ(Stored(style, 940), -1);
    EXPECT_EQ(style.GetBackgroundPositionXText(), "");

    ASSERT_TRUE(style.SetField(940, CNdbFieldValue(NdbValueBackgroundPositionX, 3)));
    ASSERT_TRUE(style.SetField(950, CNdbFieldValue(15.0f, NdbUnitPx)));
    EXPECT_EQ(style.GetBackgroundPositionXText(), "15px");
    style.RemoveField(950);
    EXPECT_EQ(style.GetBackgroundPositionXText(), "");

    EXPECT_TRUE(style.SetBackgroundPositionYText(QStringLiteral("50%")));
    EXPECT_EQ(Stored(style, 960), 3);
    ASSERT_TRUE(style.SetField(970, CNdbFieldValue(50.0f, NdbUnitPercent)));
    EXPECT_EQ(style.GetBackgroundPositionYText(), "50%");
    EXPECT_TRUE(style.SetBackgroundPositionYText(QStringLiteral("Bottom")));
    EXPECT_EQ(style.GetBackgroundPositionYText(), "bottom");
}

TEST(NdbStyle, DecorationTextsOfFlagSets)
{
    const std::pair<int, const char*> cases[] = {
        {0, ""},
        {1, "none"},
        {3, "none"},
        {15, "none"},
        {2, "underline"},
        {6, "underline overline"},
        {14, "underline overline line-through"},
        {8, "line-through"},
        {16, ""},
    };
    for (const auto& [flags, text] : cases)
    {
        EXPECT_EQ(CNdbStyle::DecorationToText(flags), text) << flags;
        for (const auto& [id, get] : DecorationFields)
        {
            CNdbStyle style;
            EXPECT_EQ((style.*get)(), "") << id;
            ASSERT_TRUE(style.SetField(id, CNdbFieldValue(NdbValueInt, flags)));
            EXPECT_EQ((style.*get)(), text) << id << "/" << flags;
        }
    }
}

TEST(NdbStyle, BorderStyleHelpers)
{
    EXPECT_EQ(CNdbStyle::BorderStyleToText(1), "");
    EXPECT_EQ(CNdbStyle::BorderStyleToText(4), "solid");
    EXPECT_EQ(CNdbStyle::BorderStyleToText(10), "");
    int code = -1;
    EXPECT_TRUE(CNdbStyle::ParseBorderStyle(QStringLiteral("2px DASHED red"), code));
    EXPECT_EQ(code, 3);
    EXPECT_FALSE(CNdbStyle::ParseBorderStyle(QStringLiteral("2px"), code));

    CNdbStyle style;
    style.SetField(740, CNdbFieldValue(NdbValueBorderStyle, 1));
    EXPECT_EQ(style.GetBorderTopStyleText(), "");
    style.SetField(740, CNdbFieldValue(NdbValueBorderStyle, 4));
    EXPECT_EQ(style.GetBorderTopStyleText(), "solid");
}

TEST(NdbStyle, CursorCodesAtTheEnds)
{
    CNdbStyle style;
    const std::pair<int, const char*> cases[] = {{5, "e-resize"}, {16, "progress"}, {17, ""}, {-1, ""}};
    for (const auto& [code, text] : cases)
    {
        style.SetField(1000, CNdbFieldValue(NdbValueCursor, code));
        EXPECT_EQ(style.GetCursorText(), text) << code;
    }
}

TEST(NdbStyle, NamedStyleWithoutPropertiesWritesNothing)
{
    CNdbStyle style;
    style.SetField(100, CNdbFieldValue(u"Heading 1"));
    style.SetField(110, CNdbFieldValue(u"h1"));
    EXPECT_EQ(style.GetName(), "Heading 1");
    for (const KeywordField& field : KeywordFields)
        EXPECT_EQ((style.*field.get)(), "") << field.id;
    for (const auto& [id, get] : DecorationFields)
        EXPECT_EQ((style.*get)(), "") << id;
}

TEST(NdbStyle, ElementFlagIsField1)
{
    CNdbStyle style;
    EXPECT_TRUE(style.SetField(1, CNdbFieldValue(NdbValueBool, 1)));
    EXPECT_TRUE(style.IsElementStyle());
}

TEST(NdbStyle, ArchivesFieldRecordOnly)
{
    CNdbStyle style;
    style.SetField(100, CNdbFieldValue(u"Normal"));
    EXPECT_EQ(NdbTest::WriteRoot(style), Int(12) + Int(1) + Int(100) + Int(3) + Text("Normal"));
}

TEST(NdbStyle, EveryFieldKindRoundTripsThroughObjectArchive)
{
    CNdbStyle style;
    for (const auto& [id, type] : FieldTypes)
        ASSERT_TRUE(style.SetField(id, SampleOfType(type))) << id;
    style.SetField(400, CNdbFieldValue(CNdbColor(QStringLiteral("{PALETTE-KEY}"))));
    style.SetField(12345, CNdbFieldValue(u"unknown id keeps its text"));

    const QByteArray bytes = NdbTest::WriteObject(&style);
    const std::unique_ptr<CNdbStyle> read = NdbTest::ReadObject<CNdbStyle>(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetFields().size(), style.GetFields().size());
    EXPECT_EQ(NdbTest::WriteObject(read.get()), bytes);
    CNdbFieldValue color;
    ASSERT_TRUE(read->GetField(400, color));
    ASSERT_TRUE(color.GetColor());
    EXPECT_EQ(color.GetColor()->ToText(), "P{PALETTE-KEY}");
    EXPECT_EQ(read->GetString(12345), "unknown id keeps its text");
}

TEST(NdbStyle, LoadingKeepsWrongTypedFieldUntilProperStore)
{
    // A font size archived as text: kept by the load, refused by SetField, replaced by a length.
    CNdbStyle style;
    ASSERT_TRUE(NdbTest::ReadRoot(Int(12) + Int(1) + Int(210) + Int(3) + Text("12px"), style));
    EXPECT_EQ(style.GetString(210), "12px");
    EXPECT_FALSE(style.SetField(210, CNdbFieldValue(u"14px")));
    EXPECT_EQ(style.GetString(210), "12px");
    EXPECT_TRUE(style.SetField(210, CNdbFieldValue(14.0f, NdbUnitPx)));
    CNdbFieldValue size;
    ASSERT_TRUE(style.GetField(210, size));
    EXPECT_EQ(size.FormatLength(), "14px");
}

TEST(NdbStyle, StyleObjectOfWrongClassIsRefused)
{
    CNdbBase base(NdbKindStyle);
    EXPECT_FALSE(NdbTest::ReadObject<CNdbStyle>(NdbTest::WriteObject(&base)));
}
