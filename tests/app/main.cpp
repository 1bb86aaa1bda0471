#include "WebEngineTestMain.h"

int main(int argc, char** argv)
{
    return RunWebEngineTests(argc, argv);
}
