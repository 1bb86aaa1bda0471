// kv_launch_probe [--skip-splash] [--hold] NEWSLETTER
// Starts Kelvora as the program starts, with the newsletter named on its command line, and ends
// as soon as the newsletter's page has loaded in the newsletter view: exit code 0, or 1 when the
// page did not load within a minute or the launch stopped in a window that waits for a person,
// with the reason on stderr. With --skip-splash the splash's time runs out at once, so that the
// launch is measured without the splash's floor. With --hold it prints "loaded" once the page has
// loaded and ends when its stdin closes, so that it can be measured at rest.
#include "app/Kelvora.h"
#include "app/MainWnd.h"
#include "bench/launch/HoldAfterLoad.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/WebEngineSetup.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

CKelvora theApp;

namespace
{
constexpr int TimeoutMs = 60000;
constexpr int PollMs = 5;

// Ends at once, from any event loop: a modal window's loop would not end on QCoreApplication::exit.
[[noreturn]] void Fail(const QString& why)
{
    std::fprintf(stderr, "kv_launch_probe: %s\n", qPrintable(why));
    std::fflush(stderr);
    std::_Exit(1);
}

// A modal window during the launch (a message box about a missing data folder, say) would wait
// for a person; its title and texts say what went wrong.
void FailOnModalWindow()
{
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    QString texts = modal->windowTitle();
    for (const QLabel* label : modal->findChildren<QLabel*>())
        texts += QStringLiteral(" | ") + label->text();
    Fail(QStringLiteral("a modal window stopped the launch: ") + texts);
}

bool IsPageLoaded()
{
    CMainWnd* window = theApp.GetMainWnd();
    std::unique_ptr<CHtmlDocument> document;
    return window && window->GetNewsletterView().GetLayout().GetBrowser().GetDHtmlDocument(document);
}
} // namespace

int main(int argc, char* argv[])
{
    PrepareWebEngine();
    QApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool skipSplash = arguments.removeAll(QStringLiteral("--skip-splash")) > 0;
    const bool hold = arguments.removeAll(QStringLiteral("--hold")) > 0;
    theApp.m_arguments = arguments;
    theApp.m_lpCmdLine = arguments.join(u' ');

    // Both watch from before the start-up, whose own message boxes run loops of their own.
    bool started = false;
    QTimer poll;
    QTimer timeout;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         FailOnModalWindow();
                         if (!started || !IsPageLoaded())
                             return;
                         poll.stop();
                         timeout.stop();
                         if (hold)
                             return Bench::HoldUntilStdinCloses();
                         QCoreApplication::exit(0);
                     });
    poll.start(PollMs);
    QObject::connect(&timeout, &QTimer::timeout,
                     [] { Fail(QStringLiteral("the page did not load within a minute")); });
    timeout.start(TimeoutMs);

    if (!theApp.InitInstance() || !theApp.GetMainWnd())
        Fail(QStringLiteral("the program did not start"));
    CMainWnd& window = *theApp.GetMainWnd();
    if (CWndSplash* splash = window.GetSplash(); skipSplash && splash && splash->IsWindow())
        splash->SendMessage(WM_TIMER, CWndSplash::TimerId);
    started = true;
    const int code = QCoreApplication::exec();
    theApp.ExitInstance();
    return code;
}
