// kv_bare_browser [--hold] URL
// A bare web-engine program: one window with a web view that loads the address; it ends as soon
// as the page has loaded (exit code 0), or with 1 and the reason on stderr when the load failed or
// took over a minute. With --hold it prints "loaded" then and ends when its stdin closes.
#include "bench/launch/HoldAfterLoad.h"

#include <QApplication>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool hold = arguments.removeAll(QStringLiteral("--hold")) > 0;
    if (arguments.isEmpty())
        return 1;
    QTimer timeout;
    QWebEngineView view;
    view.resize(1024, 768);
    view.show();
    QObject::connect(&view, &QWebEngineView::loadFinished,
                     [hold, &timeout](bool ok)
                     {
                         if (!ok)
                             std::fprintf(stderr, "kv_bare_browser: the page did not load\n");
                         timeout.stop();
                         if (ok && hold)
                             return Bench::HoldUntilStdinCloses();
                         QCoreApplication::exit(ok ? 0 : 1);
                     });
    QObject::connect(&timeout, &QTimer::timeout,
                     []
                     {
                         std::fprintf(stderr, "kv_bare_browser: no page within a minute\n");
                         QCoreApplication::exit(1);
                     });
    timeout.start(60000);
    view.load(QUrl(arguments.first()));
    return QCoreApplication::exec();
}
