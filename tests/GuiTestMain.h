#pragma once

#include <QGuiApplication>
#include <gtest/gtest.h>

// The main() of a test program that measures or draws text: fonts need a QGuiApplication, and
// the offscreen platform serves (test discovery runs without the environment ctest gives cases).
inline int RunGuiTests(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
