#include "servicesui/PageSiteAccountProperties1.h"

#include "base/INetFile.h"
#include "controls/DlgProgress.h"
#include "dialogs/ShowHelp.h"
#include "ndb/NdbSender.h"
#include "platform/core/AppStrings.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/WinApp.h"
#include "services/FileSync.h"
#include "services/SiteAddress.h"
#include "servicesui/DlgFtpAdvanced.h"

#include <QCoreApplication>

using namespace ndb;

namespace
{
constexpr UINT TemplateId = 316;
constexpr int IdWebsiteUrl = 1177;
constexpr int IdFtpServer = 1166;
constexpr int IdFtpUser = 1169;
constexpr int IdFtpPassword = 1171;
constexpr UINT IdCheck = 1179;
constexpr UINT IdAdvanced = 1194;

constexpr quint32 AddressEmptyText = 10410;
constexpr quint32 NoFtpText = 10411;
constexpr quint32 CheckedText = 10412;
constexpr quint32 MismatchText = 10413;
constexpr quint32 NoListingText = 10414;
constexpr quint32 NoMatchText = 10415;
constexpr quint32 QuitText = 10416;
constexpr quint32 SearchTitleText = 10417;
constexpr quint32 CheckingText = 10418;

const QString TestMarker = QStringLiteral("[kv test file]");
const QString ProbeMarker = QStringLiteral("aaAAbbBBccCC4711");

// Numbers the test pages of the whole process.
int testFileCounter = 1;
} // namespace

const MessageMap* CPageSiteAccountProperties1::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdCheck, &CPageSiteAccountProperties1::OnCheck),
        OnCommand(IdAdvanced, &CPageSiteAccountProperties1::OnAdvanced),
        OnCommand(CDlgProgress::IDC_ABORT, &CPageSiteAccountProperties1::OnAbortSearch),
        OnNotify(PSN_HELP, &CPageSiteAccountProperties1::OnNotifyHelp),
    };
    static const MessageMap map{CPropertyPage::GetMessageMap(), entries};
    return &map;
}

CPageSiteAccountProperties1::CPageSiteAccountProperties1(CNdbSender* account)
    : CPropertyPage(TemplateId), m_account(account)
{
}

bool CPageSiteAccountProperties1::OnInitDialog()
{
    m_websiteUrl = m_account->GetString(SenderSiteAddress);
    m_ftpServer = m_account->GetString(SenderFtpServer);
    m_ftpUser = m_account->GetString(SenderFtpUser);
    m_ftpPassword = m_account->GetString(SenderFtpPassword);
    m_ftpFolder = m_account->GetString(SenderFtpFolder);
    m_ftpPort = m_account->GetInt(SenderSiteNumber424, 21);
    m_connections = m_account->GetInt(SenderSiteNumber425, 3);
    m_passive = m_account->GetBool(SenderSiteSwitch426, true);
    m_publishFolder = m_account->GetString(SenderWebViewFolder);
    m_serverType = m_account->GetString(SenderSiteType);
    m_verified = m_account->GetBool(SenderSiteWebView, false);
    return CPropertyPage::OnInitDialog();
}

void CPageSiteAccountProperties1::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IdWebsiteUrl, m_websiteUrl);
    DDX_Text(dx, IdFtpServer, m_ftpServer);
    DDX_Text(dx, IdFtpUser, m_ftpUser);
    DDX_Text(dx, IdFtpPassword, m_ftpPassword);
}

bool CPageSiteAccountProperties1::OnSetActive()
{
    if (CWnd* sheet = GetParent())
        sheet->SendMessage(PSM_SETWIZBUTTONS, 0, PSWIZB_NEXT);
    if (!m_firstActivation)
        UpdateData(false);
    m_firstActivation = false;
    return CPropertyPage::OnSetActive();
}

bool CPageSiteAccountProperties1::OnKillActive()
{
    UpdateData(true);
    {
        const WaitCursor wait;
        if (!CheckPublishingSettings(true))
            return false;
        m_serverType = ProbeServerType();
    }
    if (!m_websiteUrl.contains(QLatin1String("://")))
    {
        m_websiteUrl = CSiteAddress::WithScheme(m_websiteUrl);
        UpdateData(false);
    }
    StoreFields();
    return CPropertyPage::OnKillActive();
}

void CPageSiteAccountProperties1::StoreFields()
{
    m_account->SetField(SenderSiteAddress, CNdbFieldValue(m_websiteUrl));
    m_account->SetField(SenderFtpServer, CNdbFieldValue(m_ftpServer));
    m_account->SetField(SenderFtpUser, CNdbFieldValue(m_ftpUser));
    m_account->SetField(SenderFtpPassword, CNdbFieldValue(m_ftpPassword));
    m_account->SetField(SenderFtpFolder, CNdbFieldValue(m_ftpFolder));
    m_account->SetField(SenderSiteNumber424, CNdbFieldValue(NdbValueInt, m_ftpPort));
    m_account->SetField(SenderSiteNumber425, CNdbFieldValue(NdbValueInt, m_connections));
    m_account->SetField(SenderSiteSwitch426, CNdbFieldValue(NdbValueBool, m_passive));
    m_account->SetField(SenderWebViewFolder, CNdbFieldValue(m_publishFolder));
    m_account->SetField(SenderSiteType, CNdbFieldValue(m_serverType));
    m_account->SetField(SenderSiteWebView, CNdbFieldValue(NdbValueBool, m_verified));
}

bool CPageSiteAccountProperties1::OnQueryCancel()
{
    return AfxMessageBox(LoadAppString(QuitText), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

LRESULT CPageSiteAccountProperties1::OnNotifyHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}

LRESULT CPageSiteAccountProperties1::OnCheck(WPARAM, LPARAM)
{
    const WaitCursor wait;
    if (CheckPublishingSettings(false))
        m_serverType = ProbeServerType();
    return 0;
}

LRESULT CPageSiteAccountProperties1::OnAdvanced(WPARAM, LPARAM)
{
    UpdateData(true);
    CDlgFtpAdvanced dialog(this);
    dialog.m_websiteUrl = m_websiteUrl;
    dialog.m_ftpServer = m_ftpServer;
    dialog.m_ftpUser = m_ftpUser;
    dialog.m_ftpPassword = m_ftpPassword;
    dialog.m_ftpFolder = m_ftpFolder;
    dialog.m_ftpPort = m_ftpPort;
    dialog.m_connections = m_connections;
    dialog.m_connectionType = m_passive ? CDlgFtpAdvanced::Passive : CDlgFtpAdvanced::Active;
    if (dialog.DoModal() != IDOK)
        return 0;
    const bool passive = dialog.m_connectionType == CDlgFtpAdvanced::Passive;
    const bool same = dialog.m_websiteUrl == m_websiteUrl && dialog.m_ftpServer == m_ftpServer &&
                      dialog.m_ftpUser == m_ftpUser && dialog.m_ftpPassword == m_ftpPassword &&
                      dialog.m_ftpFolder == m_ftpFolder && dialog.m_ftpPort == m_ftpPort &&
                      dialog.m_connections == m_connections && passive == m_passive;
    if (same)
        return 0;
    m_verified = false;
    m_websiteUrl = dialog.m_websiteUrl;
    m_ftpServer = dialog.m_ftpServer;
    m_ftpUser = dialog.m_ftpUser;
    m_ftpPassword = dialog.m_ftpPassword;
    m_ftpFolder = dialog.m_ftpFolder;
    m_ftpPort = dialog.m_ftpPort;
    m_connections = dialog.m_connections;
    m_passive = passive;
    UpdateData(false);
    return 0;
}

LRESULT CPageSiteAccountProperties1::OnAbortSearch(WPARAM, LPARAM)
{
    m_abortSearch = true;
    return 0;
}

QString CPageSiteAccountProperties1::TestedFolder() const
{
    QString folder = m_ftpFolder;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

bool CPageSiteAccountProperties1::CheckPublishingSettings(bool quiet)
{
    UpdateData(true);
    m_verified = false;
    if (m_websiteUrl.isEmpty())
    {
        AfxMessageBox(LoadAppString(AddressEmptyText), MB_OK | MB_ICONEXCLAMATION);
        if (CWnd* edit = GetDlgItem(IdWebsiteUrl))
            edit->SetFocus();
        return false;
    }
    const CSiteAddress site(m_websiteUrl);
    if (!CFileSync::TestConnection(m_ftpServer, m_ftpPort, m_ftpUser, m_ftpPassword))
    {
        AfxMessageBox(LoadAppString(NoFtpText), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (TestUploadFolder(TestedFolder(), site, site.GetDeepestPath()))
    {
        Succeed(quiet);
        return true;
    }
    if (AfxMessageBox(LoadAppString(MismatchText), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    return SearchRemoteFolder(site, quiet);
}

void CPageSiteAccountProperties1::Succeed(bool quiet)
{
    if (!quiet)
        AfxMessageBox(LoadAppString(CheckedText), MB_OK | MB_ICONINFORMATION);
    m_verified = true;
}

bool CPageSiteAccountProperties1::SearchRemoteFolder(const CSiteAddress& site, bool quiet)
{
    QStringList folders{QString()};
    if (!CFileSync::ListRemoteTree(m_ftpServer, m_ftpPort, m_ftpUser, m_ftpPassword, QString(), folders, 1))
    {
        AfxMessageBox(LoadAppString(NoListingText), MB_OK | MB_ICONERROR);
        return false;
    }
    const QStringList& paths = site.GetUrlPaths();
    const int folderCount = int(folders.size());
    m_abortSearch = false;
    for (int u = 0; u < int(paths.size()) && !m_abortSearch; ++u)
    {
        CDlgProgress progress(this, this);
        progress.m_caption = LoadAppString(SearchTitleText);
        if (!progress.Create(CDlgProgress::IDD, this))
            return false;
        // Only the progress window takes input while the search runs: its Abort ends it.
        progress.GetSafeHwnd()->setWindowModality(Qt::ApplicationModal);
        progress.SetProgressRange(folderCount * int(paths.size()));
        progress.SetProgressPos(folderCount * u);
        progress.ShowWindow(SW_SHOW);
        QString found;
        bool anyFound = false;
        for (int f = 0; f < folderCount && !m_abortSearch; ++f)
        {
            progress.SetProgressPos(folderCount * u + f);
            progress.m_status = LoadAppString(CheckingText) + u' ' + folders[f];
            progress.UpdateData(false);
            // Paints, the progress window's own input and a pending Abort, between two tests only.
            QCoreApplication::processEvents();
            if (m_abortSearch)
                break;
            if (TestUploadFolder(folders[f], site, paths[u]))
            {
                found = folders[f];
                anyFound = true;
                break;
            }
        }
        progress.ShowWindow(SW_HIDE);
        UpdateWindow();
        if (anyFound && DeriveDeeperFolders(found, u, site))
        {
            Succeed(quiet);
            return true;
        }
    }
    AfxMessageBox(LoadAppString(NoMatchText), MB_OK | MB_ICONERROR);
    return false;
}

bool CPageSiteAccountProperties1::DeriveDeeperFolders(const QString& found, int u, const CSiteAddress& site)
{
    const QStringList& paths = site.GetUrlPaths();
    QString candidate = found;
    for (int j = u + 1; j < int(paths.size()); ++j)
    {
        const QString part = paths[j].mid(paths[u].size() + (u != 0 ? 1 : 0));
        candidate = found.isEmpty() ? part : found + u'/' + part;
        if (!TestUploadFolder(candidate, site, paths[j]))
            CFileSync::CreateRemoteDirectory(m_ftpServer, m_ftpPort, m_ftpUser, m_ftpPassword, candidate);
    }
    m_ftpFolder = candidate;
    return TestUploadFolder(m_ftpFolder, site, site.GetDeepestPath());
}

bool CPageSiteAccountProperties1::TestUploadFolder(const QString& folder, const CSiteAddress& site,
                                                   const QString& urlPath)
{
    QString path = urlPath;
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    const QString name = QStringLiteral("kv_testfile_tmp_%1.htm").arg(testFileCounter++);
    const QString page =
        QStringLiteral("<html><head></head><body>") + TestMarker + QStringLiteral("</body></html>");
    if (!CFileSync::UploadText(m_ftpServer, m_ftpPort, m_ftpUser, m_ftpPassword, folder, name, page, 0))
        return false;
    CINetFile request;
    const bool served =
        site.IsValid() &&
        request.SendRequest(site.GetHost(), path + name, QString(), site.GetPort(), site.IsSecure()) &&
        request.GetStatusCode() == 200 && request.ReadResponse() >= 0 &&
        request.GetResponseText().contains(TestMarker);
    request.Close();
    CFileSync::DeleteRemoteFile(m_ftpServer, m_ftpPort, m_ftpUser, m_ftpPassword, folder, name);
    return served;
}

QString CPageSiteAccountProperties1::ProbeServerType()
{
    UpdateData(true);
    QString serverHeader;
    const bool php =
        ProbeScript(QStringLiteral("testtestservertype.php"), QStringLiteral("<?php ?>") + ProbeMarker,
                    QStringLiteral("php"), serverHeader);
    const bool asp = ProbeScript(QStringLiteral("testtestservertype.asp"),
                                 QStringLiteral("<%@ language=\"javascript\"%>") + ProbeMarker,
                                 QStringLiteral("language="), serverHeader);
    if (asp && serverHeader.toLower().contains(QLatin1String("microsoft")))
        return QStringLiteral("asp");
    if (php)
        return QStringLiteral("php");
    return asp ? QStringLiteral("asp") : QString();
}

bool CPageSiteAccountProperties1::ProbeScript(const QString& name, const QString& source,
                                              const QString& unprocessedTell, QString& serverHeader)
{
    // The probe goes where the check found the site served, also for a folder typed with "\".
    const QString folder = TestedFolder();
    if (!CFileSync::UploadText(m_ftpServer, m_ftpPort, m_ftpUser, m_ftpPassword, folder, name, source, 0))
        return false;
    const CSiteAddress site(m_websiteUrl);
    QString path = site.GetDeepestPath();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    bool runs = false;
    CINetFile request;
    if (site.IsValid() &&
        request.SendRequest(site.GetHost(), path + name, QString(), site.GetPort(), site.IsSecure()) &&
        request.GetStatusCode() == 200)
    {
        if (serverHeader.isEmpty())
            serverHeader = request.GetServerHeader();
        request.ReadResponse();
        const QString body = request.GetResponseText();
        runs = body.contains(ProbeMarker) && !body.contains(unprocessedTell);
    }
    request.Close();
    CFileSync::DeleteRemoteFile(m_ftpServer, m_ftpPort, m_ftpUser, m_ftpPassword, folder, name);
    return runs;
}
