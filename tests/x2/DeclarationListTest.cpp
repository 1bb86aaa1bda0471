#include "x2/X2Attribute.h"
#include "x2/X2TextHelpers.h"

#include "x2/X2TestSupport.h"

#include <gtest/gtest.h>

namespace
{
QString Set(const char* value, const char* key, const char* newValue)
{
    CX2Attribute attribute(QStringLiteral("name"), QString::fromLatin1(value));
    attribute.SetDeclarationValue(QString::fromLatin1(key), QString::fromLatin1(newValue));
    return attribute.GetValue();
}
} // namespace

TEST(DeclarationList, SettingAKeyRebuildsTheList)
{
    const struct
    {
        const char* value;
        const char* key;
        const char* newValue;
        const char* result;
    } cases[] = {
        {"a:1;", "b", "2", "b:2;a:1;"},
        {"src_ResID:{1};src_border:2;", "SRC_RESID", "{9}", "src_ResID:{9};src_border:2;"},
        {"src_ResID:{1};src_border:2;", "src_resid", "", "src_border:2;"},
        {"", "a", "", ""},
        {" a : 1 ;;b:2", "c", "3", "c:3;a: 1 ;b:2;"},
        {"flag;a:1;", "a", "2", "flag:;a:2;"},
        // Values holding ":" stay whole, whichever key is set.
        {"background-image:url(http://example.com/a.png);color:red;", "color", "blue",
         "background-image:url(http://example.com/a.png);color:blue;"},
        {"a:x:y;", "a", "z", "a:z;"},
        // The ";" of a character reference ends no piece.
        {"font-family:&quot;Nunito Sans&quot;, sans-serif;color:red;", "color", "blue",
         "font-family:&quot;Nunito Sans&quot;, sans-serif;color:blue;"},
        {"a:&#39;x&#39;;b:&amp;&lt;", "b", "", "a:&#39;x&#39;;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Set(c.value, c.key, c.newValue), QString::fromLatin1(c.result))
            << c.value << " / " << c.key;
}

TEST(DeclarationList, FindTakesTheValueUntrimmedAndWhole)
{
    const CX2Attribute attribute(QStringLiteral("style"),
                                 QStringLiteral("k: v ;URL:http://a/b;empty;font:&quot;A&quot;;color:red;"));
    QString value = QStringLiteral("stale");
    EXPECT_TRUE(attribute.FindDeclarationValue(QStringLiteral(" K "), value));
    EXPECT_EQ(value, QStringLiteral(" v "));
    EXPECT_EQ(attribute.GetDeclarationValue(QStringLiteral("url")), QStringLiteral("http://a/b"));
    EXPECT_TRUE(attribute.FindDeclarationValue(QStringLiteral("empty"), value));
    EXPECT_EQ(value, QString());
    EXPECT_EQ(attribute.GetDeclarationValue(QStringLiteral("font")), QStringLiteral("&quot;A&quot;"));
    value = QStringLiteral("stale");
    EXPECT_FALSE(attribute.FindDeclarationValue(QStringLiteral("width"), value));
    EXPECT_EQ(value, QString());
}

TEST(DeclarationList, FindInTextNeedsTheKeyAtAPieceStart)
{
    const struct
    {
        const char* key;
        const char* text;
        bool found;
        const char* value;
    } cases[] = {
        {"b", "a:1;b:2", true, "2"},  {"b", "a:1; b:2", false, ""}, {"b", "xb:1;b:3;", true, "3"},
        {"b", "xb:1", false, ""},     {"B", "b:1", false, ""},      {"a", "a:", true, ""},
        {"a", "a: 1 ;", true, " 1 "}, {"a", "", false, ""},
    };
    for (const auto& c : cases)
    {
        QString value;
        EXPECT_EQ(FindDeclarationInText(QString::fromLatin1(c.key), QString::fromLatin1(c.text), value),
                  c.found)
            << c.text;
        if (c.found)
        {
            EXPECT_EQ(value, QString::fromLatin1(c.value)) << c.text;
        }
    }
}
