#include "x2/X2Element.h"
#include "x2/X2TransformIdentity.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include "x2/X2TestSupport.h"

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<CX2Element> Node(int kind, const char* text)
{
    return std::make_unique<CX2Element>(kind, QString::fromUtf8(text));
}

QString Written(const CX2Element& node, const CX2TransformBase& transform)
{
    QString html;
    EXPECT_TRUE(node.Write(html, transform));
    return html;
}
} // namespace

TEST(HtmlWriter, EveryNodeKindByteForByte)
{
    CX2Validator document;
    CX2Element& root = document.GetRoot();
    root.AppendChild(Node(CX2Element::XmlDeclaration, "?xml version=\"1.0\"?"));
    root.AppendChild(Node(CX2Element::Doctype, "!DOCTYPE html"));
    CX2Element* html = root.AppendChild(std::make_unique<CX2Element>(QStringLiteral("html")));
    html->AppendChild(Node(CX2Element::Comment, " a < b & c "));
    html->AppendChild(Node(CX2Element::AspBlock, "% Response.Write(1) %"));
    html->AppendChild(Node(CX2Element::PhpBlock, "?php echo '<b>'; ?"));
    html->AppendChild(Node(CX2Element::Script, " src=\"a.js\""));
    html->AppendChild(Node(CX2Element::Text, "5 &lt; 6 & \"q\""));
    html->AppendChild(Node(4, "kind four"));
    CX2Element* gone = html->AppendChild(std::make_unique<CX2Element>(QStringLiteral("p")));
    gone->AppendChild(Node(CX2Element::Text, "left out"));
    gone->SetKind(CX2Element::Empty);
    CX2Element* nameless = html->AppendChild(std::make_unique<CX2Element>(QString()));
    nameless->SetAttribute(QStringLiteral("class"), QStringLiteral("x"));
    nameless->AppendChild(Node(CX2Element::Text, "inner"));

    QString out = QStringLiteral("kept|");
    EXPECT_TRUE(document.WriteHtml(out));
    EXPECT_EQ(out, QStringLiteral("kept|<?xml version=\"1.0\"?><!DOCTYPE html><html><!-- a < b & c -->"
                                  "<% Response.Write(1) %><?php echo '<b>'; ?><script src=\"a.js\">"
                                  "5 &lt; 6 & \"q\"kind fourinner</html>"));
}

TEST(HtmlWriter, TagsAttributesAndEmptyElements)
{
    CX2Element td(QStringLiteral("td"));
    td.SetAttribute(QStringLiteral("nowrap"), QStringLiteral("nowrap"));
    td.SetAttribute(QStringLiteral("title"), QString());
    td.SetAttribute(QStringLiteral("style"), QStringLiteral("font-family:'A B';"));
    EXPECT_EQ(Written(td, CX2TransformIdentity()),
              QStringLiteral("<td nowrap=\"nowrap\" title=\"\" style=\"font-family:'A B';\"></td>"));

    CX2Element br(QStringLiteral("br"));
    br.SetSelfClosing(true);
    br.AppendChild(std::make_unique<CX2Element>(CX2Element::Text, QStringLiteral("never written")));
    EXPECT_EQ(Written(br, CX2TransformIdentity()), QStringLiteral("<br />"));
    br.SetAttribute(QStringLiteral("class"), QStringLiteral("c"));
    EXPECT_EQ(Written(br, CX2TransformIdentity()), QStringLiteral("<br class=\"c\" />"));

    CX2Validator empty;
    QString out;
    EXPECT_TRUE(empty.WriteHtml(out));
    EXPECT_EQ(out, QString());
}

TEST(HtmlWriter, DoubleQuoteInAttributeValueIsEscapedWithEitherTransform)
{
    CX2Element img(QStringLiteral("img"));
    img.SetSelfClosing(true);
    img.SetAttribute(QStringLiteral("alt"), QStringLiteral("say \"hi\" & 'bye' <x>"));
    EXPECT_EQ(Written(img, CX2TransformIdentity()),
              QStringLiteral("<img alt=\"say &quot;hi&quot; & 'bye' <x>\" />"));
    EXPECT_EQ(Written(img, CX2TransformXmlFennick()),
              QStringLiteral("<img alt=\"say &quot;hi&quot; &amp; &apos;bye&apos; &lt;x&gt;\" />"));
}

TEST(HtmlWriter, XmlTransformEscapesTextButNotSpecialNodes)
{
    CX2Element item(QStringLiteral("item"));
    item.AppendChild(Node(CX2Element::Text, "a<b & c>d"));
    item.AppendChild(Node(CX2Element::Comment, "<&>"));
    EXPECT_EQ(Written(item, CX2TransformXmlFennick()),
              QStringLiteral("<item>a&lt;b &amp; c&gt;d<!--<&>--></item>"));
}

TEST(XmlTransform, EscapeAndUnescapeOnlyTheFivePredefinedEntities)
{
    const CX2TransformXmlFennick xml;
    EXPECT_EQ(xml.Escape(QStringLiteral("<a & \"b\" 'c'>")),
              QStringLiteral("&lt;a &amp; &quot;b&quot; &apos;c&apos;&gt;"));
    EXPECT_EQ(xml.Escape(QStringLiteral("&lt;")), QStringLiteral("&amp;lt;"));
    EXPECT_EQ(xml.Unescape(QStringLiteral("&amp;lt;")), QStringLiteral("&lt;"));
    EXPECT_EQ(xml.Unescape(QStringLiteral("&lt;&gt;&quot;&apos;&amp;&nbsp;&#65;")),
              QStringLiteral("<>\"'&&nbsp;&#65;"));
    const QString text = QStringLiteral("x & <y> \"z\" 'w' &amp;");
    EXPECT_EQ(xml.Unescape(xml.Escape(text)), text);
    EXPECT_EQ(CX2TransformIdentity().Escape(text), text);
    EXPECT_EQ(CX2TransformIdentity().Unescape(text), text);
}
