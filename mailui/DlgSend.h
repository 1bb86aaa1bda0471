#pragma once

#include "platform/ui/Dialog.h"
#include "platform/ui/IEBrowser.h"

#include <QString>

class ISendDialogContext;
namespace ndb
{
class CNdbNewsletter;
class CNdbUserList;
} // namespace ndb

// "Send": the last step before a newsletter goes out. Shows a summary of what will be sent in
// its browser, a page of the local web server, and on Send tests direct delivery when the
// newsletter uses it before the send status dialog takes over. Ends with 2 when closed, 1470
// for "Email Settings..." and 1 after Send, whether the send ran or was refused.
class CDlgSend : public CDialog
{
public:
    static constexpr UINT IDD = 233;
    static constexpr UINT EmailSettingsButton = 1470;
    static constexpr UINT BrowserFrame = 1013;
    static constexpr UINT BrowserId = 4711;
    static constexpr const char* PageName = "dlgsend.htm";

    // The list only points at the recipients; a test send mails them whatever the send log holds.
    CDlgSend(ISendDialogContext* context, const ndb::CNdbUserList& recipients, bool testSend,
             CWnd* parent = nullptr);

    ndb::CNdbNewsletter* GetCurrentNewsletter() const;
    // The XHTML summary of the open newsletter; every text in it is escaped.
    QString BuildSummaryPage() const;
    CIEBrowser& GetBrowser() { return m_browser; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

    const MessageMap* GetMessageMap() const override;
    LRESULT OnBeforeNavigate(WPARAM, LPARAM url);
    LRESULT OnEmailSettings(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void OnSend();
    // The page the summary is on, or about:blank; nothing else may replace it.
    bool IsOwnAddress(const QString& address) const;
    int CountEmails() const;

    ISendDialogContext* m_context;
    const ndb::CNdbUserList& m_recipients;
    bool m_testSend;
    CIEBrowser m_browser;
};
