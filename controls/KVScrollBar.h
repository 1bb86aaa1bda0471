#pragma once

#include "controls/KVImage.h"
#include "controls/KVImageButton.h"
#include "platform/ui/Wnd.h"

// The tree's thin vertical scroll bar, drawn from images: two repeating arrow buttons and a
// stretched thumb. Positions are in whatever unit the user of the bar counts.
class CKVScrollBar : public CWnd
{
public:
    static constexpr UINT ControlId = 0x40A;
    static constexpr UINT UpButtonId = 15090;
    static constexpr UINT DownButtonId = 15091;

    bool Create(const CRect& rect, CWnd* parent);
    // Clamps, repaints at once and notifies when the position changed.
    void SetPos(int value);
    // Stores the clamped value without repainting or notifying.
    void ClampPos(int value);
    CRect GetTrackRect() const;
    CRect GetThumbRect() const;

    CWnd* m_notifyWnd = nullptr;
    int m_notifyWParam = 0;
    UINT m_notifyMessage = 0x401;
    COLORREF m_background = 0x4D433E;
    int m_pos = 0;
    int m_min = 0;
    int m_max = 9;
    int m_page = 2;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnLineUp(WPARAM, LPARAM);
    LRESULT OnLineDown(WPARAM, LPARAM);

private:
    int Clamped(int value) const;

    CKVImageButton m_upButton;
    CKVImageButton m_downButton;
    CKVImage m_thumbImage;
    int m_dragX = 0;
    int m_dragY = 0;
    int m_dragPos = 0;
};
