// The shipped effects draw text into their pictures, and fonts need a Gui application.
#include "GuiTestMain.h"

int main(int argc, char** argv)
{
    return RunGuiTests(argc, argv);
}
