#include "mailui/PageSenderServices.h"

#include "dialogs/ShowHelp.h"
#include "mailui/DlgServicesMoreSettings.h"
#include "ndb/SenderFieldTable.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/WinApp.h"
#include "servicesui/SiteAccounts.h"

#include <span>

using namespace ndb;

namespace
{
constexpr UINT TemplateId = 319;
constexpr UINT IdSite = 1619;
constexpr UINT IdInstall = 1627;
constexpr UINT IdWebView = 1626;
constexpr UINT IdStatistics = 1170;
constexpr UINT IdMailingList = 1168;
constexpr UINT IdMoreSettings = 1505;

constexpr quint32 NotSelectedText = 13514;
constexpr quint32 EmbeddedText = 13515;
constexpr quint32 WizardCaption = 13516;

constexpr int AccountId = 1;

// Fields copied from the chosen account, by the kind of value.
constexpr int SiteTexts[] = {SenderSiteAddress, SenderFtpServer, SenderFtpUser, SenderFtpPassword,
                             SenderFtpFolder};
constexpr int FrameworkTexts[] = {SenderSiteAccess630, SenderSiteAccess631,    SenderSiteAccess650,
                                  SenderAdminEmail,    SenderDatabaseServer,   SenderDatabaseName,
                                  SenderDatabaseUser,  SenderDatabasePassword, SenderSiteMailServer};

struct Requirement
{
    int switchField;
    int checkField; // 0: only a chosen site
    quint32 message;
};

constexpr Requirement WithoutSite[] = {
    {SenderWebView, 0, 13500},
    {SenderTracking, 0, 13501},
    {SenderDynamicList, 0, 13502},
};
constexpr Requirement WithSite[] = {
    {SenderWebView, SenderSiteWebView, 13503},        {SenderTracking, SenderSiteWebView, 13505},
    {SenderTracking, SenderSiteStatistics, 13506},    {SenderDynamicList, SenderSiteWebView, 13508},
    {SenderDynamicList, SenderSiteStatistics, 13509},
};

void CopyInt(CNdbSender& target, const CNdbSender& source, int id, NdbValueType tag)
{
    target.SetField(id, CNdbFieldValue(tag, source.GetInt(id, SenderPageDefault(id))));
}
} // namespace

const MessageMap* CPageSenderServices::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(CBN_SELCHANGE, IdSite, &CPageSenderServices::OnSiteChanged),
        OnCommand(IdWebView, &CPageSenderServices::OnSwitch),
        OnCommand(IdStatistics, &CPageSenderServices::OnSwitch),
        OnCommand(IdMailingList, &CPageSenderServices::OnSwitch),
        OnCommand(IdInstall, &CPageSenderServices::OnInstall),
        OnCommand(IdMoreSettings, &CPageSenderServices::OnMoreSettings),
        OnNotify(PSN_HELP, &CPageSenderServices::OnNotifyHelp),
    };
    static const MessageMap map{CPropertyPage::GetMessageMap(), entries};
    return &map;
}

CPageSenderServices::CPageSenderServices(CNdbSender* sender) : CPropertyPage(TemplateId), m_sender(sender) {}

bool CPageSenderServices::OnInitDialog()
{
    m_webView = m_sender->GetBool(SenderWebView, false);
    m_statistics = m_sender->GetBool(SenderTracking, false);
    m_mailingList = m_sender->GetBool(SenderDynamicList, false);
    CPropertyPage::OnInitDialog();
    FillSiteAccounts();
    UpdateData(false);
    return true;
}

void CPageSenderServices::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdSite, m_siteCombo);
    DDX_Check(dx, IdWebView, m_webView);
    DDX_Check(dx, IdStatistics, m_statistics);
    DDX_Check(dx, IdMailingList, m_mailingList);
}

void CPageSenderServices::FillSiteAccounts()
{
    m_accounts.clear();
    m_siteCombo.ResetContent();
    m_siteCombo.SetItemData(m_siteCombo.AddString(LoadAppString(NotSelectedText)), 0);
    m_siteCombo.SetCurSel(0);
    const QString current = m_sender->GetString(SenderSiteAccount);
    bool found = false;
    for (int slot = 0; slot < SiteAccounts::MaxAccounts; ++slot)
    {
        std::unique_ptr<CNdbSender> account = SiteAccounts::Read(slot);
        if (!account)
            continue;
        const int item = m_siteCombo.AddString(account->GetString(SenderSiteAddress));
        m_siteCombo.SetItemData(item, UINT_PTR(account.get()));
        if (!current.isEmpty() && account->GetString(AccountId) == current)
        {
            m_siteCombo.SetCurSel(item);
            found = true;
        }
        m_accounts.push_back(std::move(account));
    }
    if (!current.isEmpty() && !found)
    {
        // The account is gone from this computer, but the newsletter still carries its site.
        m_embedded = *m_sender;
        const int item = m_siteCombo.AddString(m_sender->GetString(SenderSiteAddress) + QStringLiteral(" (") +
                                               LoadAppString(EmbeddedText) + u')');
        m_siteCombo.SetItemData(item, UINT_PTR(&m_embedded));
        m_siteCombo.SetCurSel(item);
    }
    UpdateButtons();
}

const CNdbSender* CPageSenderServices::ChosenSite() const
{
    const int selected = m_siteCombo.GetCurSel();
    return selected < 0 ? nullptr : reinterpret_cast<const CNdbSender*>(m_siteCombo.GetItemData(selected));
}

bool CPageSenderServices::IsSiteChosen() const
{
    return ChosenSite() != nullptr;
}

void CPageSenderServices::UpdateButtons()
{
    const bool chosen = IsSiteChosen();
    DlgItem(int(IdMoreSettings)).EnableWindow(chosen);
    // Without a site a service cannot be switched on, but one that is on can still be switched off.
    for (const auto& [id, on] : {std::pair{IdStatistics, m_statistics}, std::pair{IdWebView, m_webView},
                                 std::pair{IdMailingList, m_mailingList}})
        DlgItem(int(id)).EnableWindow(chosen || on != 0);
}

void CPageSenderServices::StoreSelection()
{
    UpdateData(true);
    if (m_siteCombo.GetCurSel() < 0)
        return;
    const CNdbSender none;
    const CNdbSender* chosen = ChosenSite();
    const CNdbSender& source = chosen ? *chosen : none;
    CNdbSender& target = *m_sender;
    // The embedded site keeps naming its account, so the newsletter shows the same site when the
    // settings are opened again instead of dropping it then.
    const QString identity =
        &source == &m_embedded ? m_embedded.GetString(SenderSiteAccount) : source.GetString(AccountId);
    target.SetField(SenderSiteAccount, CNdbFieldValue(identity));
    for (const int id : SiteTexts)
        target.SetField(id, CNdbFieldValue(source.GetString(id)));
    CopyInt(target, source, SenderSiteNumber424, NdbValueInt);
    CopyInt(target, source, SenderSiteNumber425, NdbValueInt);
    CopyInt(target, source, SenderSiteSwitch426, NdbValueBool);
    target.SetField(SenderSiteType, CNdbFieldValue(source.GetString(SenderSiteType)));
    CopyInt(target, source, SenderDynamicServices, NdbValueBool);
    for (const int id : FrameworkTexts)
        target.SetField(id, CNdbFieldValue(source.GetString(id)));
    CopyInt(target, source, SenderSiteWebView, NdbValueBool);
    CopyInt(target, source, SenderSiteStatistics, NdbValueBool);
    target.SetField(SenderWebView, CNdbFieldValue(NdbValueBool, m_webView != 0));
    target.SetField(SenderTracking, CNdbFieldValue(NdbValueBool, m_statistics != 0));
    target.SetField(SenderDynamicList, CNdbFieldValue(NdbValueBool, m_mailingList != 0));
}

bool CPageSenderServices::Validate()
{
    UpdateData(true);
    const bool chosen = IsSiteChosen();
    const auto isOn = [this](int field)
    {
        return field == SenderWebView    ? m_webView != 0
               : field == SenderTracking ? m_statistics != 0
                                         : m_mailingList != 0;
    };
    const auto failed = [&](const Requirement& requirement)
    {
        return isOn(requirement.switchField) &&
               (!chosen || (requirement.checkField && !m_sender->GetBool(requirement.checkField, false)));
    };
    for (const Requirement& requirement :
         chosen ? std::span<const Requirement>(WithSite) : std::span<const Requirement>(WithoutSite))
    {
        if (failed(requirement))
        {
            AfxMessageBox(LoadAppString(requirement.message), MB_OK | MB_ICONERROR);
            return false;
        }
    }
    return true;
}

bool CPageSenderServices::OnKillActive()
{
    StoreSelection();
    return Validate();
}

void CPageSenderServices::OnOK()
{
    StoreSelection();
}

LRESULT CPageSenderServices::OnSiteChanged(WPARAM, LPARAM)
{
    StoreSelection();
    UpdateButtons();
    return 0;
}

LRESULT CPageSenderServices::OnSwitch(WPARAM, LPARAM)
{
    UpdateData(true);
    UpdateButtons();
    return 0;
}

LRESULT CPageSenderServices::OnInstall(WPARAM, LPARAM)
{
    const QString created = SiteAccounts::CreateWithWizard(this, LoadAppString(WizardCaption));
    if (created.isEmpty())
        return 0;
    m_sender->SetField(SenderSiteAccount, CNdbFieldValue(created));
    FillSiteAccounts();
    return 0;
}

LRESULT CPageSenderServices::OnMoreSettings(WPARAM, LPARAM)
{
    CDlgServicesMoreSettings dialog(m_sender, this);
    dialog.DoModal();
    return 0;
}

LRESULT CPageSenderServices::OnNotifyHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
