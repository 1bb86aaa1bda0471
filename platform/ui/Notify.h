#pragma once

#include "platform/ui/Rect.h"
#include "platform/ui/WinConstants.h"

#include <QString>
#include <optional>

class CWnd;

// The head of every WM_NOTIFY: lParam points to it (or to a structure that starts with it).
struct NMHDR
{
    CWnd* hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

constexpr UINT TTN_NEEDTEXTA = UINT(-520);
constexpr UINT TTN_NEEDTEXTW = UINT(-530);
// The tool's id is the window (a CWnd*) rather than a number.
constexpr UINT TTF_IDISHWND = 0x0001;
constexpr UINT TTF_CENTERTIP = 0x0002;
constexpr UINT TTF_NOTBUTTON = 0x80000000;

// One tool that a window's hit test reports: the window, its id, the area and either a text or,
// without one, a TTN_NEEDTEXTW asking the window for it.
struct TOOLINFO
{
    UINT uFlags = 0;
    CWnd* hwnd = nullptr;
    UINT_PTR uId = 0;
    CRect rect;
    std::optional<QString> text;
};

// The tooltip's question for a text: answered in szText (at most 79 characters and a terminating
// zero) or by pointing lpszText at a text that outlives the call.
struct TOOLTIPTEXTW
{
    NMHDR hdr;
    const char16_t* lpszText = nullptr;
    char16_t szText[80] = {};
    UINT uFlags = 0;
};

// The same question with the answer in the ANSI code page.
struct TOOLTIPTEXTA
{
    NMHDR hdr;
    const char* lpszText = nullptr;
    char szText[80] = {};
    UINT uFlags = 0;
};
