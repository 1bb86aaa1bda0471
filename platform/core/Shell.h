#pragma once

#include <QString>

#include <functional>

// Hands a file or an address to the desktop's default application. True when the opener
// could be started; what the opened application does is not known here.
bool ShellOpen(const QString& fileOrUrl);

// Whether an address is one the desktop may be given from a web page: http, https and mailto.
// Any other scheme (files, scripts, the desktop's own handlers) never leaves a page.
bool IsDesktopAddress(const QString& address);

// Starts a program without arguments, not waiting for it. False when it cannot be started
// (missing, not executable).
bool StartDetachedProcess(const QString& program);

// Tests replace the desktop opener so that nothing is launched; an empty handler restores it.
void SetShellOpenHandler(std::function<bool(const QString&)> handler);
