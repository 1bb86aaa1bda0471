#pragma once

#include "platform/ui/Wnd.h"

// The common base of the main window's views: the navigation pane and the document views.
class CViewBase : public CWnd
{
};
