#include "servicesui/DlgFtpAdvanced.h"

#include "dialogs/ShowHelp.h"

namespace
{
constexpr UINT TemplateId = 184;
constexpr int IdWebsiteUrl = 1177;
constexpr int IdFtpServer = 1166;
constexpr int IdFtpUser = 1169;
constexpr int IdFtpPassword = 1171;
constexpr int IdFtpFolder = 1172;
constexpr int IdFtpPort = 1045;
constexpr int IdConnections = 1107;
constexpr int IdPassive = 1063;
constexpr UINT IdHelp = 1212;
constexpr int MaxConnections = 10;
} // namespace

const MessageMap* CDlgFtpAdvanced::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdHelp, &CDlgFtpAdvanced::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgFtpAdvanced::CDlgFtpAdvanced(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgFtpAdvanced::~CDlgFtpAdvanced()
{
    DestroyWindow();
}

void CDlgFtpAdvanced::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IdWebsiteUrl, m_websiteUrl);
    DDX_Text(dx, IdFtpServer, m_ftpServer);
    DDX_Text(dx, IdFtpUser, m_ftpUser);
    DDX_Text(dx, IdFtpPassword, m_ftpPassword);
    DDX_Text(dx, IdFtpFolder, m_ftpFolder);
    DDX_TextInteger(dx, IdFtpPort, m_ftpPort);
    DDX_Control(dx, IdConnections, m_connectionList);
    DDX_Radio(dx, IdPassive, m_connectionType);
}

bool CDlgFtpAdvanced::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_connectionList.ResetContent();
    for (int count = 1; count <= MaxConnections; ++count)
    {
        const int item = m_connectionList.AddString(QString::number(count));
        m_connectionList.SetItemData(item, UINT_PTR(count));
        if (count == m_connections)
            m_connectionList.SetCurSel(item);
    }
    return true;
}

void CDlgFtpAdvanced::OnOK()
{
    // Typed text that names no entry keeps the count the dialog began with.
    const int item = m_connectionList.GetCurSel();
    if (item >= 0)
        m_connections = int(m_connectionList.GetItemData(item));
    CDialog::OnOK();
}

LRESULT CDlgFtpAdvanced::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
