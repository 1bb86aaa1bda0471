#pragma once

#include "platform/ui/HtmlElement.h"
#include "platform/ui/Point.h"

#include <optional>

// The keys held when a page event happened, as the page recorded them: its report comes later,
// when the keys may be up again.
struct HtmlEventKeys
{
    bool ctrl = false;
    bool shift = false;
};

// The page event a browser control is reporting to its parent, as the parent reads it while it
// handles the message: where the pointer was, on the screen and in the control, the element it
// was over and the keys held when it happened.
class CHtmlEventObj
{
public:
    CHtmlEventObj(const CPoint& screen, const CPoint& client, std::optional<CHtmlElement> source = {},
                  HtmlEventKeys keys = {})
        : m_screen(screen), m_client(client), m_source(std::move(source)), m_keys(keys)
    {
    }

    int GetScreenX() const { return m_screen.x; }
    int GetScreenY() const { return m_screen.y; }
    int GetClientX() const { return m_client.x; }
    int GetClientY() const { return m_client.y; }
    // The element under the pointer; none over no element or without a document.
    const std::optional<CHtmlElement>& GetSrcElement() const { return m_source; }
    bool GetCtrlKey() const { return m_keys.ctrl; }
    bool GetShiftKey() const { return m_keys.shift; }
    // Shift and Ctrl on a right click ask for the engine's own menu instead of the program's.
    bool WantsBrowserMenu() const { return m_keys.shift && m_keys.ctrl; }

private:
    CPoint m_screen;
    CPoint m_client;
    std::optional<CHtmlElement> m_source;
    HtmlEventKeys m_keys;
};
