#include "mailui/DlgSiteAccounts.h"

#include "base/AppSettings.h"
#include "dialogs/ShowHelp.h"
#include "ndb/NdbSender.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/WinApp.h"
#include "servicesui/SiteAccounts.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = 315;
constexpr int IdList = 1616;
constexpr UINT IdAdd = 1612;
constexpr UINT IdEdit = 1613;
constexpr UINT IdDelete = 1614;
constexpr UINT IdHelp = 1212;

constexpr quint32 CannotLoad = 12200;
constexpr quint32 ColumnHeading = 12201;
constexpr quint32 DeleteQuestion = 12202;
constexpr quint32 WizardCaption = 15611;
} // namespace

const MessageMap* CDlgSiteAccounts::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdAdd, &CDlgSiteAccounts::OnAdd),
        OnCommand(IdEdit, &CDlgSiteAccounts::OnEdit),
        OnNotify(NM_DBLCLK, &CDlgSiteAccounts::OnDoubleClick),
        OnCommand(IdDelete, &CDlgSiteAccounts::OnDelete),
        OnCommand(IdHelp, &CDlgSiteAccounts::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgSiteAccounts::CDlgSiteAccounts(CWnd* parent) : CDialog(TemplateId, parent) {}

void CDlgSiteAccounts::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdList, m_list);
}

bool CDlgSiteAccounts::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, LoadAppString(ColumnHeading), LVCFMT_LEFT, client.Width());
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    Refresh();
    return true;
}

void CDlgSiteAccounts::Refresh()
{
    const int remembered = m_list.GetSelectionMark();
    m_valueNames.clear();
    m_list.DeleteAllItems();
    for (int slot = 0; slot < SiteAccounts::MaxAccounts; ++slot)
    {
        const std::unique_ptr<CNdbSender> account = SiteAccounts::Read(slot);
        if (!account)
            continue;
        const int row = m_list.InsertItem(m_list.GetItemCount(), account->GetString(SenderSiteAddress));
        m_list.SetItemData(row, UINT_PTR(m_valueNames.size()));
        m_valueNames.append(SiteAccounts::SettingName(slot));
    }
    const int count = m_list.GetItemCount();
    if (count == 0)
        return;
    // After a delete the remembered row may be past the end: the last row takes its place.
    const int mark = remembered < 0 ? 0 : std::min(remembered, count - 1);
    m_list.SetItemState(mark, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetSelectionMark(mark);
}

QString CDlgSiteAccounts::GetSelectedValueName() const
{
    const int mark = m_list.GetSelectionMark();
    if (mark < 0)
        return {};
    const auto position = qsizetype(m_list.GetItemData(mark));
    return position < m_valueNames.size() ? m_valueNames[position] : QString();
}

void CDlgSiteAccounts::EditAccount(const QString& valueName)
{
    const QString caption = LoadAppString(WizardCaption);
    if (valueName.isEmpty())
    {
        SiteAccounts::CreateWithWizard(this, caption);
        return;
    }
    const std::unique_ptr<CNdbSender> account = SiteAccounts::Read(valueName);
    if (!account)
    {
        AfxMessageBox(LoadAppString(CannotLoad), MB_OK | MB_ICONERROR);
        return;
    }
    if (SiteAccounts::RunWizard(this, caption, *account))
        SiteAccounts::Write(valueName, *account);
}

LRESULT CDlgSiteAccounts::OnAdd(WPARAM, LPARAM)
{
    EditAccount(QString());
    Refresh();
    return 0;
}

LRESULT CDlgSiteAccounts::OnEdit(WPARAM, LPARAM)
{
    const QString name = GetSelectedValueName();
    if (name.isEmpty())
        return 0;
    EditAccount(name);
    Refresh();
    return 0;
}

LRESULT CDlgSiteAccounts::OnDoubleClick(WPARAM wParam, LPARAM lParam)
{
    return OnEdit(wParam, lParam);
}

LRESULT CDlgSiteAccounts::OnDelete(WPARAM, LPARAM)
{
    const QString name = GetSelectedValueName();
    if (name.isEmpty())
        return 0;
    if (AfxMessageBox(LoadAppString(DeleteQuestion), MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
        return 0;
    if (DeleteRegValueInUser(GetAppRegistryKey(), name))
        Refresh();
    return 0;
}

LRESULT CDlgSiteAccounts::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
