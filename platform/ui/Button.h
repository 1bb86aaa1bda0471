#pragma once

#include "platform/ui/Wnd.h"

// A push button of a dialog; a click sends BN_CLICKED to the parent as WM_COMMAND.
class CButton : public CWnd
{
protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;
};
