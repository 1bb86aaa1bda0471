#include "x2/X2Element.h"
#include "x2/X2TransformIdentity.h"
#include "x2/X2Validator.h"

#include "x2/X2TestSupport.h"

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<CX2Element> Text(const char* text)
{
    return std::make_unique<CX2Element>(CX2Element::Text, QString::fromLatin1(text));
}

std::unique_ptr<CX2Element> Tag(const char* name)
{
    return std::make_unique<CX2Element>(QString::fromLatin1(name));
}

QString Html(const CX2Element& node)
{
    QString html;
    EXPECT_TRUE(node.Write(html, CX2TransformIdentity()));
    return html;
}
} // namespace

TEST(X2Element, ChildListInsertDetachAndRemove)
{
    CX2Element body(QStringLiteral("body"));
    CX2Element* p = body.AppendChild(Tag("p"));
    CX2Element* hr = body.AppendChild(Tag("hr"));
    EXPECT_TRUE(body.InsertChildBefore(Text("a"), p));
    EXPECT_TRUE(body.InsertChildAfter(Text("z"), hr));
    EXPECT_TRUE(body.InsertChildAfter(Text("m"), p));
    EXPECT_EQ(Html(body), QStringLiteral("<body>a<p></p>m<hr></hr>z</body>"));
    EXPECT_EQ(body.IndexOfChild(hr), 3);

    CX2Element stranger(QStringLiteral("i"));
    EXPECT_FALSE(body.InsertChildBefore(Text("x"), &stranger));
    EXPECT_FALSE(body.InsertChildAfter(Text("x"), &stranger));
    EXPECT_EQ(body.IndexOfChild(&stranger), -1);
    EXPECT_EQ(body.DetachChild(&stranger), nullptr);
    EXPECT_FALSE(body.RemoveChild(&stranger));
    EXPECT_FALSE(body.UnwrapChild(&stranger));

    std::unique_ptr<CX2Element> detached = body.DetachChild(p);
    ASSERT_EQ(detached.get(), p);
    EXPECT_TRUE(body.RemoveChild(hr));
    EXPECT_EQ(Html(body), QStringLiteral("<body>amz</body>"));
    body.RemoveAllChildren();
    EXPECT_EQ(body.GetChildCount(), 0);
}

TEST(X2Element, UnwrapPutsTheChildrenInPlaceInOrder)
{
    CX2Element p(QStringLiteral("p"));
    p.AppendChild(Text("<"));
    CX2Element* b = p.AppendChild(Tag("b"));
    b->SetAttribute(QStringLiteral("class"), QStringLiteral("x"));
    b->AppendChild(Text("1"));
    b->AppendChild(Tag("i"))->AppendChild(Text("2"));
    b->AppendChild(Text("3"));
    p.AppendChild(Text(">"));
    EXPECT_TRUE(p.UnwrapChild(b));
    EXPECT_EQ(Html(p), QStringLiteral("<p><1<i>2</i>3></p>"));
    EXPECT_EQ(p.GetChildCount(), 5);

    CX2Element* empty = p.AppendChild(Tag("span"));
    EXPECT_TRUE(p.UnwrapChild(empty));
    EXPECT_EQ(p.GetChildCount(), 5);
}

TEST(X2Element, LookUpsAreExactAndPreOrder)
{
    CX2Element table(QStringLiteral("table"));
    CX2Element* tr = table.AppendChild(Tag("tr"));
    CX2Element* td1 = tr->AppendChild(Tag("td"));
    CX2Element* text = td1->AppendChild(Text("one"));
    CX2Element* td2 = tr->AppendChild(Tag("td"));
    td2->AppendChild(Text("two"));
    td2->AppendChild(std::make_unique<CX2Element>(CX2Element::Comment, QStringLiteral("note")));

    EXPECT_EQ(table.FindElementByName(QStringLiteral("table")), &table);
    EXPECT_EQ(table.FindElementByName(QStringLiteral("td")), td1);
    EXPECT_EQ(table.FindElementByName(QStringLiteral("TD")), nullptr);
    EXPECT_EQ(table.FindParent(text), td1);
    EXPECT_EQ(table.FindParent(td2), tr);
    EXPECT_EQ(table.FindParent(&table), nullptr);
    EXPECT_TRUE(IsTagNamed(td1, QStringLiteral("td")));
    EXPECT_FALSE(IsTagNamed(text, QString()));
    EXPECT_FALSE(IsTagNamed(nullptr, QStringLiteral("td")));

    QString inner = QStringLiteral(">");
    table.AppendInnerText(inner);
    EXPECT_EQ(inner, QStringLiteral(">onetwo"));

    CX2Validator document;
    document.GetRoot().AppendChild(Tag("td"))->AppendChild(Tag("td"));
    QList<CX2Element*> found;
    document.FindElementsByName(found, QStringLiteral("td"));
    EXPECT_EQ(found.size(), 2);
    document.FindElementsByName(found, QStringLiteral("td"), &table);
    ASSERT_EQ(found.size(), 4);
    EXPECT_EQ(found[2], td1);
    EXPECT_EQ(found[3], td2);
}

TEST(X2Element, AttributesKeepOrderAndLookUpTakesTheFirst)
{
    CX2Element img(QStringLiteral("img"));
    img.AppendAttribute(std::make_unique<CX2Attribute>(QStringLiteral("src"), QStringLiteral("a.png")));
    img.AppendAttribute(std::make_unique<CX2Attribute>(QStringLiteral("src"), QStringLiteral("b.png")));
    EXPECT_EQ(img.GetAttributeValue(QStringLiteral("src")), QStringLiteral("a.png"));
    EXPECT_EQ(img.GetAttributeValue(QStringLiteral("SRC")), QString());
    CX2Attribute* alt = img.SetAttribute(QStringLiteral("alt"), QStringLiteral("x"));
    EXPECT_EQ(img.SetAttribute(QStringLiteral("src"), QStringLiteral("c.png")), img.GetAttribute(0));
    EXPECT_EQ(img.IndexOfAttribute(alt), 2);

    const std::unique_ptr<CX2Attribute> copy = alt->Clone();
    EXPECT_EQ(copy->GetName(), QStringLiteral("alt"));
    EXPECT_EQ(copy->GetValue(), QStringLiteral("x"));
    EXPECT_EQ(img.IndexOfAttribute(copy.get()), -1);
    EXPECT_FALSE(img.RemoveAttribute(copy.get()));
    EXPECT_EQ(img.DetachAttribute(copy.get()), nullptr);

    EXPECT_FALSE(img.DeleteAttributeAt(3));
    EXPECT_FALSE(img.DeleteAttributeAt(-1));
    EXPECT_TRUE(img.DeleteAttributeAt(1));
    EXPECT_EQ(img.DetachAttribute(alt).get(), alt);
    EXPECT_EQ(img.GetAttributeCount(), 1);
    img.RemoveAllAttributes();
    EXPECT_EQ(img.GetAttributeCount(), 0);
}

TEST(X2Element, DeepTreeIsDeletedWithoutExhaustingTheStack)
{
    auto root = std::make_unique<CX2Element>(QStringLiteral("div"));
    CX2Element* node = root.get();
    for (int i = 0; i < 500000; ++i)
        node = node->AppendChild(Tag("b"));
    root.reset();
    SUCCEED();
}

TEST(X2Element, DumpTreeListsEveryNodeIndented)
{
    CX2Element p(QStringLiteral("p"));
    p.SetAttribute(QStringLiteral("class"), QStringLiteral("a\"b"));
    p.AppendChild(Text("hi"));
    QString dump;
    p.DumpTree(dump, true, QStringLiteral("-"));
    EXPECT_EQ(dump, QStringLiteral("-<p class=\"a\"b\">\n-  <>\n"));
    dump.clear();
    p.DumpTree(dump, false, QString());
    EXPECT_EQ(dump, QStringLiteral("<p>\n  <>\n"));
}
