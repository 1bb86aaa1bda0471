#include "servicesui/PageSiteAccountProperties2.h"

#include "dialogs/ShowHelp.h"
#include "ndb/NdbSender.h"
#include "platform/core/AppStrings.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/WinApp.h"
#include "services/QorxInstaller.h"
#include "services/SiteAddress.h"
#include "servicesui/DlgQorxInstall.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = 318;
constexpr int IdAdminUser = 1052;
constexpr int IdAdminPassword = 1059;
constexpr UINT IdCheck = 1628;
constexpr UINT IdInstall = 1500;

constexpr quint32 QuitText = 10416;
constexpr quint32 RefusedText = 10420;
constexpr quint32 NotFoundText = 10421;
constexpr quint32 ConnectedText = 10422;
} // namespace

const MessageMap* CPageSiteAccountProperties2::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdCheck, &CPageSiteAccountProperties2::OnCheck),
        OnCommand(IdInstall, &CPageSiteAccountProperties2::OnInstall),
        OnNotify(PSN_HELP, &CPageSiteAccountProperties2::OnNotifyHelp),
    };
    static const MessageMap map{CPropertyPage::GetMessageMap(), entries};
    return &map;
}

CPageSiteAccountProperties2::CPageSiteAccountProperties2(CNdbSender* account)
    : CPropertyPage(TemplateId), m_account(account)
{
}

QString CPageSiteAccountProperties2::FrameworkUrl(const QString& websiteAddress, const QString& serverType)
{
    QString site = websiteAddress;
    site.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!site.endsWith(QLatin1Char('/')))
        site += QLatin1Char('/');
    site = CSiteAddress::WithScheme(site);
    if (serverType == QLatin1String("asp"))
        return site + QStringLiteral("admin/qorx_2_services_wisa.asp");
    if (serverType == QLatin1String("php"))
        return site + QStringLiteral("admin/qorx_2_services_lamp.php");
    return QString();
}

void CPageSiteAccountProperties2::LoadFromRecord()
{
    m_adminUser = m_account->GetString(SenderSiteAccess630);
    m_adminPassword = m_account->GetString(SenderSiteAccess631);
    const QString url =
        FrameworkUrl(m_account->GetString(SenderSiteAddress), m_account->GetString(SenderSiteType));
    // Another server type keeps the address the page had.
    if (!url.isEmpty())
        m_frameworkUrl = url;
    UpdateData(false);
}

bool CPageSiteAccountProperties2::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    LoadFromRecord();
    return true;
}

void CPageSiteAccountProperties2::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IdAdminUser, m_adminUser);
    DDX_Text(dx, IdAdminPassword, m_adminPassword);
}

bool CPageSiteAccountProperties2::OnSetActive()
{
    if (CWnd* sheet = GetParent())
        sheet->SendMessage(PSM_SETWIZBUTTONS, 0, PSWIZB_BACK | PSWIZB_FINISH);
    LoadFromRecord();
    if (!m_firstActivation)
        UpdateData(false);
    m_firstActivation = false;
    return CPropertyPage::OnSetActive();
}

bool CPageSiteAccountProperties2::OnKillActive()
{
    UpdateData(true);
    if (!CheckFrameworkConnection(true))
        return false;
    m_account->SetField(SenderSiteAccess630, CNdbFieldValue(m_adminUser));
    m_account->SetField(SenderSiteAccess631, CNdbFieldValue(m_adminPassword));
    m_account->SetField(SenderSiteAccess650, CNdbFieldValue(m_frameworkUrl));
    return CPropertyPage::OnKillActive();
}

bool CPageSiteAccountProperties2::OnWizardFinish()
{
    return OnKillActive();
}

bool CPageSiteAccountProperties2::OnQueryCancel()
{
    return AfxMessageBox(LoadAppString(QuitText), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

LRESULT CPageSiteAccountProperties2::OnNotifyHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}

LRESULT CPageSiteAccountProperties2::OnCheck(WPARAM, LPARAM)
{
    CheckFrameworkConnection(false);
    return 0;
}

bool CPageSiteAccountProperties2::CheckFrameworkConnection(bool quiet)
{
    UpdateData(true);
    const WaitCursor wait;
    m_account->SetField(SenderDynamicServices, CNdbFieldValue(NdbValueBool, false));
    m_account->SetField(SenderSiteStatistics, CNdbFieldValue(NdbValueBool, false));
    if (m_adminUser.isEmpty())
        return true;
    QString packageId;
    int packageVersion = 0;
    const QorxResultCode result = CQorxInstaller().GetStatus(QString(), m_frameworkUrl, m_adminUser,
                                                             m_adminPassword, packageId, packageVersion);
    if (result == QorxResult::Refused)
    {
        AfxMessageBox(LoadAppString(RefusedText), MB_OK | MB_ICONERROR);
        return false;
    }
    if (result != QorxResult::Success)
    {
        AfxMessageBox(LoadAppString(NotFoundText), MB_OK | MB_ICONERROR);
        return false;
    }
    if (!quiet)
        AfxMessageBox(LoadAppString(ConnectedText), MB_OK | MB_ICONINFORMATION);
    m_account->SetField(SenderDynamicServices, CNdbFieldValue(NdbValueBool, true));
    m_account->SetField(SenderSiteStatistics, CNdbFieldValue(NdbValueBool, true));
    return true;
}

LRESULT CPageSiteAccountProperties2::OnInstall(WPARAM, LPARAM)
{
    UpdateData(true);
    CDlgQorxInstall dialog;
    dialog.m_frameworkUrl = m_frameworkUrl;
    dialog.m_languageCode = GetLanguageCode();
    dialog.m_serverType = m_account->GetString(SenderSiteType);
    dialog.m_ftpServer = m_account->GetString(SenderFtpServer);
    dialog.m_ftpPort = m_account->GetInt(SenderSiteNumber424, 21);
    dialog.m_ftpUser = m_account->GetString(SenderFtpUser);
    dialog.m_ftpPassword = m_account->GetString(SenderFtpPassword);
    dialog.m_ftpFolder = m_account->GetString(SenderFtpFolder);
    dialog.m_adminUser = m_adminUser;
    dialog.m_adminPassword = m_adminPassword;
    dialog.m_adminEmail = m_account->GetString(SenderAdminEmail);
    dialog.m_databaseServer = m_account->GetString(SenderDatabaseServer);
    dialog.m_databaseName = m_account->GetString(SenderDatabaseName);
    dialog.m_databaseUser = m_account->GetString(SenderDatabaseUser);
    dialog.m_databasePassword = m_account->GetString(SenderDatabasePassword);
    dialog.m_mailServer = m_account->GetString(SenderSiteMailServer);
    dialog.DoModal();
    // Once the framework went up, the site holds these values, whatever the services did and
    // however the dialog was closed; without an installation the account stays as it was.
    if (!dialog.m_installed)
        return 0;
    m_account->SetField(SenderSiteAccess630, CNdbFieldValue(dialog.m_adminUser));
    m_account->SetField(SenderSiteAccess631, CNdbFieldValue(dialog.m_adminPassword));
    m_account->SetField(SenderAdminEmail, CNdbFieldValue(dialog.m_adminEmail));
    m_account->SetField(SenderDatabaseServer, CNdbFieldValue(dialog.m_databaseServer));
    m_account->SetField(SenderDatabaseName, CNdbFieldValue(dialog.m_databaseName));
    m_account->SetField(SenderDatabaseUser, CNdbFieldValue(dialog.m_databaseUser));
    m_account->SetField(SenderDatabasePassword, CNdbFieldValue(dialog.m_databasePassword));
    m_account->SetField(SenderSiteMailServer, CNdbFieldValue(dialog.m_mailServer));
    m_account->SetField(SenderSiteStatistics, CNdbFieldValue(NdbValueBool, true));
    LoadFromRecord();
    return 0;
}
