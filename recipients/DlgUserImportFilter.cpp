#include "recipients/DlgUserImportFilter.h"

#include "dialogs/ShowHelp.h"
#include "ndb/NdbUserList.h"
#include "platform/core/AppStrings.h"
#include "res/dialogs/UserImportFilter.h"

#include <set>

namespace
{
constexpr UINT TemplateId = IDD_USER_IMPORT_FILTER;
constexpr int IdList = IDC_USER_IMPORT_MAP_LIST;
constexpr int IdDisable = IDC_DISABLE;
constexpr UINT IdSelectAll = IDC_SELECT_ALL;
constexpr UINT IdDeselectAll = IDC_DESELECT_ALL;
constexpr UINT IdHelp = IDC_HELP;
} // namespace

const MessageMap* CDlgUserImportFilter::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdSelectAll, &CDlgUserImportFilter::OnSelectAll),
        OnCommand(IdDeselectAll, &CDlgUserImportFilter::OnDeselectAll),
        OnCommand(IdHelp, &CDlgUserImportFilter::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgUserImportFilter::CDlgUserImportFilter(ndb::CNdbUserList& users, CWnd* parent)
    : CDialog(TemplateId, parent), m_users(users)
{
}

CDlgUserImportFilter::~CDlgUserImportFilter()
{
    DestroyWindow();
}

void CDlgUserImportFilter::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdList, m_list);
    DDX_Check(dx, IdDisable, m_disable);
}

bool CDlgUserImportFilter::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, LoadAppString(12600), LVCFMT_LEFT, client.Width() - 200);
    m_list.InsertColumn(1, LoadAppString(12601), LVCFMT_LEFT, 100);
    m_list.InsertColumn(2, LoadAppString(12602), LVCFMT_LEFT, 100);
    for (const auto& user : m_users.GetUsers())
    {
        const int item = m_list.InsertItem(m_list.GetItemCount(), user->GetString(ndb::UserEmail));
        m_list.SetItemText(item, 1, user->GetString(ndb::UserFirstName));
        m_list.SetItemText(item, 2, user->GetString(ndb::UserLastName));
        m_list.SetItemData(item, reinterpret_cast<UINT_PTR>(user.get()));
        m_list.SetCheck(item, true);
    }
    return true;
}

void CDlgUserImportFilter::SetAllChecks(bool checked)
{
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        m_list.SetCheck(i, checked);
}

LRESULT CDlgUserImportFilter::OnSelectAll(WPARAM, LPARAM)
{
    SetAllChecks(true);
    return 0;
}

LRESULT CDlgUserImportFilter::OnDeselectAll(WPARAM, LPARAM)
{
    SetAllChecks(false);
    return 0;
}

void CDlgUserImportFilter::OnOK()
{
    std::set<const ndb::CNdbUser*> unticked;
    for (int i = 0; i < m_list.GetItemCount(); ++i)
    {
        if (!m_list.GetCheck(i))
            unticked.insert(reinterpret_cast<const ndb::CNdbUser*>(m_list.GetItemData(i)));
    }
    for (auto& user : m_users.DetachAll())
    {
        if (unticked.count(user.get()) == 0)
            m_users.AddUser(std::move(user));
    }
    CDialog::OnOK();
}

LRESULT CDlgUserImportFilter::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
