#pragma once

#include "controls/ToolbarBase.h"

// The toolbar above the report window: the overview and tracking pages and help.
class CToolbarSummary : public CToolbarBase
{
protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnCreate(WPARAM, LPARAM);
};
