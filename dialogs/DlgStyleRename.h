#pragma once

#include "platform/ui/Dialog.h"

// "Rename Style": a new name for a style, taken exactly as typed.
class CDlgStyleRename : public CDialog
{
public:
    explicit CDlgStyleRename(CWnd* parent = nullptr);
    ~CDlgStyleRename() override;

    QString m_name;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnHelp(WPARAM, LPARAM);
};
