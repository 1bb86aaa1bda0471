#pragma once

#include "platform/ui/CmdUI.h"
#include "platform/ui/WinConstants.h"

#include <span>

class CWnd;

// Every handler takes the message's two arguments and returns its result; handlers of derived
// windows are stored as handlers of CWnd, which is sound because CWnd is a plain, single base.
using MessageHandler = LRESULT (CWnd::*)(WPARAM, LPARAM);
// A command-update handler, offered under CN_UPDATE_COMMAND_UI.
using UpdateHandler = void (CWnd::*)(CCmdUI*);

struct MessageMapEntry
{
    UINT message = 0;
    UINT code = 0; // notification code of WM_COMMAND, OCM_COMMAND and WM_NOTIFY entries
    UINT id = 0;   // command or control id of WM_COMMAND entries
    MessageHandler handler = nullptr;
    UpdateHandler updateHandler = nullptr;
    UINT lastId = 0; // with a command range, its last id; the handler reads the id from CCmdUI or wParam
};

// A window class's static table, chained to the table of its base class.
struct MessageMap
{
    const MessageMap* base = nullptr;
    std::span<const MessageMapEntry> entries;

    const MessageMapEntry* Find(UINT message, UINT code, UINT id) const;
};

template <class T> MessageMapEntry OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM))
{
    return {message, 0, 0, static_cast<MessageHandler>(handler)};
}

template <class T> MessageMapEntry OnCommand(UINT id, LRESULT (T::*handler)(WPARAM, LPARAM))
{
    return {WM_COMMAND, 0, id, static_cast<MessageHandler>(handler)};
}

// The commands first to last, all to one handler; wParam carries the command's id.
template <class T>
MessageMapEntry OnCommandRange(UINT first, UINT last, LRESULT (T::*handler)(WPARAM, LPARAM))
{
    return {WM_COMMAND, 0, first, static_cast<MessageHandler>(handler), nullptr, last};
}

// A notification (code) that the control with that id sends its parent.
template <class T> MessageMapEntry OnControl(UINT code, UINT id, LRESULT (T::*handler)(WPARAM, LPARAM))
{
    return {WM_COMMAND, code, id, static_cast<MessageHandler>(handler)};
}

// A notification that a control sends about itself, handled by the control's own class.
template <class T> MessageMapEntry OnReflectedCommand(UINT code, LRESULT (T::*handler)(WPARAM, LPARAM))
{
    return {OCM_COMMAND, code, 0, static_cast<MessageHandler>(handler)};
}

// The update handler of a command: it enables or checks the command's user interface.
template <class T> MessageMapEntry OnUpdateCommand(UINT id, void (T::*handler)(CCmdUI*))
{
    return {WM_COMMAND, CN_UPDATE_COMMAND_UI, id, nullptr, static_cast<UpdateHandler>(handler)};
}

// One update handler for the commands first to last; it reads the id from CCmdUI::m_nID.
template <class T> MessageMapEntry OnUpdateCommandRange(UINT first, UINT last, void (T::*handler)(CCmdUI*))
{
    return {WM_COMMAND, CN_UPDATE_COMMAND_UI, first, nullptr, static_cast<UpdateHandler>(handler), last};
}

// A WM_NOTIFY with that code from any control; the handler gets the control id and the NMHDR*.
template <class T> MessageMapEntry OnNotify(UINT code, LRESULT (T::*handler)(WPARAM, LPARAM))
{
    return {WM_NOTIFY, code, 0, static_cast<MessageHandler>(handler)};
}
