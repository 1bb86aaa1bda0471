#include "webserver/NewsletterPage.h"
#include "webserver/ResourcePruning.h"

#include "ndb/NdbNewsletter.h"
#include "webserver/NewsletterPageSource.h"
#include "webserver/PageGeneratorFixture.h"

#include <gtest/gtest.h>

using namespace ndb;

namespace
{
// The fixture's content put into a newsletter document.
void FillDocument(CNdbNewsletter& document, const CFixtureNewsletter& fixture)
{
    for (const auto& [id, text] : fixture.fields)
        ASSERT_TRUE(document.SetField(id, CNdbFieldValue(text))) << id;
    ASSERT_TRUE(document.Layout().SetField(LayoutHtml, CNdbFieldValue(fixture.body)));
    document.Layout().PageStyle() = *fixture.pageStyle;
    document.Palette() = fixture.palette;
    for (const auto& [key, style] : fixture.styles)
        document.SetStyle(key, std::make_unique<CNdbStyle>(*style));
    for (const auto& [id, value] : fixture.sender)
        ASSERT_TRUE(document.Sender().SetField(id, value)) << id;
    for (const auto& [id, path] : fixture.resources)
    {
        auto resource = std::make_unique<CNdbResource>();
        resource->SetField(ResourceId, CNdbFieldValue(id));
        resource->SetField(ResourcePath, CNdbFieldValue(path));
        document.Layout().AddResource(std::move(resource));
    }
}

TEST(PageGeneratorDocument, NewsletterDocumentGivesTheSamePagesAsItsContent)
{
    CFixtureNewsletter content;
    fixture::FillFixtureNewsletter(content);
    CNdbNewsletter document;
    FillDocument(document, content);
    const CNewsletterPageSource source(document);
    CPageContext documentContext, contentContext;
    documentContext.SetServerPort(fixture::Port);
    documentContext.SetCurrentNewsletter(&source);
    contentContext.SetServerPort(fixture::Port);
    contentContext.SetCurrentNewsletter(&content);
    const LinkTrackerMap trackers = fixture::FixtureTrackers();
    for (NewsletterPageKind kind : {Preview, Edit, WebView, MailEmbedded, MailLinked})
    {
        MergeFieldSet usedByDocument, usedByContent;
        QString fromDocument, fromContent;
        ASSERT_TRUE(GenerateNewsletterPage(QStringLiteral("g"), fromDocument, kind, documentContext, document,
                                           &usedByDocument, &trackers));
        ASSERT_TRUE(GenerateNewsletterPage(QStringLiteral("g"), fromContent, kind, contentContext, content,
                                           &usedByContent, &trackers));
        EXPECT_EQ(fromDocument.toStdString(), fromContent.toStdString()) << int(kind);
        EXPECT_EQ(usedByDocument, usedByContent);
    }
}

TEST(PageGeneratorDocument, PruningDeletesTheDocumentsUnusedResources)
{
    CFixtureNewsletter content;
    fixture::FillFixtureNewsletter(content);
    content.resources.emplace_back(QStringLiteral("{UNUSED}"), QStringLiteral("img/unused.png"));
    CNdbNewsletter document;
    FillDocument(document, content);
    document.Project().SetPipeline(QStringLiteral("{PIPE-1}"), std::make_unique<gre::CGrePipeline>());
    document.Project().SetPipeline(QStringLiteral("{PIPE-GONE}"), std::make_unique<gre::CGrePipeline>());
    ASSERT_TRUE(PruneUnusedResources(document));
    ASSERT_TRUE(PruneUnusedPipelineImages(document));
    QStringList ids;
    for (const auto& resource : document.Layout().Resources())
        ids << resource->GetString(ResourceId);
    EXPECT_EQ(ids, (QStringList{"{RES-PHOTO}", "{RES-BG}", "{RES-FILE}"}));
    EXPECT_NE(document.Project().GetPipeline(QStringLiteral("{PIPE-1}")), nullptr);
    EXPECT_EQ(document.Project().GetPipeline(QStringLiteral("{PIPE-GONE}")), nullptr);
}
} // namespace
