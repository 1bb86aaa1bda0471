#pragma once

#include "platform/ui/WinTypes.h"

#include <QString>

// A font description: a negative height asks for a character height in pixels, a positive one for
// a cell height, 0 for the default; weight 700 is bold, 0 the default weight.
struct LOGFONT
{
    int lfHeight = 0;
    int lfWeight = 0;
    BYTE lfItalic = 0;
    QString lfFaceName;
};
