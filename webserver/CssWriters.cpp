#include "webserver/CssWriters.h"

#include "base/TextHelpers.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbStyle.h"
#include "webserver/PageSources.h"

using namespace ndb;

namespace
{
const QString CrLf = QStringLiteral("\r\n");

QString ColorText(const CNdbFieldValue& value, const IPageContext* context)
{
    const IPageNewsletter* newsletter = context ? context->GetCurrentNewsletter() : nullptr;
    if (!newsletter)
        return QStringLiteral("#000000");
    const CNdbColor* color = value.GetColor();
    if (!color)
        return QString();
    const CNdbPalette* palette = newsletter->GetPalette();
    return palette ? palette->ResolveColor(*color).ToHex() : color->ToHex();
}

QString LineHeightText(const CNdbFieldValue& value)
{
    return value.GetFloat() == 0.0f ? QStringLiteral("normal") : value.FormatLength();
}

QString BackgroundImageAddress(const CNdbFieldValue& value, const CNdbStyle& record,
                               const IPageContext* context)
{
    const IPageNewsletter* newsletter = context ? context->GetCurrentNewsletter() : nullptr;
    if (!newsletter)
        return QString();
    const std::optional<QString> path = newsletter->FindResourcePath(value.GetString());
    if (!path)
        return QString();
    QString address = context->MakeResourceUrl(*path);
    const QString pipeline = record.GetString(StyleBackgroundPipeline);
    if (!pipeline.isEmpty())
        address += QLatin1String("?pid=") + pipeline;
    return address;
}

QString Declaration(const char* property, const QString& value)
{
    return QLatin1String(property) + QLatin1Char(':') + value + QLatin1Char(';');
}

bool SameLengths(const CNdbFieldValue& a, const CNdbFieldValue& b)
{
    return a.GetFloat() == b.GetFloat() && a.GetUnit() == b.GetUnit();
}

// "name:v;" when the four sides are equal, else "name:top right bottom left;"; the sides are
// removed from the field copy. Nothing when a side is missing.
void WriteFourSides(QString& output, CNdbStyle::FieldMap& fields, const char* property, int left, int top,
                    int right, int bottom)
{
    const auto l = fields.find(left), t = fields.find(top), r = fields.find(right), b = fields.find(bottom);
    if (l == fields.end() || t == fields.end() || r == fields.end() || b == fields.end())
        return;
    if (SameLengths(l->second, t->second) && SameLengths(l->second, r->second) &&
        SameLengths(l->second, b->second))
        output += Declaration(property, l->second.FormatLength());
    else
        output += Declaration(property, QStringLiteral("%1 %2 %3 %4")
                                            .arg(t->second.FormatLength(), r->second.FormatLength(),
                                                 b->second.FormatLength(), l->second.FormatLength()));
    for (int id : {left, top, right, bottom})
        fields.erase(id);
}

void WriteFontShorthand(QString& output, CNdbStyle::FieldMap& fields, const CNdbStyle& record)
{
    QString text;
    auto take = [&fields](int id) -> std::optional<CNdbFieldValue>
    {
        const auto found = fields.find(id);
        if (found == fields.end())
            return std::nullopt;
        CNdbFieldValue value = found->second;
        fields.erase(found);
        return value;
    };
    if (take(StyleFontStyle))
        text += record.GetFontStyleText() + QLatin1Char(' ');
    if (take(StyleFontVariant))
        text += record.GetFontVariantText() + QLatin1Char(' ');
    if (take(StyleFontWeight))
        text += record.GetFontWeightText() + QLatin1Char(' ');
    if (const auto size = take(StyleFontSize))
    {
        text += size->FormatLength();
        if (const auto lineHeight = take(StyleLineHeight))
            text += QLatin1Char('/') + LineHeightText(*lineHeight);
        text += QLatin1Char(' ');
    }
    if (const auto family = take(StyleFontFamily))
        text += family->GetString().replace(QLatin1Char('"'), QLatin1Char('\'')) + QLatin1Char(' ');
    if (text.isEmpty())
        return;
    text.chop(1);
    output += Declaration("font", text);
}

// The style fields whose declaration is the property and the field's length, keyword or colour.
struct FieldProperty
{
    int id;
    const char* property;
};

constexpr FieldProperty LengthProperties[] = {
    {StyleFontSize, "font-size"},
    {StyleTextIndent, "text-indent"},
    {StyleWordSpacing, "word-spacing"},
    {StyleLetterSpacing, "letter-spacing"},
    {StyleMarginLeft, "margin-left"},
    {StyleMarginTop, "margin-top"},
    {StyleMarginRight, "margin-right"},
    {StyleMarginBottom, "margin-bottom"},
    {StylePaddingLeft, "padding-left"},
    {StylePaddingTop, "padding-top"},
    {StylePaddingRight, "padding-right"},
    {StylePaddingBottom, "padding-bottom"},
    {StyleBorderLeftWidth, "border-left-width"},
    {StyleBorderTopWidth, "border-top-width"},
    {StyleBorderRightWidth, "border-right-width"},
    {StyleBorderBottomWidth, "border-bottom-width"},
    {StyleWidth, "width"},
    {StyleHeight, "height"},
    {StyleTop, "top"},
    {StyleLeft, "left"},
    {StyleBottom, "bottom"},
    {StyleRight, "right"},
};

struct KeywordProperty
{
    int id;
    const char* property;
    QString (CNdbStyle::*text)() const;
};

const KeywordProperty KeywordProperties[] = {
    {StyleFontStyle, "font-style", &CNdbStyle::GetFontStyleText},
    {StyleFontVariant, "font-variant", &CNdbStyle::GetFontVariantText},
    {StyleFontWeight, "font-weight", &CNdbStyle::GetFontWeightText},
    {StyleTextAlign, "text-align", &CNdbStyle::GetTextAlignText},
    {StyleVerticalAlign, "vertical-align", &CNdbStyle::GetVerticalAlignText},
    {StyleTextTransform, "text-transform", &CNdbStyle::GetTextTransformText},
    {StyleTextDecoration, "text-decoration", &CNdbStyle::GetTextDecorationText},
    {StyleBorderLeftStyle, "border-left-style", &CNdbStyle::GetBorderLeftStyleText},
    {StyleBorderTopStyle, "border-top-style", &CNdbStyle::GetBorderTopStyleText},
    {StyleBorderRightStyle, "border-right-style", &CNdbStyle::GetBorderRightStyleText},
    {StyleBorderBottomStyle, "border-bottom-style", &CNdbStyle::GetBorderBottomStyleText},
    {StyleBackgroundRepeat, "background-repeat", &CNdbStyle::GetBackgroundRepeatText},
    {StyleBackgroundAttachment, "background-attachment", &CNdbStyle::GetBackgroundAttachmentText},
    {StyleBackgroundPositionX, "background-position-x", &CNdbStyle::GetBackgroundPositionXText},
    {StyleBackgroundPositionY, "background-position-y", &CNdbStyle::GetBackgroundPositionYText},
    {StyleCursor, "cursor", &CNdbStyle::GetCursorText},
    {StyleWhiteSpace, "white-space", &CNdbStyle::GetWhiteSpaceText},
    {StyleFloat, "float", &CNdbStyle::GetFloatText},
    {StyleClear, "clear", &CNdbStyle::GetClearText},
    {StyleOverflow, "overflow", &CNdbStyle::GetOverflowText},
    {StylePosition, "position", &CNdbStyle::GetPositionText},
    {StyleDisplay, "display", &CNdbStyle::GetDisplayText},
};

constexpr FieldProperty ColorProperties[] = {
    {StyleColor, "color"},
    {StyleBorderLeftColor, "border-left-color"},
    {StyleBorderTopColor, "border-top-color"},
    {StyleBorderRightColor, "border-right-color"},
    {StyleBorderBottomColor, "border-bottom-color"},
    {StyleBackgroundColor, "background-color"},
};
} // namespace

bool WriteFieldCss(const CNdbFieldValue& value, const CNdbStyle& record, QString& output,
                   const IPageContext* context, int id)
{
    switch (id)
    {
    case StyleFontFamily:
        output += Declaration("font-family", value.GetString().replace(QLatin1Char('"'), QLatin1Char('\'')));
        return true;
    case StyleLineHeight:
        output += Declaration("line-height", LineHeightText(value));
        return true;
    case StyleBackgroundImage:
    {
        const QString address = BackgroundImageAddress(value, record, context);
        if (!address.isEmpty())
            output += QLatin1String("background-image:url(") + address + QLatin1String(");");
        return true;
    }
    case StyleZIndex:
        output += Declaration("z-index", QString::number(value.GetInt()));
        return true;
    case StyleFreeCss:
        output += value.GetString();
        return true;
    default:
        break;
    }
    for (const FieldProperty& length : LengthProperties)
    {
        if (length.id == id)
            output += Declaration(length.property, value.FormatLength());
    }
    for (const KeywordProperty& keyword : KeywordProperties)
    {
        if (keyword.id == id)
            output += Declaration(keyword.property, (record.*keyword.text)());
    }
    for (const FieldProperty& color : ColorProperties)
    {
        if (color.id == id)
            output += Declaration(color.property, ColorText(value, context));
    }
    return true;
}

bool WriteRecordCss(QString& output, const CNdbStyle* record, const IPageContext* context)
{
    if (!record)
        return false;
    for (const auto& [id, value] : record->GetFields())
    {
        if (!WriteFieldCss(value, *record, output, context, id))
            return false;
    }
    return true;
}

bool WriteBoxSpacingCss(QString& output, const CNdbStyle* record, const IPageContext* context)
{
    if (!record)
        return false;
    CNdbStyle::FieldMap fields = record->GetFields();
    WriteFourSides(output, fields, "margin", StyleMarginLeft, StyleMarginTop, StyleMarginRight,
                   StyleMarginBottom);
    WriteFourSides(output, fields, "padding", StylePaddingLeft, StylePaddingTop, StylePaddingRight,
                   StylePaddingBottom);
    WriteFontShorthand(output, fields, *record);
    for (const auto& [id, value] : fields)
        WriteFieldCss(value, *record, output, context, id);
    return true;
}

QString BuildNewsletterCss(const IPageContext* context)
{
    const IPageNewsletter* newsletter = context ? context->GetCurrentNewsletter() : nullptr;
    if (!newsletter)
        return QString();
    QString css;
    if (const CNdbPalette* palette = newsletter->GetPalette())
    {
        for (int i = 0; i < palette->GetColorCount(); ++i)
        {
            const CNdbPaletteColor* color = palette->GetColorAt(i);
            const QString key = MakeIdentifier(color->GetKey());
            const QString hex = color->ToHex();
            css += QStringLiteral(".text_%1 { color:%2; }").arg(key, hex) + CrLf;
            css += QStringLiteral(".bg_%1 { background-color:%2; }").arg(key, hex) + CrLf;
        }
    }
    for (const CNdbStyle* style : newsletter->GetStyles())
    {
        const QString rule = style->GetString(StyleRuleName);
        css += QLatin1Char('.') + rule;
        if (rule == QLatin1String("normal"))
            css += QLatin1String(", p");
        css += QLatin1String(" {") + CrLf;
        QString declarations;
        WriteRecordCss(declarations, style, context);
        css += declarations.replace(QLatin1Char(';'), QLatin1String(";\r\n"));
        css += QLatin1Char('}') + CrLf;
    }
    // The rules stand inside a style element; a "</" from a style's text would end it early. In
    // CSS "\/" is the same "/".
    css.replace(QLatin1String("</"), QLatin1String("<\\/"));
    return css;
}
