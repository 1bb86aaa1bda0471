#pragma once

#include "platform/ui/HtmlElement.h"
#include "platform/ui/Point.h"

#include <optional>

// The page event a browser control is reporting to its parent, as the parent reads it while it
// handles the message: where the pointer was, on the screen and in the control, the element it
// was over and whether Ctrl was held when it happened.
class CHtmlEventObj
{
public:
    CHtmlEventObj(const CPoint& screen, const CPoint& client, std::optional<CHtmlElement> source = {},
                  bool ctrlKey = false)
        : m_screen(screen), m_client(client), m_source(std::move(source)), m_ctrlKey(ctrlKey)
    {
    }

    int GetScreenX() const { return m_screen.x; }
    int GetScreenY() const { return m_screen.y; }
    int GetClientX() const { return m_client.x; }
    int GetClientY() const { return m_client.y; }
    // The element under the pointer; none over no element or without a document.
    const std::optional<CHtmlElement>& GetSrcElement() const { return m_source; }
    // The page's own record of the key: the report comes later, when the key may be up again.
    bool GetCtrlKey() const { return m_ctrlKey; }

private:
    CPoint m_screen;
    CPoint m_client;
    std::optional<CHtmlElement> m_source;
    bool m_ctrlKey{false};
};
