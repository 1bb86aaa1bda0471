#include "webserver/ResourcePruning.h"

#include "gre/GreLayerImage.h"
#include "webserver/PageGeneratorFixture.h"

#include <gtest/gtest.h>

using namespace ndb;

namespace
{
struct ResourcePruning : ::testing::Test
{
    ResourcePruning()
    {
        fixture::FillFixtureNewsletter(newsletter);
        newsletter.styles.clear();
        newsletter.pageStyle = std::make_unique<CNdbStyle>();
        newsletter.resources = {{QStringLiteral("{IMG}"), QStringLiteral("img/a.png")},
                                {QStringLiteral("{BG}"), QStringLiteral("img/bg.png")},
                                {QStringLiteral("{STYLE}"), QStringLiteral("img/s.png")},
                                {QStringLiteral("{ATT}"), QStringLiteral("files/att.pdf")},
                                {QStringLiteral("{FILE}"), QStringLiteral("files/prices.pdf")},
                                {QStringLiteral("{img}"), QStringLiteral("img/lower.png")},
                                {QStringLiteral("{GONE}"), QStringLiteral("img/gone.png")}};
        newsletter.attachments = {QStringLiteral("{ATT}")};
        for (const char* id : {"P-SRC", "P-NAME", "P-BG", "P-STYLE", "P-GONE"})
            AddPipeline(QString::fromLatin1(id), QStringLiteral("I-") + QString::fromLatin1(id));
        newsletter.project.SetImage(QStringLiteral("I-LOOSE"), std::make_unique<gre::CGreImage>());
    }
    void AddPipeline(const QString& id, const QString& imageId)
    {
        auto pipeline = std::make_unique<gre::CGrePipeline>();
        auto layer = std::make_unique<gre::CGreLayerImage>();
        layer->SetUseSource(false);
        layer->SetImageId(imageId);
        pipeline->GetRootGroup().AddLayer(std::move(layer));
        newsletter.project.SetPipeline(id, std::move(pipeline));
        newsletter.project.SetImage(imageId, std::make_unique<gre::CGreImage>());
    }
    QStringList ResourceIds() const
    {
        QStringList ids;
        for (const auto& [id, path] : newsletter.resources)
            ids << id;
        return ids;
    }
    QStringList Keys(const auto& map) const
    {
        QStringList keys;
        for (const auto& [key, value] : map)
            keys << key;
        return keys;
    }

    CFixtureNewsletter newsletter;
};

TEST_F(ResourcePruning, KeepsWhatTheBodyStylesAndAttachmentsReferTo)
{
    newsletter.body = QStringLiteral("<p><img src=\"img/a.png?pid=P-SRC\" name=\"src_ResID:{IMG};\" />"
                                     "<a href=\"files/prices.pdf?x=1\">prices</a></p>"
                                     "<div name=\"src_pipelineid:P-NAME;\">x</div>"
                                     "<table style=\"background-image:url(img/bg.png?pid=P-BG)\" "
                                     "name=\"src_ResID:{BG};\"><tr><td>y</td></tr>"
                                     "</table>");
    CNdbStyle& style = newsletter.AddStyle(QStringLiteral("s"), QStringLiteral("c1"));
    style.SetField(StyleBackgroundImage, CNdbFieldValue(QStringLiteral("{STYLE}")));
    style.SetField(StyleBackgroundPipeline, CNdbFieldValue(QStringLiteral("P-STYLE")));

    ASSERT_TRUE(PruneUnusedResources(newsletter));
    EXPECT_EQ(ResourceIds(), (QStringList{"{IMG}", "{BG}", "{STYLE}", "{ATT}", "{FILE}"}));
    EXPECT_EQ(Keys(newsletter.project.GetPipelines()), (QStringList{"P-BG", "P-NAME", "P-SRC", "P-STYLE"}));
    ASSERT_TRUE(PruneUnusedPipelineImages(newsletter));
    EXPECT_EQ(Keys(newsletter.project.GetImages()),
              (QStringList{"I-P-BG", "I-P-NAME", "I-P-SRC", "I-P-STYLE"}));

    // Deleting the style and saving again drops its background and pipeline.
    newsletter.styles.clear();
    ASSERT_TRUE(PruneUnusedResources(newsletter));
    EXPECT_FALSE(ResourceIds().contains(QStringLiteral("{STYLE}")));
    EXPECT_FALSE(Keys(newsletter.project.GetPipelines()).contains(QStringLiteral("P-STYLE")));
}

TEST_F(ResourcePruning, UnreadableBodyDeletesNothing)
{
    newsletter.body = QString(40 * 1024 * 1024, QLatin1Char('x'));
    EXPECT_FALSE(PruneUnusedResources(newsletter));
    EXPECT_EQ(newsletter.resources.size(), 7u);
    EXPECT_EQ(newsletter.project.GetPipelines().size(), 5u);
}
} // namespace
