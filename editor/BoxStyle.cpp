#include "editor/BoxStyle.h"

#include "ndb/NdbLayout.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbStyle.h"

using namespace ndb;

namespace
{
constexpr int Absolute = 2;
constexpr int Relative = 1;
constexpr int Visible = 3;
constexpr int NewBoxZIndex = 10;

struct LengthDeclaration
{
    const char* name;
    int field;
};

constexpr LengthDeclaration Offsets[] = {
    {"top", StyleTop}, {"bottom", StyleBottom}, {"left", StyleLeft}, {"right", StyleRight}};
constexpr LengthDeclaration Margins[] = {{"margin-top", StyleMarginTop},
                                         {"margin-bottom", StyleMarginBottom},
                                         {"margin-left", StyleMarginLeft},
                                         {"margin-right", StyleMarginRight}};
constexpr LengthDeclaration Paddings[] = {{"padding-top", StylePaddingTop},
                                          {"padding-bottom", StylePaddingBottom},
                                          {"padding-left", StylePaddingLeft},
                                          {"padding-right", StylePaddingRight}};

// One border side: its metadata pair, its CSS shorthand, its fields and its style keyword parser.
struct BorderSide
{
    const char* pair;
    const char* declaration;
    int widthField;
    int styleField;
    int colorField;
    bool (CNdbStyle::*parseStyle)(const QString&);
    QString (CNdbStyle::*styleText)() const;
};

const BorderSide Borders[] = {
    {"src_border_top", "border-top", StyleBorderTopWidth, StyleBorderTopStyle, StyleBorderTopColor,
     &CNdbStyle::SetBorderTopStyleText, &CNdbStyle::GetBorderTopStyleText},
    {"src_border_bottom", "border-bottom", StyleBorderBottomWidth, StyleBorderBottomStyle,
     StyleBorderBottomColor, &CNdbStyle::SetBorderBottomStyleText, &CNdbStyle::GetBorderBottomStyleText},
    {"src_border_left", "border-left", StyleBorderLeftWidth, StyleBorderLeftStyle, StyleBorderLeftColor,
     &CNdbStyle::SetBorderLeftStyleText, &CNdbStyle::GetBorderLeftStyleText},
    {"src_border_right", "border-right", StyleBorderRightWidth, StyleBorderRightStyle, StyleBorderRightColor,
     &CNdbStyle::SetBorderRightStyleText, &CNdbStyle::GetBorderRightStyleText},
};

// Written for a border without a colour, so that its pair keeps three words.
const QString NoColorWord = QStringLiteral("none");

void ReadLengths(const ElementValues& style, std::span<const LengthDeclaration> lengths, CNdbStyle& record)
{
    for (const LengthDeclaration& length : lengths)
        ReadLengthText(ElementValue(style, length.name), record, length.field);
}

void ReadBorders(const ElementValues& pairs, CNdbStyle& record)
{
    for (const BorderSide& side : Borders)
    {
        const QStringList words = ElementValue(pairs, side.pair).trimmed().split(QLatin1Char(' '));
        if (words.size() != 3)
            continue;
        (record.*side.parseStyle)(words[0]);
        ReadLengthText(words[1], record, side.widthField);
        CNdbColor color;
        color.FromText(words[2]);
        record.SetField(side.colorField, CNdbFieldValue(color));
    }
}

void Set(ElementChanges& changes, const char* name, const QString& value)
{
    changes.push_back({ElementChange::Style, QLatin1String(name), value});
}

void SetPair(ElementChanges& changes, const char* name, const QString& value)
{
    changes.push_back({ElementChange::Pair, QLatin1String(name), value});
}

// Each present length; the shorthand emptied when none is.
void AddLengths(const CNdbStyle& record, std::span<const LengthDeclaration> lengths, const char* shorthand,
                ElementChanges& changes)
{
    bool any = false;
    for (const LengthDeclaration& length : lengths)
    {
        const QString text = LengthText(record, length.field);
        if (text.isEmpty())
            continue;
        Set(changes, length.name, text);
        any = true;
    }
    if (!any && shorthand)
        Set(changes, shorthand, QString());
}

void AddPlacement(const CNdbStyle& record, ElementChanges& changes)
{
    CNdbFieldValue value;
    if (record.GetField(StylePosition, value))
    {
        Set(changes, "position", record.GetPositionText());
        AddLengths(record, Offsets, nullptr, changes);
        Set(changes, "z-index",
            record.GetField(StyleZIndex, value) ? QString::number(value.GetInt()) : QString());
        return;
    }
    Set(changes, "position", QString());
    Set(changes, "float", record.GetFloatText());
    Set(changes, "clear", record.GetClearText());
}

void AddBorders(const CNdbStyle& record, const CNdbPalette* palette, ElementChanges& changes)
{
    for (const char* shorthand : {"border", "border-color", "border-style", "border-width"})
        Set(changes, shorthand, QString());
    for (const BorderSide& side : Borders)
    {
        CNdbFieldValue width;
        if (!record.GetField(side.widthField, width))
        {
            SetPair(changes, side.pair, QString());
            Set(changes, side.declaration, QString());
            continue;
        }
        CNdbFieldValue value;
        const CNdbColor color = record.GetField(side.colorField, value) && value.GetColor()
                                    ? *value.GetColor()
                                    : CNdbColor(230, 30, 0);
        // A side without a style keeps three words in its pair, so that it is read back.
        QString style = (record.*side.styleText)();
        if (style.isEmpty())
            style = CNdbStyle::BorderStyleToText(0);
        const QString widthText = width.FormatLength();
        if (width.GetFloat() > 0 && widthText != QLatin1String("0"))
        {
            const CNdbColor shown = palette ? palette->ResolveColor(color) : color;
            Set(changes, side.declaration,
                QStringLiteral("%1 %2 %3").arg(style, widthText, shown.ToHex()).trimmed());
        }
        const QString colorText = color.GetKind() == NdbColorNone ? NoColorWord : color.ToText();
        SetPair(changes, side.pair, QStringLiteral("%1 %2 %3").arg(style, widthText, colorText));
    }
}
} // namespace

const QStringList& BoxStyleNames()
{
    static const QStringList names = {
        QStringLiteral("position"),     QStringLiteral("top"),           QStringLiteral("bottom"),
        QStringLiteral("left"),         QStringLiteral("right"),         QStringLiteral("z-index"),
        QStringLiteral("float"),        QStringLiteral("clear"),         QStringLiteral("width"),
        QStringLiteral("height"),       QStringLiteral("overflow"),      QStringLiteral("text-align"),
        QStringLiteral("margin-top"),   QStringLiteral("margin-bottom"), QStringLiteral("margin-left"),
        QStringLiteral("margin-right"), QStringLiteral("padding-top"),   QStringLiteral("padding-bottom"),
        QStringLiteral("padding-left"), QStringLiteral("padding-right"),
    };
    return names;
}

const QStringList& BoxPairNames()
{
    static const QStringList names = {
        QStringLiteral("src_overflow_expanded"),
        QStringLiteral("background-color"),
        QStringLiteral("src_ResID"),
        QStringLiteral("src_pipelineid"),
        QStringLiteral("background-repeat"),
        QStringLiteral("background-position"),
        QStringLiteral("src_border_top"),
        QStringLiteral("src_border_bottom"),
        QStringLiteral("src_border_left"),
        QStringLiteral("src_border_right"),
    };
    return names;
}

void ReadBoxStyle(const ElementValues& style, const ElementValues& pairs, CNdbStyle& record)
{
    const QString position = ElementValue(style, "position").trimmed();
    // A relative box stays relative until the user makes it free floating.
    if (!position.isEmpty())
        record.SetField(StylePosition,
                        CNdbFieldValue(NdbValuePosition,
                                       position.compare(QLatin1String("relative"), Qt::CaseInsensitive) == 0
                                           ? Relative
                                           : Absolute));
    ReadLengths(style, Offsets, record);
    bool isInteger = false;
    const int zIndex = ElementValue(style, "z-index").trimmed().toInt(&isInteger);
    if (isInteger)
        record.SetField(StyleZIndex, CNdbFieldValue(NdbValueInt, zIndex));
    record.SetFloatText(ElementValue(style, "float"));
    record.SetClearText(ElementValue(style, "clear"));
    ReadLengthText(ElementValue(style, "width"), record, StyleWidth);
    ReadLengthText(ElementValue(style, "height"), record, StyleHeight);
    if (ElementValue(pairs, "src_overflow_expanded") != QLatin1String("true"))
        record.SetField(StyleOverflow, CNdbFieldValue(NdbValueOverflow, Visible));
    if (const QString overflow = ElementValue(style, "overflow"); !overflow.isEmpty())
        record.SetOverflowText(overflow);
    record.SetTextAlignText(ElementValue(style, "text-align"));
    ReadLengths(style, Margins, record);
    ReadLengths(style, Paddings, record);
    ReadBackgroundPairs(pairs, record);
    ReadBorders(pairs, record);
}

void SetNewBoxDefaults(CNdbStyle& record)
{
    record.SetField(StyleWidth, CNdbFieldValue(100.0f, NdbUnitPercent));
    record.SetField(StyleZIndex, CNdbFieldValue(NdbValueInt, NewBoxZIndex));
    record.SetField(StyleTextAlign, CNdbFieldValue(NdbValueTextAlign, 0));
    record.SetField(StyleBackgroundColor, CNdbFieldValue(CNdbColor()));
}

ElementChanges BoxStyleChanges(const CNdbStyle& record, const CNdbPalette* palette, const CNdbLayout* layout)
{
    ElementChanges changes;
    AddPlacement(record, changes);
    const QString width = LengthText(record, StyleWidth);
    Set(changes, "width", width.isEmpty() ? QStringLiteral("100%") : width);
    Set(changes, "height", LengthText(record, StyleHeight));
    CNdbFieldValue value;
    const bool clipped = record.GetField(StyleOverflow, value);
    Set(changes, "overflow", clipped ? record.GetOverflowText() : QString());
    SetPair(changes, "src_overflow_expanded", clipped ? QStringLiteral("false") : QStringLiteral("true"));
    Set(changes, "text-align", record.GetTextAlignText());
    Set(changes, "vertical-align", QString());
    AddLengths(record, Margins, "margin", changes);
    AddLengths(record, Paddings, "padding", changes);
    AddBackgroundChanges(record, palette, layout, changes);
    AddBorders(record, palette, changes);
    return changes;
}

ElementChanges PageStyleChanges(const CNdbStyle& record, const CNdbPalette* palette, const CNdbLayout* layout)
{
    ElementChanges changes{{ElementChange::Style, QStringLiteral("text-align"), record.GetTextAlignText()}};
    AddBackgroundChanges(record, palette, layout, changes);
    const bool image = layout && layout->FindResourceById(record.GetString(StyleBackgroundImage));
    const QString attachment = image ? record.GetBackgroundAttachmentText() : QString();
    SetPair(changes, "background-attachment", attachment);
    Set(changes, "background-attachment", attachment);
    AddLengths(record, Margins, "margin", changes);
    // The page shows exactly the record: a height taken away goes from the page too.
    Set(changes, "height", LengthText(record, StyleHeight));
    return changes;
}
