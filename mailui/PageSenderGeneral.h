#pragma once

#include "platform/ui/ComboBox.h"
#include "platform/ui/PropertyPage.h"

namespace ndb
{
class CNdbSender;
}

// "General" of the e-mail settings: subject and importance of the newsletter, which the sheet
// moves in and out, and the sender's addresses, which go to the working sender record.
class CPageSenderGeneral : public CPropertyPage
{
public:
    explicit CPageSenderGeneral(ndb::CNdbSender* sender);

    void LoadControls();
    void OnOK() override;

    QString m_subject;
    int m_importance = 0; // 0 normal, 1 high, 2 low

protected:
    const MessageMap* GetMessageMap() const override;
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT OnCopySettings(WPARAM, LPARAM);
    LRESULT OnNotifyHelp(WPARAM, LPARAM);

private:
    void TakeImportance();

    ndb::CNdbSender* m_sender;
    QString m_fromAddress;
    QString m_fromName;
    QString m_organization;
    QString m_replyTo;
    CComboBox m_importanceCombo;
};
