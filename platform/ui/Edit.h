#pragma once

#include "platform/ui/Wnd.h"

// A single-line edit control. Every change of its text, typed, pasted or set, sends EN_UPDATE
// and then EN_CHANGE.
class CEdit : public CWnd
{
public:
    void GetSel(int& start, int& end) const;
    void SetSel(int start, int end);

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;
};
