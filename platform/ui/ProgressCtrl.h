#pragma once

#include "platform/ui/Wnd.h"

// A progress bar with a 16-bit (PBM_SETRANGE) or 32-bit range (PBM_SETRANGE32) and a position
// (PBM_SETPOS).
class CProgressCtrl : public CWnd
{
public:
    void SetRange(short lower, short upper);
    void SetRange32(int lower, int upper);
    int SetPos(int position);
    int GetPos() const;

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnSetRange(WPARAM, LPARAM range);
    LRESULT OnSetRange32(WPARAM lower, LPARAM upper);
    LRESULT OnSetPos(WPARAM position, LPARAM);
    LRESULT OnGetPos(WPARAM, LPARAM);

private:
    void ApplyRange(int lower, int upper);
    void ShowPosition();

    int m_lower = 0;
    int m_upper = 100;
    int m_position = 0;
};
