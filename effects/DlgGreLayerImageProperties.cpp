#include "effects/DlgGreLayerImageProperties.h"

#include "base/AppSettings.h"
#include "base/Md5Digest.h"
#include "dialogs/ShowHelp.h"
#include "effects/GreDialogValues.h"
#include "effects/GreEffectCommands.h"
#include "effects/GrePreview.h"
#include "effects/ImageResources.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/PropertyPage.h"
#include "res/dialogs/GreLayerImageProperties.h"

#include <QFile>
#include <QFileInfo>

using namespace GreDialogValues;

namespace
{
constexpr UINT TemplateId = IDD_GRE_LAYER_IMAGE_PROPERTIES;
constexpr int IdName = IDC_LAYER_NAME;
constexpr int IdPreviewFrame = IDC_PREVIEW_FRAME;
constexpr int IdUseSource = IDC_USE_SOURCE;
constexpr int IdBrowse = IDC_BROWSE;
constexpr int IdPlacement = IDC_PLACEMENT;
constexpr int IdMargins[] = {IDC_LAYER_LEFT, IDC_LAYER_TOP, IDC_LAYER_RIGHT, IDC_LAYER_BOTTOM};
constexpr int IdRotation = IDC_ROTATION;
constexpr int IdOpacity = IDC_OPACITY;
constexpr int IdBlending = IDC_BLENDING;
constexpr UINT IdHelp = IDC_HELP;
constexpr quint32 ImageFilesText = 10600;
const QString FolderSetting = QStringLiteral("SavePath_GreImage");

// The bytes of a regular file; empty when it cannot be read.
QByteArray ReadFileBytes(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
} // namespace

const MessageMap* CDlgGreLayerImageProperties::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(EN_CHANGE, IdName, &CDlgGreLayerImageProperties::OnChange),
        OnControl(EN_CHANGE, IdMargins[0], &CDlgGreLayerImageProperties::OnChange),
        OnControl(EN_CHANGE, IdMargins[1], &CDlgGreLayerImageProperties::OnChange),
        OnControl(EN_CHANGE, IdMargins[2], &CDlgGreLayerImageProperties::OnChange),
        OnControl(EN_CHANGE, IdMargins[3], &CDlgGreLayerImageProperties::OnChange),
        OnControl(EN_CHANGE, IdRotation, &CDlgGreLayerImageProperties::OnChange),
        OnControl(EN_CHANGE, IdOpacity, &CDlgGreLayerImageProperties::OnChange),
        OnControl(CBN_SELCHANGE, IdBlending, &CDlgGreLayerImageProperties::OnChange),
        OnControl(CBN_SELCHANGE, IdPlacement, &CDlgGreLayerImageProperties::OnChange),
        OnCommand(IdUseSource, &CDlgGreLayerImageProperties::OnUseSource),
        OnCommand(IdBrowse, &CDlgGreLayerImageProperties::OnBrowse),
        OnCommand(UM_GRE_APPLIED, &CDlgGreLayerImageProperties::OnApply),
        OnCommand(IdHelp, &CDlgGreLayerImageProperties::OnHelp),
        OnNotify(PSN_HELP, &CDlgGreLayerImageProperties::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgGreLayerImageProperties::CDlgGreLayerImageProperties(gre::CGreLayerImage* layer, gre::GreImageMap* images,
                                                         const gre::CGreImage* source, CWnd* parent)
    : CDialog(TemplateId, parent), m_layer(layer), m_images(images), m_source(source), m_stored(*layer),
      m_fields(m_stored, PercentFromOpacity, OpacityFromPercent), m_useSource(layer->IsUseSource())
{
}

CDlgGreLayerImageProperties::~CDlgGreLayerImageProperties()
{
    DestroyWindow();
}

void CDlgGreLayerImageProperties::DoDataExchange(CDataExchange* dx)
{
    m_fields.Exchange(dx);
    DDX_Check(dx, IdUseSource, m_useSource);
}

bool CDlgGreLayerImageProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_fields.Setup();
    CreatePreviewOver(m_preview, *this, IdPreviewFrame);
    UpdateData(false);
    // What the controls made of the values is what counts as untouched.
    UpdateData(true);
    m_fields.MarkLoaded();
    m_loading = false;
    UseSourceClicked();
    return true;
}

// The box chooses the source image; clearing it means the layer's own picture, which a layer
// without one gets only through "Browse...".
void CDlgGreLayerImageProperties::UseSourceClicked()
{
    UpdateData(true);
    DlgItem(IdBrowse).EnableWindow(!m_useSource);
    if (m_useSource)
        m_layer->SetUseSource(true);
    else if (!m_layer->GetImageId().isEmpty())
        m_layer->SetUseSource(false);
    NotifyApplied(this);
    RefreshPreview();
}

void CDlgGreLayerImageProperties::RefreshPreview()
{
    const gre::CGreImage* shown = m_source;
    if (!m_layer->IsUseSource())
    {
        const auto found = m_images->find(m_layer->GetImageId());
        shown = found == m_images->end() ? nullptr : found->second.get();
    }
    if (!shown || !m_preview.GetSafeHwnd())
        return;
    m_preview.m_image = *shown;
    m_preview.UpdateScrollBars();
    m_preview.ZoomToFit();
}

void CDlgGreLayerImageProperties::Apply(bool notify)
{
    UpdateData(true);
    m_fields.WriteTo(*m_layer);
    m_layer->SetUseSource(m_useSource || m_layer->GetImageId().isEmpty());
    if (notify)
        NotifyApplied(this);
}

LRESULT CDlgGreLayerImageProperties::OnChange(WPARAM, LPARAM)
{
    if (!m_loading)
        Apply(true);
    return 0;
}

LRESULT CDlgGreLayerImageProperties::OnUseSource(WPARAM, LPARAM)
{
    UseSourceClicked();
    return 0;
}

LRESULT CDlgGreLayerImageProperties::OnBrowse(WPARAM, LPARAM)
{
    CFileDialog dialog(true, QString(), GetSettingFolder(FolderSetting), OFN_EXPLORER | OFN_ENABLESIZING,
                       ImageFileFilter(ImageFilesText), this);
    if (dialog.DoModal() != IDOK)
        return 0;
    const QString path = dialog.GetPathName();
    WriteAppSettingString(HKEY_CURRENT_USER, FolderSetting, path.left(path.lastIndexOf(u'/') + 1));
    const QByteArray bytes = ReadFileBytes(path);
    if (bytes.isEmpty())
        return 0;
    // One picture per content: the same file chosen twice is stored once.
    const QString id = CMd5Digest(bytes.constData(), int(bytes.size())).GetDigest();
    if (!m_images->count(id))
    {
        auto image = std::make_unique<gre::CGreImage>();
        if (!image->LoadFromBytes(bytes))
            return 0;
        std::unique_lock<std::shared_mutex> lock;
        if (m_writeDocument)
            lock = m_writeDocument();
        (*m_images)[id] = std::move(image);
    }
    m_layer->SetImageId(id);
    m_layer->SetUseSource(false);
    RefreshPreview();
    NotifyApplied(this);
    return 0;
}

LRESULT CDlgGreLayerImageProperties::OnApply(WPARAM, LPARAM)
{
    Apply(true);
    return 0;
}

void CDlgGreLayerImageProperties::OnOK()
{
    Apply(false);
    EndDialog(IDOK);
}

LRESULT CDlgGreLayerImageProperties::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
