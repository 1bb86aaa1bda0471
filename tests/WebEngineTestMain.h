#pragma once

#include "ControlReports.h"

#include <QApplication>
#include <gtest/gtest.h>

// Included by the one main() of a test program that hosts a web engine.

// Under the address sanitizer: the web engine's prebuilt library frees some of its own objects
// with a size that the check does not expect.
extern "C" const char* __asan_default_options()
{
    return "new_delete_type_mismatch=0";
}

// Under the leak check: the web engine's prebuilt library, and the font and device libraries it
// loads, keep objects of their own when the process ends.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt6WebEngineCore.so\nleak:libfontconfig.so\nleak:libudev.so\n";
}

inline int RunWebEngineTests(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The tests run as root, where the engine's sandbox cannot start, and without a GPU.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    FailOnMissingControls();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
