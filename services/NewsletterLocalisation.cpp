#include "services/NewsletterLocalisation.h"

#include "gre/GreLayerText.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"

namespace
{
constexpr int LayoutField110 = 110;
constexpr int PaletteName = 110;

template <class Record>
void ExpandField(Record& record, int id, const LocalisationMap& map, bool escape = false)
{
    const QString text = record.GetString(id);
    if (!text.isEmpty())
        record.SetField(id, ndb::CNdbFieldValue(ExpandLocalisationTokens(text, map, escape)));
}

QString ApplyKeyChanges(QString text, const KeyChanges& changes)
{
    for (const auto& [oldKey, newKey] : changes)
        text.replace(oldKey, newKey);
    return text;
}

void FollowPipelineKey(ndb::CNdbStyle& style, const KeyChanges& changes)
{
    const auto found = changes.find(style.GetString(ndb::StyleBackgroundPipeline));
    if (found != changes.end())
        style.SetField(ndb::StyleBackgroundPipeline, ndb::CNdbFieldValue(found->second));
}

QString BuiltInStyleName(const QString& ruleName)
{
    static const std::map<QString, quint32> ids{{"normal", 15900}, {"h1", 15901}, {"h2", 15902},
                                                {"h3", 15903},     {"h4", 15904}, {"h5", 15905},
                                                {"h6", 15906}};
    const auto found = ids.find(ruleName);
    return found == ids.end() ? QString() : LoadAppString(found->second);
}
} // namespace

KeyChanges LocalisePipelines(gre::CGreProject& project, const LocalisationMap& map)
{
    KeyChanges changes;
    gre::CGreProject::PipelineMap renamed;
    for (auto& [oldKey, pipeline] : project.GetPipelines())
    {
        pipeline->SetName(ExpandLocalisationTokens(pipeline->GetName(), map, false));
        pipeline->SetCategory(ExpandLocalisationTokens(pipeline->GetCategory(), map, false));
        pipeline->SetExtraText1(ExpandLocalisationTokens(pipeline->GetExtraText1(), map, false));
        pipeline->SetExtraText2(ExpandLocalisationTokens(pipeline->GetExtraText2(), map, false));
        const gre::CGreLayerGroup& group = pipeline->GetRootGroup();
        for (int index = 0; index < group.GetLayerCount(); ++index)
        {
            gre::CGreLayerBase* layer = group.GetLayer(index);
            layer->SetName(ExpandLocalisationTokens(layer->GetName(), map, false));
            if (layer->GetKind() == gre::LayerKindText)
            {
                auto* text = static_cast<gre::CGreLayerText*>(layer);
                text->SetText(ExpandLocalisationTokens(text->GetText(), map, false));
            }
        }
        const QString newKey = pipeline->GetHashKey();
        if (newKey != oldKey)
            changes[oldKey] = newKey;
        renamed[newKey] = std::move(pipeline);
    }
    project.GetPipelines() = std::move(renamed);
    return changes;
}

bool LocaliseNewsletter(ndb::CNdbNewsletter& newsletter, const LocalisationMap& map)
{
    ExpandField(newsletter, ndb::NewsletterName, map);
    const KeyChanges changes = LocalisePipelines(newsletter.Project(), map);

    ndb::CNdbLayout& layout = newsletter.Layout();
    ExpandField(layout, ndb::LayoutName, map);
    ExpandField(layout, LayoutField110, map);
    const QString html = layout.GetString(ndb::LayoutHtml);
    if (!html.isEmpty())
        layout.SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(ApplyKeyChanges(
                                             ExpandLocalisationTokens(html, map, true), changes)));
    ExpandField(layout, ndb::LayoutPlainText, map);
    FollowPipelineKey(layout.PageStyle(), changes);

    for (const auto& [key, style] : newsletter.Styles())
    {
        const QString builtIn = BuiltInStyleName(style->GetString(ndb::StyleRuleName));
        if (!builtIn.isEmpty())
            style->SetField(ndb::StyleDisplayName, ndb::CNdbFieldValue(builtIn));
        else
            ExpandField(*style, ndb::StyleDisplayName, map);
        FollowPipelineKey(*style, changes);
    }

    ndb::CNdbPalette& palette = newsletter.Palette();
    ExpandField(palette, PaletteName, map);
    for (int index = 0; index < palette.GetColorCount(); ++index)
    {
        ndb::CNdbPaletteColor* color = palette.GetColorAt(index);
        color->SetName(ExpandLocalisationTokens(color->GetName(), map, false));
    }
    return true;
}
