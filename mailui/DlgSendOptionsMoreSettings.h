#pragma once

#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"

namespace ndb
{
class CNdbSender;
}

// The rarer delivery values of a sender record: the EHLO domain, the SMTP and POP3 ports and
// the number of connections of direct delivery. OK stores them into the record it was given.
class CDlgSendOptionsMoreSettings : public CDialog
{
public:
    explicit CDlgSendOptionsMoreSettings(ndb::CNdbSender* sender, CWnd* parent = nullptr);

protected:
    const MessageMap* GetMessageMap() const override;
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    LRESULT OnDomainChoice(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void EnableDomain();

    ndb::CNdbSender* m_sender;
    int m_domainChoice = 0; // 0 the From address's domain, 1 the text below
    QString m_domain;
    int m_smtpPort = 25;
    int m_pop3Port = 110;
    CComboBox m_connectionsCombo;
};
