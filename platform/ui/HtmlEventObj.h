#pragma once

#include "platform/ui/Point.h"

// The page event a browser control is reporting to its parent, as the parent reads it while it
// handles the message: where the pointer was, on the screen and in the control.
class CHtmlEventObj
{
public:
    CHtmlEventObj(const CPoint& screen, const CPoint& client) : m_screen(screen), m_client(client) {}

    int GetScreenX() const { return m_screen.x; }
    int GetScreenY() const { return m_screen.y; }
    int GetClientX() const { return m_client.x; }
    int GetClientY() const { return m_client.y; }

private:
    CPoint m_screen;
    CPoint m_client;
};
