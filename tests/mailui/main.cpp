// The send dialogs and the settings pages need an application object.
#include "WidgetTestMain.h"

int main(int argc, char** argv)
{
    return RunWidgetTests(argc, argv);
}
