// The main window, the help window and the About box host a web engine, which needs its
// application set up.
#include "WebEngineTestMain.h"

int main(int argc, char** argv)
{
    return RunWebEngineTests(argc, argv);
}
