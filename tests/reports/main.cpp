// The report window hosts a web engine, which needs its application set up.
#include "WebEngineTestMain.h"

int main(int argc, char** argv)
{
    return RunWebEngineTests(argc, argv);
}
