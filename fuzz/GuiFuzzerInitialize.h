#pragma once

// The initialisation hook of a fuzz target that draws text: drawing text needs an application
// object, which runs on the offscreen platform. Include it in exactly one source of the target.
// Font look-up allocates caches in fontconfig that live until the process ends; the leak check
// is told to leave those alone.

#include <QGuiApplication>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Never destroyed: at exit Qt's own globals may already be gone when a static application
    // object would clean up after them.
    static const QGuiApplication* application = new QGuiApplication(*argc, *argv);
    Q_UNUSED(application);
    return 0;
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
