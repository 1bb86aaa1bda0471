#include "effects/ImageEffectText.h"

#include "dialogs/DialogContext.h"
#include "effects/DlgImageEffectSetText.h"
#include "gre/GreLayerText.h"
#include "gre/GreProject.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/WinApp.h"

namespace
{
constexpr quint32 NoTextEffectText = 15037;

std::vector<gre::CGreLayerText*> VisibleTextLayers(const gre::CGrePipeline& pipeline)
{
    std::vector<gre::CGreLayerText*> layers;
    for (const auto& layer : pipeline.GetRootGroup().GetLayers())
    {
        auto* text = dynamic_cast<gre::CGreLayerText*>(layer.get());
        if (text && text->IsVisible())
            layers.push_back(text);
    }
    return layers;
}
} // namespace

ImageTextChange ChangeImageEffectText(IDialogContext& context, const QString& pipelineId, QString& newKey,
                                      CWnd* parent)
{
    ndb::CNdbNewsletter* newsletter = context.GetCurrentNewsletter();
    const gre::CGrePipeline* stored = newsletter ? newsletter->Project().GetPipeline(pipelineId) : nullptr;
    std::unique_ptr<gre::CGrePipeline> copy = stored ? stored->Clone() : nullptr;
    const std::vector<gre::CGreLayerText*> layers =
        copy ? VisibleTextLayers(*copy) : std::vector<gre::CGreLayerText*>();
    if (layers.empty())
    {
        AfxMessageBox(LoadAppString(NoTextEffectText), MB_OK);
        return ImageTextChange::NoTextEffect;
    }
    CDlgImageEffectSetText dialog(parent);
    dialog.m_count = int(layers.size());
    const std::size_t shown = std::min<std::size_t>(layers.size(), CDlgImageEffectSetText::RowCount);
    for (std::size_t row = 0; row < shown; ++row)
        dialog.m_texts[row] = layers[row]->GetText();
    // After Cancel nothing is stored, even when the copy's key differs from the stored one.
    if (dialog.DoModal() != IDOK)
        return ImageTextChange::Unchanged;
    for (std::size_t row = 0; row < shown; ++row)
        layers[row]->SetText(dialog.m_texts[row]);
    const QString key = copy->GetHashKey();
    if (key == pipelineId)
        return ImageTextChange::Unchanged;
    {
        const auto lock = context.WriteDocument();
        newsletter->Project().SetPipeline(key, std::move(copy));
    }
    newKey = key;
    return ImageTextChange::Changed;
}
