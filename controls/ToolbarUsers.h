#pragma once

#include "controls/KVSystemFont.h"
#include "controls/ToolbarBase.h"
#include "platform/ui/Edit.h"

// Sent to the toolbar's parent on every change of the filter text: wParam 0, lParam the text as
// a zero-terminated UTF-16 string that lives only during the call.
constexpr UINT UM_FILTER_CHANGED = WM_USER + 0x300;

// The toolbar above the recipient list: add, edit, delete and import, then the mailing list's
// settings and update or the newsletter's send buttons, and a second row with the filter field.
class CToolbarUsers : public CToolbarBase
{
public:
    static constexpr UINT FilterFieldId = 50000;

    explicit CToolbarUsers(BYTE mailingList);
    ~CToolbarUsers() override;

    void ClearFilter();
    CEdit* GetFilterField() const { return m_filterField; }

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnFilterChange(WPARAM, LPARAM);

private:
    CEdit* m_filterField = nullptr; // owned by the item table
    BYTE m_mailingList;
    CKVSystemFont m_font{0, 0};
};
