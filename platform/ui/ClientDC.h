#pragma once

#include "platform/ui/DC.h"

class CWnd;

// A context for measuring in a window's font outside painting; null stands for the desktop.
class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* wnd);
};
