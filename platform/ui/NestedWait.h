#pragma once

#include <QEventLoop>

#include <functional>

// The one way the program waits inside the event loop for an answer it needs at once (the page's
// answer to a script, a page load, a print job). The engine's own work goes on meanwhile, but
// nothing re-enters the program's windows: no idle pass runs, and key and mouse input, timer
// ticks and posted messages of windows, and the calls handed to RunOutside are held and
// delivered after the outermost wait, in the order they came. Without this a fast typist starts
// a wait inside every wait until the stack runs out.
class CNestedWait
{
public:
    CNestedWait();
    ~CNestedWait();
    CNestedWait(const CNestedWait&) = delete;
    CNestedWait& operator=(const CNestedWait&) = delete;

    // Runs the event loop until Quit or the time-out (none when negative); true when Quit ended
    // it. Quit before Run makes Run return at once.
    bool Run(int timeoutMs);
    void Quit();

    // Whether a wait is running now.
    static bool IsActive();
    // Runs the call now, or after the outermost wait when one is running.
    static void RunOutside(std::function<void()> call);
    // The deepest nesting of waits since the last reset, for tests and benchmarks.
    static int DeepestNesting();
    static void ResetDeepestNesting();

private:
    QEventLoop m_loop;
    bool m_quit{false};
};
