#pragma once

struct TEXTMETRIC
{
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmAveCharWidth = 0;
};
