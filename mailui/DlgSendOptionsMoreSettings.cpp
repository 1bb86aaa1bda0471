#include "mailui/DlgSendOptionsMoreSettings.h"

#include "dialogs/ShowHelp.h"
#include "mailui/SenderValueCombo.h"
#include "ndb/NdbSender.h"
#include "ndb/SenderFieldTable.h"
#include "platform/ui/DataExchange.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = 306;
constexpr UINT IdDefaultDomain = 1610;
constexpr UINT IdCustomDomain = 1611;
constexpr int IdDomain = 1158;
constexpr int IdSmtpPort = 1598;
constexpr int IdPop3Port = 1600;
constexpr int IdConnections = 1103;
constexpr UINT IdHelp = 1212;

constexpr int ConnectionCounts[] = {1, 5, 10, 25, 50, 100};
constexpr int LowestPort = 1;
constexpr int HighestPort = 65535;
} // namespace

const MessageMap* CDlgSendOptionsMoreSettings::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdDefaultDomain, &CDlgSendOptionsMoreSettings::OnDomainChoice),
        OnCommand(IdCustomDomain, &CDlgSendOptionsMoreSettings::OnDomainChoice),
        OnCommand(IdHelp, &CDlgSendOptionsMoreSettings::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgSendOptionsMoreSettings::CDlgSendOptionsMoreSettings(CNdbSender* sender, CWnd* parent)
    : CDialog(TemplateId, parent), m_sender(sender)
{
}

bool CDlgSendOptionsMoreSettings::OnInitDialog()
{
    CNdbFieldValue domain;
    if (m_sender->GetField(SenderHeloDomain, domain))
    {
        m_domainChoice = 1;
        m_domain = domain.GetString();
    }
    m_smtpPort = m_sender->GetInt(SenderRelayPort, SenderPageDefault(SenderRelayPort));
    m_pop3Port = m_sender->GetInt(SenderPop3Port, SenderPageDefault(SenderPop3Port));
    CDialog::OnInitDialog();
    const int threads = m_sender->GetInt(SenderThreads, SenderPageDefault(SenderThreads));
    FillValueCombo(
        m_connectionsCombo, ConnectionCounts, [](int count) { return QString::number(count); }, threads);
    EnableDomain();
    return true;
}

void CDlgSendOptionsMoreSettings::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdConnections, m_connectionsCombo);
    DDX_Radio(dx, IdDefaultDomain, m_domainChoice);
    DDX_Text(dx, IdDomain, m_domain);
    DDX_TextInteger(dx, IdSmtpPort, m_smtpPort);
    DDV_MinMaxInt(dx, IdSmtpPort, m_smtpPort, LowestPort, HighestPort);
    DDX_TextInteger(dx, IdPop3Port, m_pop3Port);
    DDV_MinMaxInt(dx, IdPop3Port, m_pop3Port, LowestPort, HighestPort);
}

void CDlgSendOptionsMoreSettings::EnableDomain()
{
    DlgItem(IdDomain).EnableWindow(m_domainChoice == 1);
}

LRESULT CDlgSendOptionsMoreSettings::OnDomainChoice(WPARAM, LPARAM)
{
    UpdateData(true);
    EnableDomain();
    return 0;
}

void CDlgSendOptionsMoreSettings::OnOK()
{
    if (!UpdateData(true))
        return;
    if (m_domainChoice == 1)
        m_sender->SetField(SenderHeloDomain, CNdbFieldValue(m_domain));
    else
        m_sender->RemoveField(SenderHeloDomain);
    m_sender->SetField(SenderRelayPort, CNdbFieldValue(NdbValueInt, m_smtpPort));
    m_sender->SetField(SenderPop3Port, CNdbFieldValue(NdbValueInt, m_pop3Port));
    StoreComboValue(m_connectionsCombo, *m_sender, SenderThreads);
    EndDialog(IDOK);
}

LRESULT CDlgSendOptionsMoreSettings::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
