#pragma once

#include "platform/ui/WinConstants.h"

#include <QObject>
#include <QPointF>
#include <functional>

class CWnd;

// The application sends it to every descendant of the main window on each idle pass; lParam is
// the idle count, 0 on the first pass after new input.
constexpr UINT UM_IDLE = WM_USER + 99;

// The application's idle processing: whenever the event loop runs out of work, one idle pass
// runs with its count (0 on the first pass after new input: a key, a mouse button or wheel, the
// pointer moved). The handler returns whether it wants a further pass; passes then wait for
// new input. No pass runs while a CNestedWait waits.
class CIdleLoop : public QObject
{
public:
    using Handler = std::function<bool(long count)>;

    explicit CIdleLoop(Handler handler);
    ~CIdleLoop() override;
    CIdleLoop(const CIdleLoop&) = delete;
    CIdleLoop& operator=(const CIdleLoop&) = delete;

    // The pass of the program's main window: UM_IDLE with the count to all its descendants.
    // Wants a further pass after the first only.
    static bool SendIdleToMainWindow(long count);
    // How deep passes ran inside one another since the last reset, for tests and benchmarks: a
    // pass never starts inside another, so it stays 1.
    static int DeepestNesting();
    static void ResetDeepestNesting();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnAboutToBlock();
    void RunPass();

    Handler m_handler;
    long m_count = 0;
    bool m_due = true;
    bool m_scheduled = false;
    QPointF m_lastPointer{-1, -1};
    static inline int s_nesting = 0;
    static inline int s_deepestNesting = 0;
};
