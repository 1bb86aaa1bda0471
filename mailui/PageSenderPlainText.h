#pragma once

#include "platform/ui/PropertyPage.h"

// "Plain Text" of the e-mail settings: the text part of the message, which the sheet moves in
// and out of the layout.
class CPageSenderPlainText : public CPropertyPage
{
public:
    CPageSenderPlainText();

    void OnOK() override;

    QString m_text;

protected:
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT OnNotifyHelp(WPARAM, LPARAM);
};
