#include "app/DlgIntroMenu.h"
#include "app/Kelvora.h"
#include "app/ShellHooks.h"
#include "platform/ui/WebEngineSetup.h"
#include "servicesui/DlgUpdate.h"

#include <QApplication>

// The one application object, made before the program's entry point runs.
CKelvora theApp;

int main(int argc, char* argv[])
{
    PrepareWebEngine();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvora"));
    ShellHooks::Get().runUpdate = &CDlgUpdate::Run;
    ShellHooks::Get().runIntroMenu = &CDlgIntroMenu::Run;
    return theApp.Run();
}
