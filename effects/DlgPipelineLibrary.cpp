#include "effects/DlgPipelineLibrary.h"

#include "res/dialogs/PipelineLibrary.h"
#include "services/PipelineCatalogue.h"

#include "base/TextHelpers.h"
#include "dialogs/ShowHelp.h"
#include "effects/EffectLibraryContext.h"
#include "gre/GreImage.h"
#include "platform/ui/PropertyPage.h"
#include "services/ConceptTemplateFolder.h"
#include "services/GalleryPage.h"
#include "services/TemplateCatalogue.h"

#include <QPainter>

namespace
{
constexpr UINT TemplateId = IDD_PIPELINE_LIBRARY;
constexpr int IdCategories = IDC_CATEGORIES;
constexpr int IdBrowserFrame = IDC_BROWSER_FRAME;
constexpr UINT IdHelp = IDC_HELP;
constexpr int BrowserId = 4711;
constexpr int PageTemplateId = 350;
constexpr int CategoryBitmap = 258;
constexpr int CategoryImageWidth = 64;
constexpr int CategoryImageHeight = 48;

// A path or "file:" address of the catalogue as a local path; empty for any other address.
QString LocalPath(const QString& catalogueUrl)
{
    if (catalogueUrl.startsWith(QLatin1String("file://"), Qt::CaseInsensitive))
        return FileUrlToPath(catalogueUrl);
    return catalogueUrl.contains(QLatin1String("://")) ? QString() : catalogueUrl;
}
} // namespace

const MessageMap* CDlgPipelineLibrary::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(UM_BROWSER_BEFORE_NAVIGATE, &CDlgPipelineLibrary::OnBeforeNavigate),
        OnNotify(LVN_ITEMCHANGED, &CDlgPipelineLibrary::OnCategoryChanged),
        OnCommand(IdHelp, &CDlgPipelineLibrary::OnHelp),
        OnNotify(PSN_HELP, &CDlgPipelineLibrary::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgPipelineLibrary::CDlgPipelineLibrary(IEffectLibraryContext* context, CConceptTemplateFolder* catalogue,
                                         bool online, CWnd* parent)
    : CDialog(TemplateId, parent), m_context(context), m_catalogue(catalogue), m_online(online)
{
}

CDlgPipelineLibrary::~CDlgPipelineLibrary()
{
    DestroyWindow();
}

void CDlgPipelineLibrary::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdCategories, m_categoryList);
}

bool CDlgPipelineLibrary::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRect frame;
    DlgItem(IdBrowserFrame).GetWindowRect(&frame);
    ScreenToClient(&frame);
    m_browser.Create(QStringLiteral("IE"), WS_CHILD | WS_VISIBLE, frame, this, BrowserId);
    m_browser.Navigate(QStringLiteral("about:blank"));
    FillCategories();
    return true;
}

void CDlgPipelineLibrary::FillCategories()
{
    m_categoryList.DeleteAllItems();
    m_categoryImages = CImageList();
    m_categoryImages.Create(CategoryImageWidth, CategoryImageHeight, ILC_COLOR24 | ILC_MASK, 50, 30);
    gre::CGreImage icon;
    QImage opaque(CategoryImageWidth, CategoryImageHeight, QImage::Format_ARGB32);
    opaque.fill(Qt::white);
    if (icon.LoadFromResource(CategoryBitmap))
        QPainter(&opaque).drawImage(0, 0, icon.GetBitmap());
    m_categoryImages.Add(opaque, RGB(255, 255, 255));
    m_categoryList.SetImageList(&m_categoryImages, LVSIL_NORMAL);
    CRect client;
    m_categoryList.GetClientRect(&client);
    m_categoryList.InsertColumn(0, QString(), LVCFMT_LEFT, client.Width());
    int selected = -1;
    for (int i = 0; m_catalogue && i < m_catalogue->GetChildCount(); ++i)
    {
        auto* folder = dynamic_cast<CConceptTemplateFolder*>(m_catalogue->GetChild(i));
        if (!folder)
            continue;
        const int row = m_categoryList.InsertItem(m_categoryList.GetItemCount(), folder->GetName(), 0);
        m_categoryList.SetItemData(row, UINT_PTR(folder));
        if (row == 0 || folder->IsInitialFolder())
            selected = row;
    }
    if (selected >= 0)
    {
        m_categoryList.SetSelectionMark(selected);
        m_categoryList.SetItemState(selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    OnCategoryChanged(0, 0);
}

// Clicks and keys both move the selection, which is what counts.
LRESULT CDlgPipelineLibrary::OnCategoryChanged(WPARAM, LPARAM)
{
    const int row = m_categoryList.GetNextItem(-1, LVNI_SELECTED);
    const auto* folder =
        row < 0 ? nullptr : reinterpret_cast<const CConceptTemplateFolder*>(m_categoryList.GetItemData(row));
    if (folder && folder != m_shownCategory)
        ShowCategory(*folder);
    return 0;
}

QString CDlgPipelineLibrary::PictureAddress(const QString& catalogueUrl)
{
    if (catalogueUrl.contains(QLatin1String("://")) &&
        !catalogueUrl.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return catalogueUrl;
    const QString path = LocalPath(catalogueUrl);
    if (!m_context)
        return QStringLiteral("about:blank");
    const auto store = [this](const QString& entry, const QByteArray& bytes, const QString& type)
    { m_context->StoreInWebStore(entry, bytes, type); };
    return GalleryPage::PublishPicture(path, QStringLiteral("dlgpipelinelibrary"), m_pictureCount, store);
}

void CDlgPipelineLibrary::ShowCategory(const CConceptTemplateFolder& folder)
{
    m_shownCategory = &folder;
    const bool hideAlert = GalleryPage::HidesOfflineNotice(m_online);
    const QString frame = GetPipelineLibraryFolder() + QStringLiteral("img/select_frame.gif");
    const QString page =
        GalleryPage::Build(GalleryPage::LoadTemplate(PageTemplateId), folder, hideAlert,
                           [this, &frame](const QString& url) {
                               return PictureAddress(url == QLatin1String("select_frame.gif") ? frame : url);
                           });
    if (!m_context)
        return;
    m_context->PutPageInWebStore(QLatin1String(PageName), page);
    m_browser.Navigate(m_context->MakeServerUrl(QStringLiteral("webstore/") + QLatin1String(PageName)));
}

LRESULT CDlgPipelineLibrary::OnBeforeNavigate(WPARAM, LPARAM url)
{
    QString fileId;
    switch (GalleryPage::ParseLink(*reinterpret_cast<const QString*>(url), fileId))
    {
    case GalleryPage::LinkKind::Empty:
        return 1;
    case GalleryPage::LinkKind::Template:
    {
        CConceptTemplateBase* entry =
            fileId.isEmpty() || !m_catalogue ? nullptr : m_catalogue->FindById(fileId);
        m_selected = entry && entry->IsFile() ? entry : nullptr;
        DlgItem(IDOK).EnableWindow(m_selected != nullptr);
        return 1;
    }
    case GalleryPage::LinkKind::Other:
    case GalleryPage::LinkKind::Unclosed:
        break;
    }
    return 0;
}

LRESULT CDlgPipelineLibrary::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
