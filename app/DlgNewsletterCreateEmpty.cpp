#include "app/DlgNewsletterCreateEmpty.h"

#include "base/AppSettings.h"
#include "base/TextHelpers.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/WinApp.h"
#include "res/dialogs/NewsletterCreateEmpty.h"

#include <QFileInfo>

namespace
{
constexpr UINT TemplateId = IDD_NEWSLETTER_CREATE_EMPTY;
constexpr int IdName = IDC_NAME;
constexpr int IdLocation = IDC_LOCATION;
constexpr UINT IdChangeLocation = IDC_NEWSLETTER_CREATE_EMPTY_CHANGE_LOCATION;
constexpr quint32 CantCreateNewsletterText = 12915;
const QString LocationSetting = QStringLiteral("SavePath_Create");

} // namespace

const MessageMap* CDlgNewsletterCreateEmpty::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdChangeLocation, &CDlgNewsletterCreateEmpty::OnChangeLocation),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgNewsletterCreateEmpty::CDlgNewsletterCreateEmpty(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgNewsletterCreateEmpty::~CDlgNewsletterCreateEmpty()
{
    DestroyWindow();
}

bool CDlgNewsletterCreateEmpty::Ask(CWnd* parent, QString& name, QString& folder)
{
    CDlgNewsletterCreateEmpty dialog(parent);
    if (dialog.DoModal() != IDOK)
        return false;
    name = dialog.m_name;
    folder = dialog.m_location;
    return true;
}

QString CDlgNewsletterCreateEmpty::ProposeName(const QString& folder)
{
    QString name = LoadAppString(11700);
    for (int n = 2; n <= 999 && QFileInfo::exists(folder + name + QStringLiteral(".kvnl")); ++n)
        name = FormatResourceText(LoadAppString(11701), {QString::number(n)});
    return name;
}

bool CDlgNewsletterCreateEmpty::IsUsableName(const QString& name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\');
}

void CDlgNewsletterCreateEmpty::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IdName, m_name);
    QString shown = m_location;
    DDX_Text(dx, IdLocation, shown);
}

bool CDlgNewsletterCreateEmpty::OnInitDialog()
{
    m_location = WithTrailingSlash(GetSettingFolder(LocationSetting));
    m_name = ProposeName(m_location);
    return CDialog::OnInitDialog();
}

LRESULT CDlgNewsletterCreateEmpty::OnChangeLocation(WPARAM, LPARAM)
{
    UpdateData(true);
    const QString chosen = BrowseForFolder(this, LoadAppString(11702), m_location);
    if (chosen.isEmpty())
        return 0;
    m_location = chosen;
    UpdateData(false);
    return 0;
}

void CDlgNewsletterCreateEmpty::OnOK()
{
    if (!UpdateData(true))
        return;
    // A name with a folder separator would put the file somewhere else than the location shown.
    if (!IsUsableName(m_name))
    {
        AfxMessageBox(LoadAppString(CantCreateNewsletterText) + m_location + m_name, MB_ICONERROR);
        return;
    }
    WriteAppSettingString(HKEY_CURRENT_USER, LocationSetting, m_location);
    CDialog::OnOK();
}
