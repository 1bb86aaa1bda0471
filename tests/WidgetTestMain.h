#pragma once

#include "ControlReports.h"

#include <QApplication>
#include <gtest/gtest.h>

// The main() of a widget test program: one QApplication for all cases, offscreen unless told
// otherwise (test discovery runs without the environment that ctest gives the cases).
inline int RunWidgetTests(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FailOnMissingControls();
    return RUN_ALL_TESTS();
}
