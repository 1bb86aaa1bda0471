// Reading an image reference puts the wait cursor up, which needs a QGuiApplication; the offscreen
// platform serves.
#include "GuiTestMain.h"

int main(int argc, char** argv)
{
    return RunGuiTests(argc, argv);
}
