#include "mailui/PageSenderSendOptions.h"
#include "mailui/SenderValueCombo.h"

#include "base/TextHelpers.h"
#include "dialogs/ShowHelp.h"
#include "mail/DirectDeliveryTest.h"
#include "mail/MailDomains.h"
#include "mail/VexaMail.h"
#include "mail/VexaPop3.h"
#include "mailui/DlgSendOptionsMoreSettings.h"
#include "mailui/SenderSettingsImport.h"
#include "ndb/NdbSender.h"
#include "ndb/SenderFieldTable.h"
#include "platform/core/AppStrings.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/Button.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Static.h"
#include "platform/ui/WinApp.h"

#include <thread>

using namespace ndb;

namespace
{
constexpr UINT TemplateId = 175;
constexpr UINT IdDirect = 1054;
constexpr UINT IdRelay = 1060;
constexpr int IdRelayLabel = 1607;
constexpr int IdRelayServer = 1042;
constexpr UINT IdCommonServers = 1651;
constexpr UINT IdThrottle = 1098;
constexpr int IdPauseAfterLabel = 1608;
constexpr int IdPauseSecondsLabel = 1609;
constexpr int IdPauseAfter = 1599;
constexpr int IdPauseSeconds = 1105;
constexpr UINT IdAuthentication = 1097;
constexpr int IdUserLabel = 1605;
constexpr int IdPasswordLabel = 1606;
constexpr int IdRelayUser = 1159;
constexpr int IdRelayPassword = 1161;
constexpr UINT IdCheckDirect = 1192;
constexpr UINT IdCheckRelay = 1181;
constexpr UINT IdBounces = 1601;
constexpr int IdPop3Label = 1602;
constexpr int IdPop3UserLabel = 1603;
constexpr int IdPop3PasswordLabel = 1604;
constexpr int IdPop3Server = 1163;
constexpr int IdPop3User = 1164;
constexpr int IdPop3Password = 1111;
constexpr UINT IdCheckPop3 = 1186;
constexpr UINT IdMoreSettings = 1184;
constexpr UINT IdCopySettings = 1578;

constexpr int PauseAfterValues[] = {1, 2, 3, 4, 5, 10, 15, 20, 25, 50, 100, 250, 500, 1000};
constexpr int PauseSecondsValues[] = {1,  2,  3,   4,   5,   10,  15,  20,   30,
                                      45, 60, 120, 180, 240, 300, 600, 1800, 3600};

constexpr quint32 SecondsFormat = 13400;
constexpr quint32 MinutesFormat = 13401;
constexpr quint32 SecondsPlural = 13402;
constexpr quint32 MinutesPlural = 13403;
constexpr quint32 DirectAllowed = 13404;
constexpr quint32 DirectRefused = 13405;
// Posted to the page by the direct-delivery check with its result in wParam.
constexpr UINT WM_DIRECTCHECKED = WM_USER + 2410;
constexpr quint32 Connected = 13406;
constexpr quint32 CannotConnect = 13407;
constexpr quint32 CannotLogin = 13408;
constexpr quint32 LoginMightBeRequired = 13409;
constexpr quint32 RelayingRefused = 13410;
constexpr quint32 InvalidLogin = 13411;
constexpr SenderImportTexts ImportTexts{13412, 13413, 13414, 13415};

constexpr int SmtpServerListPage = 3;

QString CountText(int count)
{
    return QString::number(count);
}

// "%d unit%s": the number, then the plural ending unless it is below two.
QString UnitText(quint32 format, quint32 plural, int count)
{
    return LoadAppString(format)
        .replace(QStringLiteral("%d"), QString::number(count))
        .replace(QStringLiteral("%s"), count < 2 ? QString() : LoadAppString(plural));
}

void Tell(quint32 text, UINT icon)
{
    AfxMessageBox(LoadAppString(text), MB_OK | icon);
}

void CopyOptional(CNdbSender& target, const CNdbSender& source, int id)
{
    CNdbFieldValue value;
    if (source.GetField(id, value))
        target.SetField(id, value);
    else
        target.RemoveField(id);
}
} // namespace

const MessageMap* CPageSenderSendOptions::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdDirect, &CPageSenderSendOptions::OnMethod),
        OnCommand(IdRelay, &CPageSenderSendOptions::OnMethod),
        OnCommand(IdAuthentication, &CPageSenderSendOptions::OnAuthentication),
        OnCommand(IdThrottle, &CPageSenderSendOptions::OnThrottle),
        OnCommand(IdBounces, &CPageSenderSendOptions::OnBounce),
        OnCommand(IdCheckDirect, &CPageSenderSendOptions::OnCheckDirect),
        OnMessage(WM_DIRECTCHECKED, &CPageSenderSendOptions::OnDirectChecked),
        OnCommand(IdCheckRelay, &CPageSenderSendOptions::OnCheckRelay),
        OnCommand(IdCheckPop3, &CPageSenderSendOptions::OnCheckPop3),
        OnCommand(IdMoreSettings, &CPageSenderSendOptions::OnMoreSettings),
        OnControl(STN_CLICKED, IdCommonServers, &CPageSenderSendOptions::OnCommonServers),
        OnCommand(IdCopySettings, &CPageSenderSendOptions::OnCopySettings),
        OnNotify(PSN_HELP, &CPageSenderSendOptions::OnNotifyHelp),
    };
    static const MessageMap map{CPropertyPage::GetMessageMap(), entries};
    return &map;
}

CPageSenderSendOptions::CPageSenderSendOptions(CNdbSender* sender, const CNdbUserList* recipients)
    : CPropertyPage(TemplateId), m_sender(sender), m_recipients(recipients)
{
}

CPageSenderSendOptions::~CPageSenderSendOptions()
{
    const std::lock_guard lock(m_directCheckOwner->mutex);
    m_directCheckOwner->page = nullptr;
}

QString CPageSenderSendOptions::PauseText(int seconds)
{
    const int minutes = seconds / 60;
    if (minutes >= 1)
        return UnitText(MinutesFormat, MinutesPlural, minutes);
    return UnitText(SecondsFormat, SecondsPlural, seconds);
}

bool CPageSenderSendOptions::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (auto* link = dynamic_cast<CStatic*>(GetDlgItem(IdCommonServers)))
        link->SetTextColor(QColor(0, 0, 255));
    LoadControls();
    return true;
}

void CPageSenderSendOptions::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdPauseAfter, m_pauseAfterCombo);
    DDX_Control(dx, IdPauseSeconds, m_pauseSecondsCombo);
    DDX_Radio(dx, IdDirect, m_method);
    DDX_Text(dx, IdRelayServer, m_relayServer);
    DDX_Text(dx, IdRelayUser, m_relayUser);
    DDX_Text(dx, IdRelayPassword, m_relayPassword);
    DDX_Text(dx, IdPop3Server, m_pop3Server);
    DDX_Text(dx, IdPop3User, m_pop3User);
    DDX_Text(dx, IdPop3Password, m_pop3Password);
    DDX_Check(dx, IdAuthentication, m_authentication);
    DDX_Check(dx, IdThrottle, m_throttle);
    DDX_Check(dx, IdBounces, m_bounces);
}

void CPageSenderSendOptions::LoadControls()
{
    m_method = m_sender->GetInt(SenderDelivery, 0) != 0 ? 1 : 0;
    m_relayServer = m_sender->GetString(SenderRelayServer);
    m_relayUser = m_sender->GetString(SenderRelayUser);
    m_relayPassword = m_sender->GetString(SenderRelayPassword);
    m_pop3Server = m_sender->GetString(SenderPop3Server);
    m_pop3User = m_sender->GetString(SenderPop3User);
    m_pop3Password = m_sender->GetString(SenderPop3Password);
    m_authentication = m_sender->GetBool(SenderRelayAuth, false);
    m_throttle = m_sender->GetBool(SenderPauseEnabled, false);
    m_bounces = m_sender->GetBool(SenderBounceEnabled, false);
    UpdateData(false);
    FillValueCombo(m_pauseAfterCombo, PauseAfterValues, CountText,
                   m_sender->GetInt(SenderPauseAfter, SenderPageDefault(SenderPauseAfter)));
    FillValueCombo(m_pauseSecondsCombo, PauseSecondsValues, PauseText,
                   m_sender->GetInt(SenderPauseSeconds, SenderPageDefault(SenderPauseSeconds)));
    ApplyBounceRule();
    ApplyMethodRule();
}

void CPageSenderSendOptions::OnOK()
{
    UpdateData(true);
    m_sender->SetField(SenderDelivery, CNdbFieldValue(NdbValueSenderKind, IsRelay() ? 1 : 0));
    m_sender->SetField(SenderRelayServer, CNdbFieldValue(m_relayServer));
    m_sender->SetField(SenderRelayUser, CNdbFieldValue(m_relayUser));
    m_sender->SetField(SenderRelayPassword, CNdbFieldValue(m_relayPassword));
    m_sender->SetField(SenderRelayAuth, CNdbFieldValue(NdbValueBool, m_authentication != 0));
    m_sender->SetField(SenderPauseEnabled, CNdbFieldValue(NdbValueBool, m_throttle != 0));
    m_sender->SetField(SenderBounceEnabled, CNdbFieldValue(NdbValueBool, m_bounces != 0));
    m_sender->SetField(SenderPop3Server, CNdbFieldValue(m_pop3Server));
    m_sender->SetField(SenderPop3User, CNdbFieldValue(m_pop3User));
    m_sender->SetField(SenderPop3Password, CNdbFieldValue(m_pop3Password));
    StoreComboValue(m_pauseAfterCombo, *m_sender, SenderPauseAfter);
    StoreComboValue(m_pauseSecondsCombo, *m_sender, SenderPauseSeconds);
}

void CPageSenderSendOptions::EnableItems(std::initializer_list<int> ids, bool enable)
{
    for (const int id : ids)
        if (CWnd* item = GetDlgItem(id))
            item->EnableWindow(enable);
}

void CPageSenderSendOptions::ApplyMethodRule()
{
    const bool relay = IsRelay();
    EnableItems({IdRelayLabel, IdRelayServer, int(IdAuthentication), int(IdThrottle), int(IdCheckRelay)},
                relay);
    EnableItems({int(IdCheckDirect)}, !relay);
    if (CWnd* link = GetDlgItem(IdCommonServers))
        link->ShowWindow(relay ? SW_SHOW : SW_HIDE);
    ApplyAuthenticationRule();
    ApplyThrottleRule();
}

void CPageSenderSendOptions::ApplyAuthenticationRule()
{
    EnableItems({IdUserLabel, IdRelayUser, IdPasswordLabel, IdRelayPassword}, m_authentication && IsRelay());
}

void CPageSenderSendOptions::ApplyThrottleRule()
{
    EnableItems({IdPauseAfterLabel, IdPauseAfter, IdPauseSecondsLabel, IdPauseSeconds},
                m_throttle && IsRelay());
}

void CPageSenderSendOptions::ApplyBounceRule()
{
    EnableItems({IdPop3Label, IdPop3Server, IdPop3UserLabel, IdPop3User, IdPop3PasswordLabel, IdPop3Password,
                 int(IdCheckPop3)},
                m_bounces != 0);
}

LRESULT CPageSenderSendOptions::OnMethod(WPARAM, LPARAM)
{
    UpdateData(true);
    ApplyMethodRule();
    return 0;
}

LRESULT CPageSenderSendOptions::OnAuthentication(WPARAM, LPARAM)
{
    UpdateData(true);
    ApplyAuthenticationRule();
    return 0;
}

LRESULT CPageSenderSendOptions::OnThrottle(WPARAM, LPARAM)
{
    UpdateData(true);
    ApplyThrottleRule();
    return 0;
}

LRESULT CPageSenderSendOptions::OnBounce(WPARAM, LPARAM)
{
    UpdateData(true);
    ApplyBounceRule();
    return 0;
}

LRESULT CPageSenderSendOptions::OnCheckDirect(WPARAM, LPARAM)
{
    UpdateData(true);
    // The look-up and the talk with a mail exchanger may take many seconds: they run on a thread
    // of their own while the page stays responsive, its Check button off until the answer.
    EnableItems({int(IdCheckDirect)}, false);
    {
        const std::lock_guard lock(m_directCheckOwner->mutex);
        m_directCheckOwner->page = this;
    }
    const DirectDeliveryTest::Plan plan = DirectDeliveryTest::MakePlan(*m_sender, *m_recipients);
    std::thread(
        [plan, owner = m_directCheckOwner]
        {
            const int result = DirectDeliveryTest::Run(plan);
            const std::lock_guard lock(owner->mutex);
            if (owner->page)
                owner->page->PostMessage(WM_DIRECTCHECKED, WPARAM(result), 0);
        })
        .detach();
    return 0;
}

LRESULT CPageSenderSendOptions::OnDirectChecked(WPARAM result, LPARAM)
{
    EnableItems({int(IdCheckDirect)}, !IsRelay());
    if (result == 0)
        Tell(DirectAllowed, MB_ICONINFORMATION);
    else
        Tell(DirectRefused, MB_ICONEXCLAMATION);
    return 0;
}

LRESULT CPageSenderSendOptions::OnCheckRelay(WPARAM, LPARAM)
{
    UpdateData(true);
    const QString user = m_authentication ? m_relayUser : QString();
    const QString password = m_authentication ? m_relayPassword : QString();
    int result = 0;
    {
        const WaitCursor wait;
        CVexaMail mail(CheckEhloDomain(*m_sender), m_relayServer,
                       m_sender->GetInt(SenderRelayPort, SenderPageDefault(SenderRelayPort)), user, password);
        result = mail.TestServer(user, password, true);
    }
    switch (result)
    {
    case 0:
        Tell(Connected, MB_ICONINFORMATION);
        break;
    case 1:
        Tell(CannotConnect, MB_ICONEXCLAMATION);
        break;
    case 2:
        Tell(CannotLogin, MB_ICONEXCLAMATION);
        break;
    case 3:
        Tell(m_authentication ? RelayingRefused : LoginMightBeRequired, MB_ICONEXCLAMATION);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CPageSenderSendOptions::OnCheckPop3(WPARAM, LPARAM)
{
    UpdateData(true);
    int result = 0;
    {
        const WaitCursor wait;
        CVexaPop3 client;
        result = client.Login(m_pop3Server, QString(), m_pop3User, m_pop3Password, CVexaPop3::Automatic,
                              m_sender->GetInt(SenderPop3Port, SenderPageDefault(SenderPop3Port)));
    }
    if (result == CVexaPop3::Success)
        Tell(Connected, MB_ICONINFORMATION);
    else
        Tell(result == CVexaPop3::LoginRefused ? InvalidLogin : CannotConnect, MB_ICONEXCLAMATION);
    return 0;
}

LRESULT CPageSenderSendOptions::OnMoreSettings(WPARAM, LPARAM)
{
    CNdbSender copy(*m_sender);
    CDlgSendOptionsMoreSettings dialog(&copy, this);
    if (dialog.DoModal() == IDOK)
        *m_sender = copy;
    return 0;
}

LRESULT CPageSenderSendOptions::OnCommonServers(WPARAM, LPARAM)
{
    OpenOnlinePage(SmtpServerListPage);
    return 0;
}

LRESULT CPageSenderSendOptions::OnCopySettings(WPARAM, LPARAM)
{
    ImportSenderSettings(this, ImportTexts,
                         [this](const CNdbSender& source)
                         {
                             CopyDeliveryFrom(source);
                             LoadControls();
                         });
    return 0;
}

void CPageSenderSendOptions::CopyDeliveryFrom(const CNdbSender& source)
{
    CNdbSender& target = *m_sender;
    CopyOptional(target, source, SenderDelivery);
    for (const int id : {SenderRelayServer, SenderRelayUser, SenderRelayPassword})
        target.SetField(id, CNdbFieldValue(source.GetString(id)));
    for (const int id : {SenderRelayAuth, SenderPauseEnabled})
        target.SetField(id, CNdbFieldValue(NdbValueBool, source.GetBool(id, false)));
    for (const int id : {SenderPauseAfter, SenderPauseSeconds})
        target.SetField(id, CNdbFieldValue(NdbValueInt, source.GetInt(id, 0)));
    target.SetField(SenderBounceEnabled,
                    CNdbFieldValue(NdbValueBool, source.GetBool(SenderBounceEnabled, false)));
    for (const int id : {SenderPop3Server, SenderPop3User, SenderPop3Password})
        target.SetField(id, CNdbFieldValue(source.GetString(id)));
    CopyOptional(target, source, SenderHeloDomain);
    for (const int id : {SenderRelayPort, SenderPop3Port, SenderThreads})
        target.SetField(id, CNdbFieldValue(NdbValueInt, source.GetInt(id, SenderPageDefault(id))));
}

LRESULT CPageSenderSendOptions::OnNotifyHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
