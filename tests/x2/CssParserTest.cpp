#include "x2/CssProperties.h"
#include "x2/X2CssParser.h"
#include "x2/X2TextHelpers.h"

#include "x2/X2TestSupport.h"

#include <gtest/gtest.h>

namespace
{
CX2StyleSheet Declarations(const QString& text)
{
    CX2StyleSheet rule;
    CX2CssParser().ParseDeclarations(text, rule);
    return rule;
}

X2StyleSheetList StyleSheet(const QString& css)
{
    X2StyleSheetList rules;
    EXPECT_TRUE(CX2CssParser().ParseStyleSheet(css, rules));
    return rules;
}
} // namespace

TEST(SplitText, PiecesBetweenSeparators)
{
    const struct
    {
        const char* text;
        QStringList pieces;
    } cases[] = {
        {"", {}},          {"a", {"a"}},         {"a;b", {"a", "b"}},
        {"a;", {"a", ""}}, {";;", {"", "", ""}}, {"a;;b", {"a", "", "b"}},
    };
    for (const auto& c : cases)
    {
        QStringList pieces;
        SplitText(pieces, QString::fromLatin1(c.text), QStringLiteral(";"));
        EXPECT_EQ(pieces, c.pieces) << c.text;
    }
    QStringList appended{QStringLiteral("x")};
    SplitText(appended, QStringLiteral("a::b"), QStringLiteral("::"));
    EXPECT_EQ(appended, (QStringList{"x", "a", "b"}));
}

TEST(CssProperties, TableLookUpIsExact)
{
    EXPECT_EQ(CssPropertyIdFromName(QStringLiteral("color")), 300);
    EXPECT_EQ(CssPropertyIdFromName(QStringLiteral("Color")), 0);
    EXPECT_EQ(CssPropertyIdFromName(QStringLiteral("background-attachment")), 0);
    EXPECT_EQ(CssPropertyIdFromName(QStringLiteral("padding-bottom")), 241);
    EXPECT_EQ(CssPropertyNameFromId(50), QStringLiteral("background-repeat"));
    EXPECT_EQ(CssPropertyNameFromId(307), QStringLiteral("word-spacing"));
    EXPECT_EQ(CssPropertyNameFromId(1), QStringLiteral("<unknown>"));
    for (int id = 0; id < 400; ++id)
    {
        const QString name = CssPropertyNameFromId(id);
        if (name != QLatin1String("<unknown>"))
        {
            EXPECT_EQ(CssPropertyIdFromName(name), id) << id;
        }
    }
}

TEST(CssDeclarations, NamesAreLowerCasedAndValuesTrimmed)
{
    const CX2StyleSheet rule =
        Declarations(QStringLiteral("  COLOR : Red ;Font-Family: \"Arial Black\", sans"));
    ASSERT_EQ(rule.GetDeclarationCount(), 2);
    QString value;
    EXPECT_TRUE(rule.GetPropertyValue(300, value));
    EXPECT_EQ(value, QStringLiteral("Red"));
    EXPECT_TRUE(rule.GetPropertyValue(101, value));
    EXPECT_EQ(value, QStringLiteral("\"Arial Black\", sans"));
    EXPECT_FALSE(rule.GetPropertyValue(225, value));
}

TEST(CssDeclarations, SecondValueOfAPropertyReplacesTheFirstInPlace)
{
    const CX2StyleSheet rule = Declarations(QStringLiteral("color:red;width:10px;color:blue"));
    EXPECT_EQ(rule.FormatDeclarations(false), QStringLiteral("color:blue;width:10px;"));
}

TEST(CssDeclarations, PropertiesOutsideTheTableAreWrittenBackInPlace)
{
    const CX2StyleSheet rule = Declarations(
        QStringLiteral("text-transform:uppercase; color:red; white-space:nowrap; list-style:none; "
                       "background-attachment:fixed; WHITE-SPACE:pre"));
    ASSERT_EQ(rule.GetDeclarationCount(), 5);
    EXPECT_EQ(rule.GetDeclaration(0).id, 0);
    EXPECT_EQ(rule.GetDeclaration(0).name, QStringLiteral("text-transform"));
    EXPECT_EQ(rule.FormatDeclarations(false),
              QStringLiteral("text-transform:uppercase;color:red;white-space:pre;list-style:none;"
                             "background-attachment:fixed;"));
    QString value;
    EXPECT_FALSE(rule.GetPropertyValue(0, value));
}

TEST(CssDeclarations, SemicolonInsideQuotesParenthesesOrCharacterReferencesBelongsToTheValue)
{
    const struct
    {
        const char* text;
        const char* written;
    } cases[] = {
        {"background-image:url(data:image/png;base64,iVBOR=);font-family:'a;b';color:red",
         "background-image:url(data:image/png;base64,iVBOR=);font-family:'a;b';color:red;"},
        {"font-family: &quot;Nunito Sans&quot;, sans-serif; color: red",
         "font-family:&quot;Nunito Sans&quot;, sans-serif;color:red;"},
        {"font-family:&#39;A&#39;,&#X27;B&#x27;;color:red",
         "font-family:&#39;A&#39;,&#X27;B&#x27;;color:red;"},
        // An "&" that begins no reference leaves the ";" after it alone.
        {"font-family:A & B;color:red", "font-family:A & B;color:red;"},
        {"font-family:A&;color:red;width:&#;height:&#xg;top:&1a;",
         "font-family:A&;color:red;width:&#;height:&#xg;top:&1a;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Declarations(QString::fromLatin1(c.text)).FormatDeclarations(false),
                  QString::fromLatin1(c.written))
            << c.text;
}

TEST(CssDeclarations, PieceWithoutColonDoesNotSwallowTheNextName)
{
    const CX2StyleSheet rule = Declarations(QStringLiteral("junk; color:red;;; :x; width:1px"));
    EXPECT_EQ(rule.FormatDeclarations(false), QStringLiteral("color:red;width:1px;"));
}

TEST(CssDeclarations, QuoteFlagTurnsDoubleQuotesIntoSingle)
{
    const CX2StyleSheet rule =
        Declarations(QStringLiteral("font-family:\"Trebuchet MS\",Arial;quotes:\"<\" \">\""));
    EXPECT_EQ(rule.FormatDeclarations(true),
              QStringLiteral("font-family:'Trebuchet MS',Arial;quotes:'<' '>';"));
    EXPECT_EQ(Declarations(QString()).FormatDeclarations(true), QString());
}

TEST(CssDeclarations, SetRemoveAndStoreById)
{
    CX2StyleSheet rule;
    rule.StoreProperty(300, QStringLiteral("red"));
    rule.SetPropertyValue(225, QStringLiteral("10px"));
    rule.SetPropertyByName(QStringLiteral("white-space"), QStringLiteral("nowrap"));
    rule.SetDeclaration({300, QStringLiteral("blue"), QString()});
    rule.StoreProperty(0, QStringLiteral("lost")); // no name to write it under
    EXPECT_EQ(rule.FormatDeclarations(false), QStringLiteral("color:blue;width:10px;white-space:nowrap;"));
    rule.RemoveProperty(300);
    rule.RemoveProperty(226);
    EXPECT_EQ(rule.FormatDeclarations(false), QStringLiteral("width:10px;white-space:nowrap;"));
}

TEST(CssDeclarations, ManyDistinctUnknownPropertiesAreBounded)
{
    QString text;
    for (int i = 0; i < CX2StyleSheet::MaxDeclarations + 50; ++i)
        text += QStringLiteral("x-%1:1;").arg(i);
    text += QStringLiteral("x-0:2;");
    const CX2StyleSheet rule = Declarations(text);
    EXPECT_EQ(rule.GetDeclarationCount(), CX2StyleSheet::MaxDeclarations);
    EXPECT_EQ(rule.GetDeclaration(0).value, QStringLiteral("2"));
}

TEST(CssStyleSheet, OneRulePerSelectorOfEveryBlock)
{
    const X2StyleSheetList rules = StyleSheet(
        QStringLiteral("H1, h2 ,, {color:red}\n p.Note {} td { COLOR: blue; background-attachment:fixed }"));
    ASSERT_EQ(rules.size(), 4u);
    EXPECT_EQ(rules[0]->GetSelector(), QStringLiteral("h1"));
    EXPECT_EQ(rules[1]->GetSelector(), QStringLiteral("h2"));
    EXPECT_EQ(rules[0]->FormatDeclarations(false), QStringLiteral("color:red;"));
    EXPECT_EQ(rules[1]->FormatDeclarations(false), QStringLiteral("color:red;"));
    EXPECT_EQ(rules[2]->GetSelector(), QStringLiteral("p.note"));
    EXPECT_EQ(rules[2]->GetDeclarationCount(), 0);
    EXPECT_EQ(rules[3]->FormatDeclarations(false), QStringLiteral("color:blue;background-attachment:fixed;"));
    EXPECT_TRUE(StyleSheet(QStringLiteral("p color:red")).empty());
    EXPECT_TRUE(StyleSheet(QStringLiteral("p {color:red")).empty());
}

TEST(CssStyleSheet, CommentsAreRemovedWithoutCostingTheClosingBrace)
{
    const X2StyleSheetList rules =
        StyleSheet(QStringLiteral("/* head */p { color: red /* why */}/*/ td {color:blue} */ a{width:1px}"
                                  "/*////// RESET STYLES //////*/ b{}"));
    // "/*/" opens a comment that runs to the next "*/".
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0]->GetSelector(), QStringLiteral("p"));
    EXPECT_EQ(rules[0]->FormatDeclarations(false), QStringLiteral("color:red;"));
    EXPECT_EQ(rules[1]->GetSelector(), QStringLiteral("a"));
    EXPECT_EQ(rules[2]->GetSelector(), QStringLiteral("b"));
    // CSS ends an unclosed comment at the end of the text.
    EXPECT_EQ(StyleSheet(QStringLiteral("p{color:red} /* td{color:blue}")).size(), 1u);
}

TEST(CssStyleSheet, RulesInAtRuleBlocksAreMarkedAndStatementsSelectNothing)
{
    const struct
    {
        const char* css;
        // Each rule's selector, with a "!" in front when it stands in an at-rule block.
        QStringList rules;
    } cases[] = {
        {"@media screen { p { color:red } .a, .b { color:blue } } td { width:1px }",
         {"!p", "!.a", "!.b", "td"}},
        {"@supports (display:grid) { @media print { p {} } q {} } r {}", {"!p", "!q", "r"}},
        {"@media (prefers-color-scheme: dark) { .amount { color:#fff } } @media x { }",
         {"!.amount", "@media x"}},
        {"@font-face { font-family: X; src: url(x.woff) } p {}", {"@font-face", "p"}},
        {"@charset \"utf-8\"; @import url(\"a.css\") screen; p { color:red }", {"p"}},
        {"p {} @import url(b.css); @namespace svg url(x); td {}", {"p", "td"}},
        {"@media screen { p {}", {"!p"}},
    };
    for (const auto& c : cases)
    {
        QStringList rules;
        for (const auto& rule : StyleSheet(QString::fromLatin1(c.css)))
            rules.append((rule->IsInsideAtRule() ? QStringLiteral("!") : QString()) + rule->GetSelector());
        EXPECT_EQ(rules, c.rules) << c.css;
    }
}

TEST(CssStyleSheet, DeeplyNestedBlocksAreReadInOnePass)
{
    // Every "{" here opens a group whose end is far away: looking for it anew for each group
    // would read the text again and again.
    const int depth = 200000;
    const QString css = QStringLiteral("@media x {").repeated(depth) + QStringLiteral("p{color:red}") +
                        QStringLiteral("}").repeated(depth) + QStringLiteral("q{}");
    const X2StyleSheetList rules = StyleSheet(css);
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_TRUE(rules[0]->IsInsideAtRule());
    EXPECT_FALSE(rules[1]->IsInsideAtRule());
    EXPECT_EQ(rules[1]->GetSelector(), QStringLiteral("q"));
}

TEST(CssStyleSheet, OverLongTextFailsWithoutRules)
{
    X2StyleSheetList rules;
    const QString css =
        QStringLiteral("p{color:red}") + QString(CX2CssParser::MaxStyleSheetLength, QLatin1Char(' '));
    EXPECT_FALSE(CX2CssParser().ParseStyleSheet(css, rules));
    EXPECT_TRUE(rules.empty());
}

TEST(CssStyleSheet, RulesOfOneTextAreBounded)
{
    // Each selector of a list becomes a rule of its own, declarations or not: a short text of
    // many selectors must not turn into millions of rules.
    QString selectors;
    for (int i = 0; i < CX2CssParser::MaxRulesPerStyleSheet + 50; ++i)
        selectors += QStringLiteral("a,");
    X2StyleSheetList rules;
    rules.push_back(std::make_unique<CX2StyleSheet>(QStringLiteral("held")));
    EXPECT_TRUE(CX2CssParser().ParseStyleSheet(selectors + QStringLiteral("b{} p{color:red}"), rules));
    EXPECT_EQ(rules.size(), size_t(CX2CssParser::MaxRulesPerStyleSheet) + 1);

    // The declarations they carry are bounded as well.
    const QString block = QStringLiteral("{color:red;width:1px;height:2px;top:3px}");
    X2StyleSheetList declared;
    EXPECT_TRUE(CX2CssParser().ParseStyleSheet(selectors + QStringLiteral("b") + block, declared));
    int declarations = 0;
    for (const auto& rule : declared)
        declarations += rule->GetDeclarationCount();
    EXPECT_LE(declarations, CX2CssParser::MaxDeclarationsPerStyleSheet + 4);
}

TEST(CssSelector, PartsAndSpecificity)
{
    const struct
    {
        const char* selector;
        int parts;
        const char* element;
        const char* className;
        const char* id;
        int specificity;
    } cases[] = {
        {"#main", 1, "", "", "main", 65536},  {"td.note", 1, "td", "note", "", 257},
        {"td.a.b", 1, "td", "ab", "", 257},   {"div#x.y", 1, "div", "", "x.y", 65537},
        {"table  td", 2, "table", "", "", 2}, {"a:hover", 1, "a:hover", "", "", 1},
    };
    for (const auto& c : cases)
    {
        CX2StyleSheet rule(QString::fromLatin1(c.selector));
        EXPECT_TRUE(CX2CssParser().ParseSelector(rule, QString::fromLatin1(c.selector)));
        ASSERT_EQ(rule.GetSelectorPartCount(), c.parts) << c.selector;
        EXPECT_EQ(rule.GetSelectorElement(0), QString::fromLatin1(c.element)) << c.selector;
        EXPECT_EQ(rule.GetSelectorClass(0), QString::fromLatin1(c.className)) << c.selector;
        EXPECT_EQ(rule.GetSelectorId(0), QString::fromLatin1(c.id)) << c.selector;
        EXPECT_EQ(rule.GetSpecificity(), c.specificity) << c.selector;
    }
    CX2StyleSheet many;
    for (int i = 0; i < 300; ++i)
        many.AddSelectorPart(QStringLiteral("p"), QString(), QString());
    EXPECT_EQ(many.GetSpecificity(), 255);
}
