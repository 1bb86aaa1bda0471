#include "x2/X2HtmlParser.h"
#include "x2/X2TransformIdentity.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include "x2/X2TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
struct RoundTrip
{
    bool parsed;
    QString html;
};

RoundTrip ParseAndWrite(const QString& text)
{
    CX2Validator document;
    const bool parsed = document.ParseHtml(text);
    QString html;
    document.WriteHtml(html);
    return {parsed, html};
}

struct Case
{
    const char* input;
    const char* output;
};

template <size_t N> void ExpectWrittenAs(const Case (&cases)[N], bool parsed)
{
    for (const Case& c : cases)
    {
        const RoundTrip result = ParseAndWrite(QString::fromUtf8(c.input));
        EXPECT_EQ(result.parsed, parsed) << c.input;
        EXPECT_EQ(result.html, QString::fromUtf8(c.output)) << c.input;
    }
}

QString InnerText(const CX2Element& node)
{
    QString text;
    node.AppendInnerText(text);
    return text;
}

// Elements on the longest path down from the node, the node itself not counted.
int Depth(const CX2Element& node)
{
    int deepest = 0;
    for (int i = 0; i < node.GetChildCount(); ++i)
    {
        const CX2Element* child = node.GetChild(i);
        if (child->GetKind() == CX2Element::Element)
            deepest = std::max(deepest, 1 + Depth(*child));
    }
    return deepest;
}

QString Structure(const QString& text)
{
    CX2Validator document;
    EXPECT_TRUE(document.ParseHtml(text)) << text.toStdString();
    QString dump;
    for (int i = 0; i < document.GetRoot().GetChildCount(); ++i)
        document.GetRoot().GetChild(i)->DumpTree(dump, false, QString());
    return dump;
}
} // namespace

TEST(HtmlParser, WritesBackWhatItReads)
{
    const Case cases[] = {
        {"", ""},
        {"just text &amp; &nbsp; entities", "just text &amp; &nbsp; entities"},
        {"<P CLASS=intro Style='color:Red'>Hi</P>", "<p class=\"intro\" style=\"color:Red\">Hi</p>"},
        {"<BR><br/><Br />x<img src=x/>", "<br /><br /><br />x<img src=\"x\" />"},
        {"<td nowrap width=>a</td>", "<td nowrap=\"nowrap\" width=\"\">a</td>"},
        {"<a title='1 > 0 < 2 \"q\"'>x</a>", "<a title=\"1 > 0 < 2 &quot;q&quot;\">x</a>"},
        {"<p class=a class=b>x", "<p class=\"a\" class=\"b\">x</p>"},
        {"<div></div><span/>", "<div></div><span />"},
        {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD\"><html>",
         "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD\"><html></html>"},
        {"<?xml version=\"1.0\"?><r/>", "<?xml version=\"1.0\"?><r />"},
        {"<!-- a <b> -- c --><!---->x<!-->y", "<!-- a <b> -- c --><!---->x<!---->y"},
        {"<?php if ($a > 1) echo \"<b>\"; ?>", "<?php if ($a > 1) echo \"<b>\"; ?>"},
        {"<% Response.Write(\"<p>\") %>", "<% Response.Write(\"<p>\") %>"},
        {"<style>td < p & a { color:red }</STYLE>", "<style>td < p & a { color:red }</style>"},
        {"<script type=\"text/javascript\">if (a<b && c) x();</Script>",
         "<script type=\"text/javascript\">if (a<b && c) x();</script>"},
        {"<b><i>x</b>y</i>z", "<b><i>x</i></b>yz"},
        {"<p>a<p>b</p>c", "<p>a<p>b</p>c</p>"},
        {"<table><tr><td>a</td><td>b</table>c</td></tr></table>d",
         "<table><tr><td>a</td><td>bc</td></tr></table>d"},
        {"<table><tr><td>a</tr>b</table>", "<table><tr><td>a</td></tr>b</table>"},
        {"<div><span>x</div>y</span>", "<div><span>x</span></div>y"},
        {"<td><b>x</div>y</b></td>", "<td><b>xy</b></td>"},
        {"a</b>b", "ab"},
        {"<b><td><i>x</b>y</i>z", "<b><td><i>xy</i>z</td></b>"},
        {"<div><b><div>x</b>y</div>z</div>", "<div><b><div>xy</div>z</b></div>"},
        {"<i><b><i>x</i>y</i>z", "<i><b><i>x</i>y</b></i>z"},
        {"<input type=\"checkbox\" checked>", "<input type=\"checkbox\" checked=\"checked\" />"},
    };
    ExpectWrittenAs(cases, true);
}

TEST(HtmlParser, LessThanThatOpensNoTagIsText)
{
    const Case cases[] = {
        {"a < b", "a &lt; b"},
        {"5 <6 and 7>3<p>x</p>", "5 &lt;6 and 7>3<p>x</p>"},
        {"<p>x <= y</p><b>z</b>", "<p>x &lt;= y</p><b>z</b>"},
        {"<>", "&lt;>"},
        {"tail <", "tail &lt;"},
        {"a </ b> c </>", "a &lt;/ b> c &lt;/>"},
        {"<p>a</p", "<p>a&lt;/p</p>"},
        // Unclosed comments and blocks keep their content; the markup after them is still read.
        {"x<!-- never closed <b>bold</b>", "x&lt;!-- never closed <b>bold</b>"},
        {"<?php echo 1; <i>i</i>", "&lt;?php echo 1; <i>i</i>"},
        {"<% x <u>u</u>", "&lt;% x <u>u</u>"},
        {"<!DOCTYPE html", "&lt;!DOCTYPE html"},
    };
    ExpectWrittenAs(cases, true);
}

TEST(HtmlParser, StrayLessThanReadsAsTheSameTextWithTheXmlTransform)
{
    CX2Validator document;
    ASSERT_TRUE(document.Parse(QStringLiteral("<v>1 < 2 &amp;lt; 3</v>"), CX2TransformXmlFennick()));
    QString text;
    document.GetRoot().AppendInnerText(text);
    EXPECT_EQ(text, QStringLiteral("1 < 2 &lt; 3"));
    QString xml;
    document.GetRoot().Write(xml, CX2TransformXmlFennick());
    EXPECT_EQ(xml, QStringLiteral("<v>1 &lt; 2 &amp;lt; 3</v>"));
}

TEST(HtmlParser, MalformedTagsFailAndKeepWhatWasBuilt)
{
    const Case cases[] = {
        {"a<p", "a<p></p>"},
        {"<p class", "<p class=\"class\"></p>"},
        {"<p class=", "<p></p>"},
        {"<p class=x", "<p></p>"},
        {"<p class=\"x>y</p>", "<p></p>"},
        {"<p \"x\">y</p>", "<p></p>"},
        {"<p a=1 / >", "<p a=\"1\"></p>"},
        {"<%= x %>", "<%= x=\"x\"></%=>"},
        {"<style>p{}", "<style>p{}</style>"},
        {"<script>never();<b>x</b>", "<script>never();<b>x</b></script>"},
    };
    ExpectWrittenAs(cases, false);
}

TEST(HtmlParser, TreeShapeOfNodesAndNames)
{
    EXPECT_EQ(Structure(QStringLiteral("<P>a<P>b")), QStringLiteral("<p>\n  <>\n  <p>\n    <>\n"));
    EXPECT_EQ(Structure(QStringLiteral("<td>1<td>2")), QStringLiteral("<td>\n  <>\n  <td>\n    <>\n"));

    CX2Validator document;
    ASSERT_TRUE(document.ParseHtml(QStringLiteral("<!DOCTYPE html>\r\n<IMG SRC=\"A.PNG\" Alt=X>")));
    CX2Element& root = document.GetRoot();
    ASSERT_EQ(root.GetChildCount(), 3);
    EXPECT_EQ(root.GetChild(0)->GetKind(), CX2Element::Doctype);
    EXPECT_EQ(root.GetChild(0)->GetText(), QStringLiteral("!DOCTYPE html"));
    EXPECT_TRUE(root.GetChild(0)->IsSelfClosing());
    EXPECT_EQ(root.GetChild(1)->GetText(), QStringLiteral("\r\n"));
    const CX2Element* img = root.GetChild(2);
    EXPECT_EQ(img->GetName(), QStringLiteral("img"));
    EXPECT_TRUE(img->IsSelfClosing());
    EXPECT_EQ(img->GetAttribute(0)->GetName(), QStringLiteral("src"));
    EXPECT_EQ(img->GetAttributeValue(QStringLiteral("src")), QStringLiteral("A.PNG"));
    EXPECT_EQ(img->GetAttributeValue(QStringLiteral("alt")), QStringLiteral("X"));
}

TEST(HtmlParser, StyleAndScriptContentIsOneRawTextNode)
{
    CX2Validator document;
    ASSERT_TRUE(document.Parse(QStringLiteral("<style>a &amp; b < c</style><script></script>"),
                               CX2TransformXmlFennick()));
    const CX2Element* style = document.GetRoot().GetChild(0);
    ASSERT_EQ(style->GetChildCount(), 1);
    EXPECT_EQ(style->GetChild(0)->GetKind(), CX2Element::Text);
    EXPECT_TRUE(style->GetChild(0)->IsSelfClosing());
    EXPECT_EQ(style->GetChild(0)->GetText(), QStringLiteral("a &amp; b < c"));
    const CX2Element* script = document.GetRoot().GetChild(1);
    ASSERT_EQ(script->GetChildCount(), 1);
    EXPECT_EQ(script->GetChild(0)->GetText(), QString());

    QString text;
    CX2Validator page;
    ASSERT_TRUE(page.ParseHtml(QStringLiteral("<p>a<!--c--></p><style>s</style><script>j</script>b")));
    page.GetRoot().AppendInnerText(text);
    EXPECT_EQ(text, QStringLiteral("asjb"));
}

TEST(HtmlParser, RawTextEndsAtItsEndTagInAnyCaseWithBlanksBeforeTheBracket)
{
    const Case cases[] = {
        {"<script>a()</script >b", "<script>a()</script>b"},
        {"<STYLE>p{}</Style \t\r\n>x", "<style>p{}</style>x"},
        {"<script>s = '</scripts>' + '</script x'</script><b>y</b>",
         "<script>s = '</scripts>' + '</script x'</script><b>y</b>"},
        // Like any element closed by "/>", these have no content: what follows is markup.
        {"<script src=\"a.js\" /></script>x", "<script src=\"a.js\" />x"},
        {"<script src=\"a.js\"/><p>a</p><script>b()</script>",
         "<script src=\"a.js\" /><p>a</p><script>b()</script>"},
        {"<style /><b>x</b>", "<style /><b>x</b>"},
    };
    ExpectWrittenAs(cases, true);
}

TEST(HtmlParser, ParsingAgainAddsToTheDocument)
{
    CX2Validator document;
    ASSERT_TRUE(document.ParseHtml(QStringLiteral("<style>p{color:red}</style><p>1</p>")));
    ASSERT_TRUE(document.ParseHtml(QStringLiteral("<p>2</p>")));
    QString html;
    document.WriteHtml(html);
    EXPECT_EQ(html, QStringLiteral("<style>p{color:red}</style><p>1</p><p>2</p>"));
    // The first style element is read again: its rules are added once more.
    ASSERT_EQ(document.GetStyleSheets().size(), 2u);
    EXPECT_EQ(document.GetStyleSheets()[1]->FormatDeclarations(false), QStringLiteral("color:red;"));
}

TEST(HtmlParser, OnlyTheFirstStyleElementBecomesRules)
{
    CX2Validator document;
    ASSERT_TRUE(document.ParseHtml(QStringLiteral("<head><style type=\"text/css\">/* x */ H1, .Note "
                                                  "{COLOR:Red} td{}</style><style>p{}</style></head>")));
    const X2StyleSheetList& rules = document.GetStyleSheets();
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0]->GetSelector(), QStringLiteral("h1"));
    EXPECT_EQ(rules[1]->GetSelectorClass(0), QStringLiteral("note"));
    EXPECT_EQ(rules[1]->FormatDeclarations(false), QStringLiteral("color:Red;"));
    EXPECT_EQ(rules[2]->GetSelector(), QStringLiteral("td"));

    CX2Validator failed;
    EXPECT_FALSE(failed.ParseHtml(QStringLiteral("<style>p{color:red}</style><p class")));
    EXPECT_TRUE(failed.GetStyleSheets().empty());
}

TEST(HtmlParser, SizeIsBounded)
{
    CX2Validator huge;
    EXPECT_FALSE(huge.ParseHtml(QString(CX2HtmlParser::MaxInputLength + 1, QLatin1Char('a'))));
    EXPECT_EQ(huge.GetRoot().GetChildCount(), 0);
}

TEST(HtmlParser, ElementsPastTheNestingLimitTakeTheDeepestPlaceAndKeepTheirContent)
{
    const QString deep = QStringLiteral("<b>").repeated(CX2HtmlParser::MaxDepth);
    CX2Validator document;
    ASSERT_TRUE(document.ParseHtml(deep + QStringLiteral("<i>x</i>y<u>z")));
    EXPECT_EQ(Depth(document.GetRoot()), CX2HtmlParser::MaxDepth);
    // The <i> stands where the deepest <b> stood, which it closed; the text after it goes on in
    // the <b> around them.
    const CX2Element* inner = &document.GetRoot();
    for (int level = 1; level < CX2HtmlParser::MaxDepth; ++level)
        inner = inner->GetChild(0);
    ASSERT_EQ(inner->GetChildCount(), 4);
    EXPECT_EQ(inner->GetChild(0)->GetName(), QStringLiteral("b"));
    EXPECT_EQ(inner->GetChild(1)->GetName(), QStringLiteral("i"));
    EXPECT_EQ(InnerText(*inner->GetChild(1)), QStringLiteral("x"));
    EXPECT_EQ(inner->GetChild(2)->GetText(), QStringLiteral("y"));
    EXPECT_EQ(InnerText(*inner->GetChild(3)), QStringLiteral("z"));

    // Void elements, closed elements and special nodes do not count.
    CX2Validator wide;
    ASSERT_TRUE(wide.ParseHtml(QStringLiteral("<br><p></p><!---->").repeated(3 * CX2HtmlParser::MaxDepth)));
    EXPECT_EQ(Depth(wide.GetRoot()), 1);
}

TEST(HtmlParser, UnclosedAndDeeplyNestedPagesLoseNothing)
{
    // Rows and paragraphs that are never closed nest one in the other.
    QString table = QStringLiteral("<table>");
    QString expectedTableText;
    for (int row = 1; row <= 600; ++row)
    {
        table += QStringLiteral("<tr><td>row %1").arg(row);
        expectedTableText += QStringLiteral("row %1").arg(row);
    }
    QString paragraphs;
    QString expectedParagraphText;
    for (int paragraph = 1; paragraph <= 5000; ++paragraph)
    {
        paragraphs += QStringLiteral("<p>p%1").arg(paragraph);
        expectedParagraphText += QStringLiteral("p%1").arg(paragraph);
    }
    const int divs = 100000;
    const QString nested = QStringLiteral("<div>").repeated(divs) + QStringLiteral("deep") +
                           QStringLiteral("</div>").repeated(divs) + QStringLiteral("after");

    const struct
    {
        const char* name;
        QString html;
        const char* element;
        int elements;
        QString text;
    } cases[] = {
        {"600-row table", table + QStringLiteral("</table>end"), "tr", 600, expectedTableText + "end"},
        {"5,000 paragraphs", paragraphs + QStringLiteral("<b>end</b>"), "p", 5000,
         expectedParagraphText + "end"},
        {"100,000 divs", nested, "div", divs, QStringLiteral("deepafter")},
    };
    for (const auto& c : cases)
    {
        CX2Validator document;
        ASSERT_TRUE(document.ParseHtml(c.html)) << c.name;
        EXPECT_LE(Depth(document.GetRoot()), CX2HtmlParser::MaxDepth) << c.name;
        QList<CX2Element*> found;
        document.FindElementsByName(found, QString::fromLatin1(c.element));
        EXPECT_EQ(found.size(), c.elements) << c.name;
        EXPECT_EQ(InnerText(document.GetRoot()), c.text) << c.name;
        // Written and read again, the page keeps its text.
        QString html;
        document.WriteHtml(html);
        CX2Validator again;
        ASSERT_TRUE(again.ParseHtml(html)) << c.name;
        EXPECT_EQ(InnerText(again.GetRoot()), c.text) << c.name;
    }
}

TEST(HtmlParser, ManyUnclosedCommentsStayText)
{
    QString text;
    for (int i = 0; i < 20000; ++i)
        text += QStringLiteral("<!-- <?php <% ");
    const RoundTrip result = ParseAndWrite(text);
    EXPECT_TRUE(result.parsed);
    EXPECT_EQ(result.html.size(), text.size() + 3 * 20000 * 3);
}

TEST(HtmlParser, MegabyteOfLessThanSignsThatOpenNothingStaysText)
{
    // Each "<" here opens nothing, and nothing after it ends a name: a hostile page of them must
    // be read as text, not read again to its end for every "<".
    for (const QString& unit : {QStringLiteral("<1"), QStringLiteral("<="), QStringLiteral("<!--x")})
    {
        const int count = 1000000 / int(unit.size());
        const RoundTrip result = ParseAndWrite(unit.repeated(count));
        EXPECT_TRUE(result.parsed) << unit.toStdString();
        EXPECT_EQ(result.html.size(), (unit.size() + 3) * count) << unit.toStdString();
    }
}

TEST(HtmlParser, BarrierTable)
{
    const struct
    {
        const char* endTag;
        const char* open;
        bool barrier;
    } cases[] = {
        {"td", "tr", true},     {"td", "table", true},  {"td", "div", true}, {"td", "p", false},
        {"tr", "td", false},    {"tr", "table", true},  {"tr", "div", true}, {"table", "td", true},
        {"table", "tr", true},  {"table", "div", true}, {"div", "td", true}, {"div", "div", false},
        {"div", "span", false}, {"b", "td", true},      {"b", "div", true},  {"b", "i", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CX2HtmlParser::IsEndTagBarrier(QString::fromLatin1(c.endTag), QString::fromLatin1(c.open)),
                  c.barrier)
            << c.endTag << " " << c.open;
    for (const char* name : {"img", "br", "area", "hr", "meta", "link", "input"})
        EXPECT_TRUE(CX2HtmlParser::IsVoidElement(QString::fromLatin1(name)));
    EXPECT_FALSE(CX2HtmlParser::IsVoidElement(QStringLiteral("IMG")));
    EXPECT_FALSE(CX2HtmlParser::IsVoidElement(QStringLiteral("col")));
}
