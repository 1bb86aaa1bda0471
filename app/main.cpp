#include "app/Kelvora.h"
#include "platform/ui/WebEngineSetup.h"

#include <QApplication>

// The one application object, made before the program's entry point runs.
CKelvora theApp;

int main(int argc, char* argv[])
{
    PrepareWebEngine();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvora"));
    return theApp.Run();
}
