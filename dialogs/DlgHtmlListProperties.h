#pragma once

#include "platform/ui/Dialog.h"

// "List Properties": the kind of a list, its bullet or numbering and where its markers stand.
// Four radio group indexes, set by the editor before and read after the dialog.
class CDlgHtmlListProperties : public CDialog
{
public:
    explicit CDlgHtmlListProperties(CWnd* parent = nullptr);
    ~CDlgHtmlListProperties() override;

    // 0 default, 1 inside, 2 outside.
    int m_wrapping = 0;
    // 0 unordered, 1 ordered.
    int m_ordered = 0;
    // 0 default, 1 circle, 2 disc, 3 square.
    int m_bullet = 0;
    // 0 default, 1 decimal, 2 lower-alpha, 3 upper-alpha, 4 lower-roman, 5 upper-roman.
    int m_numbering = 0;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnTypeClicked(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    // Only the group of the list's kind can be chosen.
    void EnableGroups(bool ordered);
};
