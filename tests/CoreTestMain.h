#pragma once

#include <QCoreApplication>
#include <gtest/gtest.h>

// The main() of a test program without windows: one application object for the event loop the
// cases wait in, and no display platform at all.
inline int RunCoreTests(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
