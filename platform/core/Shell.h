#pragma once

#include <QString>

#include <functional>

// Hands a file or an address to the desktop's default application. True when the opener
// could be started; what the opened application does is not known here.
bool ShellOpen(const QString& fileOrUrl);

// Starts a program without arguments, not waiting for it. False when it cannot be started
// (missing, not executable).
bool StartDetachedProcess(const QString& program);

// Tests replace the desktop opener so that nothing is launched; an empty handler restores it.
void SetShellOpenHandler(std::function<bool(const QString&)> handler);
