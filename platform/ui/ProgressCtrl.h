#pragma once

#include "platform/ui/Wnd.h"

// A progress bar with a 16-bit range (PBM_SETRANGE) and a position (PBM_SETPOS).
class CProgressCtrl : public CWnd
{
public:
    void SetRange(short lower, short upper);
    int SetPos(int position);
    int GetPos() const;

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnSetRange(WPARAM, LPARAM range);
    LRESULT OnSetPos(WPARAM position, LPARAM);
    LRESULT OnGetPos(WPARAM, LPARAM);

private:
    void ShowPosition();

    int m_lower = 0;
    int m_upper = 100;
    int m_position = 0;
};
