#pragma once

#include "ndb/NdbSender.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"

#include <memory>
#include <vector>

// "Mailing List Settings": a normal list, or a dynamic one whose recipients are the subscribers
// of a mailing list on one of the user's web sites with the framework installed. The dialog only
// collects values; the view fills its members before and reads them after.
class CDlgMailGroupSettings : public CDialog
{
public:
    explicit CDlgMailGroupSettings(CWnd* parent = nullptr);
    ~CDlgMailGroupSettings() override;

    bool m_connected = false;
    QString m_siteId;
    QString m_siteName;
    QString m_siteAddress;
    QString m_user;
    QString m_password;
    QString m_serviceAddress;
    QString m_listId;
    QString m_listName;
    int m_listType = 0;
    int m_updateOnOpen = 0;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnTypeClicked(WPARAM, LPARAM);
    LRESULT OnSiteChanged(WPARAM, LPARAM);
    LRESULT OnInstallFramework(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void FillSites();
    void EnableControls();
    void LoadMailingLists();
    // The chosen site's record, null for "<Not Selected>".
    const ndb::CNdbSender* SelectedSite() const;
    void SiteAccess(QString& address, QString& user, QString& password) const;

    std::vector<std::unique_ptr<ndb::CNdbSender>> m_sites;
    ndb::CNdbSender m_embeddedSite;
    bool m_embedded = false;
    QStringList m_offeredIds;
    CComboBox m_siteChoice;
    CComboBox m_listChoice;
};
