#include "editor/ElementReaders.h"

#include "ndb/NdbFieldValue.h"
#include "ndb/NdbStyle.h"
#include "x2/NameMetadata.h"

#include <QRegularExpression>
#include <QStringList>

using namespace ndb;

namespace
{
constexpr const char* ImageBorderKey = "src_border";
constexpr const char* RuleBorderKey = "border";
constexpr int SolidBorder = 4;
// Beyond any size a page can show; keeps a huge number from reaching the record.
constexpr float MaxLength = 1e6f;

// The three words of a border pair (style, width, colour); false when it holds another number.
bool SplitBorder(const QString& name, const char* key, QStringList& words)
{
    words = GetNameMetadataText(name, QLatin1String(key)).trimmed().split(u' ');
    return words.size() == 3;
}

CNdbFieldValue PixelLength(const QString& text)
{
    float number = 0;
    int unit = NdbUnitPx;
    if (!ReadLength(text, number, unit))
        number = 0;
    return CNdbFieldValue(float(int(number)), int(NdbUnitPx));
}

CNdbColor ColorFromText(const QString& text)
{
    CNdbColor color;
    color.FromText(text);
    return color;
}
} // namespace

bool ReadLength(const QString& text, float& number, int& unit)
{
    static const QRegularExpression leading(QStringLiteral("^\\s*([-+]?[0-9]{1,9}(\\.[0-9]{1,6})?)"));
    const QRegularExpressionMatch match = leading.match(text);
    if (!match.hasMatch())
        return false;
    number = std::clamp(match.captured(1).toFloat(), -MaxLength, MaxLength);
    unit = CNdbFieldValue::ParseUnit(text);
    if (unit == NdbUnitNone)
        unit = NdbUnitPx;
    return true;
}

void ReadRuleStyle(const RuleAttributes& rule, CNdbStyle& style)
{
    const QString width = rule.inlineWidth.isEmpty() ? rule.widthAttribute : rule.inlineWidth;
    float number = 0;
    int unit = NdbUnitPx;
    if (!width.isEmpty() && ReadLength(width, number, unit))
        style.SetField(StyleWidth, CNdbFieldValue(number, unit));
    const QString height = rule.inlineHeight.isEmpty() ? rule.sizeAttribute : rule.inlineHeight;
    if (!ReadLength(height, number, unit))
        number = 0;
    style.SetField(StyleHeight, CNdbFieldValue(number, int(NdbUnitPx)));
    style.SetField(
        StyleBackgroundColor,
        CNdbFieldValue(ColorFromText(GetNameMetadataText(rule.name, QStringLiteral("background-color")))));
    QStringList words;
    const bool border = SplitBorder(rule.name, RuleBorderKey, words);
    style.SetField(StyleBorderTopColor, CNdbFieldValue(border ? ColorFromText(words[2]) : CNdbColor()));
    style.SetField(StyleBorderTopWidth, PixelLength(border ? words[1] : QString()));
}

void ReadImageStyle(const ImageAttributes& image, CNdbStyle& style)
{
    style.SetFloatText(image.inlineFloat);
    style.SetVerticalAlignText(image.inlineVerticalAlign);
    style.SetDisplayText(image.inlineDisplay);
    QStringList words;
    const bool border = SplitBorder(image.name, ImageBorderKey, words);
    style.SetField(StyleBorderTopWidth, PixelLength(border ? words[1] : QString()));
    // Without a colour the dialog offers its black, which a border then gets.
    if (border && ColorFromText(words[2]).GetKind() != NdbColorNone)
        style.SetField(StyleBorderTopColor, CNdbFieldValue(ColorFromText(words[2])));
    // The style word too, so that a dotted border stays dotted.
    if (int code = SolidBorder; border && CNdbStyle::ParseBorderStyle(words[0], code))
        style.SetField(StyleBorderTopStyle, CNdbFieldValue(NdbValueBorderStyle, code));
    const int marginFields[4] = {StyleMarginTop, StyleMarginBottom, StyleMarginLeft, StyleMarginRight};
    for (int side = 0; side < 4; ++side)
    {
        float number = 0;
        int unit = NdbUnitPx;
        if (!image.margins[side].isEmpty() && ReadLength(image.margins[side], number, unit))
            style.SetField(marginFields[side], CNdbFieldValue(number, unit));
    }
}

QString PipelineIdOf(const QString& source)
{
    const qsizetype at = source.indexOf(QLatin1String("?pid="));
    return at < 0 ? QString() : source.mid(at + 5);
}

QString ImageSourceText(const QString& resourcePath, const QString& pipelineId)
{
    return pipelineId.isEmpty() ? resourcePath : resourcePath + QStringLiteral("?pid=") + pipelineId;
}

QString UnescapeToolTip(const QString& text)
{
    QString plain = text;
    plain.replace(QLatin1String("&quot;"), QLatin1String("\""));
    plain.replace(QLatin1String("&lt;"), QLatin1String("<"));
    plain.replace(QLatin1String("&gt;"), QLatin1String(">"));
    plain.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return plain;
}
