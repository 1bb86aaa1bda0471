#pragma once

#include "platform/ui/Dialog.h"

// "Create Newsletter" for an empty newsletter: its name and the folder of its file.
class CDlgNewsletterCreateEmpty : public CDialog
{
public:
    explicit CDlgNewsletterCreateEmpty(CWnd* parent = nullptr);
    ~CDlgNewsletterCreateEmpty() override;

    // Runs the dialog; false when cancelled.
    static bool Ask(CWnd* parent, QString& name, QString& folder);
    // The first of "My Newsletter", "My Newsletter 2", ... that names no file in the folder.
    static QString ProposeName(const QString& folder);
    // A name that can be a file name: not empty, no "/" or "\".
    static bool IsUsableName(const QString& name);

    QString m_name;
    QString m_location; // ends in "/"

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnChangeLocation(WPARAM, LPARAM);
};
