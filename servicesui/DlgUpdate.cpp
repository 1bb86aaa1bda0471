#include "servicesui/DlgUpdate.h"

#include "base/AppSettings.h"
#include "base/INetFile.h"
#include "base/Md5Digest.h"
#include "base/TextHelpers.h"
#include "dialogs/ShowHelp.h"
#include "platform/core/AppStrings.h"
#include "platform/core/ModulePath.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/PropertyPage.h"
#include "platform/ui/WinApp.h"
#include "services/QorxInstaller.h"
#include "services/UpdateFiles.h"
#include "services/UpdateReply.h"
#include "services/WebAddress.h"
#include "x2/X2Validator.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace
{
constexpr UINT TemplateId = 209;
constexpr int IdList = 1344;
constexpr int IdStatus = 1302;
constexpr int IdProgress = 1363;
constexpr UINT IdHelp = 1212;

constexpr quint32 QueryFailedText = 10440;
constexpr quint32 NoUpdatesText = 10441;
constexpr quint32 InstallNowText = 10442;
constexpr quint32 DownloadingText = 10443;
constexpr quint32 CompleteText = 10444;
constexpr quint32 RestartText = 10445;
constexpr quint32 DamagedText = 10446;
constexpr quint32 SystemInstallText = 10447;
constexpr quint32 FirstColumnText = 15601;
constexpr quint32 NoUpdateSourceText = 40102;

constexpr int NameColumnMargin = 185;
constexpr int Kilobyte = 1024;
constexpr int Megabyte = 1024 * 1024;

QString ProgramFileName()
{
    return QFileInfo(GetModuleFileName()).fileName();
}
} // namespace

const MessageMap* CDlgUpdate::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdHelp, &CDlgUpdate::OnHelp),
        OnNotify(PSN_HELP, &CDlgUpdate::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

bool CDlgUpdate::Run(CWnd* parent, bool automatic)
{
    CDlgUpdate dialog(automatic, parent);
    dialog.DoModal();
    return dialog.m_restart;
}

CDlgUpdate::CDlgUpdate(bool automatic, CWnd* parent)
    : CDialog(TemplateId, parent),
      m_storeAddress(GetStoreAddress().isEmpty() ? QString()
                                                 : GetStoreAddress() + QStringLiteral("/kv/update.asp")),
      m_automatic(automatic)
{
}

CDlgUpdate::~CDlgUpdate()
{
    DestroyWindow();
}

QString CDlgUpdate::UpdateIdName()
{
    return QStringLiteral("UpdateId_") + GetLanguageCode();
}

CDlgUpdate::QueryResult CDlgUpdate::QueryUpdates()
{
    m_packages.clear();
    m_restart = false;
    quint32 installed = 0;
    ReadAppSettingDword(HKEY_LOCAL_MACHINE, UpdateIdName(), installed);
    const QString address = m_storeAddress + QStringLiteral("?lang=") + GetLanguageCode() +
                            QStringLiteral("&updateid=") + QString::number(installed);
    CX2Validator reply;
    if (CQorxInstaller().FetchXml(reply, address) != QorxResult::Success)
        return QueryFailed;
    return QueryResult(UpdateReply::Read(reply, m_packages));
}

void CDlgUpdate::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdList, m_list);
    DDX_Control(dx, IdProgress, m_progress);
}

bool CDlgUpdate::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_storeAddress.isEmpty())
    {
        if (!m_automatic)
            AfxMessageBox(LoadAppString(NoUpdateSourceText), MB_OK | MB_ICONINFORMATION);
        EndDialog(IDCANCEL);
        return true;
    }
    const QueryResult result = [this]
    {
        const WaitCursor wait;
        return QueryUpdates();
    }();
    if (result == QueryFailed || result == QueryInvalid || result == NoUpdates)
    {
        if (!m_automatic)
            AfxMessageBox(LoadAppString(result == NoUpdates ? NoUpdatesText : QueryFailedText),
                          MB_OK | (result == NoUpdates ? MB_ICONINFORMATION : MB_ICONERROR));
        EndDialog(IDCANCEL);
        return true;
    }
    if (m_automatic && AfxMessageBox(LoadAppString(InstallNowText), MB_YESNO | MB_ICONQUESTION) != IDYES)
    {
        EndDialog(IDCANCEL);
        return true;
    }

    CRect client;
    m_list.GetClientRect(&client);
    const int widths[] = {40, client.Width() - NameColumnMargin, 60, 60};
    for (int column = 0; column < 4; ++column)
        m_list.InsertColumn(column, LoadAppString(FirstColumnText + quint32(column)), LVCFMT_LEFT,
                            widths[column]);
    FillList();
    m_progress.ShowWindow(SW_HIDE);
    return true;
}

QString CDlgUpdate::SizeText(int size)
{
    if (size < Kilobyte)
        return QString::number(size);
    if (size < Megabyte)
        return QStringLiteral("%1 KB").arg(size / Kilobyte);
    return QStringLiteral("%1 MB").arg(size / Megabyte);
}

QString CDlgUpdate::StatusText(const UpdatePackage& package)
{
    if (package.bytesDownloaded <= 0)
        return QStringLiteral("-");
    if (package.bytesDownloaded < package.size)
        return QStringLiteral("%1%").arg(qint64(package.bytesDownloaded) * 100 / package.size);
    return QStringLiteral("Done!");
}

void CDlgUpdate::FillList()
{
    m_list.DeleteAllItems();
    for (std::size_t i = 0; i < m_packages.size(); ++i)
    {
        const UpdatePackage& package = m_packages[i];
        const int row = m_list.InsertItem(int(i), QString::number(package.id));
        m_list.SetItemText(row, 1, package.name);
        m_list.SetItemText(row, 2, SizeText(package.size));
        m_list.SetItemText(row, 3, StatusText(package));
    }
}

void CDlgUpdate::SetStatusLine(const QString& text)
{
    if (CWnd* status = GetDlgItem(IdStatus))
        status->SetWindowText(text);
}

void CDlgUpdate::OnOK()
{
    UpdateData(true);
    m_progress.SetRange32(0, 10);
    m_progress.SetPos(0);
    m_progress.ShowWindow(SW_SHOW);
    for (std::size_t i = 0; i < m_packages.size() && !m_restart; ++i)
    {
        UpdatePackage& package = m_packages[i];
        m_list.SetItemState(int(i), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_list.UpdateWindow();
        SetStatusLine(FormatResourceText(LoadAppString(DownloadingText), {package.name}));
        if (!DownloadAndInstall(package))
        {
            m_progress.ShowWindow(SW_HIDE);
            SetStatusLine(QString());
            return;
        }
        WriteAppSettingDword(HKEY_CURRENT_USER, UpdateIdName(), quint32(package.id));
        UpdateWindow();
    }
    m_progress.ShowWindow(SW_HIDE);
    SetStatusLine(QString());
    if (!m_restart)
        AfxMessageBox(LoadAppString(CompleteText), MB_OK | MB_ICONINFORMATION);
    EndDialog(IDOK);
}

bool CDlgUpdate::DownloadAndInstall(UpdatePackage& package)
{
    const QString target = package.files ? GetSystemPath() : GetAppPath();
    if (!QFileInfo(target).isWritable())
    {
        AfxMessageBox(LoadAppString(SystemInstallText), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    const QString folder = UpdateFiles::DownloadFolder();
    const QString download =
        folder + QStringLiteral("package_%1_%2.zip").arg(package.id).arg(GetLanguageCode());
    const bool installed =
        !folder.isEmpty() && Download(package, download) && UpdateFiles::UnpackWhole(download, target);
    QFile::remove(download);
    if (!installed)
    {
        package.bytesDownloaded = 0;
        FillList();
        AfxMessageBox(FormatResourceText(LoadAppString(DamagedText), {package.name}), MB_OK | MB_ICONERROR);
        return false;
    }
    if (!package.files && QFileInfo::exists(GetAppPath() + ProgramFileName() + QStringLiteral("_new")))
        HandOverToNewProgram();
    return true;
}

bool CDlgUpdate::Download(UpdatePackage& package, const QString& path)
{
    const WaitCursor wait;
    CWebAddress address;
    if (!CWebAddress::Crack(package.fileUrl, address))
        return false;
    m_progress.SetRange32(0, package.size);
    m_progress.SetPos(0);
    CINetFile request;
    // A package has exactly its size: more bytes end the transfer as a failure.
    request.SetMaxBodySize(package.size);
    request.SetBodyProgress(
        [&](qint64 received)
        {
            package.bytesDownloaded = int(received);
            m_progress.SetPos(int(received));
            FillList();
            m_list.UpdateWindow();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    if (!request.SendRequest(address.GetHost(), address.GetPathWithQuery(), QString(), address.GetPort(),
                             address.IsSecure()) ||
        request.GetStatusCode() < 200 || request.GetStatusCode() > 299)
        return false;
    request.ReadResponse();
    const QByteArray& bytes = request.GetBody();
    const CMd5Digest digest(bytes.constData(), int(bytes.size()));
    if (bytes.size() != package.size || digest.GetDigest().compare(package.md5, Qt::CaseInsensitive) != 0)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    package.bytesDownloaded = package.size;
    FillList();
    return file.error() == QFileDevice::NoError;
}

void CDlgUpdate::HandOverToNewProgram()
{
    const QString newProgram = GetAppPath() + ProgramFileName() + QStringLiteral("_new");
    AfxMessageBox(LoadAppString(RestartText), MB_OK | MB_ICONINFORMATION);
    QFile::setPermissions(newProgram, QFile::permissions(newProgram) | QFile::ExeOwner);
    QProcess::startDetached(newProgram, {QStringLiteral("-restart:\"") + ProgramFileName() + u'"'});
    m_restart = true;
}

LRESULT CDlgUpdate::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
