#include "app/Kelvora.h"

#include <QApplication>

#include <unistd.h>

// The one application object, made before the program's entry point runs.
CKelvora theApp;

int main(int argc, char* argv[])
{
    // The web engine shares its drawing contexts with the widgets, and its sandbox cannot start
    // for the root user.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvora"));
    return theApp.Run();
}
