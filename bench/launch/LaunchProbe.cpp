// kv_launch_probe [--skip-splash] NEWSLETTER
// Starts Kelvora as the program starts, with the newsletter named on its command line, and ends
// as soon as the newsletter's page has loaded in the newsletter view: exit code 0, or 1 when the
// page did not load within a minute. With --skip-splash the splash's time runs out at once, so
// that the launch is measured without the splash's floor.
#include "app/Kelvora.h"
#include "app/MainWnd.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/WebEngineSetup.h"

#include <QApplication>
#include <QTimer>

namespace
{
constexpr int TimeoutMs = 60000;
constexpr int PollMs = 5;
} // namespace

CKelvora theApp;

int main(int argc, char* argv[])
{
    PrepareWebEngine();
    QApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool skipSplash = arguments.removeAll(QStringLiteral("--skip-splash")) > 0;
    theApp.m_arguments = arguments;
    theApp.m_lpCmdLine = arguments.join(u' ');
    if (!theApp.InitInstance() || !theApp.GetMainWnd())
        return 1;
    CMainWnd& window = *theApp.GetMainWnd();
    if (CWndSplash* splash = window.GetSplash(); skipSplash && splash && splash->IsWindow())
        splash->SendMessage(WM_TIMER, CWndSplash::TimerId);

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         std::unique_ptr<CHtmlDocument> document;
                         if (window.GetNewsletterView().GetLayout().GetBrowser().GetDHtmlDocument(document))
                             QCoreApplication::exit(0);
                     });
    poll.start(PollMs);
    QTimer::singleShot(TimeoutMs, [] { QCoreApplication::exit(1); });
    const int code = QCoreApplication::exec();
    theApp.ExitInstance();
    return code;
}
