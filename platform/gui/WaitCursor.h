#pragma once

// Shows the wait cursor over the whole program for as long as it lives, when it is made on the
// program's UI thread (elsewhere it does nothing).
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    bool m_shown = false;
};
