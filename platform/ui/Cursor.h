#pragma once

#include <QCursor>
#include <QString>

// A cursor of the resource module by its name; its hot spot is the picture's top-left pixel.
// The arrow cursor when the module has no such picture.
QCursor LoadCursorResource(const QString& name);

// The pointer's shape while a window holds the mouse capture, over every window; releasing the
// capture brings back each window's own cursor. Without a capture nothing changes.
void SetCursor(const QCursor& cursor);
