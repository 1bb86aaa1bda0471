#include "mail/ParserBayesian.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace SpamFilter;

namespace
{
TokenMap Tokenize(const QString& text)
{
    TokenMap tokens;
    CParserBayesian().Tokenize(text, tokens);
    return tokens;
}
} // namespace

TEST(ParserBayesian, SplitsTextIntoTokensAndCountsThem)
{
    struct Case
    {
        QString text;
        TokenMap expected;
    };
    const std::vector<Case> cases = {
        {u"win money!!! now"_qs, {{u"win"_qs, 1}, {u"money"_qs, 1}, {u"now"_qs, 1}}},
        {u""_qs, {}},
        {u" \t\r\n!!! 123 ..."_qs, {}},
        {u"buy buy BUY"_qs, {{u"buy"_qs, 2}, {u"BUY"_qs, 1}}},
        // Digits separate; they never end up inside a token.
        {u"abc123def 4you"_qs, {{u"abc"_qs, 1}, {u"def"_qs, 1}, {u"you"_qs, 1}}},
        {u"mail@example.com"_qs, {{u"mail"_qs, 1}, {u"example"_qs, 1}, {u"com"_qs, 1}}},
        {u"http://shop.test/buy?id=7&x=y"_qs,
         {{u"http"_qs, 1},
          {u"shop"_qs, 1},
          {u"test"_qs, 1},
          {u"buy"_qs, 1},
          {u"id"_qs, 1},
          {u"x"_qs, 1},
          {u"y"_qs, 1}}},
        // Characters outside the delimiter set belong to the token: letters of any script, "#",
        // the euro sign, the en dash.
        {u"café €99 naïve#tag a\u2013b"_qs,
         {{u"café"_qs, 1}, {u"€"_qs, 1}, {u"naïve#tag"_qs, 1}, {u"a\u2013b"_qs, 1}}},
        {u"£5 ¥6 ½ ®brand §2 ·x"_qs, {{u"brand"_qs, 1}, {u"x"_qs, 1}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Tokenize(c.text), c.expected) << c.text.toStdString();
}

TEST(ParserBayesian, EveryDelimiterSeparatesTokens)
{
    EXPECT_EQ(SpamDelimiters.size(), 52);
    for (const QChar delimiter : SpamDelimiters)
    {
        const TokenMap expected = {{u"left"_qs, 1}, {u"right"_qs, 1}};
        EXPECT_EQ(Tokenize(u"left"_qs + delimiter + u"right"_qs), expected) << int(delimiter.unicode());
    }
}

TEST(ParserBayesian, AddsToTokensAlreadyInTheMap)
{
    TokenMap tokens = {{u"free"_qs, 3}};
    CParserBayesian().Tokenize(u"free offer"_qs, tokens);
    const TokenMap expected = {{u"free"_qs, 4}, {u"offer"_qs, 1}};
    EXPECT_EQ(tokens, expected);
}
