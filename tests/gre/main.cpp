// Text layers measure and draw with fonts, which need a QGuiApplication; the offscreen platform
// serves.
#include "GuiTestMain.h"

int main(int argc, char** argv)
{
    return RunGuiTests(argc, argv);
}
