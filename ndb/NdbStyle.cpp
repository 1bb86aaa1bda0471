#include "ndb/NdbStyle.h"

#include "ndb/NdbCssKeywords.h"

namespace ndb
{
namespace
{
// The background position code that stands for a length in the companion field.
constexpr int PositionLengthCode = 3;

struct FieldType
{
    int id;
    int valueType;
};

constexpr FieldType StyleFieldTypes[] = {
    {StyleElementFlag, NdbValueBool},
    {StyleDisplayName, NdbValueText},
    {StyleRuleName, NdbValueText},
    {StyleFontFamily, NdbValueText},
    {StyleFontSize, NdbValueLength},
    {StyleFontStyle, NdbValueFontStyle},
    {StyleFontVariant, NdbValueFontVariant},
    {StyleFontWeight, NdbValueFontWeight},
    {StyleTextIndent, NdbValueLength},
    {StyleTextAlign, NdbValueTextAlign},
    {StyleLineHeight, NdbValueLength},
    {StyleVerticalAlign, NdbValueVerticalAlign},
    {StyleWordSpacing, NdbValueLength},
    {StyleLetterSpacing, NdbValueLength},
    {StyleTextTransform, NdbValueTextTransform},
    {StyleTextDecoration, NdbValueInt},
    {StyleColor, NdbValueColor},
    {StyleMarginLeft, NdbValueLength},
    {StyleMarginTop, NdbValueLength},
    {StyleMarginRight, NdbValueLength},
    {StyleMarginBottom, NdbValueLength},
    {StylePaddingLeft, NdbValueLength},
    {StylePaddingTop, NdbValueLength},
    {StylePaddingRight, NdbValueLength},
    {StylePaddingBottom, NdbValueLength},
    {StyleBorderLeftWidth, NdbValueLength},
    {StyleBorderLeftStyle, NdbValueBorderStyle},
    {StyleBorderLeftColor, NdbValueColor},
    {StyleBorderTopWidth, NdbValueLength},
    {StyleBorderTopStyle, NdbValueBorderStyle},
    {StyleBorderTopColor, NdbValueColor},
    {StyleBorderRightWidth, NdbValueLength},
    {StyleBorderRightStyle, NdbValueBorderStyle},
    {StyleBorderRightColor, NdbValueColor},
    {StyleBorderBottomWidth, NdbValueLength},
    {StyleBorderBottomStyle, NdbValueBorderStyle},
    {StyleBorderBottomColor, NdbValueColor},
    {StyleBackgroundColor, NdbValueColor},
    {StyleBackgroundImage, NdbValueText},
    {StyleBackgroundPipeline, NdbValueText},
    {StyleBackgroundRepeat, NdbValueBackgroundRepeat},
    {StyleBackgroundAttachment, NdbValueBackgroundAttachment},
    {StyleBackgroundPositionX, NdbValueBackgroundPositionX},
    {StyleBackgroundPositionXLength, NdbValueLength},
    {StyleBackgroundPositionY, NdbValueBackgroundPositionY},
    {StyleBackgroundPositionYLength, NdbValueLength},
    {StyleCursor, NdbValueCursor},
    {StyleFlag, NdbValueBool},
    {StyleLinkColor, NdbValueColor},
    {StyleLinkFontWeight, NdbValueFontWeight},
    {StyleLinkDecoration, NdbValueInt},
    {StyleHoverLinkColor, NdbValueColor},
    {StyleHoverLinkFontWeight, NdbValueFontWeight},
    {StyleHoverLinkDecoration, NdbValueInt},
    {StyleVisitedLinkColor, NdbValueColor},
    {StyleVisitedLinkFontWeight, NdbValueFontWeight},
    {StyleVisitedLinkDecoration, NdbValueInt},
    {StyleWidth, NdbValueLength},
    {StyleHeight, NdbValueLength},
    {StyleTop, NdbValueLength},
    {StyleLeft, NdbValueLength},
    {StyleBottom, NdbValueLength},
    {StyleRight, NdbValueLength},
    {StyleZIndex, NdbValueInt},
    {StyleWhiteSpace, NdbValueWhiteSpace},
    {StyleFloat, NdbValueFloatKeyword},
    {StyleClear, NdbValueClear},
    {StyleOverflow, NdbValueOverflow},
    {StylePosition, NdbValuePosition},
    {StyleDisplay, NdbValueDisplay},
    {StyleFreeCss, NdbValueText},
};

int StyleFieldType(int id)
{
    for (const FieldType& field : StyleFieldTypes)
    {
        if (field.id == id)
            return field.valueType;
    }
    return NdbValueText;
}
} // namespace

bool CNdbStyle::IsValidFieldValue(int id, const CNdbFieldValue& value) const
{
    return value.GetType() == StyleFieldType(id);
}

QString CNdbStyle::GetName() const
{
    return GetString(StyleDisplayName);
}

QString CNdbStyle::KeywordText(int id, int valueType) const
{
    CNdbFieldValue value;
    return GetField(id, value) ? KeywordToText(valueType, value.GetInt()) : QString();
}

QString CNdbStyle::DecorationText(int id) const
{
    CNdbFieldValue value;
    return GetField(id, value) ? DecorationToText(value.GetInt()) : QString();
}

QString CNdbStyle::BackgroundPositionText(int keywordId, int valueType, int lengthId) const
{
    CNdbFieldValue value;
    if (!GetField(keywordId, value))
        return {};
    if (value.GetInt() != PositionLengthCode)
        return KeywordToText(valueType, value.GetInt());
    CNdbFieldValue length;
    return GetField(lengthId, length) ? length.FormatLength() : QString();
}

bool CNdbStyle::ParseKeywordField(int id, int valueType, const QString& text)
{
    RemoveField(id);
    int code = 0;
    return ParseKeyword(valueType, text, code) && SetField(id, CNdbFieldValue(valueType, code));
}

bool CNdbStyle::ParseBackgroundPosition(int id, int valueType, const QString& text)
{
    if (ParseKeywordField(id, valueType, text))
        return true;
    return !text.isEmpty() && SetField(id, CNdbFieldValue(valueType, PositionLengthCode));
}

// clang-format off
QString CNdbStyle::GetFontStyleText() const { return KeywordText(StyleFontStyle, NdbValueFontStyle); }
QString CNdbStyle::GetFontVariantText() const { return KeywordText(StyleFontVariant, NdbValueFontVariant); }
QString CNdbStyle::GetFontWeightText() const { return KeywordText(StyleFontWeight, NdbValueFontWeight); }
QString CNdbStyle::GetTextAlignText() const { return KeywordText(StyleTextAlign, NdbValueTextAlign); }
QString CNdbStyle::GetVerticalAlignText() const { return KeywordText(StyleVerticalAlign, NdbValueVerticalAlign); }
QString CNdbStyle::GetTextTransformText() const { return KeywordText(StyleTextTransform, NdbValueTextTransform); }
QString CNdbStyle::GetTextDecorationText() const { return DecorationText(StyleTextDecoration); }
QString CNdbStyle::GetLinkDecorationText() const { return DecorationText(StyleLinkDecoration); }
QString CNdbStyle::GetHoverLinkDecorationText() const { return DecorationText(StyleHoverLinkDecoration); }
QString CNdbStyle::GetVisitedLinkDecorationText() const { return DecorationText(StyleVisitedLinkDecoration); }
QString CNdbStyle::GetBorderLeftStyleText() const { return KeywordText(StyleBorderLeftStyle, NdbValueBorderStyle); }
QString CNdbStyle::GetBorderTopStyleText() const { return KeywordText(StyleBorderTopStyle, NdbValueBorderStyle); }
QString CNdbStyle::GetBorderRightStyleText() const { return KeywordText(StyleBorderRightStyle, NdbValueBorderStyle); }
QString CNdbStyle::GetBorderBottomStyleText() const { return KeywordText(StyleBorderBottomStyle, NdbValueBorderStyle); }
QString CNdbStyle::GetBackgroundRepeatText() const { return KeywordText(StyleBackgroundRepeat, NdbValueBackgroundRepeat); }
QString CNdbStyle::GetBackgroundAttachmentText() const { return KeywordText(StyleBackgroundAttachment, NdbValueBackgroundAttachment); }
QString CNdbStyle::GetCursorText() const { return KeywordText(StyleCursor, NdbValueCursor); }
QString CNdbStyle::GetWhiteSpaceText() const { return KeywordText(StyleWhiteSpace, NdbValueWhiteSpace); }
QString CNdbStyle::GetFloatText() const { return KeywordText(StyleFloat, NdbValueFloatKeyword); }
QString CNdbStyle::GetClearText() const { return KeywordText(StyleClear, NdbValueClear); }
QString CNdbStyle::GetOverflowText() const { return KeywordText(StyleOverflow, NdbValueOverflow); }
QString CNdbStyle::GetPositionText() const { return KeywordText(StylePosition, NdbValuePosition); }
QString CNdbStyle::GetDisplayText() const { return KeywordText(StyleDisplay, NdbValueDisplay); }

QString CNdbStyle::GetBackgroundPositionXText() const
{
    return BackgroundPositionText(StyleBackgroundPositionX, NdbValueBackgroundPositionX, StyleBackgroundPositionXLength);
}

QString CNdbStyle::GetBackgroundPositionYText() const
{
    return BackgroundPositionText(StyleBackgroundPositionY, NdbValueBackgroundPositionY, StyleBackgroundPositionYLength);
}

bool CNdbStyle::SetTextAlignText(const QString& text) { return ParseKeywordField(StyleTextAlign, NdbValueTextAlign, text); }
bool CNdbStyle::SetVerticalAlignText(const QString& text) { return ParseKeywordField(StyleVerticalAlign, NdbValueVerticalAlign, text); }
bool CNdbStyle::SetBorderLeftStyleText(const QString& text) { return ParseKeywordField(StyleBorderLeftStyle, NdbValueBorderStyle, text); }
bool CNdbStyle::SetBorderTopStyleText(const QString& text) { return ParseKeywordField(StyleBorderTopStyle, NdbValueBorderStyle, text); }
bool CNdbStyle::SetBorderRightStyleText(const QString& text) { return ParseKeywordField(StyleBorderRightStyle, NdbValueBorderStyle, text); }
bool CNdbStyle::SetBorderBottomStyleText(const QString& text) { return ParseKeywordField(StyleBorderBottomStyle, NdbValueBorderStyle, text); }
bool CNdbStyle::SetBackgroundRepeatText(const QString& text) { return ParseKeywordField(StyleBackgroundRepeat, NdbValueBackgroundRepeat, text); }
bool CNdbStyle::SetBackgroundPositionXText(const QString& text) { return ParseBackgroundPosition(StyleBackgroundPositionX, NdbValueBackgroundPositionX, text); }
bool CNdbStyle::SetBackgroundPositionYText(const QString& text) { return ParseBackgroundPosition(StyleBackgroundPositionY, NdbValueBackgroundPositionY, text); }
bool CNdbStyle::SetFloatText(const QString& text) { return ParseKeywordField(StyleFloat, NdbValueFloatKeyword, text); }
bool CNdbStyle::SetClearText(const QString& text) { return ParseKeywordField(StyleClear, NdbValueClear, text); }
bool CNdbStyle::SetOverflowText(const QString& text) { return ParseKeywordField(StyleOverflow, NdbValueOverflow, text); }
bool CNdbStyle::SetDisplayText(const QString& text) { return ParseKeywordField(StyleDisplay, NdbValueDisplay, text); }
// clang-format on

QString CNdbStyle::BorderStyleToText(int code)
{
    return KeywordToText(NdbValueBorderStyle, code);
}

bool CNdbStyle::ParseBorderStyle(const QString& text, int& code)
{
    return ParseKeyword(NdbValueBorderStyle, text, code);
}

QString CNdbStyle::DecorationToText(int flags)
{
    if (flags & NdbDecorationNone)
        return QStringLiteral("none");
    QString text;
    if (flags & NdbDecorationUnderline)
        text += u"underline ";
    if (flags & NdbDecorationOverline)
        text += u"overline ";
    if (flags & NdbDecorationLineThrough)
        text += u"line-through ";
    return text.trimmed();
}
} // namespace ndb
