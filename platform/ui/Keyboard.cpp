#include "platform/ui/Keyboard.h"

#include <QGuiApplication>

#include <utility>

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

WPARAM VirtualKeyFromQt(int qtKey)
{
    // Letters and digits share their codes with the virtual keys.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return WPARAM(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + WPARAM(qtKey - Qt::Key_F1);
    static const std::pair<int, WPARAM> keys[] = {
        {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},       {Qt::Key_Return, VK_RETURN},
        {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_End, VK_END},
        {Qt::Key_Home, VK_HOME},      {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
        {Qt::Key_Right, VK_RIGHT},    {Qt::Key_Down, VK_DOWN},     {Qt::Key_Delete, VK_DELETE},
    };
    for (const auto& [key, virtualKey] : keys)
    {
        if (key == qtKey)
            return virtualKey;
    }
    return 0;
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
