#include "recipients/DlgMailGroupSettings.h"

#include "dialogs/ShowHelp.h"
#include "platform/core/AppStrings.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/WinApp.h"
#include "services/QorxInstaller.h"
#include "servicesui/MailingListChoice.h"
#include "servicesui/SiteAccounts.h"

namespace
{
constexpr UINT TemplateId = 300;
constexpr int IdNormal = 1055;
constexpr UINT IdDynamic = 1061;
constexpr int IdExplanation = 1654;
constexpr int IdInstall = 1627;
constexpr int IdSiteLabel = 1621;
constexpr int IdSiteChoice = 1619;
constexpr int IdListLabel = 1585;
constexpr int IdListChoice = 1102;
constexpr int IdUpdateOnOpen = 1096;
constexpr UINT IdHelp = 1212;
constexpr int SiteId = 1;
constexpr int SiteName = 410;
constexpr int SiteUser = 630;
constexpr int SitePassword = 631;
constexpr int SiteFramework = 644;
constexpr int SiteAddress = 650;

// Only accounts with the framework installed offer mailing lists.
std::unique_ptr<ndb::CNdbSender> ReadFrameworkSite(int slot)
{
    std::unique_ptr<ndb::CNdbSender> site = SiteAccounts::Read(slot);
    return site && site->GetBool(SiteFramework, false) ? std::move(site) : nullptr;
}
} // namespace

const MessageMap* CDlgMailGroupSettings::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdNormal, &CDlgMailGroupSettings::OnTypeClicked),
        OnCommand(IdDynamic, &CDlgMailGroupSettings::OnTypeClicked),
        OnControl(CBN_SELCHANGE, IdSiteChoice, &CDlgMailGroupSettings::OnSiteChanged),
        OnCommand(IdInstall, &CDlgMailGroupSettings::OnInstallFramework),
        OnCommand(IdHelp, &CDlgMailGroupSettings::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgMailGroupSettings::CDlgMailGroupSettings(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgMailGroupSettings::~CDlgMailGroupSettings()
{
    DestroyWindow();
}

void CDlgMailGroupSettings::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdSiteChoice, m_siteChoice);
    DDX_Control(dx, IdListChoice, m_listChoice);
    DDX_Radio(dx, IdNormal, m_listType);
    DDX_Check(dx, IdUpdateOnOpen, m_updateOnOpen);
}

bool CDlgMailGroupSettings::OnInitDialog()
{
    CDialog::OnInitDialog();
    FillSites();
    UpdateData(false);
    EnableControls();
    return true;
}

void CDlgMailGroupSettings::FillSites()
{
    m_sites.clear();
    m_embedded = false;
    m_siteChoice.ResetContent();
    m_siteChoice.SetItemData(m_siteChoice.AddString(LoadAppString(11410)), 0);
    m_siteChoice.SetCurSel(0);
    bool matched = false;
    for (int n = 0; n < SiteAccounts::MaxAccounts; ++n)
    {
        std::unique_ptr<ndb::CNdbSender> site = ReadFrameworkSite(n);
        if (!site)
            continue;
        const int item = m_siteChoice.AddString(site->GetString(SiteName));
        m_siteChoice.SetItemData(item, reinterpret_cast<UINT_PTR>(site.get()));
        if (site->GetString(SiteId) == m_siteId)
        {
            m_siteChoice.SetCurSel(item);
            matched = true;
        }
        m_sites.push_back(std::move(site));
    }
    if (!m_siteId.isEmpty() && !matched)
    {
        const int item = m_siteChoice.AddString(m_siteName + u' ' + LoadAppString(11411));
        m_siteChoice.SetItemData(item, reinterpret_cast<UINT_PTR>(&m_embeddedSite));
        m_siteChoice.SetCurSel(item);
        m_embedded = true;
    }
    if (SelectedSite())
        LoadMailingLists();
}

const ndb::CNdbSender* CDlgMailGroupSettings::SelectedSite() const
{
    const int selected = m_siteChoice.GetCurSel();
    return selected < 0 ? nullptr
                        : reinterpret_cast<const ndb::CNdbSender*>(m_siteChoice.GetItemData(selected));
}

void CDlgMailGroupSettings::SiteAccess(QString& address, QString& user, QString& password) const
{
    const ndb::CNdbSender* site = SelectedSite();
    if (site == &m_embeddedSite)
    {
        address = m_siteAddress;
        user = m_user;
        password = m_password;
        return;
    }
    address = site->GetString(SiteAddress);
    user = site->GetString(SiteUser);
    password = site->GetString(SitePassword);
}

void CDlgMailGroupSettings::EnableControls()
{
    UpdateData(true);
    const bool dynamic = m_listType == 1;
    for (int id : {IdExplanation, IdSiteLabel, IdSiteChoice, IdInstall})
        DlgItem(id).EnableWindow(dynamic);
    const bool withSite = dynamic && SelectedSite();
    for (int id : {IdListLabel, IdListChoice, IdUpdateOnOpen})
        DlgItem(id).EnableWindow(withSite);
}

void CDlgMailGroupSettings::LoadMailingLists()
{
    const WaitCursor wait;
    m_connected = false;
    if (!SelectedSite())
        return;
    QString address;
    QString user;
    QString password;
    SiteAccess(address, user, password);
    m_connected = FillMailingListChoice(m_listChoice, m_offeredIds, address, user, password, m_listId);
}

LRESULT CDlgMailGroupSettings::OnTypeClicked(WPARAM, LPARAM)
{
    EnableControls();
    return 0;
}

LRESULT CDlgMailGroupSettings::OnSiteChanged(WPARAM, LPARAM)
{
    if (SelectedSite())
        LoadMailingLists();
    EnableControls();
    return 0;
}

LRESULT CDlgMailGroupSettings::OnInstallFramework(WPARAM, LPARAM)
{
    const QString created = SiteAccounts::CreateWithWizard(this, LoadAppString(11412));
    if (created.isEmpty())
        return 0;
    UpdateData(true);
    m_siteId = created;
    FillSites();
    EnableControls();
    return 0;
}

void CDlgMailGroupSettings::OnOK()
{
    UpdateData(true);
    const ndb::CNdbSender* site = SelectedSite();
    if (site)
    {
        if (site != &m_embeddedSite)
        {
            m_siteId = site->GetString(SiteId);
            m_siteName = site->GetString(SiteName);
            m_siteAddress = site->GetString(SiteAddress);
            m_user = site->GetString(SiteUser);
            m_password = site->GetString(SitePassword);
        }
        QString service;
        if (CQorxInstaller().GetServiceUrl(m_siteAddress, QStringLiteral("ws_mailinglist"), m_user,
                                           m_password, service) == QorxResult::Success)
            m_serviceAddress = service;
    }
    else if (!m_embedded)
    {
        m_siteId.clear();
        m_siteName.clear();
        m_siteAddress.clear();
        m_serviceAddress.clear();
        m_connected = false;
        m_listType = 0;
        UpdateData(false);
    }
    const int selected = m_listChoice.GetCurSel();
    if (selected >= 0)
    {
        m_listId = m_offeredIds.value(int(m_listChoice.GetItemData(selected)));
        m_listName = m_listChoice.GetLBText(selected);
    }
    if (site && !m_connected)
    {
        AfxMessageBox(LoadAppString(11408), MB_ICONHAND);
        return;
    }
    EndDialog(IDOK);
}

LRESULT CDlgMailGroupSettings::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
