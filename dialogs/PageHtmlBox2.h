#pragma once

#include "dialogs/PageHtmlBoxBase.h"
#include "dialogs/SidesBlock.h"
#include "platform/ui/ComboBox.h"

// The Layout page of the box sheet: the alignment of the box's content, its margins and padding.
class CPageHtmlBox2 : public CPageHtmlBoxBase
{
public:
    explicit CPageHtmlBox2(ndb::CNdbStyle* record);
    ~CPageHtmlBox2() override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    bool OnCmdMsg(UINT id, UINT code) override;

private:
    CComboBox m_alignment;
    CSidesBlock m_margins;
    CSidesBlock m_padding;
};
