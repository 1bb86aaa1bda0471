#pragma once

#include "platform/ui/LogFont.h"
#include "platform/ui/Point.h"
#include "platform/ui/WinConstants.h"

struct NONCLIENTMETRICS
{
    UINT cbSize = 0;
    LOGFONT lfMenuFont;
    LOGFONT lfMessageFont;
};

// The desktop's settings under the system's names: SPI_GETKEYBOARDDELAY (int, 0 to 3, steps of
// 250 ms after the first 250), SPI_GETKEYBOARDSPEED (int, 0 slowest to 31 fastest) and
// SPI_GETNONCLIENTMETRICS (NONCLIENTMETRICS). False for any other request.
bool SystemParametersInfo(UINT action, UINT param, void* value, UINT winIni);

// The pointer's position on the screen.
bool GetCursorPos(CPoint* point);

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;

// The primary screen's width and height (SM_CXSCREEN, SM_CYSCREEN) and the width of a vertical
// scroll bar (SM_CXVSCROLL); 0 for any other index.
int GetSystemMetrics(int index);
