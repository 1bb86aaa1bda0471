#pragma once

#include "platform/ui/Wnd.h"

#include <memory>

class QObject;

// An up-down control: two arrows that step a number within a range. With a buddy window and
// UDS_SETBUDDYINT the number is the buddy's text; UDS_ALIGNRIGHT places the arrows at the
// buddy's right edge; UDS_ARROWKEYS lets the Up and Down keys of the buddy step too.
class CSpinButtonCtrl : public CWnd
{
public:
    CSpinButtonCtrl();
    ~CSpinButtonCtrl() override;

    bool Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    CWnd* SetBuddy(CWnd* buddy);
    CWnd* GetBuddy() const { return m_buddy; }
    void SetRange32(int lower, int upper);
    void GetRange32(int& lower, int& upper) const;
    int SetPos32(int position);
    int GetPos32() const { return m_position; }

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    LRESULT OnSetBuddy(WPARAM buddy, LPARAM);
    LRESULT OnSetRange32(WPARAM lower, LPARAM upper);
    LRESULT OnSetPos32(WPARAM, LPARAM position);
    LRESULT OnGetPos32(WPARAM, LPARAM);

private:
    static constexpr UINT_PTR RepeatTimer = 1;

    void Step(int direction);
    void StopRepeat();

    CWnd* m_buddy = nullptr;
    int m_lower = 0;
    int m_upper = 100;
    int m_position = 0;
    int m_pressedArrow = 0; // +1 up, -1 down, 0 none
    std::unique_ptr<QObject> m_keyFilter;
};
