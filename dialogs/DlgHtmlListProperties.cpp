#include "dialogs/DlgHtmlListProperties.h"

#include "dialogs/ShowHelp.h"

namespace
{
constexpr UINT TemplateId = 196;
constexpr int IdWrapping = 1310;
constexpr int IdUnordered = 1315;
constexpr int IdOrdered = 1314;
constexpr UINT IdHelp = 1212;
constexpr int BulletIds[] = {1403, 1402, 1404, 1405};
constexpr int NumberingIds[] = {1338, 1337, 1339, 1341, 1340, 1342};
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
