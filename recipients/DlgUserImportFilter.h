#pragma once

#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"

namespace ndb
{
class CNdbUserList;
}

// "Select Recipients": the imported recipients with a tick each; OK removes the unticked ones
// from the list and reads whether the rest are to be disabled.
class CDlgUserImportFilter : public CDialog
{
public:
    explicit CDlgUserImportFilter(ndb::CNdbUserList& users, CWnd* parent = nullptr);
    ~CDlgUserImportFilter() override;

    bool IsDisableChosen() const { return m_disable != 0; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnSelectAll(WPARAM, LPARAM);
    LRESULT OnDeselectAll(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void SetAllChecks(bool checked);

    ndb::CNdbUserList& m_users;
    int m_disable = 0;
    CListCtrl m_list;
};
