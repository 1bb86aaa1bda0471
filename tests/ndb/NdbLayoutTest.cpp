#include "ndb/NdbLayout.h"

#include "ndb/NdbArchiveHelpers.h"

#include <gtest/gtest.h>

using namespace ndb;
using NdbTest::Int;
using NdbTest::Text;

namespace
{
std::unique_ptr<CNdbResource> Resource(const QString& id, const QString& path, const QByteArray& payload = {})
{
    auto resource = std::make_unique<CNdbResource>();
    resource->SetField(ResourceId, CNdbFieldValue(id));
    resource->SetField(ResourcePath, CNdbFieldValue(path));
    resource->SetPayload(payload);
    return resource;
}

// The field record of a resource holding only its identifier.
QByteArray IdOnlyFields(const QString& id)
{
    return Int(NdbKindResource) + Int(1) + Int(ResourceId) + Int(NdbValueText) + Text(id);
}
} // namespace

TEST(NdbResource, NewResourceHasOnlyAGuidAndNoBytes)
{
    const CNdbResource resource;
    EXPECT_EQ(resource.GetKind(), NdbKindResource);
    ASSERT_EQ(resource.GetFields().size(), 1u);
    const QString id = resource.GetString(ResourceId);
    EXPECT_EQ(id.size(), 38);
    EXPECT_TRUE(id.startsWith(u'{') && id.endsWith(u'}'));
    EXPECT_NE(CNdbResource().GetString(ResourceId), id);
    EXPECT_TRUE(resource.GetPayload().isEmpty());
}

TEST(NdbResource, PayloadFollowsTheFieldsAsLengthAndBytes)
{
    CNdbResource empty;
    empty.SetField(ResourceId, CNdbFieldValue(u"{R}"));
    EXPECT_EQ(NdbTest::WriteRoot(empty), IdOnlyFields("{R}") + Int(0));

    const QByteArray bytes("\x89PNG\0\xff", 6);
    CNdbResource image;
    image.SetField(ResourceId, CNdbFieldValue(u"{R}"));
    image.SetPayload(bytes);
    const QByteArray archived = NdbTest::WriteRoot(image);
    EXPECT_EQ(archived, IdOnlyFields("{R}") + Int(6) + bytes);

    // The archived identifier replaces the one the reader's constructor made.
    CNdbResource read;
    read.SetPayload("stale");
    ASSERT_TRUE(NdbTest::ReadRoot(archived, read));
    EXPECT_EQ(read.GetString(ResourceId), "{R}");
    EXPECT_EQ(read.GetPayload(), bytes);

    CNdbResource readEmpty;
    readEmpty.SetPayload("stale");
    ASSERT_TRUE(NdbTest::ReadRoot(IdOnlyFields("{R}") + Int(0), readEmpty));
    EXPECT_TRUE(readEmpty.GetPayload().isEmpty());
}

TEST(NdbResource, BadPayloadLengthFailsBeforeAllocating)
{
    const QByteArray cases[] = {
        IdOnlyFields("{R}") + Int(-1),
        IdOnlyFields("{R}") + Int(4) + "abc",
        IdOnlyFields("{R}") + Int(0x7FFFFFFF) + "abc",
    };
    for (const QByteArray& bytes : cases)
    {
        CNdbResource read;
        EXPECT_FALSE(NdbTest::ReadRoot(bytes, read)) << bytes.toHex().toStdString();
    }
}

TEST(NdbResource, TypeCheckAndCopy)
{
    CNdbResource resource;
    for (const int id : {ResourceWidth, ResourceHeight, ResourceSize})
    {
        EXPECT_TRUE(resource.SetField(id, CNdbFieldValue(NdbValueInt, 10)));
        EXPECT_FALSE(resource.SetField(id, CNdbFieldValue(u"10")));
    }
    EXPECT_FALSE(resource.SetField(ResourceMimeType, CNdbFieldValue(NdbValueInt, 1)));
    EXPECT_TRUE(resource.SetField(ResourceFileName, CNdbFieldValue(u"logo.png")));
    EXPECT_EQ(resource.GetName(), "logo.png");
    resource.SetPayload("bytes");

    CNdbResource copy(resource);
    EXPECT_EQ(copy.GetKind(), NdbKindResource);
    EXPECT_EQ(copy.GetString(ResourceId), resource.GetString(ResourceId));
    EXPECT_EQ(copy.GetFields().size(), resource.GetFields().size());
    EXPECT_EQ(copy.GetPayload(), "bytes");
    copy.SetPayload("other");
    EXPECT_EQ(resource.GetPayload(), "bytes");
}

TEST(NdbLayout, NewLayoutHasZeroPageMargins)
{
    const CNdbLayout layout;
    EXPECT_EQ(layout.GetKind(), NdbKindLayout);
    const CNdbStyle& page = layout.PageStyle();
    ASSERT_EQ(page.GetFields().size(), 4u);
    for (const int margin : {StyleMarginTop, StyleMarginBottom, StyleMarginLeft, StyleMarginRight})
    {
        CNdbFieldValue value;
        ASSERT_TRUE(page.GetField(margin, value)) << margin;
        EXPECT_EQ(value.GetType(), NdbValueLength);
        EXPECT_EQ(value.GetUnit(), NdbUnitPx);
        EXPECT_EQ(value.FormatLength(), "0");
    }
    EXPECT_TRUE(layout.Resources().empty());
    EXPECT_TRUE(layout.Attachments().empty());
}

TEST(NdbLayout, LookUpsAreExactAndTakeTheFirstMatch)
{
    CNdbLayout layout;
    layout.AddResource(Resource("{ABC}", "img/Logo.png"));
    layout.AddResource(Resource("{ABC}", "img/second.png"));
    layout.AddResource(Resource("{DEF}", "files/a.pdf"));
    const CNdbResource* first = layout.Resources()[0].get();

    EXPECT_EQ(layout.FindResourceById("{ABC}"), first);
    EXPECT_EQ(layout.FindResourceById("{abc}"), nullptr);
    EXPECT_EQ(layout.FindResourceByPath("img/Logo.png"), first);
    EXPECT_EQ(layout.FindResourceByPath("img/logo.png"), nullptr);
    EXPECT_EQ(layout.FindResourceByPath("files/a.pdf"), layout.Resources()[2].get());
    EXPECT_EQ(layout.IndexOfResource(layout.Resources()[1].get()), 1);

    CNdbResource stranger;
    EXPECT_EQ(layout.IndexOfResource(&stranger), -1);
}

TEST(NdbLayout, DeleteResourceOnlyDeletesItsOwn)
{
    CNdbLayout layout;
    CNdbLayout other;
    layout.AddResource(Resource("{A}", "img/a.png"));
    layout.AddResource(Resource("{B}", "img/b.png"));
    other.AddResource(Resource("{C}", "img/c.png"));

    EXPECT_FALSE(layout.DeleteResource(other.Resources()[0].get()));
    EXPECT_EQ(other.Resources().size(), 1u);
    EXPECT_EQ(layout.Resources().size(), 2u);

    EXPECT_TRUE(layout.DeleteResource(layout.Resources()[0].get()));
    ASSERT_EQ(layout.Resources().size(), 1u);
    EXPECT_EQ(layout.Resources()[0]->GetString(ResourceId), "{B}");
    layout.DeleteAllResources();
    EXPECT_TRUE(layout.Resources().empty());
}

TEST(NdbLayout, LoadingReplacesListsWithTheArchivedOnesInOrder)
{
    CNdbLayout layout;
    layout.SetField(LayoutHtml, CNdbFieldValue(u"<p>Hello</p>"));
    layout.SetField(LayoutPlainText, CNdbFieldValue(u"Hello"));
    layout.AddResource(Resource("{A}", "img/a.png", "aaaa"));
    layout.AddResource(Resource("{B}", "files/b.pdf", "bb"));
    layout.Attachments().push_back(Resource("{T}", "files/terms.pdf", "terms"));
    layout.PageStyle().SetField(StyleMarginTop, CNdbFieldValue(12.0f, NdbUnitPx));
    const QByteArray bytes = NdbTest::WriteRoot(layout);

    CNdbLayout read;
    read.AddResource(Resource("{OLD}", "img/old.png"));
    read.Attachments().push_back(Resource("{OLDT}", "files/old.pdf"));
    ASSERT_TRUE(NdbTest::ReadRoot(bytes, read));
    ASSERT_EQ(read.Resources().size(), 2u);
    EXPECT_EQ(read.Resources()[0]->GetString(ResourceId), "{A}");
    EXPECT_EQ(read.Resources()[0]->GetPayload(), "aaaa");
    EXPECT_EQ(read.Resources()[1]->GetString(ResourcePath), "files/b.pdf");
    ASSERT_EQ(read.Attachments().size(), 1u);
    EXPECT_EQ(read.Attachments()[0]->GetPayload(), "terms");
    EXPECT_EQ(read.GetString(LayoutHtml), "<p>Hello</p>");
    EXPECT_EQ(read.PageStyle().GetFields().at(StyleMarginTop).FormatLength(), "12px");
    EXPECT_EQ(NdbTest::WriteRoot(read), bytes);
}

TEST(NdbLayout, TypeCheckTakesTimesUnder150And160AndTextElsewhere)
{
    CNdbLayout layout;
    const QDateTime now = QDateTime::currentDateTime();
    EXPECT_TRUE(layout.SetField(LayoutTime150, CNdbFieldValue(now)));
    EXPECT_TRUE(layout.SetField(LayoutTime160, CNdbFieldValue(now)));
    EXPECT_FALSE(layout.SetField(LayoutTime150, CNdbFieldValue(u"now")));
    EXPECT_FALSE(layout.SetField(LayoutHtml, CNdbFieldValue(now)));
    EXPECT_TRUE(layout.SetField(LayoutName, CNdbFieldValue(u"Spring")));
    EXPECT_EQ(layout.GetName(), "Spring");
}

TEST(NdbLayout, ResourceOfAnotherClassFailsTheLoad)
{
    CNdbStyle style;
    const QByteArray bytes = Int(NdbKindLayout) + Int(0) + Int(1) + NdbTest::WriteObject(&style);
    CNdbLayout read;
    EXPECT_FALSE(NdbTest::ReadRoot(bytes, read));
}
