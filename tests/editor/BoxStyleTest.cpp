#include "editor/BoxStyle.h"
#include "ndb/NdbLayout.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbStyle.h"

#include <gtest/gtest.h>

using namespace ndb;

namespace
{
const QString SkyKey = QStringLiteral("{0B7A1E52-0000-4000-8000-00000000B002}");
const QString ImageKey = QStringLiteral("{0B7A1E52-0000-4000-8000-0000000000A1}");

// The value a change list leaves for a declaration or pair; "unset" when it does not name it.
QString Changed(const ElementChanges& changes, ElementChange::Kind kind, const QString& name)
{
    QString value = QStringLiteral("unset");
    for (const ElementChange& change : changes)
    {
        if (change.kind == kind && change.name == name)
            value = change.value;
    }
    return value;
}

QString Css(const ElementChanges& changes, const char* name)
{
    return Changed(changes, ElementChange::Style, QLatin1String(name));
}

QString Pair(const ElementChanges& changes, const char* name)
{
    return Changed(changes, ElementChange::Pair, QLatin1String(name));
}

struct Fixture
{
    Fixture()
    {
        palette.AddColor(QStringLiteral("Sky"), SkyKey, CNdbRgba(102, 153, 204));
        auto image = std::make_unique<CNdbResource>();
        image->SetField(ResourceId, CNdbFieldValue(ImageKey));
        image->SetField(ResourcePath, CNdbFieldValue(QStringLiteral("img/paper.png")));
        layout.AddResource(std::move(image));
    }
    CNdbPalette palette;
    CNdbLayout layout;
};
} // namespace

// What a box element's inline style and pairs read as: lengths keep fraction and unit, a relative
// box stays relative, pairs of the wrong shape are ignored.
TEST(BoxStyle, ReadingTheElement)
{
    struct Case
    {
        const char* name;
        ElementValues style;
        ElementValues pairs;
        int field;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"fractional margin", {{"margin-top", "1.5em"}}, {}, StyleMarginTop, "1.5em"},
        {"percent height", {{"height", "50%"}}, {}, StyleHeight, "50%"},
        {"unitless length is pixels", {{"padding-left", "7"}}, {}, StylePaddingLeft, "7px"},
        {"negative offset", {{"left", "-12px"}}, {}, StyleLeft, "-12px"},
        {"no number", {{"width", "auto"}}, {}, StyleWidth, "absent"},
        {"absurd length", {{"width", "1e30px"}}, {}, StyleWidth, "absent"},
        {"exponent", {{"width", "1.5e1em"}}, {}, StyleWidth, "15em"},
        {"em is no exponent", {{"width", "2em"}}, {}, StyleWidth, "2em"},
        {"relative stays relative", {{"position", "relative"}}, {}, StylePosition, "1"},
        {"absolute", {{"position", "absolute"}}, {}, StylePosition, "2"},
        {"z-index integer", {{"z-index", "7"}}, {}, StyleZIndex, "7"},
        {"z-index auto", {{"z-index", "auto"}}, {}, StyleZIndex, "absent"},
        {"expanded overflow", {}, {{"src_overflow_expanded", "true"}}, StyleOverflow, "absent"},
        {"clipped without pair", {}, {}, StyleOverflow, "3"},
        {"inline overflow", {{"overflow", "auto"}}, {{"src_overflow_expanded", "false"}}, StyleOverflow, "1"},
        {"border of three words",
         {},
         {{"src_border_top", " dashed 2px F{#FF000000} "}},
         StyleBorderTopWidth,
         "2px"},
        {"border of two words",
         {},
         {{"src_border_left", "2px F{#FF000000}"}},
         StyleBorderLeftWidth,
         "absent"},
        {"custom background position",
         {},
         {{"background-position", "horz:12px vert:bottom"}},
         StyleBackgroundPositionXLength,
         "12px"},
        {"position of three words",
         {},
         {{"background-position", "horz:12px vert:top x"}},
         StyleBackgroundPositionX,
         "absent"},
    };
    for (const Case& test : cases)
    {
        CNdbStyle record;
        ReadBoxStyle(test.style, test.pairs, record);
        CNdbFieldValue value;
        QString got = QStringLiteral("absent");
        if (record.GetField(test.field, value))
            got = value.GetType() == NdbValueLength ? value.FormatLength() : QString::number(value.GetInt());
        EXPECT_EQ(got.toStdString(), test.expected.toStdString()) << test.name;
    }
}

// A new box with the defaults: a full-width, left-aligned div in the flow, one pair.
TEST(BoxStyle, ANewBoxIsWrittenWithItsDefaults)
{
    Fixture fixture;
    CNdbStyle record;
    SetNewBoxDefaults(record);
    const ElementChanges changes = BoxStyleChanges(record, &fixture.palette, &fixture.layout);
    EXPECT_EQ(Css(changes, "width"), "100%");
    EXPECT_EQ(Css(changes, "text-align"), "left");
    EXPECT_EQ(Css(changes, "position"), "");
    EXPECT_EQ(Css(changes, "z-index"), "unset") << "an in-line box keeps its z-index as it is";
    EXPECT_EQ(Css(changes, "height"), "");
    EXPECT_EQ(Css(changes, "overflow"), "");
    EXPECT_EQ(Pair(changes, "src_overflow_expanded"), "true");
    EXPECT_EQ(Pair(changes, "background-color"), "");
    EXPECT_EQ(Css(changes, "margin"), "");
    for (const char* side : {"src_border_top", "src_border_bottom", "src_border_left", "src_border_right"})
        EXPECT_EQ(Pair(changes, side), "") << side;
}

// What a record writes: palette colours stay references in pairs, images carry their effect,
// borders keep three words even without a style or colour, offsets only for a floating box.
TEST(BoxStyle, WritingTheRecord)
{
    Fixture fixture;
    CNdbStyle record;
    record.SetField(StylePosition, CNdbFieldValue(NdbValuePosition, 1));
    record.SetField(StyleTop, CNdbFieldValue(5.0f, NdbUnitPercent));
    record.SetField(StyleZIndex, CNdbFieldValue(NdbValueInt, 3));
    record.SetField(StyleHeight, CNdbFieldValue(50.0f, NdbUnitPercent));
    record.SetField(StyleBackgroundColor, CNdbFieldValue(CNdbColor(SkyKey)));
    record.SetField(StyleBackgroundImage, CNdbFieldValue(ImageKey));
    record.SetField(StyleBackgroundPipeline, CNdbFieldValue(QStringLiteral("fx9")));
    record.SetField(StyleBackgroundPositionX, CNdbFieldValue(NdbValueBackgroundPositionX, 3));
    record.SetField(StyleBackgroundPositionXLength, CNdbFieldValue(4.0f, NdbUnitPx));
    record.SetField(StyleBorderTopWidth, CNdbFieldValue(2.0f, NdbUnitPx));
    record.SetField(StyleBorderTopStyle, CNdbFieldValue(NdbValueBorderStyle, 4));
    record.SetField(StyleBorderTopColor, CNdbFieldValue(CNdbColor(SkyKey)));
    record.SetField(StyleBorderBottomWidth, CNdbFieldValue(0.0f, NdbUnitPx));
    record.SetField(StyleBorderLeftWidth, CNdbFieldValue(1.0f, NdbUnitPx));
    record.SetField(StyleBorderLeftColor, CNdbFieldValue(CNdbColor()));
    const ElementChanges changes = BoxStyleChanges(record, &fixture.palette, &fixture.layout);
    EXPECT_EQ(Css(changes, "position"), "relative");
    EXPECT_EQ(Css(changes, "top"), "5%");
    EXPECT_EQ(Css(changes, "z-index"), "3");
    EXPECT_EQ(Css(changes, "float"), "unset");
    EXPECT_EQ(Css(changes, "height"), "50%");
    EXPECT_EQ(Pair(changes, "background-color"), "P{0B7A1E52-0000-4000-8000-00000000B002}");
    EXPECT_EQ(Css(changes, "background-color"), "#6699CC");
    EXPECT_EQ(Css(changes, "background-image"), "url(img/paper.png?pid=fx9)");
    EXPECT_EQ(Pair(changes, "src_ResID"), ImageKey);
    EXPECT_EQ(Pair(changes, "background-position"), "horz:4px vert:");
    EXPECT_EQ(Css(changes, "background-position"), "4px top");
    EXPECT_EQ(Css(changes, "border-top"), "solid 2px #6699CC");
    EXPECT_EQ(Pair(changes, "src_border_top"), "solid 2px P{0B7A1E52-0000-4000-8000-00000000B002}");
    EXPECT_EQ(Css(changes, "border-bottom"), "unset") << "a zero width draws no border";
    EXPECT_EQ(Pair(changes, "src_border_bottom"), "none 0 F{#E61E00FF}");
    EXPECT_EQ(Pair(changes, "src_border_left"), "none 1px none");
    EXPECT_EQ(Css(changes, "border-right"), "");
    EXPECT_EQ(Pair(changes, "src_border_right"), "");

    // Written and read back, the record is the same: nothing is lost on the next edit.
    ElementValues style;
    ElementValues pairs;
    for (const ElementChange& change : changes)
        (change.kind == ElementChange::Style ? style : pairs)[change.name] = change.value;
    CNdbStyle reread;
    ReadBoxStyle(style, pairs, reread);
    EXPECT_TRUE(BoxStyleChanges(reread, &fixture.palette, &fixture.layout) == changes);
}

// A background image the layout does not hold is written as none, and its pair goes.
TEST(BoxStyle, AMissingImageIsWrittenAsNone)
{
    Fixture fixture;
    CNdbStyle record;
    record.SetField(StyleBackgroundImage, CNdbFieldValue(QStringLiteral("{gone}")));
    const ElementChanges changes = BoxStyleChanges(record, &fixture.palette, &fixture.layout);
    EXPECT_EQ(Css(changes, "background-image"), "");
    EXPECT_EQ(Pair(changes, "src_ResID"), "");
    EXPECT_EQ(Pair(changes, "background-repeat"), "unset");
}
