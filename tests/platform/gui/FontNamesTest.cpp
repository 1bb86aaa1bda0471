#include "platform/gui/FontNames.h"

#include <gtest/gtest.h>

TEST(FontNames, WindowsNamesMapToInstalledLookAlikes)
{
    const struct
    {
        const char* windowsName;
        const char* family;
    } cases[] = {
        {"MS Shell Dlg", "Liberation Sans"},
        {"MS Shell Dlg 2", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"},
        {"Microsoft Sans Serif", "Liberation Sans"},
        {"Arial", "Liberation Sans"},
        {"Helvetica", "Liberation Sans"},
        {"Tahoma", "DejaVu Sans"},
        {"Segoe UI", "DejaVu Sans"},
        {"Verdana", "DejaVu Sans"},
        {"Trebuchet MS", "DejaVu Sans"},
        {"Arial Narrow", "Liberation Sans Narrow"},
        {"Times New Roman", "Liberation Serif"},
        {"Times", "Liberation Serif"},
        {"Georgia", "DejaVu Serif"},
        {"Courier New", "Liberation Mono"},
        {"Courier", "Liberation Mono"},
        {"Lucida Console", "DejaVu Sans Mono"},
        // Case and surrounding blanks do not matter; installed families stay as they are.
        {"  gEORGIA ", "DejaVu Serif"},
        {"DejaVu Serif", "DejaVu Serif"},
        {" Liberation Mono ", "Liberation Mono"},
        // What cannot be had takes the dialog font's stand-in.
        {"No Such Font", "Liberation Sans"},
        {"", "Liberation Sans"},
    };
    for (const auto& [windowsName, family] : cases)
        EXPECT_EQ(MapWindowsFontFamily(QString::fromLatin1(windowsName)), QString::fromLatin1(family))
            << windowsName;
}
