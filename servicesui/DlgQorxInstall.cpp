#include "servicesui/DlgQorxInstall.h"

#include "base/AppSettings.h"
#include "dialogs/ShowHelp.h"
#include "platform/core/AppStrings.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/WinApp.h"
#include "services/QorxInstaller.h"

namespace
{
constexpr UINT TemplateId = 239;
constexpr int IdDatabaseServer = 1039;
constexpr int IdDatabaseName = 1043;
constexpr int IdDatabaseUser = 1047;
constexpr int IdDatabasePassword = 1049;
constexpr int IdAdminUser = 1052;
constexpr int IdAdminPassword = 1059;
constexpr int IdAdminEmail = 1066;
constexpr int IdMailServer = 1078;
constexpr UINT IdInstall = 1465;
constexpr UINT IdHelp = 1212;

constexpr quint32 InstalledText = 10400;
constexpr quint32 NewerFrameworkText = 10401;
constexpr quint32 InvalidUrlText = 10402;
constexpr quint32 UnreachableUrlText = 10403;
constexpr quint32 UnknownErrorText = 10404;
constexpr quint32 NewerServiceText = 10406;

const QString FrameworkPackage = QStringLiteral("qorx_system_2_localhost");
const QString StatisticsPackage = QStringLiteral("ws_stats_newsletter");
const QString MailingListPackage = QStringLiteral("ws_mailinglist");
} // namespace

const MessageMap* CDlgQorxInstall::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdInstall, &CDlgQorxInstall::OnInstall),
        OnCommand(IdHelp, &CDlgQorxInstall::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgQorxInstall::CDlgQorxInstall() : CDialog(TemplateId) {}

CDlgQorxInstall::~CDlgQorxInstall()
{
    DestroyWindow();
}

void CDlgQorxInstall::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IdDatabaseServer, m_databaseServer);
    DDX_Text(dx, IdDatabaseName, m_databaseName);
    DDX_Text(dx, IdDatabaseUser, m_databaseUser);
    DDX_Text(dx, IdDatabasePassword, m_databasePassword);
    DDX_Text(dx, IdAdminUser, m_adminUser);
    DDX_Text(dx, IdAdminPassword, m_adminPassword);
    DDX_Text(dx, IdAdminEmail, m_adminEmail);
    DDX_Text(dx, IdMailServer, m_mailServer);
}

QString CDlgQorxInstall::ManifestPath(const QString& folder, const QString& package) const
{
    QString flavour;
    if (m_serverType == QLatin1String("asp"))
        flavour = QStringLiteral("_wisa_");
    else if (m_serverType == QLatin1String("php"))
        flavour = QStringLiteral("_lamp_");
    else
        return QString();
    return folder + package + flavour + m_languageCode + QStringLiteral(".xml");
}

QString CDlgQorxInstall::ServiceUrl(const QString& package) const
{
    QString page;
    if (m_serverType == QLatin1String("asp"))
        page = package + QStringLiteral("_services_wisa.asp");
    else if (m_serverType == QLatin1String("php"))
        page = package + QStringLiteral("_services_lamp.php");
    else
        return QString();
    return m_frameworkUrl.left(m_frameworkUrl.lastIndexOf(QLatin1Char('/')) + 1) + page;
}

LRESULT CDlgQorxInstall::OnInstall(WPARAM, LPARAM)
{
    UpdateData(true);
    QorxInstallSettings settings;
    settings.databaseServerUrl = m_databaseServer;
    settings.databaseName = m_databaseName;
    settings.databaseUserName = m_databaseUser;
    settings.databasePassword = m_databasePassword;
    settings.adminUserName = m_adminUser;
    settings.adminPassword = m_adminPassword;
    settings.adminEmail = m_adminEmail;
    settings.ftpServer = m_ftpServer;
    settings.ftpPort = m_ftpPort;
    settings.ftpUserName = m_ftpUser;
    settings.ftpPassword = m_ftpPassword;
    settings.ftpRemoteDirectory = m_ftpFolder;
    settings.serviceUrl = m_frameworkUrl;
    const QString folder = GetSystemPath() + QStringLiteral("qorx/");

    const WaitCursor wait;
    m_installed = false;
    CQorxInstaller installer;
    const QorxResultCode framework =
        installer.InstallPackage(ManifestPath(folder, FrameworkPackage), settings);
    if (framework == QorxResult::Success)
        m_installed = true;
    if (!Report(framework, Step::Framework))
        return 0;

    settings.serviceUrl = ServiceUrl(StatisticsPackage);
    if (!Report(installer.InstallPackage(ManifestPath(folder, StatisticsPackage), settings), Step::Service))
        return 0;
    settings.serviceUrl = ServiceUrl(MailingListPackage);
    Report(installer.InstallPackage(ManifestPath(folder, MailingListPackage), settings), Step::LastService);
    return 0;
}

bool CDlgQorxInstall::Report(QorxResultCode result, Step step)
{
    if (result == QorxResult::Success && step != Step::LastService)
        return true;
    if (result == QorxResult::Success)
    {
        AfxMessageBox(LoadAppString(InstalledText), MB_OK | MB_ICONINFORMATION);
        EndDialog(IDOK);
        return false;
    }
    if (result == QorxResult::NewerVersionInstalled)
    {
        AfxMessageBox(LoadAppString(step == Step::Framework ? NewerFrameworkText : NewerServiceText),
                      MB_OK | MB_ICONINFORMATION);
        // A newer statistics service keeps the dialog open; the mailing-list service is not tried.
        if (step != Step::Service)
            EndDialog(IDOK);
        return false;
    }
    QString text;
    if (result == QorxResult::AddressNotParsable)
        text = LoadAppString(InvalidUrlText);
    else if (result == QorxResult::RequestFailed || result == QorxResult::ReplyNotUsable)
        text = LoadAppString(UnreachableUrlText);
    else
        text = LoadAppString(UnknownErrorText) + (step == Step::Framework
                                                      ? QStringLiteral(" FrameworkGetStatus()")
                                                      : QStringLiteral(" FrameworkGetStatus() (Service)"));
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
    return false;
}

LRESULT CDlgQorxInstall::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
