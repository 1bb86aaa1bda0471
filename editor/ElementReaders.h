#pragma once

#include <QString>

namespace ndb
{
class CNdbStyle;
}

// Readers of what a rule or an image of the live document carries (inline style, attributes and
// the metadata pairs of its name) into the exchange record of its dialog. The texts come from the
// page, so any text must be read without harm.

// A CSS length as a field value: the leading number with its fraction and the first unit text
// found in it, pixels when there is none. False for a text without a leading number.
bool ReadLength(const QString& text, float& number, int& unit);

// What a horizontal rule carries.
struct RuleAttributes
{
    QString inlineWidth;
    QString widthAttribute;
    QString inlineHeight;
    QString sizeAttribute;
    QString name;
};
// Fields 1300 (when a width is given), 1310 (in pixels), 900 and, from the pair "border", 730 and 750.
void ReadRuleStyle(const RuleAttributes& rule, ndb::CNdbStyle& style);

// What an image carries, besides its size.
struct ImageAttributes
{
    QString name;
    QString inlineFloat;
    QString inlineVerticalAlign;
    QString inlineDisplay;
    // margin-top, -bottom, -left, -right.
    QString margins[4];
};
// Fields 1410, 330, 1450, the border (730, 740, 750) from the pair "src_border" and the margins
// 510, 530, 500, 520.
void ReadImageStyle(const ImageAttributes& image, ndb::CNdbStyle& style);

// The effect pipeline of an image source: the text after its first "?pid=".
QString PipelineIdOf(const QString& source);
// The source of an image showing the resource path under the pipeline.
QString ImageSourceText(const QString& resourcePath, const QString& pipelineId);
// A tool tip stored by older versions with its characters escaped, as plain text again.
QString UnescapeToolTip(const QString& text);
