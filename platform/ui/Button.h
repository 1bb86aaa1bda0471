#pragma once

#include "platform/ui/Wnd.h"

constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_GROUPBOX = 0x0007;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_TYPEMASK = 0x000F;

// A button of a dialog by its type: a push button, a check box, a radio button or a group box
// (a frame with a title around other controls). A click sends BN_CLICKED to the parent as
// WM_COMMAND; a click on a check box or radio button first changes its check. Radio buttons of
// one parent exclude each other.
class CButton : public CWnd
{
public:
    int GetCheck() const;
    void SetCheck(int check);

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
