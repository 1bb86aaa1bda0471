#include "effects/DlgPipelineProperties.h"

#include "base/TextHelpers.h"
#include "dialogs/DialogContext.h"
#include "dialogs/ShowHelp.h"
#include "effects/DlgGreEffectDropShadowProperties.h"
#include "effects/DlgGreLayerImageProperties.h"
#include "effects/DlgGreLayerTextProperties.h"
#include "effects/DlgSaveToLibrary.h"
#include "effects/EffectLibraryFiles.h"
#include "effects/GreDialogValues.h"
#include "effects/GreEffectCommands.h"
#include "effects/GrePreview.h"
#include "effects/ImageResources.h"
#include "gre/GreLayerImage.h"
#include "gre/GreLayerText.h"
#include "gre/GreProject.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/PropertyPage.h"
#include "platform/ui/WinApp.h"
#include "res/dialogs/PipelineProperties.h"
#include "services/PipelineCatalogue.h"

#include <QApplication>

using namespace gre;

namespace
{
constexpr UINT TemplateId = IDD_PIPELINE_PROPERTIES;
constexpr int IdLayerList = IDC_LAYER_LIST;
constexpr int IdEffectList = IDC_EFFECT_LIST;
constexpr int IdPreviewFrame = IDC_PREVIEW_FRAME;
constexpr int IdFixedSize = IDC_FIXED_SIZE;
constexpr int IdLayerSize = IDC_LAYER_SIZE;
constexpr int IdWidth = IDC_WIDTH;
constexpr int IdHeight = IDC_HEIGHT;
constexpr int IdSizeLayer = IDC_SIZE_LAYER;
constexpr int IdColorFrame = IDC_BACKGROUND_COLOR;
constexpr int IdWidthLabel = IDC_PIPELINE_WIDTH_LABEL;
constexpr int IdHeightLabel = IDC_PIPELINE_HEIGHT_LABEL;
constexpr UINT IdAddText = IDC_ADD_TEXT;
constexpr UINT IdAddImage = IDC_ADD_IMAGE;
constexpr UINT IdDelete = IDC_PIPELINE_DELETE;
constexpr UINT IdMoveUp = IDC_PIPELINE_MOVE_UP;
constexpr UINT IdMoveDown = IDC_PIPELINE_MOVE_DOWN;
constexpr UINT IdEditLayer = IDC_EDIT_LAYER;
constexpr UINT IdEditEffect = IDC_EDIT_EFFECT;
constexpr UINT IdSaveToLibrary = IDC_SAVE_TO_LIBRARY;
constexpr UINT IdHelp = IDC_HELP;

constexpr quint32 SourceLayerName = 12000;
constexpr quint32 LayerColumn = 12001;
constexpr quint32 EffectColumn = 12002;
constexpr quint32 DropShadowRow = 12003;
constexpr quint32 DeleteQuestion = 12004;
constexpr quint32 ErrorText = 12005;
constexpr quint32 NewTextName = 12006;
constexpr quint32 NewText = 12007;
constexpr quint32 NameMissingText = 12008;
constexpr quint32 SavedText = 12009;
constexpr quint32 SaveFailedText = 12010;
constexpr quint32 NameUnusableText = 12011;
constexpr quint32 DefaultCategory = 15610;
constexpr int EditCharacters = 4;
constexpr int MaximumSize = 8192;

// The shadow that the "Drop Shadow" row stands for: the layer's last one.
CGreEffectDropShadow* DropShadowOf(const CGreLayerBase* layer)
{
    if (!layer)
        return nullptr;
    for (int i = layer->GetEffectCount() - 1; i >= 0; --i)
    {
        if (auto* shadow = dynamic_cast<CGreEffectDropShadow*>(layer->GetEffect(i)))
            return shadow;
    }
    return nullptr;
}
} // namespace

const MessageMap* CDlgPipelineProperties::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(UM_GRE_APPLIED, &CDlgPipelineProperties::OnApplied),
        OnMessage(UM_COLORBOX_CHANGED, &CDlgPipelineProperties::OnPreviewChange),
        OnControl(EN_CHANGE, IdWidth, &CDlgPipelineProperties::OnPreviewChange),
        OnControl(EN_CHANGE, IdHeight, &CDlgPipelineProperties::OnPreviewChange),
        OnControl(CBN_SELCHANGE, IdSizeLayer, &CDlgPipelineProperties::OnPreviewChange),
        OnCommand(IdFixedSize, &CDlgPipelineProperties::OnSizeMode),
        OnCommand(IdLayerSize, &CDlgPipelineProperties::OnSizeMode),
        OnNotify(LVN_ITEMCHANGED, &CDlgPipelineProperties::OnItemChanged),
        OnNotify(NM_DBLCLK, &CDlgPipelineProperties::OnDoubleClick),
        OnCommand(IdAddText, &CDlgPipelineProperties::OnAddText),
        OnCommand(IdAddImage, &CDlgPipelineProperties::OnAddImage),
        OnCommand(IdDelete, &CDlgPipelineProperties::OnDelete),
        OnCommand(IdMoveUp, &CDlgPipelineProperties::OnMoveUp),
        OnCommand(IdMoveDown, &CDlgPipelineProperties::OnMoveDown),
        OnCommand(IdEditLayer, &CDlgPipelineProperties::OnEditLayer),
        OnCommand(IdEditEffect, &CDlgPipelineProperties::OnEditEffect),
        OnCommand(IdSaveToLibrary, &CDlgPipelineProperties::OnSaveToLibrary),
        OnCommand(IdHelp, &CDlgPipelineProperties::OnHelp),
        OnNotify(PSN_HELP, &CDlgPipelineProperties::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgPipelineProperties::CDlgPipelineProperties(IDialogContext* context, const QString& pipelineId,
                                               const ndb::CNdbResource& resource, CWnd* parent)
    : CDialog(TemplateId, parent), m_context(context), m_pipelineId(pipelineId),
      m_colorBox(CurrentPalette(context))
{
    m_source.LoadFromBytes(resource.GetPayload());
}

CDlgPipelineProperties::~CDlgPipelineProperties()
{
    DestroyWindow();
}

ndb::CNdbNewsletter* CDlgPipelineProperties::GetCurrentNewsletter() const
{
    return m_context->GetCurrentNewsletter();
}

void CDlgPipelineProperties::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdLayerList, m_layerList);
    DDX_Control(dx, IdEffectList, m_effectList);
    DDX_Control(dx, IdSizeLayer, m_sizeLayerList);
    DDX_Control(dx, IdColorFrame, m_colorFrame);
    DDX_Control(dx, IdWidth, m_widthEdit);
    DDX_Control(dx, IdHeight, m_heightEdit);
    DDX_Radio(dx, IdFixedSize, m_sizeMode);
    DDX_Text(dx, IdWidth, m_width);
    DDX_Text(dx, IdHeight, m_height);
}

void CDlgPipelineProperties::BuildStartingPipeline()
{
    m_pipeline.GetRootGroup().AddLayer(MakeSourceLayer(SourceLayerName));
    m_pipeline.SetSizeMode(SizeModeLayer);
}

bool CDlgPipelineProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    ndb::CNdbNewsletter* newsletter = GetCurrentNewsletter();
    if (!newsletter)
    {
        EndDialog(IDCANCEL);
        return true;
    }
    if (const CGrePipeline* stored = newsletter->Project().GetPipeline(m_pipelineId))
        m_pipeline = *stored;
    else
        BuildStartingPipeline();
    // The preview is rendered once, by ApplySizeMode at the end.
    CreatePreviewOver(m_preview, *this, IdPreviewFrame);

    CRect client;
    m_layerList.GetClientRect(&client);
    m_layerList.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    m_layerList.InsertColumn(0, LoadAppString(LayerColumn), LVCFMT_LEFT, client.Width());
    const auto& layers = m_pipeline.GetRootGroup().GetLayers();
    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer)
    {
        InsertLayerRow(m_layerList.GetItemCount(), layer->get(), false);
        const int entry = AddSizeLayerEntry(layer->get());
        if (m_sizeLayerList.GetCurSel() < 0 || layer->get() == m_pipeline.GetSizeLayer())
            m_sizeLayerList.SetCurSel(entry);
    }
    if (m_layerList.GetItemCount() > 0)
    {
        m_layerList.SetSelectionMark(0);
        m_layerList.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    m_effectList.GetClientRect(&client);
    m_effectList.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    m_effectList.InsertColumn(0, LoadAppString(EffectColumn), LVCFMT_LEFT, client.Width());
    m_effectList.InsertItem(0, LoadAppString(DropShadowRow));
    m_effectList.SetItemData(0, EffectKindDropShadow);
    m_effectList.SetSelectionMark(0);
    m_effectList.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    for (CNumberEditCtrl* edit : {&m_widthEdit, &m_heightEdit})
    {
        edit->SetLimitText(EditCharacters);
        edit->SetupSpin(1, MaximumSize);
    }
    m_sizeMode = m_pipeline.GetSizeMode() != SizeModeFixed ? SizeModeLayer : SizeModeFixed;
    m_width = m_pipeline.GetSize().width();
    m_height = m_pipeline.GetSize().height();

    m_colorBox.CreateFromPlaceholder(&m_colorFrame, 0);
    const CGreColor background = m_pipeline.GetBackgroundColor();
    if (!background.GetName().isEmpty() && newsletter->Palette().FindColorByKey(background.GetName()))
        SetColorBoxColor(ndb::CNdbColor(background.GetName()), &m_colorBox);
    else
        SetColorBoxColor(ndb::CNdbColor(background.GetRed(), background.GetGreen(), background.GetBlue()),
                         &m_colorBox);

    UpdateData(false);
    m_opened = true;
    ShowLayerEffects(SelectedLayer());
    ApplySizeMode();
    return true;
}

void CDlgPipelineProperties::UpdatePreview()
{
    ndb::CNdbNewsletter* newsletter = GetCurrentNewsletter();
    if (!newsletter)
        return;
    UpdateData(true);
    m_pipeline.SetSizeMode(m_sizeMode != 0 ? SizeModeLayer : SizeModeFixed);
    m_pipeline.SetSize(QSize(m_width, m_height));
    const int sizeLayer = m_sizeLayerList.GetCurSel();
    if (sizeLayer >= 0)
        m_pipeline.SetSizeLayer(reinterpret_cast<CGreLayerBase*>(m_sizeLayerList.GetItemData(sizeLayer)));
    m_pipeline.SetBackgroundColor(GreDialogValues::StoredColor(m_colorBox.GetColor(), newsletter->Palette()));
    m_pipeline.Render(&newsletter->Project().GetImages(), m_source, m_preview.m_image);
    if (m_preview.GetSafeHwnd())
    {
        m_preview.UpdateScrollBars();
        m_preview.Invalidate();
    }
}

void CDlgPipelineProperties::ApplySizeMode()
{
    UpdateData(true);
    const bool fixed = m_sizeMode == SizeModeFixed;
    for (const int id : {IdWidthLabel, IdHeightLabel, IdWidth, IdHeight})
        DlgItem(id).EnableWindow(fixed);
    m_sizeLayerList.EnableWindow(!fixed);
    m_preview.SetZoom(1.0);
    UpdateData(false);
    UpdatePreview();
}

gre::CGreLayerBase* CDlgPipelineProperties::SelectedLayer() const
{
    const int row = SelectedRow();
    return row < 0 ? nullptr : reinterpret_cast<CGreLayerBase*>(m_layerList.GetItemData(row));
}

int CDlgPipelineProperties::SelectedRow() const
{
    return m_layerList.GetNextItem(-1, LVNI_SELECTED);
}

void CDlgPipelineProperties::SetShadowCheck(bool checked)
{
    m_settingChecks = true;
    m_effectList.SetCheck(0, checked);
    m_settingChecks = false;
}

// Shows the layer's state only: nothing is switched on or off by it.
void CDlgPipelineProperties::ShowLayerEffects(CGreLayerBase* layer)
{
    m_lastShownLayer = layer;
    const CGreEffectDropShadow* shadow = DropShadowOf(layer);
    const bool on = shadow && shadow->IsEnabled();
    SetShadowCheck(on);
    if (layer)
    {
        m_effectList.SetSelectionMark(0);
        m_effectList.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    DlgItem(IdEditEffect).EnableWindow(on);
}

void CDlgPipelineProperties::InsertLayerRow(int row, CGreLayerBase* layer, bool select)
{
    m_settingChecks = true;
    row = m_layerList.InsertItem(row, layer->GetName());
    m_layerList.SetItemData(row, UINT_PTR(layer));
    m_layerList.SetCheck(row, layer->IsVisible());
    m_settingChecks = false;
    if (select)
    {
        m_layerList.SetSelectionMark(row);
        m_layerList.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

LRESULT CDlgPipelineProperties::OnItemChanged(WPARAM, LPARAM lParam)
{
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
    if (!m_opened || m_settingChecks)
        return 0;
    const bool checkChanged = (change->uChanged & LVIF_STATE) && change->iItem >= 0;
    if (change->hdr.idFrom == UINT(IdLayerList))
    {
        if (checkChanged)
            LayerCheckChanged(change->iItem);
        else if (SelectedLayer() != m_lastShownLayer)
            ShowLayerEffects(SelectedLayer());
    }
    else if (change->hdr.idFrom == UINT(IdEffectList) && checkChanged)
        ShadowCheckChanged();
    return 0;
}

void CDlgPipelineProperties::LayerCheckChanged(int row)
{
    auto* layer = reinterpret_cast<CGreLayerBase*>(m_layerList.GetItemData(row));
    if (!layer || layer->IsVisible() == m_layerList.GetCheck(row))
        return;
    layer->SetVisible(m_layerList.GetCheck(row));
    UpdatePreview();
}

void CDlgPipelineProperties::ShadowCheckChanged()
{
    CGreLayerBase* layer = SelectedLayer();
    if (!layer)
        return;
    const bool checked = m_effectList.GetCheck(0);
    if (CGreEffectDropShadow* shadow = DropShadowOf(layer))
    {
        if (shadow->IsEnabled() == checked)
            return;
        shadow->SetEnabled(checked);
        DlgItem(IdEditEffect).EnableWindow(checked);
        UpdatePreview();
        return;
    }
    if (!checked)
    {
        UpdatePreview();
        return;
    }
    auto created = std::make_unique<CGreEffectDropShadow>();
    CGreEffectDropShadow* shadow = created.get();
    layer->AddEffect(std::move(created));
    UpdatePreview();
    CDlgGreEffectDropShadowProperties dialog(GetCurrentNewsletter(), shadow, this);
    if (dialog.DoModal() == IDOK)
        DlgItem(IdEditEffect).EnableWindow(true);
    else
    {
        SetShadowCheck(false);
        layer->RemoveEffect(shadow);
    }
    UpdatePreview();
}

LRESULT CDlgPipelineProperties::OnApplied(WPARAM, LPARAM)
{
    const int row = SelectedRow();
    if (row >= 0)
        m_layerList.SetItemText(row, 0, SelectedLayer()->GetName());
    UpdatePreview();
    return 0;
}

LRESULT CDlgPipelineProperties::OnPreviewChange(WPARAM, LPARAM)
{
    if (m_opened)
        UpdatePreview();
    return 0;
}

LRESULT CDlgPipelineProperties::OnSizeMode(WPARAM, LPARAM)
{
    ApplySizeMode();
    return 0;
}

LRESULT CDlgPipelineProperties::OnDoubleClick(WPARAM, LPARAM lParam)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == UINT(IdLayerList))
        return OnEditLayer(0, 0);
    if (header->idFrom == UINT(IdEffectList))
        return OnEditEffect(0, 0);
    return 0;
}

// The new layer is drawn on top: last child, first row, selected and ticked.
void CDlgPipelineProperties::AddNewLayer(std::unique_ptr<CGreLayerBase> created)
{
    CGreLayerBase* layer = created.get();
    m_pipeline.GetRootGroup().AddLayer(std::move(created));
    InsertLayerRow(0, layer, true);
    AddSizeLayerEntry(layer);
    UpdatePreview();
}

int CDlgPipelineProperties::AddSizeLayerEntry(CGreLayerBase* layer)
{
    const int entry = m_sizeLayerList.AddString(layer->GetName());
    m_sizeLayerList.SetItemData(entry, UINT_PTR(layer));
    return entry;
}

void CDlgPipelineProperties::RemoveSizeLayerEntry(const CGreLayerBase* layer)
{
    for (int i = 0; i < m_sizeLayerList.GetCount(); ++i)
    {
        if (m_sizeLayerList.GetItemData(i) == UINT_PTR(layer))
            m_sizeLayerList.DeleteString(i);
    }
}

LRESULT CDlgPipelineProperties::OnAddText(WPARAM, LPARAM)
{
    auto created = std::make_unique<CGreLayerText>();
    created->SetName(LoadAppString(NewTextName));
    created->SetText(LoadAppString(NewText));
    created->SetFontName(QStringLiteral("Verdana"));
    created->SetSize(22);
    created->SetColor(CGreColor(0, 0, 0, 0xFF));
    created->SetSmoothing(true);
    CGreLayerText* layer = created.get();
    AddNewLayer(std::move(created));
    CDlgGreLayerTextProperties dialog(GetCurrentNewsletter(), layer, this);
    if (dialog.DoModal() != IDOK)
    {
        for (int row = 0; row < m_layerList.GetItemCount(); ++row)
        {
            if (m_layerList.GetItemData(row) == UINT_PTR(layer))
                m_layerList.DeleteItem(row);
        }
        RemoveSizeLayerEntry(layer);
        m_pipeline.GetRootGroup().RemoveLayer(layer);
    }
    UpdatePreview();
    return 0;
}

LRESULT CDlgPipelineProperties::OnAddImage(WPARAM, LPARAM)
{
    std::unique_ptr<ndb::CNdbResource> resource;
    if (ChooseImageFile(QString(), resource, this) != ImageResourceDone)
        return 0;
    if (!resource)
    {
        AfxMessageBox(LoadAppString(ErrorText), MB_OK | MB_ICONERROR);
        return 0;
    }
    const QString id = resource->GetString(ndb::ResourceId);
    auto created = std::make_unique<CGreLayerImage>();
    created->SetName(resource->GetString(ndb::ResourceFileName));
    created->SetUseSource(false);
    created->SetImageId(id);
    auto image = std::make_unique<CGreImage>();
    image->LoadFromBytes(resource->GetPayload());
    {
        const auto lock = m_context->WriteDocument();
        GetCurrentNewsletter()->Project().SetImage(id, std::move(image));
    }
    AddNewLayer(std::move(created));
    return 0;
}

LRESULT CDlgPipelineProperties::OnDelete(WPARAM, LPARAM)
{
    const int row = SelectedRow();
    CGreLayerBase* layer = SelectedLayer();
    if (!layer)
        return 0;
    const QString question = FormatResourceText(LoadAppString(DeleteQuestion), {layer->GetName()});
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    CGreLayerGroup& root = m_pipeline.GetRootGroup();
    if (layer == m_pipeline.GetSizeLayer())
    {
        for (const auto& other : root.GetLayers())
        {
            if (other.get() != layer)
            {
                m_pipeline.SetSizeLayer(other.get());
                break;
            }
        }
    }
    if (!root.RemoveLayer(layer))
    {
        AfxMessageBox(LoadAppString(ErrorText), MB_OK);
        return 0;
    }
    m_layerList.SetItemData(row, 0);
    m_layerList.DeleteItem(row);
    RemoveSizeLayerEntry(layer);
    // The size layer may have moved on: the list shows the one the effect uses now.
    for (int i = 0; i < m_sizeLayerList.GetCount(); ++i)
    {
        if (m_sizeLayerList.GetItemData(i) == UINT_PTR(m_pipeline.GetSizeLayer()))
            m_sizeLayerList.SetCurSel(i);
    }
    UpdatePreview();
    return 0;
}

void CDlgPipelineProperties::MoveSelectedLayer(int step)
{
    const int row = SelectedRow();
    CGreLayerBase* layer = SelectedLayer();
    if (!layer || row + step < 0 || row + step >= m_layerList.GetItemCount())
        return;
    m_settingChecks = true;
    m_layerList.DeleteItem(row);
    m_settingChecks = false;
    InsertLayerRow(row + step, layer, true);
    // Rows run from the top layer down: a step up the list is a step up the drawing order.
    if (step < 0)
        m_pipeline.GetRootGroup().MoveLayerUp(layer);
    else
        m_pipeline.GetRootGroup().MoveLayerDown(layer);
    UpdatePreview();
}

LRESULT CDlgPipelineProperties::OnMoveUp(WPARAM, LPARAM)
{
    MoveSelectedLayer(-1);
    return 0;
}

LRESULT CDlgPipelineProperties::OnMoveDown(WPARAM, LPARAM)
{
    MoveSelectedLayer(1);
    return 0;
}

LRESULT CDlgPipelineProperties::OnEditLayer(WPARAM, LPARAM)
{
    const int row = SelectedRow();
    CGreLayerBase* layer = SelectedLayer();
    if (!layer)
        return 0;
    ndb::CNdbNewsletter* newsletter = GetCurrentNewsletter();
    bool confirmed = true;
    if (auto* image = dynamic_cast<CGreLayerImage*>(layer))
    {
        const CGreLayerImage copy(*image);
        CDlgGreLayerImageProperties dialog(image, &newsletter->Project().GetImages(), &m_source, this);
        dialog.m_writeDocument = [this] { return m_context->WriteDocument(); };
        confirmed = dialog.DoModal() == IDOK;
        if (!confirmed)
            *image = copy;
    }
    else if (auto* text = dynamic_cast<CGreLayerText*>(layer))
    {
        const CGreLayerText copy(*text);
        CDlgGreLayerTextProperties dialog(newsletter, text, this);
        confirmed = dialog.DoModal() == IDOK;
        if (!confirmed)
            *text = copy;
    }
    if (confirmed)
    {
        m_layerList.SetItemText(row, 0, layer->GetName());
        m_settingChecks = true;
        m_layerList.SetCheck(row, layer->IsVisible());
        m_settingChecks = false;
    }
    UpdatePreview();
    return 0;
}

// The shadow keeps its enabled flag while it is edited; Cancel gives back all its values.
LRESULT CDlgPipelineProperties::OnEditEffect(WPARAM, LPARAM)
{
    CGreLayerBase* layer = SelectedLayer();
    if (!layer || m_effectList.GetSelectionMark() < 0)
        return 0;
    CGreEffectDropShadow* shadow = DropShadowOf(layer);
    if (!shadow)
        return 0;
    const CGreEffectDropShadow copy(*shadow);
    CDlgGreEffectDropShadowProperties dialog(GetCurrentNewsletter(), shadow, this);
    if (dialog.DoModal() != IDOK)
    {
        *shadow = copy;
        SetShadowCheck(shadow->IsEnabled());
    }
    UpdatePreview();
    return 0;
}

QString CDlgPipelineProperties::StorePipeline()
{
    const QString key = m_pipeline.GetHashKey();
    ndb::CNdbNewsletter* newsletter = GetCurrentNewsletter();
    if (newsletter && !newsletter->Project().GetPipeline(key))
    {
        const auto lock = m_context->WriteDocument();
        newsletter->Project().SetPipeline(key, m_pipeline.Clone());
    }
    return key;
}

void CDlgPipelineProperties::OnOK()
{
    UpdatePreview();
    m_resultKey = StorePipeline();
    EndDialog(IDOK);
}

// The name becomes a file name inside the library folder: one that would lead elsewhere brings
// the dialog back, and success is reported only once the project file and its thumbnail exist.
LRESULT CDlgPipelineProperties::OnSaveToLibrary(WPARAM, LPARAM)
{
    using namespace EffectLibraryFiles;
    ndb::CNdbNewsletter* newsletter = GetCurrentNewsletter();
    if (!newsletter)
        return 0;
    CDlgSaveToLibrary dialog(this);
    QString baseName;
    for (;;)
    {
        if (dialog.DoModal() != IDOK)
            return 0;
        if (dialog.m_category.isEmpty())
            dialog.m_category = LoadAppString(DefaultCategory);
        baseName = BaseName(dialog.m_name);
        if (dialog.m_name.isEmpty())
            AfxMessageBox(LoadAppString(NameMissingText), MB_OK);
        else if (!IsUsableBaseName(baseName))
            AfxMessageBox(LoadAppString(NameUnusableText), MB_OK);
        else
            break;
    }
    UpdatePreview();
    const QString key = StorePipeline();
    CGreProject library;
    newsletter->Project().CopyPipelineTo(library, key);
    CGrePipeline* saved = library.GetPipeline(key);
    saved->SetName(dialog.m_name);
    saved->SetCategory(dialog.m_category);
    const QString folder = GetCustomPipelineFolder();
    bool written = library.SaveToFile(ProjectPath(folder, baseName), QString());
    if (written)
    {
        const CGreImage thumbnail = MakeThumbnail(*saved, &library.GetImages(), m_source);
        for (const QString& path : ThumbnailPaths(folder, baseName))
            written = written && thumbnail.SaveToFile(path, QStringLiteral("image/png"));
    }
    if (!written)
        AfxMessageBox(FormatResourceText(LoadAppString(SaveFailedText), {dialog.m_category, dialog.m_name}),
                      MB_OK);
    else
        AfxMessageBox(FormatResourceText(LoadAppString(SavedText), {dialog.m_category, dialog.m_name}),
                      MB_OK | MB_ICONINFORMATION);
    return 0;
}

LRESULT CDlgPipelineProperties::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
