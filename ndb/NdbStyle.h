#pragma once

#include "ndb/NdbFieldBase.h"

namespace ndb
{
// The fields of a style, one per CSS property. An absent field is a property that is not set.
enum STYLEFIELDS
{
    StyleElementFlag = 1, // true for the newsletter's built-in heading and Normal styles
    StyleDisplayName = 100,
    StyleRuleName = 110, // "h1" to "h6", "normal", or "c" and a number for a class style
    StyleFontFamily = 200,
    StyleFontSize = 210,
    StyleFontStyle = 220,
    StyleFontVariant = 230,
    StyleFontWeight = 240,
    StyleTextIndent = 300,
    StyleTextAlign = 310,
    StyleLineHeight = 320,
    StyleVerticalAlign = 330,
    StyleWordSpacing = 340,
    StyleLetterSpacing = 350,
    StyleTextTransform = 360,
    StyleTextDecoration = 370, // decoration flag set
    StyleColor = 400,
    StyleMarginLeft = 500,
    StyleMarginTop = 510,
    StyleMarginRight = 520,
    StyleMarginBottom = 530,
    StylePaddingLeft = 600,
    StylePaddingTop = 610,
    StylePaddingRight = 620,
    StylePaddingBottom = 630,
    StyleBorderLeftWidth = 700,
    StyleBorderLeftStyle = 710,
    StyleBorderLeftColor = 720,
    StyleBorderTopWidth = 730,
    StyleBorderTopStyle = 740,
    StyleBorderTopColor = 750,
    StyleBorderRightWidth = 760,
    StyleBorderRightStyle = 770,
    StyleBorderRightColor = 780,
    StyleBorderBottomWidth = 790,
    StyleBorderBottomStyle = 800,
    StyleBorderBottomColor = 810,
    StyleBackgroundColor = 900,
    StyleBackgroundImage = 910, // the identifier of an embedded resource of the layout
    StyleBackgroundPipeline = 915,
    StyleBackgroundRepeat = 920,
    StyleBackgroundAttachment = 930,
    StyleBackgroundPositionX = 940,
    StyleBackgroundPositionXLength = 950, // used when 940 holds the length code 3
    StyleBackgroundPositionY = 960,
    StyleBackgroundPositionYLength = 970, // used when 960 holds the length code 3
    StyleCursor = 1000,
    StyleFlag = 1200,
    StyleLinkColor = 1210,
    StyleLinkFontWeight = 1220,
    StyleLinkDecoration = 1230,
    StyleHoverLinkColor = 1240,
    StyleHoverLinkFontWeight = 1250,
    StyleHoverLinkDecoration = 1260,
    StyleVisitedLinkColor = 1270,
    StyleVisitedLinkFontWeight = 1280,
    StyleVisitedLinkDecoration = 1290,
    StyleWidth = 1300,
    StyleHeight = 1310,
    StyleTop = 1320,
    StyleLeft = 1330,
    StyleBottom = 1340,
    StyleRight = 1350,
    StyleZIndex = 1360,
    StyleWhiteSpace = 1400,
    StyleFloat = 1410,
    StyleClear = 1420,
    StyleOverflow = 1430,
    StylePosition = 1440,
    StyleDisplay = 1450,
    StyleFreeCss = 9999, // further declarations, written unchanged after the others
};

// Bits of a decoration flag set (fields 370, 1230, 1260, 1290).
enum NdbDecoration
{
    NdbDecorationNone = 1, // when set, the other bits are ignored
    NdbDecorationUnderline = 2,
    NdbDecorationOverline = 4,
    NdbDecorationLineThrough = 8,
};

// One CSS rule of a newsletter: a named style, or the page style of a layout. Every property is
// a field of a fixed value type; an id the style does not know takes a text.
//
// The keyword getters give the CSS keyword of a field, empty when the field is absent or holds
// a code outside its list. The keyword parsers take CSS text (an element's inline style value),
// remove the field and store the code of the first keyword found, returning whether they did.
class CNdbStyle : public CNdbFieldBase<STYLEFIELDS>
{
    KV_PERSISTENT_CLASS()
    CNdbStyle() : CNdbFieldBase(NdbKindStyle) {}

    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;
    // The display name, field 100.
    QString GetName() const override;

    bool IsElementStyle() const { return GetBool(StyleElementFlag, false); }

    QString GetFontStyleText() const;
    QString GetFontVariantText() const;
    QString GetFontWeightText() const;
    QString GetTextAlignText() const;
    QString GetVerticalAlignText() const;
    QString GetTextTransformText() const;
    QString GetTextDecorationText() const;
    QString GetLinkDecorationText() const;
    QString GetHoverLinkDecorationText() const;
    QString GetVisitedLinkDecorationText() const;
    QString GetBorderLeftStyleText() const;
    QString GetBorderTopStyleText() const;
    QString GetBorderRightStyleText() const;
    QString GetBorderBottomStyleText() const;
    QString GetBackgroundRepeatText() const;
    QString GetBackgroundAttachmentText() const;
    // A keyword, or for code 3 the CSS length of field 950 (970), empty when that is absent.
    QString GetBackgroundPositionXText() const;
    QString GetBackgroundPositionYText() const;
    QString GetCursorText() const;
    QString GetWhiteSpaceText() const;
    QString GetFloatText() const;
    QString GetClearText() const;
    QString GetOverflowText() const;
    QString GetPositionText() const;
    QString GetDisplayText() const;

    bool SetTextAlignText(const QString& text);
    bool SetVerticalAlignText(const QString& text);
    bool SetBorderLeftStyleText(const QString& text);
    bool SetBorderTopStyleText(const QString& text);
    bool SetBorderRightStyleText(const QString& text);
    bool SetBorderBottomStyleText(const QString& text);
    bool SetBackgroundRepeatText(const QString& text);
    // Any non-empty text without a keyword stores the length code 3; the caller sets the length
    // field (950, 970) itself.
    bool SetBackgroundPositionXText(const QString& text);
    bool SetBackgroundPositionYText(const QString& text);
    bool SetFloatText(const QString& text);
    bool SetClearText(const QString& text);
    bool SetOverflowText(const QString& text);
    bool SetDisplayText(const QString& text);

    static QString BorderStyleToText(int code);
    static bool ParseBorderStyle(const QString& text, int& code);
    // "none", or the words "underline", "overline", "line-through" separated by one blank.
    static QString DecorationToText(int flags);

private:
    QString KeywordText(int id, int valueType) const;
    QString DecorationText(int id) const;
    QString BackgroundPositionText(int keywordId, int valueType, int lengthId) const;
    bool ParseKeywordField(int id, int valueType, const QString& text);
    bool ParseBackgroundPosition(int id, int valueType, const QString& text);
};
} // namespace ndb
