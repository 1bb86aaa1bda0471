#pragma once

#include "platform/ui/Dialog.h"

// "Select Source": where imported recipients come from.
class CDlgUserImportSelect : public CDialog
{
public:
    enum Source
    {
        SourceNewsletter = 0,
        SourceMailingList = 1,
        SourceAddressBook = 2,
        SourceTextFile = 3,
    };

    explicit CDlgUserImportSelect(CWnd* parent = nullptr);
    ~CDlgUserImportSelect() override;

    int m_source = SourceNewsletter;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnHelp(WPARAM, LPARAM);
};
