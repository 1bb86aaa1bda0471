#pragma once

#include "dialogs/PageStyleBase.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"

// The Misc page of the style editor: the mouse cursor and free CSS declarations.
class CPageStyle4 : public CPageStyleBase
{
public:
    CPageStyle4(IDialogContext* context, ndb::CNdbStyle* style);
    ~CPageStyle4() override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;

private:
    CComboBox m_cursor;
    CEdit m_customSettings;
};
