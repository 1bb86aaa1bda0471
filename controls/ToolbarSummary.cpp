#include "controls/ToolbarSummary.h"

#include "platform/core/AppStrings.h"

const MessageMap* CToolbarSummary::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_CREATE, &CToolbarSummary::OnCreate),
    };
    static const MessageMap map{CToolbarBase::GetMessageMap(), entries};
    return &map;
}

LRESULT CToolbarSummary::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    AddTextButton(335, 32985, LoadAppString(14300), 0, 0, 1);
    AddTextButton(336, 32986, LoadAppString(14301), 0, 0, 1);
    AddButton(347, 0, 0, 0, 0, 1);
    AddButton(140, 32783, 0, 0, 0, 1);
    ShowCurrentSet();
    return 0;
}
