#pragma once

#include "platform/ui/Rect.h"
#include "platform/ui/WinConstants.h"

#include <memory>

class CWnd;
class QScrollBar;

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;

constexpr UINT SB_LINEUP = 0;
constexpr UINT SB_LINELEFT = 0;
constexpr UINT SB_LINEDOWN = 1;
constexpr UINT SB_LINERIGHT = 1;
constexpr UINT SB_PAGEUP = 2;
constexpr UINT SB_PAGELEFT = 2;
constexpr UINT SB_PAGEDOWN = 3;
constexpr UINT SB_PAGERIGHT = 3;
constexpr UINT SB_THUMBPOSITION = 4;
constexpr UINT SB_THUMBTRACK = 5;
constexpr UINT SB_TOP = 6;
constexpr UINT SB_LEFT = 6;
constexpr UINT SB_BOTTOM = 7;
constexpr UINT SB_RIGHT = 7;
constexpr UINT SB_ENDSCROLL = 8;

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS;

struct SCROLLINFO
{
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
};

// A window's standard vertical and horizontal scroll bars. They sit inside the window's widget at
// its right and bottom edges and take their room from the client area; the user's actions reach
// the window as WM_VSCROLL and WM_HSCROLL (LOWORD the SB_ code, HIWORD the thumb position), and
// the window moves the position itself, as on the desktop these controls come from.
class CScrollBars
{
public:
    explicit CScrollBars(CWnd* owner);
    ~CScrollBars();
    CScrollBars(const CScrollBars&) = delete;
    CScrollBars& operator=(const CScrollBars&) = delete;

    // The bars are made on first use, once the owner's window exists.
    void SetScrollInfo(int bar, const SCROLLINFO& info, bool redraw = true);
    SCROLLINFO GetScrollInfo(int bar) const;
    int GetScrollPos(int bar) const;
    // Where the user holds the thumb: the full position, which the message's 16 bits may cut.
    int GetTrackPos(int bar) const;
    // Clamped to the range less the page; returns the previous position.
    int SetScrollPos(int bar, int pos, bool redraw = true);
    void EnableScrollBar(int bar, bool enable);
    void ShowScrollBar(int bar, bool show);
    bool IsShown(int bar) const;
    // The owner's client area: its window less the room of the shown bars.
    CRect GetClientRect() const;
    QScrollBar* Bar(int bar) const;
    // Places the bars again; the owner calls it when its window changes size.
    void Layout();

private:
    struct BarState;
    void Ensure();
    void Sync(int bar);

    CWnd* m_owner;
    std::unique_ptr<BarState> m_bars[2];
};
