// The images of the layout editor: their properties, another picture for one, and new images.
#include "editor/WndLayout.h"

#include "dialogs/DlgHtmlImageProperties.h"
#include "editor/ElementMetadata.h"
#include "editor/ElementReaders.h"
#include "editor/LayoutContext.h"
#include "effects/ImageResources.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbStyle.h"
#include "platform/core/AppStrings.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/UndoUnitScope.h"
#include "platform/ui/WinApp.h"

using namespace ndb;

namespace
{
constexpr quint32 InsertImageFailedText = 15025;
constexpr quint32 UnreadableFileText = 10951;
constexpr quint32 NoPictureText = 10952;
const QString ResourceKey = QStringLiteral("src_ResID");
const QString BorderKey = QStringLiteral("src_border");
const char* const MarginProperties[4] = {"margin-top", "margin-bottom", "margin-left", "margin-right"};
constexpr int MarginFields[4] = {StyleMarginTop, StyleMarginBottom, StyleMarginLeft, StyleMarginRight};

// The picture's size on the page, 0 when it cannot be read.
int RenderedLength(const CHtmlElement& image, const char* property)
{
    float number = 0;
    int unit = 0;
    return ReadLength(image.GetCurrentStyleProperty(QLatin1String(property)), number, unit) ? int(number) : 0;
}

bool HasPicture(const CNdbResource& resource)
{
    return resource.GetInt(ResourceWidth, 0) >= 1 && resource.GetInt(ResourceHeight, 0) >= 1;
}

// Whether the dialog's size differs from the picture's own: then the image keeps it.
bool IsCustomLength(int rendered, int natural)
{
    return rendered >= 1 && natural >= 1 && rendered != natural;
}
} // namespace

bool CWndLayout::AcceptChosenImage(int result, const CNdbResource* chosen)
{
    if (result == ImageResourceFailed)
        AfxMessageBox(LoadAppString(UnreadableFileText), MB_ICONHAND);
    if (result != ImageResourceDone || !chosen)
        return false;
    if (!HasPicture(*chosen))
    {
        AfxMessageBox(LoadAppString(NoPictureText).arg(chosen->GetString(ResourceSource)), MB_ICONHAND);
        return false;
    }
    return true;
}

void CWndLayout::SetImageSource(CHtmlElement& image, const CNdbResource* resource, const QString& pipelineId)
{
    if (!resource || image.GetTagName().isEmpty())
        return;
    image.SetAttribute(QStringLiteral("src"), ImageSourceText(resource->GetString(ResourcePath), pipelineId));
    for (const char* name : {"width", "height"})
    {
        image.RemoveAttribute(QLatin1String(name));
        SetStyleIfChanged(image, QLatin1String(name), QString());
    }
}

void CWndLayout::EditImageProperties(std::optional<CHtmlElement> image)
{
    QString pipelineId;
    const CNdbResource* resource = FindImageResource(image, pipelineId);
    if (!resource)
        return;
    CNdbNewsletter* newsletter = CurrentNewsletter();
    const std::shared_ptr<const CNdbResource> rendered =
        m_context->GetRenderedImage(resource->GetString(ResourcePath), pipelineId);
    const CNdbResource& natural = rendered ? *rendered : *resource;
    const int naturalWidth = natural.GetInt(ResourceWidth, 0);
    const int naturalHeight = natural.GetInt(ResourceHeight, 0);

    CNdbStyle style;
    ImageAttributes read;
    read.name = Attribute(*image, QStringLiteral("name"));
    read.inlineFloat = image->GetStyleProperty(QStringLiteral("float"));
    read.inlineVerticalAlign = image->GetStyleProperty(QStringLiteral("vertical-align"));
    read.inlineDisplay = image->GetStyleProperty(QStringLiteral("display"));
    for (int side = 0; side < 4; ++side)
        read.margins[side] = image->GetStyleProperty(QLatin1String(MarginProperties[side]));
    ReadImageStyle(read, style);
    const bool hadBorderPair = !GetNameMetadata(*image, BorderKey).isEmpty();

    const int width = RenderedLength(*image, "width");
    const int height = RenderedLength(*image, "height");
    const bool customWidth = IsCustomLength(width, naturalWidth);
    const bool customHeight = IsCustomLength(height, naturalHeight);
    style.SetField(StyleWidth, CNdbFieldValue(float(customWidth ? width : naturalWidth), int(NdbUnitPx)));
    style.SetField(StyleHeight, CNdbFieldValue(float(customHeight ? height : naturalHeight), int(NdbUnitPx)));

    CDlgHtmlImageProperties dialog(m_context, &style, pipelineId, this);
    dialog.m_resourceId = resource->GetString(ResourceId);
    QString toolTip = Attribute(*image, QStringLiteral("alt"));
    dialog.m_toolTip =
        UnescapeToolTip(toolTip.isEmpty() ? Attribute(*image, QStringLiteral("title")) : toolTip);
    dialog.m_widthMode =
        customWidth ? CDlgHtmlImageProperties::FixedSize : CDlgHtmlImageProperties::NaturalSize;
    dialog.m_heightMode =
        customHeight ? CDlgHtmlImageProperties::FixedSize : CDlgHtmlImageProperties::NaturalSize;
    if (dialog.DoModal() != IDOK)
        return;

    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return;
    const CUndoUnitScope unit(*document, QStringLiteral("Image Properties"));
    for (const char* name : {"border", "hspace", "vspace", "width", "height"})
        image->RemoveAttribute(QLatin1String(name));
    SetNameMetadata(*image, ResourceKey, dialog.m_resourceId);
    const CNdbResource* shown = newsletter->Layout().FindResourceById(dialog.m_resourceId);
    if (!shown)
        return;
    // Plain text through the element: the page escapes it where it writes the markup.
    for (const char* name : {"alt", "title"})
    {
        if (dialog.m_toolTip.isEmpty())
            image->RemoveAttribute(QLatin1String(name));
        else
            image->SetAttribute(QLatin1String(name), dialog.m_toolTip);
    }
    SetStyleIfChanged(*image, QStringLiteral("float"), style.GetFloatText());
    SetStyleIfChanged(*image, QStringLiteral("vertical-align"), style.GetVerticalAlignText());
    SetStyleIfChanged(*image, QStringLiteral("display"), style.GetDisplayText());

    CNdbFieldValue value;
    if (style.GetField(StyleBorderTopWidth, value))
    {
        const CNdbFieldValue borderWidth = value;
        const bool hasColor = style.GetField(StyleBorderTopColor, value) && value.GetColor() &&
                              value.GetColor()->GetKind() != NdbColorNone;
        // A border without a colour is black, in the pair and on the page alike.
        const CNdbColor color = hasColor ? *value.GetColor() : CNdbColor(0, 0, 0);
        const QString styleText = style.GetBorderTopStyleText();
        const QString widthText = borderWidth.FormatLength();
        // A picture that never had a border gets none written for an untouched zero.
        if (borderWidth.GetFloat() > 0 || hadBorderPair)
            SetNameMetadata(*image, BorderKey,
                            QStringLiteral("%1 %2 %3").arg(styleText, widthText, color.ToText()));
        SetStyleIfChanged(
            *image, QStringLiteral("border"),
            borderWidth.GetFloat() > 0
                ? QStringLiteral("%1 %2 %3")
                      .arg(styleText, widthText, newsletter->Palette().ResolveColor(color).ToHex())
                : QStringLiteral("none"));
    }
    // Spacing of nothing but zeros leaves no margins at all.
    bool anyMargin = false;
    for (const int field : MarginFields)
        anyMargin = anyMargin || (style.GetField(field, value) && value.GetFloat() > 0);
    for (int side = 0; side < 4; ++side)
    {
        if (style.GetField(MarginFields[side], value))
            SetStyleIfChanged(*image, QLatin1String(MarginProperties[side]),
                              anyMargin ? value.FormatLength() : QString());
    }

    SetImageSource(*image, shown, dialog.m_pipelineId);
    if (dialog.m_widthMode == CDlgHtmlImageProperties::FixedSize && style.GetField(StyleWidth, value))
        SetStyleIfChanged(*image, QStringLiteral("width"), value.FormatLength());
    if (dialog.m_heightMode == CDlgHtmlImageProperties::FixedSize && style.GetField(StyleHeight, value))
        SetStyleIfChanged(*image, QStringLiteral("height"), value.FormatLength());
}

void CWndLayout::ChangeImage(std::optional<CHtmlElement> image)
{
    QString pipelineId;
    const CNdbResource* old = FindImageResource(image, pipelineId);
    if (!old)
        return;
    CNdbNewsletter* newsletter = CurrentNewsletter();
    std::unique_ptr<CNdbResource> chosen;
    const int result = ChooseImageFile(old->GetString(ResourceSource), chosen, this);
    if (!AcceptChosenImage(result, chosen.get()))
        return;
    const CNdbResource* added = chosen.get();
    {
        const auto lock = m_context->WriteDocument();
        newsletter->Layout().AddResource(std::move(chosen));
    }
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return;
    const CUndoUnitScope unit(*document, QStringLiteral("Image Change"));
    SetNameMetadata(*image, ResourceKey, added->GetString(ResourceId));
    SetImageSource(*image, added, pipelineId);
}

LRESULT CWndLayout::OnInsertImage(WPARAM, LPARAM)
{
    CNdbNewsletter* newsletter = CurrentNewsletter();
    if (!IsEditing())
        return 0;
    ResourceList resources;
    const int chosen = ChooseImageFiles(QString(), resources, ChooseImagesOnly, this);
    if (chosen == ImageResourceCancelled)
        return 0;
    if (chosen != ImageResourceDone)
    {
        AfxMessageBox(LoadAppString(InsertImageFailedText), MB_ICONHAND);
        return 0;
    }
    for (const auto& resource : resources)
    {
        if (resource && !AcceptChosenImage(ImageResourceDone, resource.get()))
            return 0;
    }
    PipelineList pipelines;
    const int imported = ImportImageWithOptions(newsletter, resources, pipelines, this);
    if (imported == ImageResourceCancelled)
        return 0;
    if (imported != ImageResourceDone || pipelines.size() != resources.size())
    {
        AfxMessageBox(LoadAppString(InsertImageFailedText), MB_ICONHAND);
        return 0;
    }
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return 0;
    const CUndoUnitScope unit(*document, QStringLiteral("Insert Image"));
    const WaitCursor wait;
    QString html;
    for (std::size_t i = 0; i < resources.size(); ++i)
    {
        if (!resources[i])
            continue;
        QString pipelineId;
        const QString path = resources[i]->GetString(ResourcePath);
        const QString id = resources[i]->GetString(ResourceId);
        const auto lock = m_context->WriteDocument();
        if (pipelines[i])
        {
            pipelineId = pipelines[i]->GetHashKey();
            newsletter->Project().SetPipeline(pipelineId, std::move(pipelines[i]));
        }
        newsletter->Layout().AddResource(std::move(resources[i]));
        html +=
            QStringLiteral("<img src=\"%1\" style=\"border:none;vertical-align:middle;\" name=\"%2:%3;\" />")
                .arg(ImageSourceText(path, pipelineId).toHtmlEscaped(), ResourceKey, id.toHtmlEscaped());
    }
    if (!html.isEmpty())
        CIEBrowser::InsertHtml(m_browser, QStringLiteral("<p>") + html + QStringLiteral("</p>\r\n"));
    return 0;
}
