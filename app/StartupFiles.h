#pragma once

#include <QString>

#include <functional>

// File steps of the program's start that may find a file still in use by a program that is
// ending: each is tried again a number of times with a pause between the attempts.
namespace StartupFiles
{
constexpr int Attempts = 120;
constexpr int PauseMilliseconds = 500;

// Runs the step until it succeeds, at most the given number of times; true when it succeeded.
bool Retry(const std::function<bool()>& step, int attempts = Attempts, int pauseMs = PauseMilliseconds);

// Replaces the target by a copy of the source, whole or not at all, keeping the source's
// permissions.
bool CopyOver(const QString& source, const QString& target);

// When the pending file exists, copies it over the target and deletes it; the pending file
// stays when no copy succeeds. True when there was nothing to do or the copy was made.
bool FinishPendingCopy(const QString& pending, const QString& target, int attempts = Attempts,
                       int pauseMs = PauseMilliseconds);
} // namespace StartupFiles
