#pragma once

#include "platform/ui/DC.h"

class CWnd;

// The context of a WM_PAINT in progress: it draws into the window's paint image.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* wnd);
};
