#pragma once

#include "ndb/NdbSender.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/PropertyPage.h"

#include <memory>
#include <vector>

// The services page of the e-mail settings: the site account whose framework serves the
// newsletter, copied into the working sender record, and the web view, statistics and dynamic
// mailing list switches, which need a site whose checks passed.
class CPageSenderServices : public CPropertyPage
{
public:
    explicit CPageSenderServices(ndb::CNdbSender* sender);

    void FillSiteAccounts();
    void StoreSelection();
    bool Validate();
    bool OnKillActive() override;
    void OnOK() override;

protected:
    const MessageMap* GetMessageMap() const override;
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT OnSiteChanged(WPARAM, LPARAM);
    LRESULT OnSwitch(WPARAM, LPARAM);
    LRESULT OnInstall(WPARAM, LPARAM);
    LRESULT OnMoreSettings(WPARAM, LPARAM);
    LRESULT OnNotifyHelp(WPARAM, LPARAM);

private:
    void UpdateButtons();
    // The record of the chosen entry; null for "<Not selected>" or no choice.
    const ndb::CNdbSender* ChosenSite() const;
    bool IsSiteChosen() const;

    ndb::CNdbSender* m_sender;
    std::vector<std::unique_ptr<ndb::CNdbSender>> m_accounts;
    ndb::CNdbSender m_embedded;
    int m_webView = 0;
    int m_statistics = 0;
    int m_mailingList = 0;
    CComboBox m_siteCombo;
};
