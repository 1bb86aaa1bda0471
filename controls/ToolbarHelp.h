#pragma once

#include "controls/KVSystemFont.h"
#include "controls/ToolbarBase.h"
#include "platform/ui/Edit.h"

// The toolbar above the help window: back, forward and start buttons and a search field. The help
// window reads the field when it receives the Search command.
class CToolbarHelp : public CToolbarBase
{
public:
    static constexpr UINT SearchFieldId = 4711;
    static constexpr UINT SearchCommand = 32956;

    CToolbarHelp();
    ~CToolbarHelp() override;

    QString GetSearchText() const;
    CEdit* GetSearchField() const { return m_searchField; }

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnCreate(WPARAM, LPARAM);

private:
    CEdit* m_searchField = nullptr; // owned by the item table
    CKVSystemFont m_font{13, 0};
};
