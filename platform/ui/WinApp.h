#pragma once

#include "platform/ui/WinConstants.h"

#include <QString>
#include <QStringList>

#include <memory>

class CIdleLoop;
class QObject;

// The program's application object, one per process. The framework calls its start-up, idle,
// exit and message-box operations; every AfxMessageBox of the program goes to DoMessageBox.
class CWinApp
{
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The framework's part of start-up: the idle passes (OnIdle) and the desktop session's end
    // query (QueryEndSession). A derived start-up calls it first; true enters the message loop.
    virtual bool InitInstance();
    // True while more idle passes are wanted; the framework's own work wants one pass after input.
    virtual bool OnIdle(long count);
    virtual int ExitInstance();
    // Shows a message box (MB_ flags) and returns the button chosen (IDOK, IDYES, ...).
    virtual int DoMessageBox(const QString& prompt, UINT type, UINT helpId);

    // Start-up, the message loop for as long as the main window exists, the end: the process's
    // exit code. The QApplication must exist.
    int Run();
    // Whether the desktop session may end now; the main window answers WM_QUERYENDSESSION (0
    // refuses). Asked when the session manager wants to log off or shut down.
    bool QueryEndSession();

    // The command line after the program's name: its arguments, and the text they make joined by
    // blanks. Run fills them from the process's arguments.
    QStringList m_arguments;
    QString m_lpCmdLine;

private:
    std::unique_ptr<CIdleLoop> m_idleLoop;
    std::unique_ptr<QObject> m_session;
};

// The application object; null before it is constructed and after it is gone.
CWinApp* AfxGetApp();

// The framework's message box: the application's DoMessageBox, or a plain box without one.
int AfxMessageBox(const QString& text, UINT type = MB_OK, UINT helpId = 0);
