#pragma once

#include "platform/ui/Dialog.h"
#include "platform/ui/ListBox.h"
#include "recipients/TextRows.h"

class CUserImportProfile;

// "Map column": the source column of one recipient field, chosen among the first row's cells.
class CDlgUserImportMapField : public CDialog
{
public:
    CDlgUserImportMapField(int code, CUserImportProfile& profile, const TextRows& rows,
                           CWnd* parent = nullptr);
    ~CDlgUserImportMapField() override;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    const int m_code;
    CUserImportProfile& m_profile;
    const TextRows& m_rows;
    QString m_fieldName;
    CListBox m_columns;
};
