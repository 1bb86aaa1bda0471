#pragma once

#include "platform/ui/HtmlElement.h"
#include "platform/ui/Point.h"

#include <optional>

// The page event a browser control is reporting to its parent, as the parent reads it while it
// handles the message: where the pointer was, on the screen and in the control, and the element
// it was over.
class CHtmlEventObj
{
public:
    CHtmlEventObj(const CPoint& screen, const CPoint& client, std::optional<CHtmlElement> source = {})
        : m_screen(screen), m_client(client), m_source(std::move(source))
    {
    }

    int GetScreenX() const { return m_screen.x; }
    int GetScreenY() const { return m_screen.y; }
    int GetClientX() const { return m_client.x; }
    int GetClientY() const { return m_client.y; }
    // The element under the pointer; none over no element or without a document.
    const std::optional<CHtmlElement>& GetSrcElement() const { return m_source; }

private:
    CPoint m_screen;
    CPoint m_client;
    std::optional<CHtmlElement> m_source;
};
