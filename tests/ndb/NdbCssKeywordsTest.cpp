#include "ndb/NdbCssKeywords.h"
#include "ndb/NdbFieldValue.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ndb;

namespace
{
struct EnumerationCase
{
    int valueType;
    std::vector<const char*> keywords; // by code
};

const std::vector<EnumerationCase> Enumerations = {
    {300, {"normal", "italic"}},
    {310, {"normal", "small-caps"}},
    {320, {"normal", "bold"}},
    {330, {"left", "center", "right", "justify"}},
    {340, {"baseline", "sub", "super", "top", "middle", "bottom", "text-top", "text-bottom"}},
    {350, {"none", "uppercase", "lowercase", "capitalize"}},
    {370, {"none", "", "dotted", "dashed", "solid", "double", "groove", "ridge", "inset", "outset"}},
    {380, {"repeat", "repeat-x", "repeat-y", "no-repeat"}},
    {390, {"scroll", "fixed"}},
    {500, {"left", "center", "right"}},
    {510, {"top", "center", "bottom"}},
    {600,
     {"auto", "default", "pointer", "crosshair", "move", "e-resize", "ne-resize", "nw-resize", "n-resize",
      "se-resize", "sw-resize", "s-resize", "w-resize", "text", "wait", "help", "progress"}},
    {700, {"normal", "nowrap", "pre", "pre-wrap", "pre-line"}},
    {710, {"", "left", "right"}},
    {720, {"none", "left", "right", "both"}},
    {730, {"hidden", "auto", "scroll", "visible"}},
    {740, {"static", "relative", "absolute", "fixed"}},
    {750, {"none", "inline", "block", "inline-block", "list-item", "run-in"}},
};

struct ParseOrderCase
{
    int valueType;
    std::vector<const char*> order; // keywords in the order they are tested
};

const std::vector<ParseOrderCase> ParseOrders = {
    {330, {"left", "center", "right", "justify"}},
    {340, {"text-top", "top", "middle", "text-bottom", "bottom", "baseline", "sub", "super"}},
    {370, {"none", "solid", "dashed", "dotted", "double", "groove", "ridge", "inset", "outset"}},
    {380, {"no-repeat", "repeat-x", "repeat-y", "repeat"}},
    {500, {"left", "center", "right"}},
    {510, {"top", "center", "bottom"}},
    {710, {"right", "left"}},
    {720, {"none", "left", "right", "both"}},
    {730, {"auto", "hidden", "scroll", "visible"}},
    {750, {"none", "inline-block", "inline", "block", "list-item", "run-in"}},
};

int CodeOf(int valueType, const QString& keyword)
{
    for (const EnumerationCase& e : Enumerations)
    {
        if (e.valueType != valueType)
            continue;
        for (size_t code = 0; code < e.keywords.size(); ++code)
        {
            if (keyword == e.keywords[code])
                return static_cast<int>(code);
        }
    }
    return -1;
}
} // namespace

TEST(NdbCssKeywords, EveryCodeOfEveryEnumerationHasItsKeyword)
{
    for (const EnumerationCase& e : Enumerations)
    {
        EXPECT_TRUE(CNdbFieldValue::IsKnownType(e.valueType));
        for (size_t code = 0; code < e.keywords.size(); ++code)
            EXPECT_EQ(KeywordToText(e.valueType, int(code)), e.keywords[code]) << e.valueType << "/" << code;
        EXPECT_EQ(KeywordToText(e.valueType, int(e.keywords.size())), "") << e.valueType;
        EXPECT_EQ(KeywordToText(e.valueType, -1), "") << e.valueType;
    }
    for (int notEnumeration : {0, 1, 3, 200, 360, 800, 999})
        EXPECT_EQ(KeywordToText(notEnumeration, 0), "");
}

TEST(NdbCssKeywords, EachKeywordParsesToItsCodeInAnyCase)
{
    for (const ParseOrderCase& p : ParseOrders)
    {
        for (const char* keyword : p.order)
        {
            const QString text = QString::fromUtf8(keyword);
            int code = -1;
            ASSERT_TRUE(ParseKeyword(p.valueType, text.toUpper(), code)) << p.valueType << " " << keyword;
            EXPECT_EQ(code, CodeOf(p.valueType, text)) << p.valueType << " " << keyword;
        }
    }
}

TEST(NdbCssKeywords, ParseOrderDecidesBetweenKeywordsInOneText)
{
    // A text holding two keywords parses as whichever is tested first, in both orders of writing.
    for (const ParseOrderCase& p : ParseOrders)
    {
        for (size_t first = 0; first < p.order.size(); ++first)
        {
            for (size_t later = first + 1; later < p.order.size(); ++later)
            {
                const QString a = QString::fromUtf8(p.order[first]);
                const QString b = QString::fromUtf8(p.order[later]);
                for (const QString& text : {a + u' ' + b, b + u' ' + a})
                {
                    int code = -1;
                    ASSERT_TRUE(ParseKeyword(p.valueType, text, code));
                    EXPECT_EQ(code, CodeOf(p.valueType, a))
                        << p.valueType << " '" << text.toStdString() << "'";
                }
            }
        }
    }
}

TEST(NdbCssKeywords, SubstringMatchesAndMisses)
{
    const struct
    {
        int valueType;
        const char* text;
        int code; // -1: no match
    } cases[] = {
        {370, "solid 1px #000000", 4},
        {720, "both sides", 3},
        {330, "Center", 1},
        {330, "middle", -1},
        {710, "none", -1},
        {370, "", -1},
        {750, "INLINE", 1},
        {380, "no-repeat", 3},
        {340, "text-bottom", 7},
        {340, "bottom", 5},
        {500, "15px", -1},
        {730, "overflow", -1},
    };
    for (const auto& c : cases)
    {
        int code = -1;
        EXPECT_EQ(ParseKeyword(c.valueType, QString::fromUtf8(c.text), code), c.code >= 0) << c.text;
        if (c.code >= 0)
        {
            EXPECT_EQ(code, c.code) << c.text;
        }
    }
}

TEST(NdbCssKeywords, WriteOnlyEnumerationsHaveNoParser)
{
    for (int valueType : {300, 310, 320, 350, 390, 600, 700, 740})
    {
        int code = -1;
        EXPECT_FALSE(
            ParseKeyword(valueType, QStringLiteral("normal bold italic none scroll auto static"), code));
        EXPECT_EQ(code, -1);
    }
}
