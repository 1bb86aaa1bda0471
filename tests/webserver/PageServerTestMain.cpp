// Charts draw text and the browser test hosts a web engine: both need an application object.
#include "WebEngineTestMain.h"

int main(int argc, char** argv)
{
    return RunWebEngineTests(argc, argv);
}
