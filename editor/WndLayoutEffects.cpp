// The image effects of the layout editor: an effect from the library, the effect's texts, its
// removal and its properties. A changed effect is stored under its own new key and the image
// pointed at that key; the stored pipelines themselves never change.
#include "editor/WndLayout.h"

#include "editor/ElementMetadata.h"
#include "editor/ElementReaders.h"
#include "editor/LayoutContext.h"
#include "effects/DlgPipelineLibrary.h"
#include "effects/DlgPipelineProperties.h"
#include "effects/ImageEffectText.h"
#include "gre/GreProject.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"
#include "platform/core/AppStrings.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/UndoUnitScope.h"
#include "platform/ui/WinApp.h"
#include "services/ConceptTemplateFile.h"
#include "services/EffectLibraryFile.h"
#include "services/PipelineCatalogue.h"

using namespace ndb;

namespace
{
constexpr quint32 RemoveEffectQuestion = 15000;
const QString ResourceKey = QStringLiteral("src_ResID");
} // namespace

const CNdbResource* CWndLayout::FindImageResource(const std::optional<CHtmlElement>& image,
                                                  QString& pipelineId) const
{
    CNdbNewsletter* newsletter = CurrentNewsletter();
    if (!image || !newsletter || image->GetTagName().isEmpty())
        return nullptr;
    pipelineId = PipelineIdOf(Attribute(*image, QStringLiteral("src")));
    return newsletter->Layout().FindResourceById(GetNameMetadata(*image, ResourceKey));
}

void CWndLayout::PointImageAtEffect(CHtmlElement& image, const QString& resourceId, const QString& pipelineId,
                                    const QString& undoTitle)
{
    std::unique_ptr<CHtmlDocument> document;
    CNdbNewsletter* newsletter = CurrentNewsletter();
    if (!newsletter || !m_browser.GetDHtmlDocument(document))
        return;
    const CUndoUnitScope unit(*document, undoTitle);
    if (const CNdbResource* resource = newsletter->Layout().FindResourceById(resourceId))
        SetImageSource(image, resource, pipelineId);
}

void CWndLayout::ChangeImageEffect(std::optional<CHtmlElement> image)
{
    QString pipelineId;
    const CNdbResource* resource = FindImageResource(image, pipelineId);
    if (!resource)
        return;
    const QString resourceId = resource->GetString(ResourceId);
    CConceptTemplateFolder catalogue;
    const bool online = LoadOnlinePipelineList(catalogue);
    if (!online)
        LoadPipelineLibraryFolder(catalogue, GetPipelineLibraryFolder());
    LoadCustomPipelineLibrary(catalogue);
    CDlgPipelineLibrary dialog(m_context, &catalogue, online, this);
    if (dialog.DoModal() != IDOK || !dialog.GetSelectedEffect() || !dialog.GetSelectedEffect()->IsFile())
        return;

    const WaitCursor wait;
    auto& entry = static_cast<CConceptTemplateFile&>(*dialog.GetSelectedEffect());
    gre::CGreProject loaded;
    if (const quint32 message = EffectLibraryFile::Load(entry, loaded))
    {
        AfxMessageBox(LoadAppString(message), MB_ICONHAND);
        return;
    }
    const QString effect = EffectLibraryFile::Localise(entry, loaded);
    if (effect.isEmpty())
        return;
    {
        const auto lock = m_context->WriteDocument();
        EffectLibraryFile::MoveInto(loaded, CurrentNewsletter()->Project());
    }
    PointImageAtEffect(*image, resourceId, effect, QStringLiteral("Image Pipeline Library"));
}

void CWndLayout::ChangeImageText(std::optional<CHtmlElement> image)
{
    QString pipelineId;
    const CNdbResource* resource = FindImageResource(image, pipelineId);
    if (!resource)
        return;
    const QString resourceId = resource->GetString(ResourceId);
    QString newKey;
    if (ChangeImageEffectText(*m_context, pipelineId, newKey, this) == ImageTextChange::Changed)
        PointImageAtEffect(*image, resourceId, newKey, QStringLiteral("Image Pipeline Library"));
}

void CWndLayout::ResetImageEffect(std::optional<CHtmlElement> image)
{
    QString pipelineId;
    const CNdbResource* resource = FindImageResource(image, pipelineId);
    if (!resource || pipelineId.isEmpty() || !CurrentNewsletter()->Project().GetPipeline(pipelineId))
        return;
    const QString resourceId = resource->GetString(ResourceId);
    if (AfxMessageBox(LoadAppString(RemoveEffectQuestion), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    PointImageAtEffect(*image, resourceId, QString(), QStringLiteral("Image Pipeline Reset"));
}

void CWndLayout::EditImageEffect(std::optional<CHtmlElement> image)
{
    QString pipelineId;
    const CNdbResource* resource = FindImageResource(image, pipelineId);
    if (!resource)
        return;
    const QString resourceId = resource->GetString(ResourceId);
    CDlgPipelineProperties dialog(m_context, pipelineId, *resource, this);
    if (dialog.DoModal() == IDOK)
        PointImageAtEffect(*image, resourceId, dialog.GetResultKey(),
                           QStringLiteral("Image Pipeline Properties"));
}

LRESULT CWndLayout::OnDoubleClickEvent(WPARAM, LPARAM)
{
    if (!IsEditing())
        return 1;
    // One dialog for one double click: the engine may report it twice, and a report that comes
    // while its dialog runs belongs to that double click.
    if (m_doubleClickedImage || m_imageDialogRunning)
        return 0;
    std::unique_ptr<CHtmlEventObj> event = m_browser.GetEvent();
    const std::optional<CHtmlElement> source = event ? event->GetSrcElement() : std::nullopt;
    std::optional<CHtmlElement> image =
        source ? CIEBrowser::FindAncestorByTag(*source, QStringLiteral("img")) : std::nullopt;
    if (!image)
        return 1;
    // The engine waits for this reply: the dialogs follow once it has it.
    m_doubleClickedImage = std::move(image);
    PostMessage(UM_IMAGE_DOUBLE_CLICKED, event->GetCtrlKey() ? 1 : 0);
    return 0;
}

LRESULT CWndLayout::OnImageDoubleClicked(WPARAM withControl, LPARAM)
{
    std::optional<CHtmlElement> image = std::move(m_doubleClickedImage);
    m_doubleClickedImage.reset();
    m_imageDialogRunning = true;
    if (withControl)
        EditImageEffect(std::move(image));
    else
        ChangeImageEffect(std::move(image));
    m_imageDialogRunning = false;
    return 0;
}
