#include "editor/TableStyle.h"
#include "ndb/NdbColor.h"
#include "ndb/NdbLayout.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbStyle.h"

#include <gtest/gtest.h>

using namespace ndb;

namespace
{
const QString GoldKey = QStringLiteral("{7A0B1E52-0000-4000-8000-00000000C001}");
const QString PaperKey = QStringLiteral("{7A0B1E52-0000-4000-8000-0000000000D1}");

// The last value the changes give a declaration, attribute or pair; "unset" for none.
QString Last(const ElementChanges& changes, ElementChange::Kind kind, const QString& name)
{
    QString value = QStringLiteral("unset");
    for (const ElementChange& change : changes)
    {
        if (change.kind == kind && change.name == name)
            value = change.value;
    }
    return value;
}

QString FieldText(const CNdbStyle& record, int id)
{
    CNdbFieldValue value;
    if (!record.GetField(id, value))
        return QStringLiteral("absent");
    return value.GetColor() ? value.GetColor()->ToText() : value.FormatLength();
}

class TableStyle : public ::testing::Test
{
protected:
    TableStyle()
    {
        palette.AddColor(QStringLiteral("Gold"), GoldKey, CNdbRgba(204, 153, 0));
        auto image = std::make_unique<CNdbResource>();
        image->SetField(ResourceId, CNdbFieldValue(PaperKey));
        image->SetField(ResourcePath, CNdbFieldValue(QStringLiteral("img/paper.png")));
        layout.AddResource(std::move(image));
    }
    CNdbStyle ReadTable(const ElementValues& style, const ElementValues& attributes,
                        const ElementValues& pairs)
    {
        CNdbStyle record;
        ReadTableStyle(style, attributes, pairs, record, padding, spacing);
        return record;
    }
    ElementChanges WriteTable(const CNdbStyle& record)
    {
        return TableStyleChanges(record, &palette, &layout, padding, spacing, cellBorder);
    }

    CNdbPalette palette;
    CNdbLayout layout;
    int padding = 0;
    int spacing = 0;
    QString cellBorder;
};
} // namespace

// Width and height attributes: a bare number is pixels, a percentage stays one; written back
// they live in the style only.
TEST_F(TableStyle, SizesFromAttributesMoveIntoTheStyle)
{
    const struct
    {
        const char* style;
        const char* attribute;
        const char* read;
    } cases[] = {{"", "500", "500px"}, {"", "100%", "100%"}, {"80%", "500", "80%"}, {"", "", "absent"}};
    for (const auto& c : cases)
    {
        const CNdbStyle record =
            ReadTable({{"width", QLatin1String(c.style)}}, {{"width", QLatin1String(c.attribute)}}, {});
        EXPECT_EQ(FieldText(record, StyleWidth), c.read) << c.attribute;
        const ElementChanges changes = WriteTable(record);
        EXPECT_EQ(Last(changes, ElementChange::Attribute, "width"), "");
        EXPECT_EQ(Last(changes, ElementChange::Style, "width"), QString(c.read).replace("absent", ""));
    }
}

// The border source stays in the pairs; the table draws its own frame only when the cells stand
// apart, and the cells get the resolved colour.
TEST_F(TableStyle, BorderPairsAndCellBorders)
{
    CNdbStyle record = ReadTable({}, {{"cellspacing", "0"}}, {{"src_border", "solid 2px"}});
    EXPECT_EQ(FieldText(record, StyleBorderTopWidth), "0");
    ElementChanges changes = WriteTable(record);
    EXPECT_EQ(Last(changes, ElementChange::Pair, "src_border"), "solid 0px " + CNdbColor().ToText());
    EXPECT_EQ(cellBorder, "");
    EXPECT_EQ(Last(changes, ElementChange::Style, "border"), "");

    record = ReadTable({}, {{"cellspacing", "0"}}, {{"src_border", "solid 2px F{#000000FF}"}});
    EXPECT_EQ(spacing, 0);
    changes = WriteTable(record);
    EXPECT_EQ(Last(changes, ElementChange::Style, "border"), "none");
    EXPECT_EQ(cellBorder, "solid 2px #000000");
    spacing = 3;
    changes = WriteTable(record);
    EXPECT_EQ(Last(changes, ElementChange::Style, "border"), "solid 2px #000000");
    EXPECT_EQ(Last(changes, ElementChange::Attribute, "cellspacing"), "3");

    record.SetField(StyleBorderTopColor, CNdbFieldValue(CNdbColor(GoldKey)));
    changes = WriteTable(record);
    EXPECT_EQ(Last(changes, ElementChange::Pair, "border"), "solid 2px " + CNdbColor(GoldKey).ToText());
    EXPECT_EQ(cellBorder, "solid 2px #CC9900");
}

// A background image with its effect and a centred position; once the image goes, its effect goes
// with it, so that an image chosen later starts without one.
TEST_F(TableStyle, BackgroundImageAndItsEffect)
{
    CNdbStyle record = ReadTable(
        {}, {},
        {{"src_ResID", PaperKey}, {"src_pipelineid", "e1f2"}, {"background-position", "horz:center vert:"}});
    ElementChanges changes = WriteTable(record);
    EXPECT_EQ(Last(changes, ElementChange::Style, "background-image"), "url(img/paper.png?pid=e1f2)");
    EXPECT_EQ(Last(changes, ElementChange::Style, "background-position"), "center top");
    EXPECT_EQ(Last(changes, ElementChange::Pair, "background-position"), "horz:center vert:");
    EXPECT_EQ(Last(changes, ElementChange::Pair, "src_pipelineid"), "e1f2");

    record.SetField(StyleBackgroundImage, CNdbFieldValue(QString()));
    changes = WriteTable(record);
    EXPECT_EQ(Last(changes, ElementChange::Pair, "src_ResID"), "");
    EXPECT_EQ(Last(changes, ElementChange::Pair, "src_pipelineid"), "");
    EXPECT_EQ(Last(changes, ElementChange::Style, "background-image"), "");
}

// A cell's attributes read as its style and are cleared when written: a width of 120 is pixels,
// CENTER is centred, nowrap is no wrapping; only the paddings it had are written again.
TEST_F(TableStyle, CellAttributesAndPadding)
{
    CNdbStyle record;
    bool useDefault = true;
    ReadCellStyle({{"padding-left", "4px"}}, {{"width", "120"}, {"align", "CENTER"}, {"nowrap", ""}}, {},
                  record, useDefault);
    EXPECT_EQ(FieldText(record, StyleWidth), "120px");
    EXPECT_EQ(record.GetTextAlignText(), "center");
    EXPECT_EQ(record.GetInt(StyleWhiteSpace, 0), 1);
    EXPECT_FALSE(useDefault);
    EXPECT_EQ(FieldText(record, StylePaddingLeft), "4px");
    EXPECT_EQ(FieldText(record, StylePaddingTop), "absent");

    ElementChanges changes = CellStyleChanges(record, &palette, &layout, useDefault);
    for (const char* attribute : {"width", "align", "nowrap", "bgcolor"})
        EXPECT_EQ(Last(changes, ElementChange::Attribute, attribute), "") << attribute;
    EXPECT_EQ(Last(changes, ElementChange::Style, "width"), "120px");
    EXPECT_EQ(Last(changes, ElementChange::Style, "text-align"), "center");
    EXPECT_EQ(Last(changes, ElementChange::Style, "white-space"), "nowrap");
    EXPECT_EQ(Last(changes, ElementChange::Style, "padding-left"), "4px");
    EXPECT_EQ(Last(changes, ElementChange::Style, "padding-top"), "unset");

    changes = CellStyleChanges(record, &palette, &layout, true);
    EXPECT_EQ(Last(changes, ElementChange::Style, "padding"), "");
    EXPECT_EQ(Last(changes, ElementChange::Style, "padding-left"), "unset");
}
