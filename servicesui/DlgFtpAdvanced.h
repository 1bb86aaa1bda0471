#pragma once

#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"

// "FTP and Web Server Advanced Settings": every publishing value of a site account at once. The
// caller fills the members, and reads them back after IDOK.
class CDlgFtpAdvanced : public CDialog
{
public:
    enum ConnectionType
    {
        Passive = 0,
        Active = 1,
    };

    explicit CDlgFtpAdvanced(CWnd* parent = nullptr);
    ~CDlgFtpAdvanced() override;

    QString m_websiteUrl;
    QString m_ftpServer;
    QString m_ftpUser;
    QString m_ftpPassword;
    QString m_ftpFolder;
    int m_ftpPort = 21;
    int m_connections = 3;
    int m_connectionType = Passive;

protected:
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    CComboBox m_connectionList;
};
