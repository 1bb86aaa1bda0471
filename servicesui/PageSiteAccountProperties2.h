#pragma once

#include "platform/ui/PropertyPage.h"

namespace ndb
{
class CNdbSender;
}

// "Step 2 - Quorvane" of the site-account wizard: the administrator of the framework on the
// site, proved by a status query, or a new installation of the framework. The framework's
// address follows from the site address and the server type that step 1 found.
class CPageSiteAccountProperties2 : public CPropertyPage
{
public:
    explicit CPageSiteAccountProperties2(ndb::CNdbSender* account);

    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnWizardFinish() override;
    bool OnQueryCancel() override;

    void LoadFromRecord();
    // An empty user name passes: the account then goes on without the framework.
    bool CheckFrameworkConnection(bool quiet);

    // The framework's admin page for the site address and server type; empty for a type other
    // than "asp" and "php".
    static QString FrameworkUrl(const QString& websiteAddress, const QString& serverType);

protected:
    const MessageMap* GetMessageMap() const override;
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT OnCheck(WPARAM, LPARAM);
    LRESULT OnInstall(WPARAM, LPARAM);
    LRESULT OnNotifyHelp(WPARAM, LPARAM);

private:
    ndb::CNdbSender* m_account;
    QString m_frameworkUrl;
    QString m_adminUser;
    QString m_adminPassword;
    bool m_firstActivation = true;
};
