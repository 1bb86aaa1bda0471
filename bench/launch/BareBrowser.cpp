// kv_bare_browser URL
// A bare web-engine program: one window with a web view that loads the address; it ends as soon
// as the page has loaded (exit code 0), or with 1 and the reason on stderr when the load failed or
// took over a minute.
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
    if (argc < 2)
        return 1;
    QWebEngineView view;
    view.resize(1024, 768);
    view.show();
    QObject::connect(&view, &QWebEngineView::loadFinished,
                     [](bool ok)
                     {
                         if (!ok)
                             std::fprintf(stderr, "kv_bare_browser: the page did not load\n");
                         QCoreApplication::exit(ok ? 0 : 1);
                     });
    QTimer::singleShot(60000,
                       []
                       {
                           std::fprintf(stderr, "kv_bare_browser: no page within a minute\n");
                           QCoreApplication::exit(1);
                       });
    view.load(QUrl(QString::fromLocal8Bit(argv[1])));
    return QCoreApplication::exec();
}
