#include "app/DlgNewsletterCreate.h"

#include "app/KVContext.h"
#include "base/AppSettings.h"
#include "base/TextHelpers.h"
#include "dialogs/ShowHelp.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/WndClass.h"
#include "res/dialogs/NewsletterCreate.h"
#include "services/ConceptTemplateFolder.h"
#include "services/GalleryPage.h"
#include "services/TemplateCatalogue.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPalette>
#include <QWidget>

namespace
{
constexpr int IdAddressLabel = IDC_ADDRESS_LABEL;
constexpr int IdAddress = IDC_ADDRESS;
constexpr UINT IdLoad = IDC_LOAD;
constexpr int IdPreviewLabel = IDC_PREVIEW_LABEL;
constexpr int IdNameLabel = IDC_NAME_LABEL;
constexpr int IdName = IDC_NEWSLETTER_CREATE_NAME;
constexpr int IdRequired = IDC_REQUIRED;
constexpr int IdLocationLabel = IDC_LOCATION_LABEL;
constexpr int IdLocation = IDC_LOCATION;
constexpr UINT IdChangeLocation = IDC_CHANGE_LOCATION;
constexpr int IdSeparator = IDC_CREATE_SEPARATOR;
constexpr UINT IdHelp = IDC_HELP;
constexpr UINT TabImage = 276;
constexpr int TemplatePageId = 244;
const QString LocationSetting = QStringLiteral("SavePath_Create");
const QString WebPagePrefix = QStringLiteral("fromwebpage:");

const CRect TabRect(12, 12, 702, 40);
const CRect GalleryArea(12, 40, 702, 450);
const CRect GalleryBrowserRect(13, 41, 701, 449);
constexpr int ClientWidth = 714;
constexpr int ClientHeight = 604;
constexpr int WebLeft = 24;
constexpr int WebRight = 690;
constexpr int AreaLeft = 12;
constexpr int AreaRight = 702;
constexpr int Gap = 10;

} // namespace

const MessageMap* CDlgNewsletterCreate::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(UM_BROWSER_BEFORE_NAVIGATE, &CDlgNewsletterCreate::OnBeforeNavigate),
        OnCommandRange(FirstFolderCommand, LastFolderCommand, &CDlgNewsletterCreate::OnTabCommand),
        OnCommand(WebPageCommand, &CDlgNewsletterCreate::OnTabCommand),
        OnCommand(IdChangeLocation, &CDlgNewsletterCreate::OnChangeLocation),
        OnCommand(IdLoad, &CDlgNewsletterCreate::OnLoadWebPage),
        OnCommand(IdHelp, &CDlgNewsletterCreate::OnHelp),
        OnMessage(WM_PAINT, &CDlgNewsletterCreate::OnPaint),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgNewsletterCreate::CDlgNewsletterCreate(CKVContext* context, CConceptTemplateFolder* catalogue,
                                           bool online, CWnd* parent)
    : CDialog(IDD, parent), m_context(context), m_catalogue(catalogue), m_online(online)
{
}

CDlgNewsletterCreate::~CDlgNewsletterCreate()
{
    DestroyWindow();
}

bool CDlgNewsletterCreate::Ask(CKVContext* context, CWnd* parent, CConceptTemplateFolder& catalogue,
                               bool online, NewsletterStart& start)
{
    CDlgNewsletterCreate dialog(context, &catalogue, online, parent);
    if (dialog.DoModal() != IDOK)
        return false;
    start.webPageMode = dialog.m_webPageMode;
    start.selectedTemplate = dialog.m_selectedTemplate;
    start.webAddress = dialog.m_webAddress;
    start.projectName = dialog.m_projectName;
    start.location = dialog.m_location;
    return true;
}

QString CDlgNewsletterCreate::ProposeName(const QString& folder)
{
    QString name = LoadAppString(11604);
    for (int n = 2; n <= 999 && QFileInfo::exists(folder + name + QStringLiteral(".kvnl")); ++n)
        name = FormatResourceText(LoadAppString(11605), {QString::number(n)});
    return name;
}

QString CDlgNewsletterCreate::WebPageHelpPage()
{
    const QString crlf = QStringLiteral("\r\n");
    QStringList lines{
        QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                       "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">"),
        QStringLiteral("<html xmlns=\"http://www.w3.org/1999/xhtml\">"),
        QStringLiteral("<head>"),
        QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />"),
        QStringLiteral("<style type=\"text/css\">html, body {") + crlf + QStringLiteral("\tcolor: #000000;") +
            crlf + QStringLiteral("\tfont-size: 9pt;") + crlf + QStringLiteral("\tfont-family: Verdana;") +
            crlf + QStringLiteral("\ttext-align: center;") + crlf + QStringLiteral("\tmargin: 0px;") + crlf +
            QStringLiteral("\tpadding: 0px;") + crlf + QStringLiteral("\tbackground-color: #FFFFFF;") + crlf +
            QStringLiteral("}") + crlf + QStringLiteral("p {") + crlf +
            QStringLiteral("\tmargin: 0px 0px 10px 0px;") + crlf + QStringLiteral("}") + crlf +
            QStringLiteral("</style>"),
        QStringLiteral("<title>") + LoadAppString(11601) + QStringLiteral("</title>"),
        QStringLiteral("</head>"),
        QStringLiteral("<body>"),
        QStringLiteral("<div style=\"margin:10px 10px 10px 10px;padding:10px 10px 0px 10px;text-align:left;"
                       "background-color:#d0d0d0;border:solid 1px #808080;\">"),
        QStringLiteral("<p>") + LoadAppString(11602) + QStringLiteral("</p>"),
        QStringLiteral("<p>") + LoadAppString(11603) + QStringLiteral("</p>"),
        QStringLiteral("</div>"),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
    return lines.join(crlf) + crlf;
}

void CDlgNewsletterCreate::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IdAddress, m_webAddress);
    DDX_Text(dx, IdName, m_projectName);
    DDX_Text(dx, IdLocation, m_location);
}

bool CDlgNewsletterCreate::OnInitDialog()
{
    CDialog::OnInitDialog();
    GetSafeHwnd()->setFixedSize(ClientWidth, ClientHeight);
    CenterWindow();
    CreateTabs();

    m_galleryBrowser.Create(QStringLiteral("IE"), WS_CHILD | WS_VISIBLE, GalleryBrowserRect, this,
                            GalleryBrowserId);
    m_webBrowser.Create(QStringLiteral("IE"), WS_CHILD | WS_VISIBLE, GalleryArea, this, WebBrowserId);
    m_galleryBrowser.Navigate(QStringLiteral("about:blank"));
    if (!m_webAddress.isEmpty())
    {
        m_webBrowser.Navigate(m_webAddress);
    }
    else if (m_context)
    {
        m_context->PutPageInWebStore(QLatin1String(HelpPageName), WebPageHelpPage());
        m_webBrowser.Navigate(
            m_context->MakeServerUrl(QStringLiteral("webstore/") + QLatin1String(HelpPageName)));
    }
    PlaceControls();

    m_location = WithTrailingSlash(GetSettingFolder(LocationSetting));
    m_projectName = ProposeName(m_location);
    UpdateData(false);
    UpdateMode();
    return true;
}

void CDlgNewsletterCreate::CreateTabs()
{
    if (m_tabs.Create(AfxRegisterWndClass(0), QString(),
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, TabRect, this, TabStripId))
    {
        m_tabs.m_tabImage.LoadFromResource(TabImage);
        m_tabs.m_notifyWnd = this;
        m_tabs.EnableToolTips();
    }
    bool firstFolder = true;
    for (int index = 0; m_catalogue && index < m_catalogue->GetChildCount(); ++index)
    {
        const CConceptTemplateBase* child = m_catalogue->GetChild(index);
        if (!child->IsFolder())
            continue;
        QString caption = child->GetName();
        UINT command = FirstFolderCommand + UINT(index);
        if (caption.startsWith(WebPagePrefix))
        {
            caption = caption.mid(WebPagePrefix.size());
            command = WebPageCommand;
        }
        // Commands beyond the range would reach nothing: such folders get no tab.
        if (command != WebPageCommand && command > LastFolderCommand)
            continue;
        CKVTabButtonList::TabRecord* tab = m_tabs.AddTab(caption, command);
        if (firstFolder || static_cast<const CConceptTemplateFolder*>(child)->IsInitialFolder())
            m_tabs.m_currentTab = tab;
        firstFolder = false;
    }
    const QColor face = GetSafeHwnd()->palette().color(QPalette::Button);
    m_tabs.m_background = RGB(face.red(), face.green(), face.blue());
    m_tabs.ShowWindow(SW_SHOW);
}

void CDlgNewsletterCreate::PlaceControls()
{
    const auto place = [this](int id, const CRect& rect)
    {
        if (CWnd* item = GetDlgItem(id))
            item->MoveWindow(rect);
    };
    const auto sizeOf = [this](int id)
    {
        CRect rect;
        if (CWnd* item = GetDlgItem(id))
            item->GetWindowRect(&rect);
        return CSize(rect.Width(), rect.Height());
    };

    const CSize label = sizeOf(IdAddressLabel);
    place(IdAddressLabel, CRect(WebLeft, 52, WebLeft + label.cx, 52 + label.cy));
    const CSize load = sizeOf(IdLoad);
    const CSize edit = sizeOf(IdAddress);
    const int addressTop = 52 + label.cy + 2;
    place(IdLoad, CRect(WebRight - load.cx, addressTop, WebRight, addressTop + load.cy));
    place(IdAddress, CRect(WebLeft, addressTop, WebRight - load.cx - Gap, addressTop + edit.cy));
    const CSize preview = sizeOf(IdPreviewLabel);
    const int previewTop = addressTop + edit.cy + Gap;
    place(IdPreviewLabel, CRect(WebLeft, previewTop, WebLeft + preview.cx, previewTop + preview.cy));
    m_webRect = CRect(WebLeft, previewTop + preview.cy + 2, WebRight, 438);

    const auto row = [&](int top, int labelId, int fieldId, int rightId)
    {
        const CSize left = sizeOf(labelId);
        const CSize right = sizeOf(rightId);
        const CSize field = sizeOf(fieldId);
        place(labelId, CRect(AreaLeft, top, AreaLeft + left.cx, top + left.cy));
        place(rightId, CRect(AreaRight - right.cx, top, AreaRight, top + right.cy));
        place(fieldId, CRect(AreaLeft + left.cx + Gap, top, AreaRight - right.cx - Gap, top + field.cy));
        return top + field.cy;
    };
    const int nameBottom = row(474, IdNameLabel, IdName, IdRequired);
    const int locationBottom = row(nameBottom + Gap, IdLocationLabel, IdLocation, IdChangeLocation);
    const int separatorTop = locationBottom + 20;
    place(IdSeparator, CRect(AreaLeft, separatorTop, AreaRight, separatorTop + 2));
    int right = AreaRight;
    for (const int id : {int(IdHelp), IDCANCEL, IDOK})
    {
        const CSize button = sizeOf(id);
        place(id, CRect(right - button.cx, separatorTop + 30, right, separatorTop + 30 + button.cy));
        right -= button.cx + Gap;
    }
}

UINT CDlgNewsletterCreate::SelectedCommand() const
{
    return m_tabs.m_currentTab ? m_tabs.m_currentTab->commandId : 0;
}

void CDlgNewsletterCreate::UpdateMode()
{
    UpdateData(true);
    const UINT command = SelectedCommand();
    m_webPageMode = command == WebPageCommand;
    for (const int id : {IdAddressLabel, IdAddress, int(IdLoad), IdPreviewLabel})
    {
        if (CWnd* item = GetDlgItem(id))
            item->ShowWindow(m_webPageMode ? SW_SHOW : SW_HIDE);
    }
    m_galleryBrowser.MoveWindow(m_webPageMode ? CRect() : GalleryBrowserRect);
    m_webBrowser.MoveWindow(m_webPageMode ? m_webRect : CRect());

    if (!m_webPageMode && command >= FirstFolderCommand && m_catalogue)
    {
        const int index = int(command - FirstFolderCommand);
        if (index < m_catalogue->GetChildCount() && m_catalogue->GetChild(index)->IsFolder())
            ShowGallery(static_cast<const CConceptTemplateFolder&>(*m_catalogue->GetChild(index)));
    }
    if (CWnd* create = GetDlgItem(IDOK))
        create->EnableWindow(m_webPageMode ? !m_webAddress.isEmpty() : m_selectedTemplate != nullptr);
}

QString CDlgNewsletterCreate::PictureAddress(const QString& catalogueUrl)
{
    // The engine shows no local files in a page of the local server: the pictures travel
    // through the web store beside the page.
    if (catalogueUrl.startsWith(QLatin1String("http://")) ||
        catalogueUrl.startsWith(QLatin1String("https://")))
        return catalogueUrl;
    const QString path = catalogueUrl.startsWith(QLatin1String("file:///")) ? FileUrlToPath(catalogueUrl)
                         : catalogueUrl.contains(QLatin1String("://"))
                             ? QString()
                             : GetTemplateImageFolder() + catalogueUrl;
    if (!m_context)
        return QStringLiteral("about:blank");
    const auto store = [this](const QString& entry, const QByteArray& bytes, const QString& type)
    { m_context->StoreInWebStore(entry, bytes, type); };
    return GalleryPage::PublishPicture(path, QStringLiteral("dlgnewslettercreate"), m_pictureCount, store);
}

void CDlgNewsletterCreate::ShowGallery(const CConceptTemplateFolder& folder)
{
    const bool hideAlert = GalleryPage::HidesOfflineNotice(m_online);
    const QString page = GalleryPage::Build(GalleryPage::LoadTemplate(TemplatePageId), folder, hideAlert,
                                            [this](const QString& url) { return PictureAddress(url); });
    if (!m_context)
        return;
    m_context->PutPageInWebStore(QLatin1String(GalleryPageName), page);
    m_galleryBrowser.Navigate(
        m_context->MakeServerUrl(QStringLiteral("webstore/") + QLatin1String(GalleryPageName)));
}

LRESULT CDlgNewsletterCreate::OnBeforeNavigate(WPARAM, LPARAM url)
{
    const QString address = *reinterpret_cast<const QString*>(url);
    if (m_webPageMode)
    {
        UpdateData(true);
        m_webAddress = address;
        UpdateData(false);
        if (CWnd* create = GetDlgItem(IDOK))
            create->EnableWindow(true);
        return 0;
    }
    QString fileId;
    switch (GalleryPage::ParseLink(address, fileId))
    {
    case GalleryPage::LinkKind::Empty:
        return 1;
    case GalleryPage::LinkKind::Template:
    {
        m_selectedTemplate = nullptr;
        CConceptTemplateBase* entry =
            fileId.isEmpty() || !m_catalogue ? nullptr : m_catalogue->FindById(fileId);
        if (entry && entry->IsFile())
            m_selectedTemplate = static_cast<CConceptTemplateFile*>(entry);
        if (CWnd* create = GetDlgItem(IDOK))
            create->EnableWindow(m_selectedTemplate != nullptr);
        return 1;
    }
    case GalleryPage::LinkKind::Unclosed:
    case GalleryPage::LinkKind::Other:
        break;
    }
    return 0;
}

LRESULT CDlgNewsletterCreate::OnTabCommand(WPARAM, LPARAM)
{
    UpdateMode();
    return 0;
}

LRESULT CDlgNewsletterCreate::OnChangeLocation(WPARAM, LPARAM)
{
    UpdateData(true);
    const QString chosen = BrowseForFolder(this, LoadAppString(11609), m_location);
    if (chosen.isEmpty())
        return 0;
    m_location = chosen;
    UpdateData(false);
    return 0;
}

LRESULT CDlgNewsletterCreate::OnLoadWebPage(WPARAM, LPARAM)
{
    UpdateData(true);
    if (!m_webAddress.contains(QLatin1String("http://")) && !m_webAddress.contains(QLatin1String("https://")))
        m_webAddress = QStringLiteral("http://") + m_webAddress;
    UpdateData(false);
    m_webBrowser.Navigate(m_webAddress);
    return 0;
}

LRESULT CDlgNewsletterCreate::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(IDD);
    return 0;
}

LRESULT CDlgNewsletterCreate::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    QPainter& painter = *dc.Painter();
    painter.setPen(QColor(157, 157, 161));
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(12, 39, 702 - 12 - 1, 450 - 39 - 1));
    return 0;
}

void CDlgNewsletterCreate::OnOK()
{
    UpdateData(true);
    if (m_webPageMode && m_webAddress.isEmpty())
    {
        AfxMessageBox(LoadAppString(11606));
        return;
    }
    // A name with a folder separator would put the file somewhere else than the location shown.
    if (!m_projectName.isEmpty() && (m_projectName.contains(u'/') || m_projectName.contains(u'\\')))
    {
        AfxMessageBox(LoadAppString(12915) + m_location + m_projectName, MB_ICONERROR);
        return;
    }
    if (m_projectName.isEmpty())
    {
        AfxMessageBox(LoadAppString(12915) + m_location, MB_ICONERROR);
        return;
    }
    if (QFileInfo::exists(m_location + m_projectName + QStringLiteral(".kvnl")) &&
        AfxMessageBox(LoadAppString(16100), MB_YESNOCANCEL) != IDYES)
        return;
    if (m_webPageMode)
        AfxMessageBox(LoadAppString(11607), MB_ICONINFORMATION);
    WriteAppSettingString(HKEY_CURRENT_USER, LocationSetting, m_location);
    CDialog::OnOK();
}
