#pragma once

#include "platform/ui/Dialog.h"

// "Insert Bookmark": the name of a bookmark, taken as typed.
class CDlgHtmlBookmarkInsert : public CDialog
{
public:
    explicit CDlgHtmlBookmarkInsert(CWnd* parent = nullptr);
    ~CDlgHtmlBookmarkInsert() override;

    QString m_name;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnHelp(WPARAM, LPARAM);
};
