// The dialogs and the wizard need an application object.
#include "WidgetTestMain.h"

int main(int argc, char** argv)
{
    return RunWidgetTests(argc, argv);
}
