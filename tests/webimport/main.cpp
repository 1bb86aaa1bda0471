// The page import cases host a web engine, which needs an application object.
#include "WebEngineTestMain.h"

int main(int argc, char** argv)
{
    return RunWebEngineTests(argc, argv);
}
