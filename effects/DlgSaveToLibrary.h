#pragma once

#include "platform/ui/Dialog.h"

// Asks for the name and the category under which an effect goes into the user's library.
class CDlgSaveToLibrary : public CDialog
{
public:
    explicit CDlgSaveToLibrary(CWnd* parent = nullptr);
    ~CDlgSaveToLibrary() override;

    QString m_name;
    QString m_category;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};
