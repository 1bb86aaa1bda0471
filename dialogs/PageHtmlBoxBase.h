#pragma once

#include "dialogs/FieldGroups.h"
#include "platform/ui/PropertyPage.h"

namespace ndb
{
class CNdbStyle;
}

// A page of the box sheet: it edits the record the pages share and, when the sheet is confirmed,
// writes the groups of controls the user changed.
class CPageHtmlBoxBase : public CPropertyPage
{
public:
    CPageHtmlBoxBase(UINT templateId, ndb::CNdbStyle* record);
    ~CPageHtmlBoxBase() override;

    void OnOK() override;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnNotifyHelp(WPARAM, LPARAM);

    ndb::CNdbStyle* m_record;
    CFieldGroups m_groups;
};
