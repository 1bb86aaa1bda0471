#pragma once

// Shows the wait cursor while the object lives, when it is made on the application's UI
// thread; on other threads and without a GUI application it does nothing.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_shown{false};
};
