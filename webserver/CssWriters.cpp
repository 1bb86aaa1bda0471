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
} // namespace

bool WriteFieldCss(const CNdbFieldValue& value, const CNdbStyle& record, QString& output,
                   const IPageContext* context, int id)
{
    switch (id)
    {
    case StyleFontFamily:
        output += Declaration("font-family", value.GetString().replace(QLatin1Char('"'), QLatin1Char('\'')));
        break;
    case StyleFontSize:
        output += Declaration("font-size", value.FormatLength());
        break;
    case StyleFontStyle:
        output += Declaration("font-style", record.GetFontStyleText());
        break;
    case StyleFontVariant:
        output += Declaration("font-variant", record.GetFontVariantText());
        break;
    case StyleFontWeight:
        output += Declaration("font-weight", record.GetFontWeightText());
        break;
    case StyleTextIndent:
        output += Declaration("text-indent", value.FormatLength());
        break;
    case StyleTextAlign:
        output += Declaration("text-align", record.GetTextAlignText());
        break;
    case StyleLineHeight:
        output += Declaration("line-height", LineHeightText(value));
        break;
    case StyleVerticalAlign:
        output += Declaration("vertical-align", record.GetVerticalAlignText());
        break;
    case StyleWordSpacing:
        output += Declaration("word-spacing", value.FormatLength());
        break;
    case StyleLetterSpacing:
        output += Declaration("letter-spacing", value.FormatLength());
        break;
    case StyleTextTransform:
        output += Declaration("text-transform", record.GetTextTransformText());
        break;
    case StyleTextDecoration:
        output += Declaration("text-decoration", record.GetTextDecorationText());
        break;
    case StyleColor:
        output += Declaration("color", ColorText(value, context));
        break;
    case StyleMarginLeft:
        output += Declaration("margin-left", value.FormatLength());
        break;
    case StyleMarginTop:
        output += Declaration("margin-top", value.FormatLength());
        break;
    case StyleMarginRight:
        output += Declaration("margin-right", value.FormatLength());
        break;
    case StyleMarginBottom:
        output += Declaration("margin-bottom", value.FormatLength());
        break;
    case StylePaddingLeft:
        output += Declaration("padding-left", value.FormatLength());
        break;
    case StylePaddingTop:
        output += Declaration("padding-top", value.FormatLength());
        break;
    case StylePaddingRight:
        output += Declaration("padding-right", value.FormatLength());
        break;
    case StylePaddingBottom:
        output += Declaration("padding-bottom", value.FormatLength());
        break;
    case StyleBorderLeftWidth:
        output += Declaration("border-left-width", value.FormatLength());
        break;
    case StyleBorderLeftStyle:
        output += Declaration("border-left-style", record.GetBorderLeftStyleText());
        break;
    case StyleBorderLeftColor:
        output += Declaration("border-left-color", ColorText(value, context));
        break;
    case StyleBorderTopWidth:
        output += Declaration("border-top-width", value.FormatLength());
        break;
    case StyleBorderTopStyle:
        output += Declaration("border-top-style", record.GetBorderTopStyleText());
        break;
    case StyleBorderTopColor:
        output += Declaration("border-top-color", ColorText(value, context));
        break;
    case StyleBorderRightWidth:
        output += Declaration("border-right-width", value.FormatLength());
        break;
    case StyleBorderRightStyle:
        output += Declaration("border-right-style", record.GetBorderRightStyleText());
        break;
    case StyleBorderRightColor:
        output += Declaration("border-right-color", ColorText(value, context));
        break;
    case StyleBorderBottomWidth:
        output += Declaration("border-bottom-width", value.FormatLength());
        break;
    case StyleBorderBottomStyle:
        output += Declaration("border-bottom-style", record.GetBorderBottomStyleText());
        break;
    case StyleBorderBottomColor:
        output += Declaration("border-bottom-color", ColorText(value, context));
        break;
    case StyleBackgroundColor:
        output += Declaration("background-color", ColorText(value, context));
        break;
    case StyleBackgroundImage:
    {
        const QString address = BackgroundImageAddress(value, record, context);
        if (!address.isEmpty())
            output += QLatin1String("background-image:url(") + address + QLatin1String(");");
        break;
    }
    case StyleBackgroundRepeat:
        output += Declaration("background-repeat", record.GetBackgroundRepeatText());
        break;
    case StyleBackgroundAttachment:
        output += Declaration("background-attachment", record.GetBackgroundAttachmentText());
        break;
    case StyleBackgroundPositionX:
        output += Declaration("background-position-x", record.GetBackgroundPositionXText());
        break;
    case StyleBackgroundPositionY:
        output += Declaration("background-position-y", record.GetBackgroundPositionYText());
        break;
    case StyleCursor:
        output += Declaration("cursor", record.GetCursorText());
        break;
    case StyleWidth:
        output += Declaration("width", value.FormatLength());
        break;
    case StyleHeight:
        output += Declaration("height", value.FormatLength());
        break;
    case StyleTop:
        output += Declaration("top", value.FormatLength());
        break;
    case StyleLeft:
        output += Declaration("left", value.FormatLength());
        break;
    case StyleBottom:
        output += Declaration("bottom", value.FormatLength());
        break;
    case StyleRight:
        output += Declaration("right", value.FormatLength());
        break;
    case StyleZIndex:
        output += Declaration("z-index", QString::number(value.GetInt()));
        break;
    case StyleWhiteSpace:
        output += Declaration("white-space", record.GetWhiteSpaceText());
        break;
    case StyleFloat:
        output += Declaration("float", record.GetFloatText());
        break;
    case StyleClear:
        output += Declaration("clear", record.GetClearText());
        break;
    case StyleOverflow:
        output += Declaration("overflow", record.GetOverflowText());
        break;
    case StylePosition:
        output += Declaration("position", record.GetPositionText());
        break;
    case StyleDisplay:
        output += Declaration("display", record.GetDisplayText());
        break;
    case StyleFreeCss:
        output += value.GetString();
        break;
    default:
        break;
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
