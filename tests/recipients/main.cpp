#include "WidgetTestMain.h"

int main(int argc, char** argv)
{
    return RunWidgetTests(argc, argv);
}
