#pragma once

#include "platform/ui/Rect.h"

#include <QString>

#include <optional>

// Where the main window appears at start: at most 1024 x 768, centred on the screen, unless the
// settings "WindowNormalRect" ("left,top,right,bottom") and "WindowShowCmd" hold the placement
// the window had when it was last closed and Shift is not held down.
struct MainWindowPlacement
{
    static constexpr int DefaultWidth = 1024;
    static constexpr int DefaultHeight = 768;

    CRect rect;
    // The saved show command, or none.
    std::optional<int> showCommand;

    static MainWindowPlacement Compute(int screenWidth, int screenHeight, bool shiftHeld,
                                       const std::optional<QString>& normalRect,
                                       const std::optional<quint32>& showCommand);
    // The same from the user's settings.
    static MainWindowPlacement Read(int screenWidth, int screenHeight, bool shiftHeld);
    // Writes the placement of a closing window to the user's settings.
    static void Write(int showCommand, const CRect& normalRect);

    // A saved minimised window comes back normal.
    int ShowCommandToApply() const;
};
