#pragma once

#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"

#include <QStringList>

// "Manage Quorvane": the user's site accounts by address, with the site wizard to add and edit
// them. Every change is stored when the wizard finishes.
class CDlgSiteAccounts : public CDialog
{
public:
    explicit CDlgSiteAccounts(CWnd* parent = nullptr);

    void Refresh();
    // The setting of the selected row's account; empty without a selection.
    QString GetSelectedValueName() const;
    // An empty name adds a new account.
    void EditAccount(const QString& valueName);

protected:
    const MessageMap* GetMessageMap() const override;
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT OnAdd(WPARAM, LPARAM);
    LRESULT OnEdit(WPARAM, LPARAM);
    LRESULT OnDoubleClick(WPARAM, LPARAM);
    LRESULT OnDelete(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    QStringList m_valueNames; // in reading order; a row's item data is its position here
    CListCtrl m_list;
};
