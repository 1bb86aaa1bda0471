#pragma once

#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"

#include <QStringList>

namespace ndb
{
class CNdbSender;
}

// The rarer service values of a sender record: the web view's folder, image embedding, the
// unsubscribe link and message, and the site's mailing list that recipients leave, chosen from
// or created on the site's mailing-list service. Edits the record itself: a list it creates is
// chosen at once, even when the dialog is cancelled afterwards.
class CDlgServicesMoreSettings : public CDialog
{
public:
    explicit CDlgServicesMoreSettings(ndb::CNdbSender* sender, CWnd* parent = nullptr);

    void FillMailingLists();

protected:
    const MessageMap* GetMessageMap() const override;
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    LRESULT OnUnsubscribeChoice(WPARAM, LPARAM);
    LRESULT OnCreateMailingList(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void EnableAddress();

    ndb::CNdbSender* m_sender;
    QString m_folder;
    int m_forceEmbedding = 0;
    int m_unsubscribeChoice = 0; // 0 the framework's own link, 1 the address below
    QString m_address;
    QString m_message;
    QStringList m_listIds; // positions are the item data of the list combo
    CComboBox m_listCombo;
};
