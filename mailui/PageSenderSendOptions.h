#pragma once

#include "platform/ui/ComboBox.h"
#include "platform/ui/PropertyPage.h"

#include <initializer_list>
#include <memory>
#include <mutex>
#include <span>

namespace ndb
{
class CNdbSender;
class CNdbUserList;
} // namespace ndb

// "Delivery" of the e-mail settings: direct delivery or a relay with its login and throttle,
// the POP3 mailbox of returned mail, live checks of each server, and the rarer values behind
// "More Settings...". Everything goes to and from the working sender record.
class CPageSenderSendOptions : public CPropertyPage
{
public:
    // The recipients tell the direct-delivery check which mail exchanger to ask.
    CPageSenderSendOptions(ndb::CNdbSender* sender, const ndb::CNdbUserList* recipients);
    ~CPageSenderSendOptions() override;

    void LoadControls();
    void OnOK() override;

    // The pause combo's text of so many seconds: seconds below a minute, whole minutes above.
    static QString PauseText(int seconds);

protected:
    const MessageMap* GetMessageMap() const override;
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT OnMethod(WPARAM, LPARAM);
    LRESULT OnAuthentication(WPARAM, LPARAM);
    LRESULT OnThrottle(WPARAM, LPARAM);
    LRESULT OnBounce(WPARAM, LPARAM);
    LRESULT OnCheckDirect(WPARAM, LPARAM);
    LRESULT OnDirectChecked(WPARAM result, LPARAM);
    LRESULT OnCheckRelay(WPARAM, LPARAM);
    LRESULT OnCheckPop3(WPARAM, LPARAM);
    LRESULT OnMoreSettings(WPARAM, LPARAM);
    LRESULT OnCommonServers(WPARAM, LPARAM);
    LRESULT OnCopySettings(WPARAM, LPARAM);
    LRESULT OnNotifyHelp(WPARAM, LPARAM);

private:
    bool IsRelay() const { return m_method == 1; }
    void ApplyMethodRule();
    void ApplyAuthenticationRule();
    void ApplyThrottleRule();
    void ApplyBounceRule();
    void EnableItems(std::initializer_list<int> ids, bool enable);
    void CopyDeliveryFrom(const ndb::CNdbSender& source);

    // What a direct-delivery check running on its own thread reports to: the page, until the
    // page goes away.
    struct DirectCheckOwner
    {
        std::mutex mutex;
        CWnd* page{nullptr};
    };

    ndb::CNdbSender* m_sender;
    const ndb::CNdbUserList* m_recipients;
    std::shared_ptr<DirectCheckOwner> m_directCheckOwner{std::make_shared<DirectCheckOwner>()};
    int m_method = 0; // 0 direct, 1 relay
    QString m_relayServer;
    QString m_relayUser;
    QString m_relayPassword;
    QString m_pop3Server;
    QString m_pop3User;
    QString m_pop3Password;
    int m_authentication = 0;
    int m_throttle = 0;
    int m_bounces = 0;
    CComboBox m_pauseAfterCombo;
    CComboBox m_pauseSecondsCombo;
};
