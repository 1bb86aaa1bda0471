#pragma once

#include "dialogs/BackgroundBlock.h"
#include "dialogs/BorderBlock.h"
#include "dialogs/PageStyleBase.h"

// The Background & Borders page of the style editor: background colour, the background image
// with its tiling and position, and the four borders.
class CPageStyle3 : public CPageStyleBase
{
public:
    CPageStyle3(IDialogContext* context, ndb::CNdbStyle* style);
    ~CPageStyle3() override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    bool OnCmdMsg(UINT id, UINT code) override;

private:
    CBackgroundBlock m_background;
    CBorderBlock m_borders;
};
