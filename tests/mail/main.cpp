// The send engine posts its progress to windows, which need an application object.
#include "WidgetTestMain.h"

int main(int argc, char** argv)
{
    return RunWidgetTests(argc, argv);
}
