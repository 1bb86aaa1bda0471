#pragma once

#include "platform/ui/Dialog.h"

// "Select Column Delimiter": the character that cuts the lines of a text into cells.
class CDlgUserImportCsvDelimiter : public CDialog
{
public:
    enum Choice
    {
        ChoiceTab = 0,
        ChoiceSemicolon = 1,
        ChoiceComma = 2,
        ChoiceSpace = 3,
        ChoiceOther = 4,
    };

    explicit CDlgUserImportCsvDelimiter(CWnd* parent = nullptr);
    ~CDlgUserImportCsvDelimiter() override;

    // False for "Other" with no character.
    bool GetDelimiter(QChar& delimiter) const;
    // Runs the dialog: false when cancelled or without a delimiter.
    static bool Ask(CWnd* parent, QChar& delimiter);

    int m_choice = ChoiceTab;
    QString m_other;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnOtherUpdate(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);
};
