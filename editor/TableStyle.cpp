#include "editor/TableStyle.h"

#include "ndb/NdbColor.h"
#include "ndb/NdbLayout.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbStyle.h"

using namespace ndb;

namespace
{
struct Padding
{
    const char* name;
    int field;
};

// In the order the cell's padding is read and written.
constexpr Padding Paddings[] = {{"padding-top", StylePaddingTop},
                                {"padding-bottom", StylePaddingBottom},
                                {"padding-left", StylePaddingLeft},
                                {"padding-right", StylePaddingRight}};

// The style's text, else the attribute's.
QString StyleOrAttribute(const ElementValues& style, const ElementValues& attributes, const char* name,
                         const char* attribute)
{
    const QString declared = ElementValue(style, name).trimmed();
    return declared.isEmpty() ? ElementValue(attributes, attribute).trimmed() : declared;
}

int LeadingInteger(const QString& text)
{
    float number = 0;
    int unit = 0;
    return ParseLengthText(text, number, unit) ? int(number) : 0;
}

void Add(ElementChanges& changes, ElementChange::Kind kind, const char* name, const QString& value = {})
{
    changes.push_back({kind, QLatin1String(name), value});
}

// The size in the style, none in the attributes.
void AddSize(const CNdbStyle& record, ElementChanges& changes)
{
    Add(changes, ElementChange::Attribute, "width");
    Add(changes, ElementChange::Style, "width", LengthText(record, StyleWidth));
    Add(changes, ElementChange::Attribute, "height");
    Add(changes, ElementChange::Style, "height", LengthText(record, StyleHeight));
}

// The background, and no effect left behind for a picture chosen later once the image went.
void AddBackground(const CNdbStyle& record, const CNdbPalette* palette, const CNdbLayout* layout,
                   ElementChanges& changes)
{
    Add(changes, ElementChange::Attribute, "bgcolor");
    AddBackgroundChanges(record, palette, layout, changes);
    const QString image = record.GetString(StyleBackgroundImage);
    if (!layout || image.isEmpty() || !layout->FindResourceById(image))
        Add(changes, ElementChange::Pair, "src_pipelineid");
}

struct TableBorder
{
    int thickness = 0;
    CNdbColor color;
};

TableBorder BorderOf(const CNdbStyle& record)
{
    TableBorder border;
    CNdbFieldValue value;
    if (record.GetField(StyleBorderTopWidth, value))
        border.thickness = int(value.GetFloat());
    if (record.GetField(StyleBorderTopColor, value) && value.GetColor())
        border.color = *value.GetColor();
    return border;
}

QString CellBorderText(const TableBorder& border, const CNdbPalette* palette)
{
    const QString shown = (palette ? palette->ResolveColor(border.color) : border.color).ToHex();
    return border.thickness > 0 ? QStringLiteral("solid %1px %2").arg(border.thickness).arg(shown)
                                : QString();
}

const QStringList BackgroundPairs = {QStringLiteral("background-color"), QStringLiteral("src_ResID"),
                                     QStringLiteral("src_pipelineid"), QStringLiteral("background-repeat"),
                                     QStringLiteral("background-position")};
} // namespace

const QStringList& TableStyleNames()
{
    static const QStringList names = {QStringLiteral("width"), QStringLiteral("height")};
    return names;
}

const QStringList& TableAttributeNames()
{
    static const QStringList names = {QStringLiteral("width"), QStringLiteral("height"),
                                      QStringLiteral("cellpadding"), QStringLiteral("cellspacing")};
    return names;
}

const QStringList& TablePairNames()
{
    static const QStringList names = QStringList{QStringLiteral("src_border")} + BackgroundPairs;
    return names;
}

const QStringList& CellStyleNames()
{
    static const QStringList names = {
        QStringLiteral("width"),          QStringLiteral("height"),       QStringLiteral("text-align"),
        QStringLiteral("vertical-align"), QStringLiteral("white-space"),  QStringLiteral("padding-top"),
        QStringLiteral("padding-bottom"), QStringLiteral("padding-left"), QStringLiteral("padding-right")};
    return names;
}

const QStringList& CellAttributeNames()
{
    static const QStringList names = {QStringLiteral("width"), QStringLiteral("height"),
                                      QStringLiteral("align"), QStringLiteral("valign"),
                                      QStringLiteral("nowrap")};
    return names;
}

const QStringList& CellPairNames()
{
    return BackgroundPairs;
}

void ReadTableStyle(const ElementValues& style, const ElementValues& attributes, const ElementValues& pairs,
                    CNdbStyle& record, int& cellPadding, int& cellSpacing)
{
    ReadLengthText(StyleOrAttribute(style, attributes, "width", "width"), record, StyleWidth);
    ReadLengthText(StyleOrAttribute(style, attributes, "height", "height"), record, StyleHeight);
    const QStringList border =
        ElementValue(pairs, "src_border").trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    CNdbColor color;
    int thickness = 0;
    if (border.size() == 3)
    {
        color.FromText(border[2]);
        thickness = LeadingInteger(border[1]);
    }
    record.SetField(StyleBorderTopWidth, CNdbFieldValue(float(thickness), NdbUnitPx));
    record.SetField(StyleBorderTopColor, CNdbFieldValue(color));
    cellPadding = LeadingInteger(ElementValue(attributes, "cellpadding"));
    cellSpacing = LeadingInteger(ElementValue(attributes, "cellspacing"));
    ReadBackgroundPairs(pairs, record);
}

ElementChanges TableStyleChanges(const CNdbStyle& record, const CNdbPalette* palette,
                                 const CNdbLayout* layout, int cellPadding, int cellSpacing,
                                 QString& cellBorder)
{
    ElementChanges changes;
    Add(changes, ElementChange::Attribute, "class", QStringLiteral("sys_table"));
    Add(changes, ElementChange::Style, "position");
    AddSize(record, changes);
    Add(changes, ElementChange::Attribute, "border");
    for (const char* name : {"border", "border-color", "border-width", "border-style"})
        Add(changes, ElementChange::Style, name);

    const TableBorder border = BorderOf(record);
    const QString source = QStringLiteral("solid %1px %2").arg(border.thickness).arg(border.color.ToText());
    Add(changes, ElementChange::Pair, "src_border", source);
    Add(changes, ElementChange::Pair, "border", source);
    cellBorder = CellBorderText(border, palette);
    // Cells that touch carry the lines themselves; apart, the table draws its own frame.
    if (border.thickness > 0)
        Add(changes, ElementChange::Style, "border", cellSpacing > 0 ? cellBorder : QStringLiteral("none"));
    Add(changes, ElementChange::Attribute, "cellpadding", QString::number(cellPadding));
    Add(changes, ElementChange::Attribute, "cellspacing", QString::number(cellSpacing));
    AddBackground(record, palette, layout, changes);
    return changes;
}

void ReadCellStyle(const ElementValues& style, const ElementValues& attributes, const ElementValues& pairs,
                   CNdbStyle& record, bool& useDefaultPadding)
{
    ReadLengthText(StyleOrAttribute(style, attributes, "width", "width"), record, StyleWidth);
    ReadLengthText(StyleOrAttribute(style, attributes, "height", "height"), record, StyleHeight);
    record.SetTextAlignText(StyleOrAttribute(style, attributes, "text-align", "align").toLower());
    record.SetVerticalAlignText(StyleOrAttribute(style, attributes, "vertical-align", "valign").toLower());
    const bool nowrapStyle =
        ElementValue(style, "white-space").trimmed().compare(QLatin1String("nowrap"), Qt::CaseInsensitive) ==
        0;
    // The attribute is there, with or without a value, when the map holds it.
    if (nowrapStyle || attributes.count(QStringLiteral("nowrap")) > 0)
        record.SetField(StyleWhiteSpace, CNdbFieldValue(NdbValueWhiteSpace, 1));
    ReadBackgroundPairs(pairs, record);
    useDefaultPadding = true;
    for (const Padding& padding : Paddings)
    {
        const QString text = ElementValue(style, padding.name);
        if (text.isEmpty())
            continue;
        ReadLengthText(text, record, padding.field);
        useDefaultPadding = false;
    }
}

ElementChanges CellStyleChanges(const CNdbStyle& record, const CNdbPalette* palette, const CNdbLayout* layout,
                                bool useDefaultPadding)
{
    ElementChanges changes;
    AddSize(record, changes);
    Add(changes, ElementChange::Attribute, "align");
    Add(changes, ElementChange::Style, "text-align", record.GetTextAlignText());
    Add(changes, ElementChange::Attribute, "valign");
    Add(changes, ElementChange::Style, "vertical-align", record.GetVerticalAlignText());
    Add(changes, ElementChange::Attribute, "nowrap");
    Add(changes, ElementChange::Style, "white-space", record.GetWhiteSpaceText());
    AddBackground(record, palette, layout, changes);
    if (useDefaultPadding)
    {
        Add(changes, ElementChange::Style, "padding");
        return changes;
    }
    for (const Padding& padding : Paddings)
    {
        const QString text = LengthText(record, padding.field);
        if (!text.isEmpty())
            Add(changes, ElementChange::Style, padding.name, text);
    }
    return changes;
}

QString CellBorderOf(const CNdbStyle& record, const CNdbPalette* palette)
{
    return CellBorderText(BorderOf(record), palette);
}
