#pragma once

#include "platform/ui/Dialog.h"

// "Create Mailing List": the name of a new hosted mailing list, taken as typed (also empty).
class CDlgCreateMailingList : public CDialog
{
public:
    CDlgCreateMailingList();
    ~CDlgCreateMailingList() override;

    QString m_name;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};
