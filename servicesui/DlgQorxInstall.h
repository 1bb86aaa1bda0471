#pragma once

#include "platform/ui/Dialog.h"
#include "services/QorxResultCode.h"

// "Install Quorvane": the database, administrator and mail-server settings of the framework, and
// its installation on the site with the statistics and mailing-list services. The opener fills
// the members before the run and reads them after it.
class CDlgQorxInstall : public CDialog
{
public:
    CDlgQorxInstall();
    ~CDlgQorxInstall() override;

    // The framework's admin service page on the site.
    QString m_frameworkUrl;
    QString m_languageCode;
    // "asp" or "php"; any other type has no packages.
    QString m_serverType;
    QString m_ftpServer;
    int m_ftpPort = 21;
    QString m_ftpUser;
    QString m_ftpPassword;
    QString m_ftpFolder;
    // The framework package went up in the last "Install..." press.
    bool m_installed = false;

    QString m_databaseServer;
    QString m_databaseName;
    QString m_databaseUser;
    QString m_databasePassword;
    QString m_adminUser;
    QString m_adminPassword;
    QString m_adminEmail;
    QString m_mailServer;

    // The manifest of a package ("qorx_system_2_localhost", "ws_stats_newsletter",
    // "ws_mailinglist") for the server type, in the folder given; empty for another type.
    QString ManifestPath(const QString& folder, const QString& package) const;
    // The service page of a package beside the framework's page; empty for another type.
    QString ServiceUrl(const QString& package) const;

protected:
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT OnInstall(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    enum class Step
    {
        Framework,
        Service,
        LastService,
    };
    // Shows the outcome of one package; true when the flow goes on with the next package.
    bool Report(QorxResultCode result, Step step);
};
