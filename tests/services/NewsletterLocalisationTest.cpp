#include "services/NewsletterLocalisation.h"
#include "gre/GreLayerText.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"

#include <gtest/gtest.h>

namespace
{
ndb::CNdbFieldValue Text(const QString& text)
{
    return ndb::CNdbFieldValue(text);
}
} // namespace

TEST(NewsletterLocalisation, ExpandsEveryTextAndFollowsChangedEffectKeys)
{
    ndb::CNdbNewsletter newsletter("_(title)_");
    newsletter.EnsureDefaultStyles();

    auto pipeline = std::make_unique<gre::CGrePipeline>();
    pipeline->SetName("_(effect)_");
    auto layer = std::make_unique<gre::CGreLayerText>();
    layer->SetName("_(layer)_");
    layer->SetText("_(title)_");
    pipeline->GetRootGroup().AddLayer(std::move(layer));
    const QString oldKey = "0123456789abcdef0123456789abcdef";
    newsletter.Project().SetPipeline(oldKey, std::move(pipeline));

    ndb::CNdbLayout& layout = newsletter.Layout();
    layout.SetField(ndb::LayoutName, Text("_(effect)_"));
    layout.SetField(ndb::LayoutHtml, Text("<h1 title=\"_(title)_\">_(title)_</h1><img src=\"/gre/" + oldKey +
                                          ".png\"><p>_(unknown)_</p>"));
    layout.SetField(ndb::LayoutPlainText, Text("_(title)_"));
    layout.PageStyle().SetField(ndb::StyleBackgroundPipeline, Text(oldKey));

    auto style = std::make_unique<ndb::CNdbStyle>();
    style->SetField(ndb::StyleDisplayName, Text("_(style)_"));
    style->SetField(ndb::StyleRuleName, Text("c1000"));
    style->SetField(ndb::StyleBackgroundPipeline, Text(oldKey));
    newsletter.SetStyle("classkey", std::move(style));
    newsletter.FindStyleByTag("h2")->SetField(ndb::StyleDisplayName, Text("Template heading"));
    newsletter.Palette().AddColor("_(colour)_", "k1", ndb::CNdbRgba(1, 2, 3));

    const LocalisationMap map{{"title", "Fish & \"Chips\""},
                              {"effect", "Banner"},
                              {"layer", "Caption"},
                              {"style", "Quote"},
                              {"colour", "Ocean"}};
    ASSERT_TRUE(LocaliseNewsletter(newsletter, map));

    EXPECT_EQ(newsletter.GetString(ndb::NewsletterName), "Fish & \"Chips\"") << "the name is not escaped";
    ASSERT_EQ(newsletter.Project().GetPipelines().size(), 1u);
    const auto& [newKey, localised] = *newsletter.Project().GetPipelines().begin();
    EXPECT_EQ(newKey, localised->GetHashKey());
    EXPECT_EQ(localised->GetName(), "Banner");
    auto* text = static_cast<gre::CGreLayerText*>(localised->GetRootGroup().GetLayer(0));
    EXPECT_EQ(text->GetName(), "Caption");
    EXPECT_EQ(text->GetText(), "Fish & \"Chips\"");

    EXPECT_EQ(layout.GetString(ndb::LayoutName), "Banner");
    EXPECT_EQ(layout.GetString(ndb::LayoutHtml),
              "<h1 title=\"Fish &amp; &quot;Chips&quot;\">Fish &amp; &quot;Chips&quot;</h1><img src=\"/gre/" +
                  newKey + ".png\"><p>_(unknown)_</p>");
    EXPECT_EQ(layout.GetString(ndb::LayoutPlainText), "Fish & \"Chips\"");
    EXPECT_EQ(layout.PageStyle().GetString(ndb::StyleBackgroundPipeline), newKey);
    EXPECT_EQ(newsletter.FindStyleByKey("classkey")->GetString(ndb::StyleDisplayName), "Quote");
    EXPECT_EQ(newsletter.FindStyleByKey("classkey")->GetString(ndb::StyleBackgroundPipeline), newKey);
    EXPECT_EQ(newsletter.FindStyleByTag("h2")->GetString(ndb::StyleDisplayName), LoadAppString(15902));
    EXPECT_EQ(newsletter.FindStyleByTag("normal")->GetString(ndb::StyleDisplayName), LoadAppString(15900));
    EXPECT_EQ(newsletter.Palette().GetColorAt(0)->GetName(), "Ocean");
}
