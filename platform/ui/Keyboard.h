#pragma once

#include "platform/ui/WinConstants.h"

#include <Qt>
#include <QtGlobal>
#include <cstdint>

// The state of a modifier key (VK_SHIFT, VK_CONTROL, VK_MENU): the high bit is set while it is down.
std::int16_t GetKeyState(WPARAM virtualKey);
// The same asked of the keyboard itself, for a moment when no key event is being dispatched
// (the program's start).
std::int16_t GetAsyncKeyState(WPARAM virtualKey);

// The virtual-key code of a Qt key: letters, digits, function keys and the editing and moving
// keys; 0 for keys without one here.
WPARAM VirtualKeyFromQt(int qtKey);

// The window layer notes the modifiers of the key event it is dispatching.
void SetDispatchedKeyModifiers(Qt::KeyboardModifiers modifiers);
