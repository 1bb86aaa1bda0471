#pragma once

#include "platform/ui/Wnd.h"

constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_NUMBER = 0x2000;
constexpr UINT EN_KILLFOCUS = 0x0200;

// An edit control, one line unless ES_MULTILINE (lines kept as typed, with both scroll bars). Every change of
// its text, typed, pasted or set, sends EN_UPDATE and then EN_CHANGE; losing the keyboard focus sends
// EN_KILLFOCUS. ES_READONLY shows the text without letting the user change it, ES_PASSWORD masks it and
// ES_NUMBER lets only digits be typed (single-line only).
class CEdit : public CWnd
{
public:
    void GetSel(int& start, int& end) const;
    void SetSel(int start, int end);
    // At most that many characters can be typed or set; 0 lifts the limit.
    void SetLimitText(int maximum);

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;

private:
    QWidget* CreateMultiLine(QWidget* parent, DWORD style, DWORD exStyle);
};
