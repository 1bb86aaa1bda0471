#pragma once

#include "platform/ui/Wnd.h"

#include <memory>

// One place on a toolbar: the child window shown there (none makes a separator), which item set
// and row it belongs to, its alignment, size and vertical offset, and whether the idle command
// update refreshes it.
struct CToolbarItem
{
    int set = 0;
    int rightAligned = 0;
    int row = 0;
    std::unique_ptr<CWnd> window;
    int width = 0; // 0 on a left-aligned item stretches it to the right margin
    int height = 0;
    BYTE update = 0;
    int yOffset = 0;
};
