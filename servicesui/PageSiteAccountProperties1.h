#pragma once

#include "platform/ui/PropertyPage.h"

namespace ndb
{
class CNdbSender;
}
class CSiteAddress;

// "Step 1 - Publishing Settings" of the site-account wizard: the site's address and its FTP
// access. Before the user goes on, the page proves that a page written by FTP is served at the
// address, searching the FTP server for the folder that serves it when the configured one does
// not, and probes whether the site runs PHP or ASP.
class CPageSiteAccountProperties1 : public CPropertyPage
{
public:
    explicit CPageSiteAccountProperties1(ndb::CNdbSender* account);

    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnQueryCancel() override;

    // True when the FTP folder serves the site address; may replace the remote folder. The
    // quiet flag keeps only the success message back.
    bool CheckPublishingSettings(bool quiet);
    // True when a test page written into the FTP folder is served at the URL path.
    bool TestUploadFolder(const QString& folder, const CSiteAddress& site, const QString& urlPath);
    // "php", "asp" or empty.
    QString ProbeServerType();

protected:
    const MessageMap* GetMessageMap() const override;
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT OnCheck(WPARAM, LPARAM);
    LRESULT OnAdvanced(WPARAM, LPARAM);
    LRESULT OnAbortSearch(WPARAM, LPARAM);
    LRESULT OnNotifyHelp(WPARAM, LPARAM);

private:
    // The remote folder with "/" between its levels and none at its end; the folder as typed is
    // what the account keeps.
    QString TestedFolder() const;
    bool SearchRemoteFolder(const CSiteAddress& site, bool quiet);
    // Makes the folders below the one found that serves URL path u; true when the deepest path
    // is served from the result.
    bool DeriveDeeperFolders(const QString& found, int u, const CSiteAddress& site);
    // Uploads a script, fetches it and deletes it: true when the body holds the marker and not
    // the tell-tale text of unprocessed source.
    bool ProbeScript(const QString& name, const QString& source, const QString& unprocessedTell,
                     QString& serverHeader);
    void Succeed(bool quiet);
    void StoreFields();

    ndb::CNdbSender* m_account;
    QString m_websiteUrl;
    QString m_ftpServer;
    QString m_ftpUser;
    QString m_ftpPassword;
    QString m_ftpFolder;
    int m_ftpPort = 21;
    int m_connections = 3;
    bool m_passive = true;
    QString m_publishFolder;
    QString m_serverType;
    bool m_verified = false;
    bool m_firstActivation = true;
    bool m_abortSearch = false;
};
