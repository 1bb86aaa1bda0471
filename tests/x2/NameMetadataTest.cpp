#include "x2/NameMetadata.h"

#include <gtest/gtest.h>

TEST(NameMetadata, EscapeKeepsTheNamedCharactersAndCodesTheRest)
{
    const struct
    {
        const char16_t* value;
        const char* escaped;
    } cases[] = {
        {u"{0A1B-c2}", "{0A1B-c2}"},
        {u"F{#FF0000FF}", "F{#FF0000FF}"},
        {u"a_b [x]|(y)", "a_b [x]|(y)"},
        {u":;%./,", "%3A%3B%25%2E%2F%2C"},
        {u"horz:50% vert:10px", "horz%3A50%25 vert%3A10px"},
        {u"caf\u00e9", "caf%E9"},
        {u"\u0001", "%01"},
        {u"", ""},
    };
    for (const auto& c : cases)
    {
        const QString value = QString::fromUtf16(c.value);
        EXPECT_EQ(EscapeMetadataValue(value), QString::fromLatin1(c.escaped)) << c.escaped;
        EXPECT_EQ(UnescapeMetadataValue(EscapeMetadataValue(value)), value) << c.escaped;
    }
}

// Each code is decoded once: a "%" that came from "%25" never starts another code, so an address
// holding "%26" keeps it.
TEST(NameMetadata, UnescapeDecodesEachCodeOnce)
{
    const struct
    {
        const char* escaped;
        const char* value;
    } cases[] = {
        {"http%3A%2F%2Fx%2Fa%3Fb%3D1%2526c%3D2", "http://x/a?b=1%26c=2"},
        {"%253A", "%3A"},
        {"%3a", "%3a"},             // lower-case digits are not a code
        {"%41%30%5F", "%41%30%5F"}, // letters, digits and kept characters are never coded
        {"%00", "%00"},
        {"50%", "50%"},
        {"%2", "%2"},
        {"%E9t%E9", "\xc3\xa9t\xc3\xa9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnescapeMetadataValue(QString::fromLatin1(c.escaped)), QString::fromUtf8(c.value))
            << c.escaped;
}

TEST(NameMetadata, ReadsAPairOnlyAtAPairStart)
{
    const struct
    {
        const char* name;
        const char* key;
        const char* value;
    } cases[] = {
        {"src_border:solid 1px F{#000000FF};border:solid 2px F{#FF0000FF};", "border",
         "solid 2px F{#FF0000FF}"},
        {"src_border_top:solid 1px F{#000000FF};", "border_top", ""},
        {"a:1; b:2;", "b", "2"},
        {"   b:2", "b", "2"},
        {"background-position:horz%3A50%25 vert%3A10px;", "background-position", "horz:50% vert:10px"},
        {"b:;", "b", ""},
        {"B:1;", "b", ""},
        {"bookmark name", "b", ""},
        {"fc_150", "fc", ""},
        {"", "b", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetNameMetadataText(QString::fromLatin1(c.name), QString::fromLatin1(c.key)),
                  QString::fromLatin1(c.value))
            << c.name << " / " << c.key;
}

TEST(NameMetadata, WritesThePairInFrontAndRemovesTheOldOne)
{
    const struct
    {
        const char* name;
        const char* key;
        const char* value;
        const char* result;
    } cases[] = {
        {"background-color:P{abc};", "src_ResID", "{0A-1B}", "src_ResID:{0A-1B};background-color:P{abc};"},
        {"a:1;b:2;c:3;", "b", "9", "b:9;a:1;c:3;"},
        {"a:1;b:2;c:3;", "b", "", "a:1;c:3;"},
        {"a:1;b:2", "b", "", "a:1;"},
        {"src_border_top:x;", "border_top", "y", "border_top:y;src_border_top:x;"},
        {"a:1; b:2;", "b", "3", "b:3;a:1;"},
        {"my bookmark", "color", "F{#000000FF}", "color:F{#000000FF};my bookmark"},
        {"", "background-position", "horz:50% vert:10px", "background-position:horz%3A50%25 vert%3A10px;"},
        {"", "a", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SetNameMetadataText(QString::fromLatin1(c.name), QString::fromLatin1(c.key),
                                      QString::fromLatin1(c.value)),
                  QString::fromLatin1(c.result))
            << c.name << " / " << c.key;
}
