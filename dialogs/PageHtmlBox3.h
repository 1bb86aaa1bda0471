#pragma once

#include "dialogs/BackgroundBlock.h"
#include "dialogs/BorderBlock.h"
#include "dialogs/PageHtmlBoxBase.h"

class IDialogContext;

// The Background & Borders page of the box sheet.
class CPageHtmlBox3 : public CPageHtmlBoxBase
{
public:
    CPageHtmlBox3(IDialogContext* context, ndb::CNdbStyle* record);
    ~CPageHtmlBox3() override;

    void OnOK() override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    bool OnCmdMsg(UINT id, UINT code) override;

private:
    CBackgroundBlock m_background;
    CBorderBlock m_borders;
};
