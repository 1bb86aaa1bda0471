#include "dialogs/DlgHtmlListProperties.h"

#include "dialogs/ShowHelp.h"
#include "res/dialogs/HtmlListProperties.h"

namespace
{
constexpr UINT TemplateId = IDD_HTML_LIST_PROPERTIES;
constexpr int IdWrapping = IDC_LIST_WRAPPING;
constexpr int IdUnordered = IDC_UNORDERED;
constexpr int IdOrdered = IDC_ORDERED;
constexpr UINT IdHelp = IDC_HELP;
constexpr int BulletIds[] = {IDC_DEFAULT, IDC_CIRCLE, IDC_DISC, IDC_SQUARE};
constexpr int NumberingIds[] = {IDC_DEFAULT2, IDC_N1_2_3, IDC_B_C, IDC_B_C2, IDC_I_II_III, IDC_I_II_III2};
} // namespace

const MessageMap* CDlgHtmlListProperties::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(BN_CLICKED, IdUnordered, &CDlgHtmlListProperties::OnTypeClicked),
        OnControl(BN_CLICKED, IdOrdered, &CDlgHtmlListProperties::OnTypeClicked),
        OnCommand(IdHelp, &CDlgHtmlListProperties::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgHtmlListProperties::CDlgHtmlListProperties(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgHtmlListProperties::~CDlgHtmlListProperties()
{
    DestroyWindow();
}

void CDlgHtmlListProperties::DoDataExchange(CDataExchange* dx)
{
    DDX_Radio(dx, IdWrapping, m_wrapping);
    DDX_Radio(dx, IdUnordered, m_ordered);
    DDX_Radio(dx, BulletIds[0], m_bullet);
    DDX_Radio(dx, NumberingIds[0], m_numbering);
}

bool CDlgHtmlListProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_bullet > 0)
        m_ordered = 0;
    if (m_numbering > 0)
        m_ordered = 1;
    EnableGroups(m_ordered == 1);
    UpdateData(false);
    return true;
}

void CDlgHtmlListProperties::EnableGroups(bool ordered)
{
    for (const int id : BulletIds)
        DlgItem(id).EnableWindow(!ordered);
    for (const int id : NumberingIds)
        DlgItem(id).EnableWindow(ordered);
}

LRESULT CDlgHtmlListProperties::OnTypeClicked(WPARAM, LPARAM)
{
    UpdateData(true);
    EnableGroups(m_ordered == 1);
    return 0;
}

LRESULT CDlgHtmlListProperties::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
