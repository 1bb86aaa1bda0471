#pragma once

#include "platform/ui/Dialog.h"

// "Create Mailing List": the name and the folder of a new mailing-list file.
class CDlgMailGroupCreate : public CDialog
{
public:
    explicit CDlgMailGroupCreate(CWnd* parent = nullptr);
    ~CDlgMailGroupCreate() override;

    // Runs the dialog; false when cancelled.
    static bool Ask(CWnd* parent, QString& name, QString& folder);
    // The first of "My Mailing List", "My Mailing List 2", ... that names no file in the folder.
    static QString ProposeName(const QString& folder);

    QString m_name;
    QString m_folder; // ends in "/"

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnChangeLocation(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);
};
