#include "CoreTestMain.h"

int main(int argc, char** argv)
{
    return RunCoreTests(argc, argv);
}
