#include "recipients/DlgMailGroupCreate.h"

#include "base/AppSettings.h"
#include "base/TextHelpers.h"
#include "dialogs/ShowHelp.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/FileDialog.h"
#include "res/dialogs/MailGroupCreate.h"

#include <QFileInfo>

namespace
{
constexpr UINT TemplateId = IDD_MAIL_GROUP_CREATE;
constexpr int IdName = IDC_NAME;
constexpr int IdFolder = IDC_FOLDER;
constexpr UINT IdChangeLocation = IDC_NEWSLETTER_CREATE_EMPTY_CHANGE_LOCATION;
constexpr UINT IdHelp = IDC_HELP;
const QString FolderSetting = QStringLiteral("SavePath_Create");

} // namespace

const MessageMap* CDlgMailGroupCreate::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdChangeLocation, &CDlgMailGroupCreate::OnChangeLocation),
        OnCommand(IdHelp, &CDlgMailGroupCreate::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgMailGroupCreate::CDlgMailGroupCreate(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgMailGroupCreate::~CDlgMailGroupCreate()
{
    DestroyWindow();
}

bool CDlgMailGroupCreate::Ask(CWnd* parent, QString& name, QString& folder)
{
    CDlgMailGroupCreate dialog(parent);
    if (dialog.DoModal() != IDOK)
        return false;
    name = dialog.m_name;
    folder = dialog.m_folder;
    return true;
}

QString CDlgMailGroupCreate::ProposeName(const QString& folder)
{
    QString name = LoadAppString(11300);
    for (int n = 2; n <= 999; ++n)
    {
        if (!QFileInfo::exists(folder + name + QStringLiteral(".kvmg")))
            break;
        name = FormatResourceText(LoadAppString(11301), {QString::number(n)});
    }
    return name;
}

void CDlgMailGroupCreate::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IdName, m_name);
    QString shown = m_folder;
    DDX_Text(dx, IdFolder, shown);
}

bool CDlgMailGroupCreate::OnInitDialog()
{
    m_folder = WithTrailingSlash(GetSettingFolder(FolderSetting));
    m_name = ProposeName(m_folder);
    return CDialog::OnInitDialog();
}

LRESULT CDlgMailGroupCreate::OnChangeLocation(WPARAM, LPARAM)
{
    UpdateData(true);
    const QString chosen = BrowseForFolder(this, LoadAppString(11302), m_folder);
    if (chosen.isEmpty())
        return 0;
    m_folder = chosen;
    UpdateData(false);
    return 0;
}

void CDlgMailGroupCreate::OnOK()
{
    WriteAppSettingString(HKEY_CURRENT_USER, FolderSetting, m_folder);
    CDialog::OnOK();
}

LRESULT CDlgMailGroupCreate::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
