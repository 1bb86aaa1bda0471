#pragma once

#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Edit.h"

#include <QStringList>

// "Link Properties": what a link does, a web address, a bookmark of the newsletter, its web view,
// an unsubscribe link or nothing. The editor sets the members, runs the dialog and reads them
// after OK.
class CDlgHtmlActionProperties : public CDialog
{
public:
    enum LinkKind
    {
        KindUrl = 0,
        KindBookmark = 1,
        KindWebView = 2,
        KindUnsubscribe = 3,
        KindNoLink = 4,
    };
    enum UnsubscribeKind
    {
        UnsubscribeByEmail = 0,
        UnsubscribeAutomatic = 1,
    };

    explicit CDlgHtmlActionProperties(CWnd* parent = nullptr);
    ~CDlgHtmlActionProperties() override;

    bool m_webViewAvailable = false;
    int m_kind = KindUrl;
    int m_unsubscribeKind = UnsubscribeByEmail;
    // In: the link's address; out: the address with the chosen protocol in front.
    QString m_address;
    // In: the bookmark the link points to; out: the chosen one.
    QString m_bookmarkName;
    // The document's bookmarks, in document order.
    QStringList m_bookmarkNames;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnKindClicked(WPARAM, LPARAM);
    LRESULT OnUnsubscribeClicked(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    // Enables the controls of the chosen kind.
    void UpdateControls();
    // Takes a known protocol off the front of the address and selects its entry.
    void ShowProtocol();
    void FillBookmarks();

    CComboBox m_bookmarks;
    CComboBox m_protocols;
    CEdit m_addressEdit;
};
