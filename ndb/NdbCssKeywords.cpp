#include "ndb/NdbCssKeywords.h"

#include "ndb/NdbFieldValue.h"

#include <span>

namespace ndb
{
namespace
{
using Keywords = std::span<const char16_t* const>;
using Codes = std::span<const int>;

// Keywords indexed by code; nullptr where a code has none.
constexpr const char16_t* FontStyle[] = {u"normal", u"italic"};
constexpr const char16_t* FontVariant[] = {u"normal", u"small-caps"};
constexpr const char16_t* FontWeight[] = {u"normal", u"bold"};
constexpr const char16_t* TextAlign[] = {u"left", u"center", u"right", u"justify"};
constexpr const char16_t* VerticalAlign[] = {u"baseline", u"sub",    u"super",    u"top",
                                             u"middle",   u"bottom", u"text-top", u"text-bottom"};
constexpr const char16_t* TextTransform[] = {u"none", u"uppercase", u"lowercase", u"capitalize"};
constexpr const char16_t* BorderStyle[] = {u"none",   u"",       u"dotted", u"dashed", u"solid",
                                           u"double", u"groove", u"ridge",  u"inset",  u"outset"};
constexpr const char16_t* BackgroundRepeat[] = {u"repeat", u"repeat-x", u"repeat-y", u"no-repeat"};
constexpr const char16_t* BackgroundAttachment[] = {u"scroll", u"fixed"};
constexpr const char16_t* BackgroundPositionX[] = {u"left", u"center", u"right"};
constexpr const char16_t* BackgroundPositionY[] = {u"top", u"center", u"bottom"};
constexpr const char16_t* Cursor[] = {u"auto",      u"default",   u"pointer",   u"crosshair", u"move",
                                      u"e-resize",  u"ne-resize", u"nw-resize", u"n-resize",  u"se-resize",
                                      u"sw-resize", u"s-resize",  u"w-resize",  u"text",      u"wait",
                                      u"help",      u"progress"};
constexpr const char16_t* WhiteSpace[] = {u"normal", u"nowrap", u"pre", u"pre-wrap", u"pre-line"};
constexpr const char16_t* Float[] = {u"", u"left", u"right"};
constexpr const char16_t* Clear[] = {u"none", u"left", u"right", u"both"};
constexpr const char16_t* Overflow[] = {u"hidden", u"auto", u"scroll", u"visible"};
constexpr const char16_t* Position[] = {u"static", u"relative", u"absolute", u"fixed"};
constexpr const char16_t* Display[] = {u"none",         u"inline",    u"block",
                                       u"inline-block", u"list-item", u"run-in"};

// Parse orders, as codes.
constexpr int TextAlignOrder[] = {0, 1, 2, 3};
constexpr int VerticalAlignOrder[] = {6, 3, 4, 7, 5, 0, 1, 2};
constexpr int BorderStyleOrder[] = {0, 4, 3, 2, 5, 6, 7, 8, 9};
constexpr int BackgroundRepeatOrder[] = {3, 1, 2, 0};
constexpr int BackgroundPositionOrder[] = {0, 1, 2};
constexpr int FloatOrder[] = {2, 1};
constexpr int ClearOrder[] = {0, 1, 2, 3};
constexpr int OverflowOrder[] = {1, 0, 2, 3};
constexpr int DisplayOrder[] = {0, 3, 1, 2, 4, 5};

struct Enumeration
{
    int valueType;
    Keywords keywords;
    Codes parseOrder;
};

constexpr Enumeration Enumerations[] = {
    {NdbValueFontStyle, FontStyle, {}},
    {NdbValueFontVariant, FontVariant, {}},
    {NdbValueFontWeight, FontWeight, {}},
    {NdbValueTextAlign, TextAlign, TextAlignOrder},
    {NdbValueVerticalAlign, VerticalAlign, VerticalAlignOrder},
    {NdbValueTextTransform, TextTransform, {}},
    {NdbValueBorderStyle, BorderStyle, BorderStyleOrder},
    {NdbValueBackgroundRepeat, BackgroundRepeat, BackgroundRepeatOrder},
    {NdbValueBackgroundAttachment, BackgroundAttachment, {}},
    {NdbValueBackgroundPositionX, BackgroundPositionX, BackgroundPositionOrder},
    {NdbValueBackgroundPositionY, BackgroundPositionY, BackgroundPositionOrder},
    {NdbValueCursor, Cursor, {}},
    {NdbValueWhiteSpace, WhiteSpace, {}},
    {NdbValueFloatKeyword, Float, FloatOrder},
    {NdbValueClear, Clear, ClearOrder},
    {NdbValueOverflow, Overflow, OverflowOrder},
    {NdbValuePosition, Position, {}},
    {NdbValueDisplay, Display, DisplayOrder},
};

const Enumeration* FindEnumeration(int valueType)
{
    for (const Enumeration& enumeration : Enumerations)
    {
        if (enumeration.valueType == valueType)
            return &enumeration;
    }
    return nullptr;
}
} // namespace

QString KeywordToText(int valueType, int code)
{
    const Enumeration* enumeration = FindEnumeration(valueType);
    if (!enumeration || code < 0 || code >= static_cast<int>(enumeration->keywords.size()))
        return {};
    return QString::fromUtf16(enumeration->keywords[code]);
}

bool ParseKeyword(int valueType, const QString& text, int& code)
{
    const Enumeration* enumeration = FindEnumeration(valueType);
    if (!enumeration)
        return false;
    const QString lower = text.toLower();
    for (int candidate : enumeration->parseOrder)
    {
        if (lower.contains(QStringView(enumeration->keywords[candidate])))
        {
            code = candidate;
            return true;
        }
    }
    return false;
}
} // namespace ndb
