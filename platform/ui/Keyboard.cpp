#include "platform/ui/Keyboard.h"

#include <QGuiApplication>

namespace
{
Qt::KeyboardModifiers g_dispatched;

std::int16_t StateIn(Qt::KeyboardModifiers modifiers, WPARAM virtualKey)
{
    Qt::KeyboardModifier wanted = Qt::NoModifier;
    if (virtualKey == VK_SHIFT)
        wanted = Qt::ShiftModifier;
    else if (virtualKey == VK_CONTROL)
        wanted = Qt::ControlModifier;
    else if (virtualKey == VK_MENU)
        wanted = Qt::AltModifier;
    return (wanted != Qt::NoModifier && (modifiers & wanted)) ? std::int16_t(0x8000) : std::int16_t(0);
}
} // namespace

void SetDispatchedKeyModifiers(Qt::KeyboardModifiers modifiers)
{
    g_dispatched = modifiers;
}

std::int16_t GetKeyState(WPARAM virtualKey)
{
    // A key event delivered straight to a widget does not update the application's modifiers.
    return StateIn(QGuiApplication::keyboardModifiers() | g_dispatched, virtualKey);
}

std::int16_t GetAsyncKeyState(WPARAM virtualKey)
{
    return StateIn(QGuiApplication::queryKeyboardModifiers(), virtualKey);
}
